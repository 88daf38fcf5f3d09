#include "flatfile/Wildcard.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "flatfile/ReferenceWildcard.h"

namespace {

// Printable form of a text or pattern, with bytes outside ASCII shown as \xNN.
std::string Show(std::string_view s) {
  std::string out = "\"";
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned>(c));
      out += buf;
    } else {
      out += ch;
    }
  }
  return out + "\"";
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

// The matcher's answers for the cases below are checked against the recursive reference too, so
// that the reference itself is pinned to the documented behaviour.
void ExpectMatch(std::string_view text, std::string_view pattern, bool expected) {
  EXPECT_EQ(WildcardMatch(text, pattern), expected)
      << "text " << Show(text) << ", pattern " << Show(pattern);
  EXPECT_EQ(ReferenceWildcardMatch(text, pattern), expected)
      << "reference; text " << Show(text) << ", pattern " << Show(pattern);
}

TEST(WildcardMatch, PlainPatternIsExactComparison) {
  ExpectMatch("ABC123", "ABC123", true);
  ExpectMatch("ABC123", "abc123", false);
  ExpectMatch("ABC123", "ABC12", false);
  ExpectMatch("ABC12", "ABC123", false);
  ExpectMatch("", "", true);
  ExpectMatch("A", "", false);
  ExpectMatch(" ", "", false);
  ExpectMatch("", "A", false);
  // Characters that are only special inside a set stand for themselves outside one.
  ExpectMatch("a]b^c-d", "a]b^c-d", true);
  ExpectMatch("a]b", "a^b", false);
  // Embedded zero bytes are ordinary characters; lengths, not terminators, end the texts.
  ExpectMatch(std::string_view("a\0b", 3), std::string_view("a\0b", 3), true);
  ExpectMatch(std::string_view("a\0b", 3), std::string_view("a\0c", 3), false);
  ExpectMatch(std::string_view("a\0", 2), "a", false);
}

TEST(WildcardMatch, StarsAndQuestionMarks) {
  // A trailing star is a prefix search.
  ExpectMatch("ABC12", "ABC12*", true);
  ExpectMatch("ABC12-3456", "ABC12*", true);
  ExpectMatch("ABC1", "ABC12*", false);
  ExpectMatch("abc12-3456", "ABC12*", false);  // letter case counts
  ExpectMatch("XABC12", "ABC12*", false);
  ExpectMatch("ABC12*", "ABC12*", true);
  // A star alone, and stars inside the pattern.
  ExpectMatch("", "*", true);
  ExpectMatch("anything at all", "*", true);
  ExpectMatch("", "**", true);
  ExpectMatch("xyz", "***", true);
  ExpectMatch("ABC", "*C", true);
  ExpectMatch("ABCD", "*C", false);
  ExpectMatch("C", "*C", true);
  ExpectMatch("AXXB", "A*B", true);
  ExpectMatch("AB", "A*B", true);
  ExpectMatch("ABXB", "A*B", true);
  ExpectMatch("ABX", "A*B", false);
  ExpectMatch("abcabd", "*ab?", true);
  ExpectMatch("abcab", "*ab?", false);
  // A star may stand for all of the remaining text.
  ExpectMatch("abc", "abc*", true);
  ExpectMatch("abc", "a*bc*", true);
  ExpectMatch("abc", "*a*b*c*", true);
  ExpectMatch("acb", "*a*b*c*", false);
  // A question mark needs a character.
  ExpectMatch("AB", "AB?", false);
  ExpectMatch("ABC", "AB?", true);
  ExpectMatch("ABCD", "AB?", false);
  ExpectMatch("", "?", false);
  ExpectMatch("x", "?", true);
  ExpectMatch("xy", "??", true);
  ExpectMatch("x", "*?", true);
  ExpectMatch("", "*?", false);
}

