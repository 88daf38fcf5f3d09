// One change of the current antenna: the whole chain (six files read, two
// written, three part-number builds), on the demo catalogue and on a
// generated one whose option files hold 10,000 rows each.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>

#include "bench/CatalogGenerator.h"
#include "catalog/DataModule.h"
#include "platform/ProgramFolder.h"
#include "settings/Registry.h"

namespace {

class SilentDialogs : public TDialogs {
 public:
  void ShowMessage(const std::string&) override {}
  bool Confirm(const std::string&) override { return false; }
  void ShowErrorBox(const std::string& text) override { throw std::runtime_error(text); }
};

// Copies a catalogue to a scratch folder laid out as the program expects it.
std::string Prepare(const std::string& name, const std::function<void(const std::string&)>& fill) {
  namespace fs = std::filesystem;
  // KAV_BENCH_DIR puts the catalogue elsewhere, e.g. on a memory file system.
  const char* base = std::getenv("KAV_BENCH_DIR");
  const fs::path root = base != nullptr ? fs::path(base) : fs::temp_directory_path();
  const std::string folder = (root / ("kav_bench_" + name)).string();
  fs::remove_all(folder);
  fs::create_directories(folder);
  fill(folder);
  SetProgramFolder(folder);
  auto registry = std::make_unique<TIniRegistry>(folder + "/config");
  registry->WriteString("Software\\Ostrel", "Common Files", "Path", folder + "/common");
  SetCurrentUserRegistry(std::move(registry));
  return folder;
}

void RunAntennaChanges(benchmark::State& state) {
  SilentDialogs dialogs;
  TDataModule data(dialogs);
  data.DataModuleCreate();
  data.QueryMode = TQueryMode::All;
  if (!data.QueryAntennas()) {
    state.SkipWithError("no antennas");
    return;
  }
  const int count = std::min(data.Antennas.RecordCount(), 50);
  int row = 1;
  for (auto _ : state) {
    row = row % count + 1;
    data.Antennas.SetRecNo(row);
  }
}

void BM_AntennaChangeDemo(benchmark::State& state) {
  Prepare("demo", [](const std::string& folder) {
    namespace fs = std::filesystem;
    fs::copy(KAV_DEMO_DIR, folder, fs::copy_options::recursive);
  });
  RunAntennaChanges(state);
}
BENCHMARK(BM_AntennaChangeDemo)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_AntennaChange10kOptions(benchmark::State& state) {
  Prepare("chain10k", [](const std::string& folder) { WriteCatalogue(folder, 2000, 10000); });
  RunAntennaChanges(state);
}
BENCHMARK(BM_AntennaChange10kOptions)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
