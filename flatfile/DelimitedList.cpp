#include "flatfile/DelimitedList.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cstring>

#include "flatfile/LineReader.h"
#include "platform/Error.h"
#include "platform/SafeFileWrite.h"
#include "platform/Text1252.h"

void SplitCells(std::string_view text, std::string_view delimiter,
                std::vector<std::string_view>& items) {
  items.clear();
  if (delimiter.size() == 1) {
    // Cells are short: delimiters are found sixteen bytes at a time where the
    // processor allows it, not by one library call per cell.
    const char d = delimiter[0];
    const char* base = text.data();
    const size_t size = text.size();
    size_t start = 0, at = 0;
    auto cut = [&](size_t delimiterAt) {
      items.push_back(ansi::Trim(std::string_view(base + start, delimiterAt - start)));
      start = delimiterAt + 1;
    };
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(d);
    for (; at + 16 <= size; at += 16) {
      unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
          _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(base + at)), wanted)));
      while (mask != 0) {
        cut(at + static_cast<size_t>(__builtin_ctz(mask)));
        mask &= mask - 1;
      }
    }
#endif
    for (; at < size; ++at)
      if (base[at] == d) cut(at);
    items.push_back(ansi::Trim(std::string_view(base + start, size - start)));
    return;
  }
  // An empty delimiter never occurs in a text, so the text is one item.
  std::string_view rest = text;
  size_t at;
  while (!delimiter.empty() && (at = rest.find(delimiter)) != std::string_view::npos) {
    items.push_back(ansi::Trim(rest.substr(0, at)));
    rest.remove_prefix(at + 1);
  }
  items.push_back(ansi::Trim(rest));
}

void TDelimitedList::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit) throw EKavError(ListIndexError(index));
}

const std::string& TDelimitedList::operator[](int index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)];
}

void TDelimitedList::Put(int index, std::string text) {
  CheckIndex(index, Count());
  items_[static_cast<size_t>(index)] = std::move(text);
}

void TDelimitedList::Insert(int index, std::string text) {
  CheckIndex(index, Count() + 1);
  items_.insert(items_.begin() + index, std::move(text));
}

int TDelimitedList::IndexOf(std::string_view text) const {
  for (int i = 0; i < Count(); ++i)
    if (ansi::SameText(items_[static_cast<size_t>(i)], text)) return i;
  return -1;
}

void TDelimitedList::SplitText(std::string_view text) {
  std::vector<std::string_view> cells;
  SplitCells(text, delimiter_, cells);
  items_.assign(cells.begin(), cells.end());
}

void TDelimitedList::LoadFromFile(const std::string& path) {
  TLineReader reader(path);
  items_.clear();
  std::string_view line;
  while (reader.Next(line))
    items_.emplace_back(line);
}

void TDelimitedList::SaveToFile(const std::string& path) const {
  std::string bytes;
  for (const std::string& item : items_)
    bytes += item + "\r\n";
  WriteFileAtomically(path, bytes);
}
