// A 10,000-line `kav_pnb_cli build --batch` over the demo catalogue, with
// the working folder on disk (the system's temporary folder) and in memory
// (/dev/shm), in alternation within one run. The counter `ratio` is disk
// time over memory time: a batch's cost on disk must not grow with its
// length beyond what memory costs. Each run's output is checked.
//
// And batches of 100 models on a 120,000-row catalogue, as written, in
// lower case and not in the catalogue at all: a model's look-up must cost
// the same whatever its spelling (`lower_ratio`, `unknown_ratio`: their
// time over the exact batch's).
//
// KAV_BENCH_CLI names another kav_pnb_cli to time (an earlier build).
#include <benchmark/benchmark.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/CatalogGenerator.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLines = 10000;

std::string Cli() {
  const char* other = std::getenv("KAV_BENCH_CLI");
  return other != nullptr ? other : KAV_CLI;
}

// A program folder with the demo's data, a registry naming its shared
// folder and the batch file, under `root`.
std::string Prepare(const fs::path& root) {
  const std::string demo = KAV_DEMO_DIR;
  const std::string folder = (root / "kav_bench_batch_10k").string();
  fs::create_directories(folder + "/config/Ostrel");
  std::ofstream(folder + "/config/Ostrel/registry.ini")
      << "[Common Files]\r\nPath=" << demo << "/common\r\n";
  fs::copy(demo + "/data", folder + "/data",
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  std::ofstream quote(folder + "/quote.csv");
  const char* items[] = {"OSD4-6,,,", "OSD6-6,PDR70,,", "OHR2-11,,,", "OUR4-23,,,"};
  for (int i = 0; i < kLines; ++i)
    quote << items[i % 4] << "\n";
  return folder;
}

// Runs the batch in `folder`; its wall time in seconds, or a negative
// number when it did not build every item.
double RunBatch(const std::string& folder) {
  const std::string command = "XDG_CONFIG_HOME=" + folder + "/config " + Cli() +
                              std::string(" build --batch ") + folder +
                              "/quote.csv --program-folder " + folder + " | grep -c '\tok$'";
  const auto start = std::chrono::steady_clock::now();
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  char count[32] = {};
  const bool read = std::fgets(count, sizeof count, pipe) != nullptr;
  pclose(pipe);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  return read && std::atoi(count) == kLines ? took.count() : -1;
}

void BM_CliBatchDiskOverMemory(benchmark::State& state) {
  const std::string disk = Prepare(fs::temp_directory_path());
  const std::string memory = Prepare("/dev/shm");
  double diskTime = 0, memoryTime = 0;
  for (auto _ : state) {
    const double onDisk = RunBatch(disk), inMemory = RunBatch(memory);
    if (onDisk < 0 || inMemory < 0) {
      state.SkipWithError("a batch item was not built");
      break;
    }
    diskTime += onDisk;
    memoryTime += inMemory;
  }
  fs::remove_all(memory);
  if (memoryTime <= 0) return;
  state.counters["disk_s"] = diskTime / static_cast<double>(state.iterations());
  state.counters["memory_s"] = memoryTime / static_cast<double>(state.iterations());
  state.counters["ratio"] = diskTime / memoryTime;
}
BENCHMARK(BM_CliBatchDiskOverMemory)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(3);

constexpr long kLookupRows = 120000;
constexpr int kLookupItems = 100;

// A 120,000-row catalogue and three batches of 100 items in it: models as
// written, the same in lower case, and models it does not hold.
std::string PrepareLookups() {
  const std::string folder =
      (fs::temp_directory_path() / ("kav_bench_lookup_" + std::to_string(kLookupRows))).string();
  if (!fs::exists(folder + "/common/MWAnts.dat")) WriteCatalogue(folder, kLookupRows, 200);
  fs::create_directories(folder + "/config/Ostrel");
  std::ofstream(folder + "/config/Ostrel/registry.ini")
      << "[Common Files]\r\nPath=" << folder << "/common\r\n";
  std::vector<std::string> models;
  std::ifstream antennas(folder + "/common/MWAnts.dat");
  std::string line;
  for (long number = 1; std::getline(antennas, line); ++number) {
    if (number < 3 || number % (kLookupRows / kLookupItems) != 0) continue;
    size_t at = 0;
    for (int cell = 0; cell < 9; ++cell)
      at = line.find('|', at) + 1;
    models.push_back(line.substr(at, line.find('|', at) - at));
  }
  std::ofstream exact(folder + "/exact.csv"), lower(folder + "/lower.csv"),
      unknown(folder + "/unknown.csv");
  for (size_t i = 0; i < models.size() && i < kLookupItems; ++i) {
    std::string folded = models[i];
    for (char& c : folded)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    exact << models[i] << "\n";
    lower << folded << "\n";
    unknown << "NOPE" << i << "\n";
  }
  return folder;
}

double RunLookups(const std::string& folder, const char* batch) {
  const std::string command = "XDG_CONFIG_HOME=" + folder + "/config " + Cli() + " build --batch " +
                              folder + "/" + batch + " --program-folder " + folder +
                              " >/dev/null 2>&1";
  const auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) == -1) return -1;
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  return took.count();
}

void BM_CliModelLookup(benchmark::State& state) {
  const std::string folder = PrepareLookups();
  double exact = 0, lower = 0, unknown = 0;
  for (auto _ : state) {
    exact += RunLookups(folder, "exact.csv");
    lower += RunLookups(folder, "lower.csv");
    unknown += RunLookups(folder, "unknown.csv");
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["exact_s"] = exact / runs;
  state.counters["lower_s"] = lower / runs;
  state.counters["unknown_s"] = unknown / runs;
  state.counters["lower_ratio"] = lower / exact;
  state.counters["unknown_ratio"] = unknown / exact;
}
BENCHMARK(BM_CliModelLookup)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
