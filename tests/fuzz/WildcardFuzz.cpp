// The fast wildcard matcher gives the same answer as the plain recursive one
// on every text and pattern short enough for the recursive one to finish.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "flatfile/ReferenceWildcard.h"
#include "flatfile/Wildcard.h"
#include "fuzz/FuzzSupport.h"

namespace {

// The recursive matcher tries up to (text length + 1) positions per star, one
// level per star: keep that product small.
constexpr double kMaxReferenceSteps = 200000;

bool CheapForReference(std::string_view text, std::string_view pattern) {
  int stars = 0;
  for (char c : pattern)
    stars += c == '*';
  return stars * std::log(static_cast<double>(text.size()) + 1) <= std::log(kMaxReferenceSteps);
}

}  // namespace

// Input: one byte giving the pattern length (modulo the rest), the pattern,
// then the text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const size_t patternLength = rest.empty() ? 0 : data[0] % (rest.size() + 1);
  const std::string_view pattern = rest.substr(0, patternLength);
  const std::string_view text = rest.substr(patternLength);
  if (!CheapForReference(text, pattern)) return 0;
  FUZZ_CHECK(WildcardMatch(text, pattern) == ReferenceWildcardMatch(text, pattern));
  return 0;
}
