// options: the flanges, radome options and packing options of an antenna.
#include <optional>

#include "cli/ToolCommands.h"
#include "cli/ToolRun.h"

int RunOptions(TToolRun& run, const TCommandLine& line) {
  if (const int status = run.FindModel(ModelOf(line))) return status;
  const TDataModule& data = run.Catalogue();
  std::optional<TRecordWriter> writer;
  if (run.Format() != TFormat::Tsv)
    writer.emplace(
        run.Out(), run.Format(),
        std::vector<TColumn>{"Option", "Code", "Description", {"Price", TCellKind::Number}},
        run.Encoding());
  for (const schema::TOptionKind* kind :
       {&schema::kFlangeOption, &schema::kRadomeOption, &schema::kPackOption}) {
    const TDelimitedTable& table = data.OptionTable(*kind);
    if (!table.Active()) continue;
    for (int row = 0; row < table.RecordCount(); ++row) {
      const TOption option = data.OptionAt(*kind, row);
      if (writer) {
        // A price that cannot be read is no number: null.
        const std::string number = option.price.value ? PriceNumber(*option.price.value) : "";
        writer->Row({kind->name, option.code, kind->price ? option.description : "",
                     run.Format() == TFormat::Json ? number : option.price.text});
        continue;
      }
      run.Out() << kind->name << '\t' << TsvText(option.code, run.Encoding());
      if (kind->price != nullptr)
        run.Out() << '\t' << TsvText(option.description, run.Encoding()) << '\t'
                  << TsvText(option.price.text, run.Encoding());
      run.Out() << '\n';
    }
  }
  return 0;
}
