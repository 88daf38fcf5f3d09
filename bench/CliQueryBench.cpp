// Whole-process runs of `kav_pnb_cli` on a 1,000,000-row catalogue
// (KAV_BENCH_ROWS to change it), output into a pipe, beside the same run's
// baselines: `query --part` beside `grep -c` of the same prefix, `query --all`
// beside `cut` of the same twenty columns (with its peak memory beside the
// file's size); and a 1,000-line `build --batch` over the demo catalogue.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
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

// Peak resident memory of the largest child so far, in bytes.
double ChildPeakBytes() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_maxrss) * 1024;
}

void BM_CutTwentyColumns(benchmark::State& state) {
  const std::string command =
      "cut -d'|' -f1,2,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,"
      "28,29 " +
      Catalogue() + "/common/MWAnts.dat";
  for (auto _ : state)
    benchmark::DoNotOptimize(Run(command));
}
BENCHMARK(BM_CutTwentyColumns)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void BM_CliQueryAll(benchmark::State& state) {
  const std::string command = "XDG_CONFIG_HOME=" + Catalogue() + "/config " KAV_CLI +
                              std::string(" query --all --program-folder ") + Catalogue();
  for (auto _ : state)
    benchmark::DoNotOptimize(Run(command));
  state.counters["peak_MB"] = ChildPeakBytes() / 1e6;
  state.counters["file_MB"] =
      static_cast<double>(fs::file_size(Catalogue() + "/common/MWAnts.dat")) / 1e6;
}
BENCHMARK(BM_CliQueryAll)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void BM_CliBatchThousandLines(benchmark::State& state) {
  const std::string demo = KAV_DEMO_DIR;
  const std::string folder = (fs::temp_directory_path() / "kav_bench_batch").string();
  fs::create_directories(folder + "/config/Ostrel");
  std::ofstream(folder + "/config/Ostrel/registry.ini")
      << "[Common Files]\r\nPath=" << demo << "/common\r\n";
  fs::copy(demo + "/data", folder + "/data",
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  {
    std::ofstream quote(folder + "/quote.csv");
    const char* models[] = {"OSD4-6", "OSD6-6", "OHR2-11", "OUR4-23"};
    for (int i = 0; i < 1000; ++i)
      quote << models[i % 4] << ",,,\n";
  }
  const std::string command = "XDG_CONFIG_HOME=" + folder + "/config " KAV_CLI +
                              std::string(" build --batch ") + folder +
                              "/quote.csv --program-folder " + folder;
  for (auto _ : state)
    benchmark::DoNotOptimize(Run(command));
}
BENCHMARK(BM_CliBatchThousandLines)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

}  // namespace

BENCHMARK_MAIN();
