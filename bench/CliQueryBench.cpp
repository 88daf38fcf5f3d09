// Whole-process runs of `kav_pnb_cli query --part` on a 1,000,000-row
// catalogue (KAV_BENCH_ROWS to change it), beside `grep -c` of the same
// prefix on the same file in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/CatalogGenerator.h"

namespace {

namespace fs = std::filesystem;

const std::string& Catalogue() {
  static const std::string folder = [] {
    const char* rowsText = std::getenv("KAV_BENCH_ROWS");
    const long rows = rowsText ? std::atol(rowsText) : 1000000;
    const std::string path =
        (fs::temp_directory_path() / ("kav_bench_cli_" + std::to_string(rows))).string();
    if (!fs::exists(path + "/common/MWAnts.dat")) WriteCatalogue(path, rows, 200);
    fs::create_directories(path + "/config/Ostrel");
    std::ofstream(path + "/config/Ostrel/registry.ini")
        << "[Common Files]\r\nPath=" << path << "/common\r\n";
    return path;
  }();
  return folder;
}

// Runs a command, reading its whole output through a pipe.
size_t Run(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return 0;
  char buffer[65536];
  size_t total = 0, n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    total += n;
  pclose(pipe);
  return total;
}

void BM_GrepCount(benchmark::State& state) {
  const std::string command =
      "grep -c '" + std::string(kSelectivePrefix) + "' " + Catalogue() + "/common/MWAnts.dat";
  for (auto _ : state)
    benchmark::DoNotOptimize(Run(command));
}
BENCHMARK(BM_GrepCount)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_CliQueryPart(benchmark::State& state) {
  const std::string command = "XDG_CONFIG_HOME=" + Catalogue() + "/config " KAV_CLI +
                              std::string(" query --part ") + kSelectivePrefix +
                              " --program-folder " + Catalogue();
  size_t bytes = 0;
  for (auto _ : state)
    bytes = Run(command);
  state.counters["output_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_CliQueryPart)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

}  // namespace

BENCHMARK_MAIN();
