#include "flatfile/RowFilter.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "flatfile/FlatFileRules.h"
#include "flatfile/Wildcard.h"
#include "platform/AnsiText.h"

TRowFilter::TRowFilter(const TNameValueList& filters, TFilterOption option,
                       const TModList& columnNames)
    : option_(option) {
  for (int i = 0; i < filters.Count(); ++i) {
    const std::string name(ansi::Trim(filters.Name(i)));
    // The value is looked up again by the trimmed name, as the filter list
    // answers it, and trimmed too.
    const std::string value(ansi::Trim(filters.Value(name)));
    conditions_.push_back({columnNames.IndexOf(name), value});
  }
  // An exact match holds the whole value; a wildcard pattern at least its
  // plain head (letter case counts in both). A comma list ignores case: no
  // quick look there.
  if (!conditions_.empty() && conditions_[0].column >= 0) {
    const std::string& value = conditions_[0].value;
    if (option_ == foDefaultCompare) needed_ = value;
    if (option_ == foPartialCompare) needed_ = value.substr(0, value.find_first_of("*?["));
    neededColumn_ = conditions_[0].column;
  }
}

// Whether the line holds the needed text: candidates are the places where
// its first and last bytes both fit, sixteen places at a time where possible.
bool TRowFilter::Holds(std::string_view line) const {
  const size_t n = needed_.size();
  if (line.size() < n) return false;
  const size_t starts = line.size() - n + 1;
  const char* text = line.data();
  size_t at = 0;
#if defined(__SSE2__)
  const __m128i first = _mm_set1_epi8(needed_.front()), last = _mm_set1_epi8(needed_.back());
  for (; at + 16 <= starts; at += 16) {
    const __m128i heads = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
    const __m128i tails = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at + n - 1));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_and_si128(_mm_cmpeq_epi8(heads, first), _mm_cmpeq_epi8(tails, last))));
    while (mask != 0) {
      if (std::memcmp(text + at + static_cast<size_t>(__builtin_ctz(mask)), needed_.data(), n) == 0)
        return true;
      mask &= mask - 1;
    }
  }
#endif
  for (; at < starts; ++at)
    if (text[at] == needed_.front() && std::memcmp(text + at, needed_.data(), n) == 0) return true;
  return false;
}

bool TRowFilter::SurelyRejects(std::string_view line, std::string_view delimiter) const {
  if (needed_.empty() || delimiter.size() != 1) return false;
  if (Holds(line)) return false;
  // Long enough: a line too short for the column fails the open, as Accept
  // says. Delimiters are counted sixteen bytes at a time where possible.
  if (neededColumn_ == 0) return true;
  const char d = delimiter[0];
  int delimiters = 0;
  size_t at = 0;
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi8(d);
  for (; at + 16 <= line.size(); at += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + at));
    delimiters +=
        __builtin_popcount(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted))));
    if (delimiters >= neededColumn_) return true;
  }
#endif
  for (; at < line.size(); ++at)
    if (line[at] == d && ++delimiters >= neededColumn_) return true;
  return false;
}

bool TRowFilter::Matches(const Condition& condition, std::string_view cell) const {
  switch (option_) {
    case foDefaultCompare:
      return cell == condition.value;
    case foDelimitedCompare:
      return ListItemMatches(cell, condition.value);
    case foPartialCompare:
      return WildcardMatch(cell, condition.value);
  }
  return false;
}

bool TRowFilter::Accept(TLazyCells& cells) const {
  for (const Condition& condition : conditions_) {
    if (condition.column < 0) return false;
    if (!Matches(condition, cells.Cell(condition.column))) return false;
  }
  return true;
}