TEST(WildcardMatch, SetsAndRanges) {
  ExpectMatch("A1", "[A-C]1", true);
  ExpectMatch("B1", "[A-C]1", true);
  ExpectMatch("C1", "[A-C]1", true);
  ExpectMatch("D1", "[A-C]1", false);
  ExpectMatch("a1", "[A-C]1", false);
  ExpectMatch("A2", "[A-C]1", false);
  ExpectMatch("1", "[A-C]1", false);
  ExpectMatch("D1", "[^A-C]1", true);
  ExpectMatch("A1", "[^A-C]1", false);
  ExpectMatch("C1", "[^A-C]1", false);
  ExpectMatch("1", "[^A-C]1", false);  // a set needs a character, negated or not

  // Single members and several members.
  ExpectMatch("x", "[xyz]", true);
  ExpectMatch("z", "[xyz]", true);
  ExpectMatch("w", "[xyz]", false);
  ExpectMatch("5", "[a-c0-9_]", true);
  ExpectMatch("_", "[a-c0-9_]", true);
  ExpectMatch("d", "[a-c0-9_]", false);
  // "-" at either end of the members, and "^" other than first, are ordinary members.
  ExpectMatch("-", "[-a]", true);
  ExpectMatch("-", "[a-]x]", false);  // "a-]" is a range (reversed: empty)
  ExpectMatch("^", "[a^]", true);
  ExpectMatch("^", "[^^]", false);
  ExpectMatch("x", "[^^]", true);
  // A set at the end of the text does not match.
  ExpectMatch("", "[a-z]", false);
  ExpectMatch("ab", "ab[a-z]", false);
  // An empty negated set takes any one character.
  ExpectMatch("x", "[^]", true);
  ExpectMatch("]", "[^]", true);
  ExpectMatch("", "[^]", false);
  ExpectMatch("xy", "[^]", false);
  ExpectMatch("x]", "[^]]", true);  // "[^]" then a literal "]"
  ExpectMatch("xx", "[^]]", false);
}

TEST(WildcardMatch, MalformedBracketsNeverMatch) {
  for (const std::string_view text : {"", "[", "]", "[]", "[[", "a", "[a]", "x]", "xyz"}) {
    SCOPED_TRACE(Show(text));
    ExpectMatch(text, "[]", false);
    ExpectMatch(text, "[]]", false);
    ExpectMatch(text, "[]a]", false);
    ExpectMatch(text, "[[", false);
    ExpectMatch(text, "[[]", false);
    ExpectMatch(text, "[", false);
    ExpectMatch(text, "*[", false);
    ExpectMatch(text, "*[]*", false);
    ExpectMatch(text, "[^", false);
    ExpectMatch(text, "*[^", false);
  }
  // A set that never closes fails even where its first member covers the character.
  ExpectMatch("A", "[A", false);
  ExpectMatch("A", "[AB", false);
  ExpectMatch("B", "[A-C", false);
  ExpectMatch("A1", "[A-C1", false);
  ExpectMatch("x", "[^a", false);
  ExpectMatch("a*", "a[*", false);  // the star belongs to the unclosed set, not a trailing star
  ExpectMatch("a", "a[*", false);
  // A malformed bracket late in the pattern spoils an otherwise matching pattern.
  ExpectMatch("abc", "abc[", false);
  ExpectMatch("abc", "a*[]", false);
  ExpectMatch("abc", "*c[", false);
}

TEST(WildcardMatch, RangeEndingInClosingBracketAndReversedRanges) {
  // "A-]" is the range from "A" to "]" (0x41..0x5D), and the set closes at the next "]".
  ExpectMatch("Zx", "[A-]]x", true);
  ExpectMatch("\\x", "[A-]]x", true);
  ExpectMatch("]x", "[A-]]x", true);
  ExpectMatch("ax", "[A-]]x", false);
  ExpectMatch("Z]x", "[A-]]x", false);
  ExpectMatch("x", "[A-]x]", true);
  ExpectMatch("M", "[A-]x]", true);
  ExpectMatch("Mx]", "[A-]x]", false);
  ExpectMatch("y", "[^A-]x]", true);
  ExpectMatch("Q", "[^A-]x]", false);
  // Without a later "]" the set never closes.
  ExpectMatch("A", "[A-]", false);
  ExpectMatch("]", "[A-]", false);
  ExpectMatch("A", "*[A-]", false);
  // A reversed range covers nothing.
  ExpectMatch("a", "[z-a]", false);
  ExpectMatch("m", "[z-a]", false);
  ExpectMatch("z", "[z-a]", false);
  ExpectMatch("m", "[^z-a]", true);
  ExpectMatch("q", "[z-aq]", true);
  ExpectMatch("b", "[b-b]", true);
}

