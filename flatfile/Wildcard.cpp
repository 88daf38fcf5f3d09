#include "flatfile/Wildcard.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

// The matcher reads the pattern once, left to right, as a sequence of tokens, and carries the set
// of text positions (0..n) that the pattern read so far can have reached. A token that consumes
// one character moves every reachable position i < n whose character it accepts to i + 1; a star
// opens every position from the smallest reachable one onwards. That is exactly the set of
// positions that backtracking on each star would try, so the answers agree, but the work is
// bounded by the number of tokens times the text length instead of growing with each star.

namespace {

using Word = std::uint64_t;
constexpr std::size_t kWordBits = 64;

// Texts up to this many words of positions keep their state on the stack.
constexpr std::size_t kStackWords = 4;

enum class TokenKind {
  kLiteral,   // one character equal to literal()
  kAny,       // "?"
  kSet,       // "[...]"; membership in InSet()
  kStar,      // "*" followed by more pattern
  kLastStar,  // "*" as the last character of the pattern
  kFail,      // a bracket that can never match: the whole pattern fails
  kEnd,       // end of the pattern
};

// Splits a pattern into tokens. The tokens do not depend on the text being matched.
class PatternReader {
 public:
  explicit PatternReader(std::string_view pattern) : p_(pattern) {}

  TokenKind Next() {
    if (pos_ == p_.size()) return TokenKind::kEnd;
    const char c = p_[pos_];
    if (c == '*') {
      ++pos_;
      return pos_ == p_.size() ? TokenKind::kLastStar : TokenKind::kStar;
    }
    if (c == '?') {
      ++pos_;
      return TokenKind::kAny;
    }
    if (c == '[') return ReadSet();
    literal_ = static_cast<unsigned char>(c);
    ++pos_;
    return TokenKind::kLiteral;
  }

  unsigned char literal() const { return literal_; }
  bool InSet(unsigned char c) const { return (set_[c / kWordBits] >> (c % kWordBits)) & 1U; }

 private:
  // pos_ is on "[". Builds the 256-bit membership table of the set with any "^" folded in, and
  // leaves pos_ after the closing "]".
  TokenKind ReadSet() {
    const std::size_t m = p_.size();
    std::size_t q = pos_ + 1;
    if (q == m || p_[q] == '[' || p_[q] == ']') return TokenKind::kFail;
    const bool negated = p_[q] == '^';
    if (negated) ++q;

    std::fill(std::begin(set_), std::end(set_), Word{0});
    for (;;) {
      if (q == m) return TokenKind::kFail;  // the set never closes
      if (p_[q] == ']') break;
      const auto first = static_cast<unsigned char>(p_[q]);
      if (q + 2 < m && p_[q + 1] == '-') {
        // A range; "x-]" takes "]" as its upper bound and the set closes at a later "]".
        AddRange(first, static_cast<unsigned char>(p_[q + 2]));
        q += 3;
      } else {
        AddRange(first, first);
        ++q;
      }
    }
    if (negated) {
      for (Word& w : set_)
        w = ~w;
    }
    pos_ = q + 1;
    return TokenKind::kSet;
  }

  void AddRange(unsigned lo, unsigned hi) {
    if (lo > hi) return;  // a reversed range covers nothing
    for (unsigned w = lo / kWordBits; w <= hi / kWordBits; ++w) {
      const unsigned from = std::max(lo, w * unsigned{kWordBits}) - w * unsigned{kWordBits};
      const unsigned to = std::min(hi, w * unsigned{kWordBits} + 63) - w * unsigned{kWordBits};
      set_[w] |= (~Word{0} << from) & (~Word{0} >> (63 - to));
    }
  }

