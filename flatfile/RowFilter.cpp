#include "flatfile/RowFilter.h"

#include <cstdint>
#include <cstring>
#include <functional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "flatfile/FlatFileRules.h"
#include "flatfile/Wildcard.h"
#include "platform/Text1252.h"

TRowFilter::TRowFilter(const TNameValueList& filters, TFilterOption option,
                       const TDelimitedList& columnNames)
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
    if (option_ == TFilterOption::Exact) needed_ = value;
    if (option_ == TFilterOption::Wildcard) needed_ = value.substr(0, value.find_first_of("*?["));
    neededColumn_ = conditions_[0].column;
  }
}

bool TRowFilter::CanSkim(std::string_view delimiter) const {
  return !needed_.empty() && delimiter.size() == 1 && delimiter[0] != '\r' &&
         delimiter[0] != '\n' && needed_.find_first_of("\r\n") == std::string::npos;
}

namespace {

// Set bits of a mask, without the library call a plain x86-64 build makes of
// a population count.
inline uint32_t CountBits(uint32_t x) {
  x = x - ((x >> 1) & 0x55555555u);
  x = (x & 0x33333333u) + ((x >> 2) & 0x33333333u);
  return (((x + (x >> 4)) & 0x0F0F0F0Fu) * 0x01010101u) >> 24;
}

#if defined(__SSE2__)
inline __m128i Load(const char* text) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
}
// One bit per byte of a pair of sixteen-byte comparisons.
inline uint32_t Bits(__m128i low, __m128i high) {
  return static_cast<uint32_t>(_mm_movemask_epi8(low)) |
         static_cast<uint32_t>(_mm_movemask_epi8(high)) << 16;
}
#endif

}  // namespace

// One pass over the block finds line breaks, delimiters and the places where
// the needed text starts, thirty-two bytes at a time. A line is passed on
// when it holds the needed text, or when it has too few delimiters to reach
// the filtered column (the open then fails on it, or it is a comment or
// blank); every other line is rejected unsplit.
bool TRowFilter::SkimLines(std::string_view block, char delimiter,
                           const std::function<bool(std::string_view)>& onLine) const {
  const char* text = block.data();
  const size_t size = block.size();
  const size_t n = needed_.size();
  const size_t column = static_cast<size_t>(neededColumn_);
  size_t lineStart = 0;
  size_t delimiters = 0;
  bool holds = false;
  // Ends the line at the break at `at`; false when onLine says stop.
  auto endLine = [&](size_t at) {
    if ((holds || delimiters < column) &&
        !onLine(std::string_view(text + lineStart, at - lineStart)))
      return false;
    lineStart = at + 1;
    if (text[at] == '\r' && lineStart < size && text[lineStart] == '\n') ++lineStart;
    holds = false;
    delimiters = 0;
    return true;
  };
  size_t at = 0;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
  const __m128i cut = _mm_set1_epi8(delimiter);
  const __m128i first = _mm_set1_epi8(needed_.front()), last = _mm_set1_epi8(needed_.back());
  for (; at + 31 + n <= size; at += 32) {
    const __m128i low = Load(text + at), high = Load(text + at + 16);
    const __m128i breakLow = _mm_or_si128(_mm_cmpeq_epi8(low, cr), _mm_cmpeq_epi8(low, lf));
    const __m128i breakHigh = _mm_or_si128(_mm_cmpeq_epi8(high, cr), _mm_cmpeq_epi8(high, lf));
    const __m128i startLow =
        _mm_and_si128(_mm_cmpeq_epi8(low, first), _mm_cmpeq_epi8(Load(text + at + n - 1), last));
    const __m128i startHigh =
        _mm_and_si128(_mm_cmpeq_epi8(high, first), _mm_cmpeq_epi8(Load(text + at + n + 15), last));
    // Most of a line: no break, no candidate, its column reached already.
    if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(breakLow, breakHigh),
                                       _mm_or_si128(startLow, startHigh))) == 0) {
      if (delimiters < column)
        delimiters += CountBits(Bits(_mm_cmpeq_epi8(low, cut), _mm_cmpeq_epi8(high, cut)));
      continue;
    }
    uint32_t breaks = Bits(breakLow, breakHigh);
    uint32_t starts = Bits(startLow, startHigh);
    const uint32_t cuts = Bits(_mm_cmpeq_epi8(low, cut), _mm_cmpeq_epi8(high, cut));
    uint32_t hits = 0;
    for (; starts != 0; starts &= starts - 1) {
      const unsigned bit = static_cast<unsigned>(__builtin_ctz(starts));
      if (std::memcmp(text + at + bit, needed_.data(), n) == 0) hits |= 1u << bit;
    }
    // The bits from `from` on belong to the current line, up to its break.
    size_t from = lineStart > at ? lineStart - at : 0;
    while (from < 32) {
      const uint32_t part = ~((1u << from) - 1);
      breaks &= part;
      const uint32_t mine = breaks != 0 ? part & ((breaks & (0u - breaks)) - 1) : part;
      holds = holds || (hits & mine) != 0;
      delimiters += CountBits(cuts & mine);
      if (breaks == 0) break;
      if (!endLine(at + static_cast<size_t>(__builtin_ctz(breaks)))) return false;
      from = lineStart - at;
    }
  }
#endif
  for (; at < size; ++at) {
    if (at < lineStart) continue;
    const char c = text[at];
    if (c == '\r' || c == '\n') {
      if (!endLine(at)) return false;
      continue;
    }
    if (c == delimiter) ++delimiters;
    if (c == needed_.front() && size - at >= n && std::memcmp(text + at, needed_.data(), n) == 0)
      holds = true;
  }
  // A block ends with a break; anything after the last one is a line too.
  return lineStart >= size || onLine(std::string_view(text + lineStart, size - lineStart));
}

bool TRowFilter::Matches(const Condition& condition, std::string_view cell) const {
  return CellMatches(cell, condition.value, option_);
}

bool TRowFilter::Accept(TLazyCells& cells) const {
  for (const Condition& condition : conditions_) {
    if (condition.column < 0) return false;
    if (!Matches(condition, cells.Cell(condition.column))) return false;
  }
  return true;
}
