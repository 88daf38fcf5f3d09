#pragma once
// The cells of one line, found only as far as they are asked for, so that a
// filter on the tenth column never trims the other nineteen. Delimiters are
// found sixteen bytes at a time where the processor allows it.
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "flatfile/DelimitedList.h"
#include "platform/Error.h"
#include "platform/Text1252.h"

class TLazyCells {
 public:
  explicit TLazyCells(std::string_view delimiter) : delimiter_(delimiter) {}

  void Reset(std::string_view line) {
    line_ = line;
    starts_.assign(1, 0);
    scanned_ = 0;
    complete_ = false;
    general_.clear();
  }

  // The trimmed cell at `index`; fails with the list index error when the
  // line has no such cell.
  std::string_view Cell(int index) {
    if (delimiter_.size() != 1) return GeneralCell(index);
    while (!complete_ && static_cast<int>(starts_.size()) <= index + 1)
      ScanMore();
    if (index < 0 || index >= static_cast<int>(starts_.size()))
      throw EKavError(ListIndexError(index));
    const size_t start = starts_[static_cast<size_t>(index)];
    const size_t end = static_cast<size_t>(index) + 1 < starts_.size()
                           ? starts_[static_cast<size_t>(index) + 1] - 1
                           : line_.size();
    return ansi::Trim(line_.substr(start, end - start));
  }

 private:
  // Records the start of every cell behind a delimiter in the next stretch of the line.
  void ScanMore() {
    const char d = delimiter_[0];
    const char* base = line_.data();
    const size_t size = line_.size();
#if defined(__SSE2__)
    if (scanned_ + 16 <= size) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + scanned_));
      unsigned mask =
          static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(d))));
      while (mask != 0) {
        starts_.push_back(scanned_ + static_cast<size_t>(__builtin_ctz(mask)) + 1);
        mask &= mask - 1;
      }
      scanned_ += 16;
      return;
    }
#endif
    for (; scanned_ < size; ++scanned_)
      if (base[scanned_] == d) starts_.push_back(scanned_ + 1);
    complete_ = true;
  }

  // A delimiter of another length: split the whole line the general way.
  std::string_view GeneralCell(int index) {
    if (general_.empty()) SplitCells(line_, delimiter_, general_);
    if (index < 0 || index >= static_cast<int>(general_.size()))
      throw EKavError(ListIndexError(index));
    return general_[static_cast<size_t>(index)];
  }

  std::string_view delimiter_;
  std::string_view line_;
  std::vector<size_t> starts_;  // where each cell found so far begins
  size_t scanned_ = 0;
  bool complete_ = false;
  std::vector<std::string_view> general_;
};
