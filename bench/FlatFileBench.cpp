// Opening a 1,000,000-row antenna file (KAV_BENCH_ROWS to change it), each
// figure beside grep -c of the same prefix on the same file in the same run.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/CatalogGenerator.h"
#include "flatfile/DelimitedTable.h"

namespace {

const std::string& AntennaFile() {
  static const std::string path = [] {
    const char* rowsText = std::getenv("KAV_BENCH_ROWS");
    const long rows = rowsText ? std::atol(rowsText) : 1000000;
    const std::string file = std::filesystem::temp_directory_path().string() +
                             "/kav_bench_MWAnts_" + std::to_string(rows) + ".dat";
    if (!std::filesystem::exists(file)) WriteAntennaFile(file, rows);
    return file;
  }();
  return path;
}

void Configure(TDelimitedTable& table) {
  table.SetFileName(AntennaFile());
  table.SetSkipRow(1);
  table.SetFiltered(true);
}

// Peak memory of a fresh process that opens every row, against the file size.
// Runs first, while this process is still small.
void BM_OpenEveryRowPeakMemory(benchmark::State& state) {
  for (auto _ : state) {
    const pid_t child = fork();
    if (child == 0) {
      TDelimitedTable table;
      Configure(table);
      table.SetFiltered(false);
      table.Open();
      _exit(table.RecordCount() > 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
  }
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const double fileMB = static_cast<double>(std::filesystem::file_size(AntennaFile())) / 1e6;
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1e3;
  state.counters["file_MB"] = fileMB;
}
BENCHMARK(BM_OpenEveryRowPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_GrepCount(benchmark::State& state) {
  // The count is read through a pipe: grep stops at the first match when it
  // sees its output going to /dev/null.
  const std::string command = "grep -c '" + std::string(kSelectivePrefix) + "' " + AntennaFile();
  for (auto _ : state) {
    FILE* pipe = popen(command.c_str(), "r");
    char count[64] = {};
    if (pipe == nullptr || std::fgets(count, sizeof count, pipe) == nullptr) {
      state.SkipWithError("grep failed");
      break;
    }
    pclose(pipe);
    state.counters["records"] = std::atof(count);
  }
}
BENCHMARK(BM_GrepCount)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenPrefixFilter(benchmark::State& state) {
  TDelimitedTable table;
  Configure(table);
  table.SetFilterOption(TFilterOption::Wildcard);
  table.Filters().SetValue("PartNum", std::string(kSelectivePrefix) + "*");
  for (auto _ : state) {
    table.Open();
    benchmark::DoNotOptimize(table.RecordCount());
    state.counters["records"] = table.RecordCount();
    table.Close();
  }
}
BENCHMARK(BM_OpenPrefixFilter)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenEveryRow(benchmark::State& state) {
  TDelimitedTable table;
  Configure(table);
  table.SetFiltered(false);
  for (auto _ : state) {
    table.Open();
    state.counters["records"] = table.RecordCount();
    table.Close();
  }
}
BENCHMARK(BM_OpenEveryRow)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