  std::string_view p_;
  std::size_t pos_ = 0;
  unsigned char literal_ = 0;
  Word set_[256 / kWordBits] = {};
};

// Bits from..to-1 set (from <= to <= 64).
inline Word BitRange(std::size_t from, std::size_t to) {
  if (from >= to) return 0;
  return (~Word{0} >> (kWordBits - (to - from))) << from;
}

// Bit j set for each j in [from, to) with s[j] in the set.
inline Word SetMask(const PatternReader& reader, const unsigned char* s, std::size_t from,
                    std::size_t to) {
  Word mask = 0;
  for (std::size_t j = from; j < to; ++j)
    mask |= Word{reader.InSet(s[j])} << j;
  return mask;
}

// Bit j set for each of the eight characters s[0..7] equal to c.
inline Word EqualMask8(const unsigned char* s, unsigned char c) {
  constexpr Word kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  Word block;
  std::memcpy(&block, s, sizeof block);
  const Word diff = block ^ (0x0101010101010101ULL * c);
  // High bit of each byte set where the byte of diff is zero, without carries between bytes.
  const Word zero = ~(((diff & kLow7) + kLow7) | diff | kLow7);
  // Gather the eight high bits into the low byte.
  return ((zero >> 7) * 0x0102040810204080ULL) >> 56;
}

// Bit j set for each j in [from, to) with s[j] == c; bits below `from` may be set as well.
// Reads no character at or beyond `to`.
inline Word EqualMask(const unsigned char* s, std::size_t from, std::size_t to, unsigned char c) {
  Word mask = 0;
  std::size_t j = from & ~std::size_t{7};
  if constexpr (std::endian::native == std::endian::little) {
    for (; j + 8 <= to; j += 8)
      mask |= EqualMask8(s + j, c) << j;
  }
  for (; j < to; ++j)
    mask |= Word{s[j] == c} << j;
  return mask;
}

// Texts shorter than 64 characters: positions 0..n fit in one word.
bool MatchShort(const unsigned char* s, std::size_t n, std::string_view pattern) {
  const Word all = (Word{2} << n) - 1;         // positions 0..n
  const Word before_end = (Word{1} << n) - 1;  // positions 0..n-1, where a character follows
  // Where each character occurs in the text, worked out the first time a literal needs it.
  Word occurs[256];
  Word known[256 / kWordBits] = {};

  Word state = 1;  // position 0
  PatternReader reader(pattern);
  for (;;) {
    switch (reader.Next()) {
      case TokenKind::kEnd:
        return (state >> n) & 1U;
      case TokenKind::kLastStar:
        return true;  // state is not empty here
      case TokenKind::kFail:
        return false;
      case TokenKind::kStar: {
        const Word lowest = state & (~state + 1);
        state = all & ~(lowest - 1);
        break;
      }
      case TokenKind::kAny:
        state = (state & before_end) << 1;
        break;
      case TokenKind::kLiteral: {
        const unsigned char c = reader.literal();
        Word& known_word = known[c / kWordBits];
        const Word known_bit = Word{1} << (c % kWordBits);
        if ((known_word & known_bit) == 0) {
          occurs[c] = EqualMask(s, 0, n, c);
          known_word |= known_bit;
        }
        state = (state & occurs[c]) << 1;
        break;
      }
      case TokenKind::kSet: {
        const auto from = static_cast<std::size_t>(std::countr_zero(state));
        const auto to = std::min<std::size_t>(static_cast<std::size_t>(std::bit_width(state)), n);
        state = (state & SetMask(reader, s, from, to)) << 1;
        break;
      }
    }
    if (state == 0) return false;
  }
}

// Of the reachable positions in word `live` (covering text positions base..base+63), those whose
// character the token accepts. Only the span between the lowest and highest live bit is read.
inline Word Accepted(TokenKind kind, const PatternReader& reader, const unsigned char* s,
                     std::size_t n, std::size_t base, Word live) {
  const auto from = static_cast<std::size_t>(std::countr_zero(live));
  const auto to = std::min<std::size_t>(static_cast<std::size_t>(std::bit_width(live)), n - base);
  switch (kind) {
    case TokenKind::kAny:
      return live & BitRange(from, to);
    case TokenKind::kLiteral:
      return live & EqualMask(s + base, from, to, reader.literal());
    default:  // kSet
      return live & SetMask(reader, s + base, from, to);
  }
}

// Texts of 64 characters or more: positions 0..n spread over n / 64 + 1 words.
bool MatchLong(const unsigned char* s, std::size_t n, std::string_view pattern) {
  const std::size_t words = n / kWordBits + 1;
  Word stack_state[kStackWords];
  std::unique_ptr<Word[]> heap_state;
  Word* state = stack_state;
  if (words > kStackWords) {
    heap_state = std::make_unique<Word[]>(words);
    state = heap_state.get();
  }
  std::fill(state, state + words, Word{0});
  state[0] = 1;
  const Word last_word_all = (Word{2} << (n % kWordBits)) - 1;  // positions up to n in the top word

  std::size_t low = 0;  // every word below this one is empty
  PatternReader reader(pattern);
  for (;;) {
    const TokenKind kind = reader.Next();
    switch (kind) {
      case TokenKind::kEnd:
        return (state[n / kWordBits] >> (n % kWordBits)) & 1U;
      case TokenKind::kLastStar:
        return true;
      case TokenKind::kFail:
        return false;
      case TokenKind::kStar: {
        const Word lowest = state[low] & (~state[low] + 1);
        state[low] = ~(lowest - 1);
        std::fill(state + low + 1, state + words, ~Word{0});
        state[words - 1] &= last_word_all;
        break;
      }
      default: {
        Word carry = 0;
        for (std::size_t w = low; w < words; ++w) {
          Word moved = state[w];
          if (moved != 0) moved = Accepted(kind, reader, s, n, w * kWordBits, moved);
          state[w] = (moved << 1) | carry;
          carry = moved >> (kWordBits - 1);
        }
        break;
      }
    }
    while (low < words && state[low] == 0)
      ++low;
    if (low == words) return false;
  }
}

}  // namespace

bool WildcardMatch(std::string_view text, std::string_view pattern) {
  // The plain characters before the first wildcard can only match themselves.
  std::size_t plain = 0;
  while (plain < pattern.size() && pattern[plain] != '*' && pattern[plain] != '?' &&
         pattern[plain] != '[') {
    ++plain;
  }
  if (plain == pattern.size()) return text == pattern;
  if (!text.starts_with(pattern.substr(0, plain))) return false;
  if (plain + 1 == pattern.size() && pattern[plain] == '*') return true;  // prefix search

  text.remove_prefix(plain);
  pattern.remove_prefix(plain);
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  return text.size() < kWordBits ? MatchShort(s, text.size(), pattern)
                                 : MatchLong(s, text.size(), pattern);
}
