// A 10,000-line `kav_pnb_cli build --batch` over the demo catalogue, with
// the working folder on disk (the system's temporary folder) and in memory
// (/dev/shm), in alternation within one run. The counter `ratio` is disk
// time over memory time: a batch's cost on disk must not grow with its
// length beyond what memory costs. Each run's output is checked.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kLines = 10000;

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
  const std::string command = "XDG_CONFIG_HOME=" + folder + "/config " KAV_CLI +
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

}  // namespace

BENCHMARK_MAIN();