TEST(WildcardMatch, HighBitCharactersCompareUnsignedAndLiteralsEveryBit) {
  ExpectMatch("\xE9", "[\x80-\xFF]", true);
  ExpectMatch("\x80", "[\x80-\xFF]", true);
  ExpectMatch("\xFF", "[\x80-\xFF]", true);
  ExpectMatch("\x7F", "[\x80-\xFF]", false);
  ExpectMatch("a", "[\x80-\xFF]", false);
  ExpectMatch("z", "[a-\xFF]", true);  // signed codes would make this range empty
  ExpectMatch("\xC0", "[a-\xFF]", true);
  ExpectMatch("A", "[a-\xFF]", false);
  ExpectMatch("\xE9", "[\xFF-\x80]", false);
  ExpectMatch("\xE9", "[^\x80-\xFF]", false);
  ExpectMatch("e", "[^\x80-\xFF]", true);
  ExpectMatch("\xE9", "[\xE9]", true);
  ExpectMatch("\xE8", "[\xE9]", false);
  ExpectMatch("\x3F", "[\xBF]", false);  // same low seven bits, different code
  ExpectMatch("\xBF", "[?-?]", false);
  ExpectMatch("\xE9t\xE9", "\xE9?\xE9", true);
  ExpectMatch("\xE9t\xE9", "*\xE9", true);
  ExpectMatch("\xC9t\xE9", "\xE9*", false);
  // Texts made of characters that each differ from "i" in exactly one bit, the high bit included.
  for (const std::size_t n : {7, 8, 9, 16, 63, 64, 70, 130}) {
    SCOPED_TRACE(n);
    std::string text(n, '\0');
    for (std::size_t j = 0; j < n; ++j)
      text[j] = static_cast<char>('i' ^ (1 << (j % 8)));
    EXPECT_FALSE(WildcardMatch(text, "*i*"));
    EXPECT_FALSE(WildcardMatch(text, "*i"));
    for (const std::size_t p : {std::size_t{0}, std::size_t{5}, n / 2, n - 1}) {
      std::string with_i = text;
      with_i[p] = 'i';
      EXPECT_TRUE(WildcardMatch(with_i, "*i*")) << p;
      EXPECT_TRUE(WildcardMatch(with_i, std::string(p, '?') + "i*")) << p;
      EXPECT_FALSE(WildcardMatch(with_i, std::string(p + 1, '?') + "*i*")) << p;
    }
  }
}

TEST(WildcardMatch, TextsLongerThanOneWordOfPositionsAndManyStars) {
  // Lengths around the 64-position word boundaries and past the on-stack state.
  for (const std::size_t n : {62, 63, 64, 65, 127, 128, 129, 255, 256, 300, 1000}) {
    SCOPED_TRACE(n);
    const std::string text = std::string(n - 1, 'a') + 'b';
    EXPECT_TRUE(WildcardMatch(text, "*b"));
    EXPECT_TRUE(WildcardMatch(text, "a*b"));
    EXPECT_TRUE(WildcardMatch(text, "*a?"));
    EXPECT_FALSE(WildcardMatch(text, "*a"));
    EXPECT_TRUE(WildcardMatch(text, std::string(n, '?')));
    EXPECT_FALSE(WildcardMatch(text, std::string(n - 1, '?')));
    EXPECT_FALSE(WildcardMatch(text, std::string(n + 1, '?')));
    EXPECT_TRUE(WildcardMatch(text, std::string(n - 1, '?') + "[b-c]"));
    EXPECT_TRUE(WildcardMatch(text, "*" + std::string(n - 1, '?')));
    EXPECT_TRUE(WildcardMatch(text, "*" + std::string(n, '?')));
    EXPECT_FALSE(WildcardMatch(text, "*" + std::string(n + 1, '?')));
    EXPECT_TRUE(WildcardMatch(text, "?*[^a]"));
    EXPECT_FALSE(WildcardMatch(text, "*[^a]?"));
    EXPECT_FALSE(WildcardMatch(text, "*b["));
    // Cut short of the b that follows it: nothing past the text's end is read.
    const std::string_view cut = std::string_view(text).substr(0, n - 1);
    EXPECT_FALSE(WildcardMatch(cut, "*b*"));
    EXPECT_FALSE(WildcardMatch(cut, "*[b]*"));
  }
  // Many stars over long texts.
  const std::string stars = "*a*a*a*a*a*a*a*a*a*a*b";
  for (const std::size_t n : {10, 60, 63, 64, 200, 5000}) {
    SCOPED_TRACE(n);
    const std::string as(n, 'a');
    EXPECT_FALSE(WildcardMatch(as, stars));
    EXPECT_TRUE(WildcardMatch(as + 'b', stars));
    EXPECT_TRUE(WildcardMatch("b" + as + 'b', stars));
    EXPECT_FALSE(WildcardMatch(as + "ba", stars));
    EXPECT_FALSE(WildcardMatch(std::string(9, 'a') + 'b', stars));
  }
}

