// Straightforward recursive wildcard matcher, kept only as the yardstick for WildcardMatch in the
// tests and the fuzz target. It walks the pattern once and, on a star, tries every later text
// position in turn by recursion, so its time grows exponentially with the number of stars. Do not
// use it outside tests.
#pragma once

#include <cstddef>
#include <string_view>

namespace reference_wildcard_detail {

inline bool MatchFrom(std::string_view text, std::size_t t, std::string_view pattern,
                      std::size_t p) {
  const std::size_t n = text.size(), m = pattern.size();
  for (;;) {
    // End of pattern: match exactly when the text is used up too.
    if (p == m) return t == n;

    const char pc = pattern[p];
    if (pc == '*') {
      // A star that ends the pattern takes whatever text remains.
      if (p + 1 == m) return true;
      // Otherwise try the rest of the pattern from each remaining position, then from the end.
      for (std::size_t i = t; i < n; ++i)
        if (MatchFrom(text, i, pattern, p + 1)) return true;
      t = n;
      ++p;
      continue;
    }

    if (pc == '[') {
      std::size_t q = p + 1;
      // "[" at the end, or followed by "[" or "]", never matches.
      if (q == m || pattern[q] == '[' || pattern[q] == ']') return false;
      const bool negated = pattern[q] == '^';
      if (negated) ++q;
      // A set needs a text character to consume.
      if (t == n) return false;
      const unsigned char c = static_cast<unsigned char>(text[t]);

      // Member scan, up to the closing "]" found at the start of a member.
      bool covered = false;
      for (;;) {
        if (q == m) return false;  // no closing "]"
        if (pattern[q] == ']') break;
        const unsigned char first = static_cast<unsigned char>(pattern[q]);
        // A range's upper bound may be "]", and the scan then goes on to the next "]". A single
        // member is a range of one.
        const bool range = q + 2 < m && pattern[q + 1] == '-';
        const unsigned char last = range ? static_cast<unsigned char>(pattern[q + 2]) : first;
        if (first <= c && c <= last) covered = true;
        q += range ? 3 : 1;
      }
      if (covered == negated) return false;
      ++t;
      p = q + 1;  // continue after the closing "]" found by the member scan
      continue;
    }

    // A question mark takes any one character; any other character stands for itself.
    if (t == n || (pc != '?' && text[t] != pc)) return false;
    ++t;
    ++p;
  }
}

}  // namespace reference_wildcard_detail

inline bool ReferenceWildcardMatch(std::string_view text, std::string_view pattern) {
  return reference_wildcard_detail::MatchFrom(text, 0, pattern, 0);
}
