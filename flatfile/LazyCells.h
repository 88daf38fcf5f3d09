#pragma once
// The cells of one line, split only as far as they are asked for, so that a
// filter on the tenth column never splits the other nineteen.
#include <cstring>
#include <string_view>
#include <vector>

#include "flatfile/ModList.h"
#include "platform/AnsiText.h"
#include "platform/Error.h"

class TLazyCells {
 public:
  explicit TLazyCells(std::string_view delimiter) : delimiter_(delimiter) {}

  void Reset(std::string_view line) {
    line_ = line;
    cells_.clear();
    rest_ = 0;
    complete_ = false;
  }

  // The trimmed cell at `index`; fails with the list index error when the
  // line has no such cell.
  std::string_view Cell(int index) {
    while (!complete_ && static_cast<int>(cells_.size()) <= index) SplitOne();
    if (index < 0 || index >= static_cast<int>(cells_.size())) throw EKavError(ListIndexError(index));
    return cells_[static_cast<size_t>(index)];
  }

 private:
  void SplitOne() {
    if (delimiter_.size() != 1) {  // rare: split the whole line the general way
      SplitCells(line_, delimiter_, cells_);
      complete_ = true;
      return;
    }
    const char* start = line_.data() + rest_;
    const size_t left = line_.size() - rest_;
    const void* cut = std::memchr(start, delimiter_[0], left);
    if (cut == nullptr) {
      cells_.push_back(ansi::Trim(std::string_view(start, left)));
      complete_ = true;
      return;
    }
    const size_t length = static_cast<size_t>(static_cast<const char*>(cut) - start);
    cells_.push_back(ansi::Trim(std::string_view(start, length)));
    rest_ += length + 1;
  }

  std::string_view delimiter_;
  std::string_view line_;
  std::vector<std::string_view> cells_;
  size_t rest_ = 0;
  bool complete_ = false;
};
