#include "flatfile/Wildcard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "flatfile/ReferenceWildcard.h"

namespace {

using namespace std::string_view_literals;

// Printable form of a text or pattern, bytes outside ASCII escaped.
std::string Show(std::string_view s) {
  return ::testing::PrintToString(std::string(s));
}

// Compares the matcher with the recursive reference on one pair; on a difference records a
// failure naming the pair and answers false so that the caller can stop at the first one.
bool SameAsReference(std::string_view text, std::string_view pattern) {
  const bool expected = ReferenceWildcardMatch(text, pattern);
  const bool actual = WildcardMatch(text, pattern);
  if (actual == expected) return true;
  ADD_FAILURE() << "text " << Show(text) << " (length " << text.size() << "), pattern "
                << Show(pattern) << ": WildcardMatch answers " << actual
                << ", the recursive matcher " << expected;
  return false;
}

std::string RandomString(std::mt19937& rng, std::string_view alphabet, std::size_t max_length) {
  std::uniform_int_distribution<std::size_t> length(0, max_length);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::string s(length(rng), '\0');
  for (char& c : s)
    c = alphabet[pick(rng)];
  return s;
}

// One pattern with the texts it matches and the texts it does not.
struct Case {
  std::string_view pattern;
  std::vector<std::string_view> matching, failing;
};

// The matcher's answers for the cases below are checked against the recursive reference too, so
// that the reference itself is pinned to the documented behaviour.
void ExpectCases(std::initializer_list<Case> cases) {
  for (const auto& [pattern, matching, failing] : cases)
    for (const bool expected : {true, false})
      for (const std::string_view text : expected ? matching : failing) {
        EXPECT_EQ(WildcardMatch(text, pattern), expected)
            << "text " << Show(text) << ", pattern " << Show(pattern);
        EXPECT_EQ(ReferenceWildcardMatch(text, pattern), expected)
            << "reference; text " << Show(text) << ", pattern " << Show(pattern);
      }
}

// The matcher alone, for texts where the recursive reference would take too long.
void ExpectPatterns(std::string_view text, std::initializer_list<std::string> matching,
                    std::initializer_list<std::string> failing) {
  for (const std::string& pattern : matching)
    EXPECT_TRUE(WildcardMatch(text, pattern)) << Show(pattern);
  for (const std::string& pattern : failing)
    EXPECT_FALSE(WildcardMatch(text, pattern)) << Show(pattern);
}

TEST(WildcardMatch, PlainPatternIsExactComparison) {
  ExpectCases({
      {"ABC123", {"ABC123"}, {"ABC12"}},
      {"abc123", {}, {"ABC123"}},
      {"ABC12", {}, {"ABC123"}},
      {"", {""}, {"A", " "}},
      {"A", {}, {""}},
      // Characters that are only special inside a set stand for themselves outside one.
      {"a]b^c-d", {"a]b^c-d"}, {}},
      {"a^b", {}, {"a]b"}},
      // Embedded zero bytes are ordinary characters; lengths, not terminators, end the texts.
      {"a\0b"sv, {"a\0b"sv}, {}},
      {"a\0c"sv, {}, {"a\0b"sv}},
      {"a", {}, {"a\0"sv}},
  });
}

TEST(WildcardMatch, StarsAndQuestionMarks) {
  ExpectCases({
      // A trailing star is a prefix search; letter case counts.
      {"ABC12*", {"ABC12", "ABC12-3456", "ABC12*"}, {"ABC1", "abc12-3456", "XABC12"}},
      // A star alone, and stars inside the pattern.
      {"*", {"", "anything at all"}, {}},
      {"**", {""}, {}},
      {"***", {"xyz"}, {}},
      {"*C", {"ABC", "C"}, {"ABCD"}},
      {"A*B", {"AXXB", "AB", "ABXB"}, {"ABX"}},
      {"*ab?", {"abcabd"}, {"abcab"}},
      // A star may stand for all of the remaining text.
      {"abc*", {"abc"}, {}},
      {"a*bc*", {"abc"}, {}},
      {"*a*b*c*", {"abc"}, {"acb"}},
      // A question mark needs a character.
      {"AB?", {"ABC"}, {"AB", "ABCD"}},
      {"?", {"x"}, {""}},
      {"??", {"xy"}, {}},
      {"*?", {"x"}, {""}},
  });
}

TEST(WildcardMatch, SetsAndRanges) {
  ExpectCases({
      {"[A-C]1", {"A1", "B1", "C1"}, {"D1", "a1", "A2", "1"}},
      {"[^A-C]1", {"D1"}, {"A1", "C1", "1"}},  // a set needs a character, negated or not
      // Single members and several members.
      {"[xyz]", {"x", "z"}, {"w"}},
      {"[a-c0-9_]", {"5", "_"}, {"d"}},
      // "-" at either end of the members, and "^" other than first, are ordinary members.
      {"[-a]", {"-"}, {}},
      {"[a-]x]", {}, {"-"}},  // "a-]" is a range (reversed: empty)
      {"[a^]", {"^"}, {}},
      {"[^^]", {"x"}, {"^"}},
      // A set at the end of the text does not match.
      {"[a-z]", {}, {""}},
      {"ab[a-z]", {}, {"ab"}},
      // An empty negated set takes any one character.
      {"[^]", {"x", "]"}, {"", "xy"}},
      {"[^]]", {"x]"}, {"xx"}},  // "[^]" then a literal "]"
  });
}

TEST(WildcardMatch, MalformedBracketsNeverMatch) {
  for (const std::string_view pattern :
       {"[]", "[]]", "[]a]", "[[", "[[]", "[", "*[", "*[]*", "[^", "*[^"})
    ExpectCases({{pattern, {}, {"", "[", "]", "[]", "[[", "a", "[a]", "x]", "xyz"}}});
  ExpectCases({
      // A set that never closes fails even where its first member covers the character.
      {"[A", {}, {"A"}},
      {"[AB", {}, {"A"}},
      {"[A-C", {}, {"B"}},
      {"[A-C1", {}, {"A1"}},
      {"[^a", {}, {"x"}},
      {"a[*", {}, {"a*", "a"}},  // the star belongs to the unclosed set, not a trailing star
      // A malformed bracket late in the pattern spoils an otherwise matching pattern.
      {"abc[", {}, {"abc"}},
      {"a*[]", {}, {"abc"}},
      {"*c[", {}, {"abc"}},
  });
}

TEST(WildcardMatch, RangeEndingInClosingBracketAndReversedRanges) {
  ExpectCases({
      // "A-]" is the range from "A" to "]" (0x41..0x5D), and the set closes at the next "]".
      {"[A-]]x", {"Zx", "\\x", "]x"}, {"ax", "Z]x"}},
      {"[A-]x]", {"x", "M"}, {"Mx]"}},
      {"[^A-]x]", {"y"}, {"Q"}},
      // Without a later "]" the set never closes.
      {"[A-]", {}, {"A", "]"}},
      {"*[A-]", {}, {"A"}},
      // A reversed range covers nothing.
      {"[z-a]", {}, {"a", "m", "z"}},
      {"[^z-a]", {"m"}, {}},
      {"[z-aq]", {"q"}, {}},
      {"[b-b]", {"b"}, {}},
  });
}

TEST(WildcardMatch, HighBitCharactersCompareUnsignedAndLiteralsEveryBit) {
  ExpectCases({
      {"[\x80-\xFF]", {"\xE9", "\x80", "\xFF"}, {"\x7F", "a"}},
      {"[a-\xFF]", {"z", "\xC0"}, {"A"}},  // signed codes would make this range empty
      {"[\xFF-\x80]", {}, {"\xE9"}},
      {"[^\x80-\xFF]", {"e"}, {"\xE9"}},
      {"[\xE9]", {"\xE9"}, {"\xE8"}},
      {"[\xBF]", {}, {"\x3F"}},  // same low seven bits, different code
      {"[?-?]", {}, {"\xBF"}},
      {"\xE9?\xE9", {"\xE9t\xE9"}, {}},
      {"*\xE9", {"\xE9t\xE9"}, {}},
      {"\xE9*", {}, {"\xC9t\xE9"}},
  });
  // Texts made of characters that each differ from "i" in exactly one bit, the high bit included.
  for (const std::size_t n : {7, 8, 9, 16, 63, 64, 70, 130}) {
    SCOPED_TRACE(n);
    std::string text(n, '\0');
    for (std::size_t j = 0; j < n; ++j)
      text[j] = static_cast<char>('i' ^ (1 << (j % 8)));
    ExpectPatterns(text, {}, {"*i*", "*i"});
    for (const std::size_t p : {std::size_t{0}, std::size_t{5}, n / 2, n - 1}) {
      SCOPED_TRACE(p);
      std::string with_i = text;
      with_i[p] = 'i';
      ExpectPatterns(with_i, {"*i*", std::string(p, '?') + "i*"},
                     {std::string(p + 1, '?') + "*i*"});
    }
  }
}

TEST(WildcardMatch, TextsLongerThanOneWordOfPositionsAndManyStars) {
  // Lengths around the 64-position word boundaries and past the on-stack state.
  for (const std::size_t n : {62, 63, 64, 65, 127, 128, 129, 255, 256, 300, 1000}) {
    SCOPED_TRACE(n);
    const std::string text = std::string(n - 1, 'a') + 'b';
    const std::string any_n = std::string(n, '?');
    ExpectPatterns(
        text,
        {"*b", "a*b", "*a?", any_n, std::string(n - 1, '?') + "[b-c]",
         "*" + std::string(n - 1, '?'), "*" + any_n, "?*[^a]"},
        {"*a", std::string(n - 1, '?'), any_n + '?', "*" + any_n + '?', "*[^a]?", "*b["});
    // Cut short of the b that follows it: nothing past the text's end is read.
    ExpectPatterns(std::string_view(text).substr(0, n - 1), {}, {"*b*", "*[b]*"});
  }
  // Many stars over long texts.
  const std::string stars = "*a*a*a*a*a*a*a*a*a*a*b";
  for (const std::size_t n : {10, 60, 63, 64, 200, 5000}) {
    SCOPED_TRACE(n);
    const std::string as(n, 'a');
    ExpectPatterns(as + 'b', {stars}, {});
    ExpectPatterns("b" + as + 'b', {stars}, {});
    for (const std::string& text : {as, as + "ba", std::string(9, 'a') + 'b'})
      ExpectPatterns(text, {}, {stars});
  }
}

// Every string over `alphabet` of up to `max_length` characters, shortest first.
std::vector<std::string> AllStrings(std::string_view alphabet, std::size_t max_length) {
  std::vector<std::string> all = {""};
  for (std::size_t i = 0; i < all.size() && all[i].size() < max_length; ++i)
    for (const char c : alphabet)
      all.push_back(all[i] + c);
  return all;
}

// Every pattern of up to five characters over the wildcard alphabet against every text of up to
// two characters.
TEST(WildcardEquivalence, ExhaustiveShortPatterns) {
  const std::vector<std::string> texts = AllStrings("ab-]^\xE9", 2);
  for (const std::string& pattern : AllStrings("ab*?[]^-\xE9", 5))
    for (const std::string& text : texts)
      if (!SameAsReference(text, pattern)) return;
}

// Random short patterns and texts, with a fixed seed.
TEST(WildcardEquivalence, RandomShortPatterns) {
  std::mt19937 rng(20240611);
  int matches = 0;
  constexpr int kPairs = 200000;
  for (int i = 0; i < kPairs; ++i) {
    const std::string pattern = RandomString(rng, "ab*?[]^-\xE9", 8);
    const std::string text = RandomString(rng, "ab-]^\xE9", 10);
    if (!SameAsReference(text, pattern)) return;
    if (ReferenceWildcardMatch(text, pattern)) ++matches;
  }
  // The generator must produce both answers in fair numbers for the comparison to mean anything.
  EXPECT_GT(matches, kPairs / 100);
  EXPECT_LT(matches, kPairs / 2);
}

// Builds a pattern from a text: some characters become "?" or sets, up to two stretches become
// "*", and now and then a character is changed so that the pattern fails.
std::string PatternFromText(std::mt19937& rng, const std::string& text) {
  std::uniform_int_distribution<int> percent(0, 99);
  std::uniform_int_distribution<std::size_t> position(0, text.size());
  // Up to two stars, each replacing a stretch of text (possibly empty).
  const int stars = percent(rng) % 3;
  std::vector<std::pair<std::size_t, std::size_t>> holes;
  for (int k = 0; k < stars; ++k)
    holes.push_back(std::minmax({position(rng), position(rng)}));
  std::string pattern;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    bool star_here = false, in_hole = false;
    for (const auto& [a, b] : holes) {
      if (i == a) star_here = true;
      if (i >= a && i < b) in_hole = true;
    }
    if (star_here && (pattern.empty() || pattern.back() != '*')) pattern += '*';
    if (i == text.size() || in_hole) continue;
    const char c = text[i];
    const int roll = percent(rng);
    pattern += roll < 5    ? std::string("?")
               : roll < 8  ? std::string(c == 'a' ? "[a-b]" : "[^a]")
               : roll < 9  ? std::string("[^b-\xFF]")
               : roll < 10 ? std::string(1, c == 'a' ? 'b' : 'a')  // likely mismatch
                           : std::string(1, c);
  }
  return pattern;
}

