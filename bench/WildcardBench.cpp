// Speed of the wildcard matcher on the patterns the catalogue uses and on patterns with many stars,
// which a backtracking matcher would take exponential time over.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "flatfile/Wildcard.h"

namespace {

const std::string kManyStars = "*a*a*a*a*a*a*a*a*a*a*b";

void Run(benchmark::State& state, std::string_view text, std::string_view pattern, bool expected) {
  if (WildcardMatch(text, pattern) != expected) {
    state.SkipWithError("unexpected answer");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(pattern);
    bool matched = WildcardMatch(text, pattern);
    benchmark::DoNotOptimize(matched);
  }
}

void BM_ManyStars_60_NoMatch(benchmark::State& state) {
  Run(state, std::string(60, 'a'), kManyStars, false);
}
BENCHMARK(BM_ManyStars_60_NoMatch);

void BM_ManyStars_60_Match(benchmark::State& state) {
  Run(state, std::string(60, 'a') + 'b', kManyStars, true);
}
BENCHMARK(BM_ManyStars_60_Match);

void BM_ManyStars_200_NoMatch(benchmark::State& state) {
  Run(state, std::string(200, 'a'), kManyStars, false);
}
BENCHMARK(BM_ManyStars_200_NoMatch);

void BM_ManyStars_200_Match(benchmark::State& state) {
  Run(state, std::string(199, 'a') + 'b', kManyStars, true);
}
BENCHMARK(BM_ManyStars_200_Match);

void BM_Prefix_PartNumber(benchmark::State& state) {
  Run(state, "ABC12-3456", "ABC12*", true);
}
BENCHMARK(BM_Prefix_PartNumber);

void BM_Prefix_PartNumber_NoMatch(benchmark::State& state) {
  Run(state, "ABD12-3456", "ABC12*", false);
}
BENCHMARK(BM_Prefix_PartNumber_NoMatch);

void BM_Exact_PartNumber(benchmark::State& state) {
  Run(state, "ABC12-3456", "ABC12-3456", true);
}
BENCHMARK(BM_Exact_PartNumber);

void BM_SetsAndQuestionMarks_PartNumber(benchmark::State& state) {
  Run(state, "ABC12-3456", "AB[A-C]1?-*[0-9]", true);
}
BENCHMARK(BM_SetsAndQuestionMarks_PartNumber);

std::string Text200() {
  std::string text;
  while (text.size() < 200)
    text += "antenna-part-";
  text.resize(197);
  return text + "XYZ";
}

void BM_Text200_InnerStars(benchmark::State& state) {
  Run(state, Text200(), "ant*part*[^a-z]YZ", true);
}
BENCHMARK(BM_Text200_InnerStars);

void BM_Text200_Prefix(benchmark::State& state) {
  Run(state, Text200(), "antenna-*", true);
}
BENCHMARK(BM_Text200_Prefix);

}  // namespace

BENCHMARK_MAIN();
