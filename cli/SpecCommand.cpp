// An antenna's specification sheet, entry by entry (the tool's "spec" command).
#include <optional>

#include "cli/ToolCommands.h"
#include "cli/ToolRun.h"
#include "platform/Text1252.h"

int RunSpec(TToolRun& run, const TCommandLine& line) {
  if (const int status = run.FindModel(ModelOf(line))) return status;
  TNameValueList values;
  run.Catalogue().GetSpecValues(values);
  std::optional<TRecordWriter> writer;
  if (run.Format() != TFormat::Tsv)
    writer.emplace(run.Out(), run.Format(), std::vector<TColumn>{"Entry", "Value"}, run.Encoding());
  for (int i = 0; i < values.Count(); ++i) {
    // The sheet pads its entry names; a program wants the names alone.
    const std::string name = values.Name(i), value = values.Value(name);
    const std::string key(ansi::Trim(name));
    if (writer)
      writer->Row({key, value});
    else
      run.Out() << TsvText(key + "=" + value, run.Encoding()) << '\n';
  }
  return 0;
}
