// Whole-process runs of `kav_pnb_cli build` on one antenna offering 200,000
// flanges, radomes and packing options (KAV_BENCH_OPTIONS to change it),
// naming the last of each, beside the same build with the default options.
// Each run's output is checked, so a build that fails is no figure.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/CatalogGenerator.h"

namespace {

namespace fs = std::filesystem;

long Options() {
  const char* text = std::getenv("KAV_BENCH_OPTIONS");
  return text != nullptr ? std::atol(text) : 200000;
}

const std::string& Catalogue() {
  static const std::string folder = [] {
    const std::string path =
        (fs::temp_directory_path() / ("kav_bench_options_" + std::to_string(Options()))).string();
    if (!fs::exists(path + "/data/pack_list.dat")) WriteOneAntennaCatalogue(path, Options());
    fs::create_directories(path + "/config/Ostrel");
    std::ofstream(path + "/config/Ostrel/registry.ini")
        << "[Common Files]\r\nPath=" << path << "/common\r\n";
    return path;
  }();
  return folder;
}

// The name of the last option of a kind: "F199999" for the flanges.
std::string Last(char kind) {
  char name[32];
  std::snprintf(name, sizeof name, "%c%06ld", kind, Options() - 1);
  return name;
}

// Runs a command; its whole output.
std::string Run(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {};
  std::string output;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    output.append(buffer, n);
  pclose(pipe);
  return output;
}

void Build(benchmark::State& state, const std::string& options, const std::string& partNumber) {
  const std::string command = "XDG_CONFIG_HOME=" + Catalogue() + "/config " KAV_CLI +
                              std::string(" build BIG4-23 ") + options + " --program-folder " +
                              Catalogue();
  const std::string expected = "Custom Part Number=" + partNumber;
  for (auto _ : state) {
    const std::string output = Run(command);
    // The whole part number: the line ends right after it.
    const size_t at = output.find(expected);
    const char after = at == std::string::npos ? '\0' : output[at + expected.size()];
    if (after != '\r' && after != '\n') {
      state.SkipWithError(("no " + expected + " in: " + output.substr(0, 200)).c_str());
      return;
    }
  }
}

void BM_CliBuildDefaultOptions(benchmark::State& state) {
  Build(state, "", "BIG4-23-f0R000000P000000");
}
BENCHMARK(BM_CliBuildDefaultOptions)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_CliBuildLastFlange(benchmark::State& state) {
  Build(state, "--flange " + Last('F'),
        "BIG4-23-f" + std::to_string(Options() - 1) + "R000000P000000");
}
BENCHMARK(BM_CliBuildLastFlange)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_CliBuildLastRadome(benchmark::State& state) {
  Build(state, "--radome " + Last('R'), "BIG4-23-f0" + Last('R') + "P000000");
}
BENCHMARK(BM_CliBuildLastRadome)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_CliBuildLastPack(benchmark::State& state) {
  Build(state, "--pack " + Last('P'), "BIG4-23-f0R000000" + Last('P'));
}
BENCHMARK(BM_CliBuildLastPack)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

}  // namespace

BENCHMARK_MAIN();