// Every pattern of up to five characters over the wildcard alphabet against every text of up to
// two characters.
TEST(WildcardEquivalence, ExhaustiveShortPatterns) {
  const std::string_view pattern_chars = "ab*?[]^-\xE9";
  const std::string_view text_chars = "ab-]^\xE9";

  std::vector<std::string> texts = {""};
  for (std::size_t i = 0; i < texts.size() && texts[i].size() < 2; ++i) {
    for (const char c : text_chars)
      texts.push_back(texts[i] + c);
  }
  std::vector<std::string> patterns = {""};
  for (std::size_t i = 0; i < patterns.size() && patterns[i].size() < 5; ++i) {
    for (const char c : pattern_chars)
      patterns.push_back(patterns[i] + c);
  }

  for (const std::string& pattern : patterns) {
    for (const std::string& text : texts) {
      if (!SameAsReference(text, pattern)) return;
    }
  }
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
  std::string cut = text;
  // Up to two stars, each replacing a stretch of text (possibly empty).
  const int stars = percent(rng) % 3;
  std::vector<std::pair<std::size_t, std::size_t>> holes;
  for (int k = 0; k < stars; ++k) {
    std::size_t a = position(rng);
    std::size_t b = position(rng);
    if (a > b) std::swap(a, b);
    holes.emplace_back(a, b);
  }
  std::string pattern;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    bool star_here = false;
    bool in_hole = false;
    for (const auto& [a, b] : holes) {
      if (i == a) star_here = true;
      if (i >= a && i < b) in_hole = true;
    }
    if (star_here && (pattern.empty() || pattern.back() != '*')) pattern += '*';
    if (i == text.size() || in_hole) continue;
    const char c = text[i];
    const int roll = percent(rng);
    if (roll < 5) {
      pattern += '?';
    } else if (roll < 8) {
      pattern += (c == 'a') ? "[a-b]" : "[^a]";
    } else if (roll < 9) {
      pattern += "[^b-\xFF]";
    } else if (roll < 10) {
      pattern += (c == 'a') ? 'b' : 'a';  // likely mismatch
    } else {
      pattern += c;
    }
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
    for (int k = 0; k < 6; ++k) {
      const std::string pattern = PatternFromText(rng, text);
      if (!SameAsReference(text, pattern)) return;
      if (WildcardMatch(text, pattern)) ++matches;
    }
    // Short patterns with a star or two, which may match anywhere in the text.
    for (int k = 0; k < 6; ++k) {
      std::string pattern = RandomString(rng, "ab?\xE9", 4) + '*' + RandomString(rng, "ab?", 4);
      if (k % 2 == 1) pattern = '*' + pattern;
      if (!SameAsReference(text, pattern)) return;
      if (WildcardMatch(text, pattern)) ++matches;
    }
  }
  EXPECT_GT(matches, static_cast<int>(lengths.size()));
}

}  // namespace