// Texts that need more than one word of positions, compared with the reference. Patterns have at
// most two stars so that the recursive reference stays quick.
TEST(WildcardEquivalence, LongTexts) {
  std::mt19937 rng(77);
  std::uniform_int_distribution<std::size_t> length(64, 300);
  std::uniform_int_distribution<int> percent(0, 99);
  std::vector<std::size_t> lengths = {63, 64, 65, 127, 128, 129, 255, 256, 257, 300};
  for (int i = 0; i < 300; ++i)
    lengths.push_back(length(rng));

  int matches = 0;
  for (const std::size_t n : lengths) {
    std::string text(n, 'a');
    for (char& c : text) {
      const int roll = percent(rng);
      c = roll < 80 ? 'a' : roll < 95 ? 'b' : '\xE9';
    }
    // Six patterns made from the text, then six short patterns with a star or two, which may
    // match anywhere in the text.
    for (int k = 0; k < 12; ++k) {
      std::string pattern =
          k < 6 ? PatternFromText(rng, text)
                : RandomString(rng, "ab?\xE9", 4) + '*' + RandomString(rng, "ab?", 4);
      if (k >= 6 && k % 2 == 1) pattern = '*' + pattern;
      if (!SameAsReference(text, pattern)) return;
      if (WildcardMatch(text, pattern)) ++matches;
    }
  }
  EXPECT_GT(matches, static_cast<int>(lengths.size()));
}

}  // namespace
