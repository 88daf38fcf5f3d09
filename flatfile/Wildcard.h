// Wildcard matching for row filters in partial-compare mode and for general text use.
#pragma once

#include <string_view>

// Answers whether `text` matches the wildcard `pattern`.
//
// Pattern syntax (characters are 8-bit codes, letter case counts, no escape character):
//   *      any run of characters, the empty run included
//   ?      exactly one character
//   [set]  exactly one character covered by a member of the set; [^set] one covered by none.
//          A member is a single character or a range "x-y" (codes compared unsigned; a range
//          with x above y covers nothing). A member "x-]" takes "]" as its upper bound, and the
//          set then closes at the next "]". "[" followed by the end, "[" or "]", and a set that
//          never closes, make the whole pattern fail to match.
//   other  itself
//
// The empty pattern matches only the empty text; a pattern of plain characters matches only the
// identical text. Running time is bounded by the product of the two lengths, whatever the number
// of stars; neither text nor pattern is copied and neither needs a terminator.
bool WildcardMatch(std::string_view text, std::string_view pattern);
