// paths: where this run reads and writes each of its files.
#include "cli/ToolCommands.h"
#include "cli/ToolRun.h"
#include "platform/PathResolver.h"
#include "platform/ProgramFolder.h"
#include "settings/Registry.h"

int RunPaths(TToolRun& run, const TCommandLine&) {
  try {
    run.Catalogue();
  } catch (const std::exception&) {
    // a catalogue that does not open still has its paths
  }
  TDataModule& data = run.Catalogue();
  std::vector<std::pair<std::string, std::string>> paths = {
      {"program", ProgramFolder()},
      {"working", data.WritableFolder()},
      {"data", LayoutPath(data.WritableFolder(), "data/")},
      {"job", data.JobFileName()}};
  for (const std::string& place : CurrentUserRegistry().Places(data.Antennas.RegistryOptions().Key))
    paths.emplace_back("registry", place);
  paths.emplace_back("catalog", data.Antennas.Location().folder);
  if (run.Format() == TFormat::Tsv) {
    for (const auto& [name, path] : paths)
      run.Out() << name << '=' << MessageText(path, run.Encoding()) << '\n';
    return 0;
  }
  TRecordWriter writer(run.Out(), run.Format(),
                       {"Name", {"Path", TCellKind::Text, TTextOrigin::Program}}, run.Encoding());
  for (const auto& [name, path] : paths)
    writer.Row({name, path});
  return 0;
}
