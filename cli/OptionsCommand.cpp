// options: the flanges, radome options and packing options of an antenna.
#include "cli/ToolCommands.h"
#include "cli/ToolRun.h"

int RunOptions(TToolRun& run, const TCommandLine& line) {
  if (const int status = run.FindModel(ModelOf(line))) return status;
  const TDataModule& data = run.Catalogue();
  // Every format has the title row and four cells a row (a flange has no
  // description or price of its own: empty cells), as query has.
  TRecordWriter writer(
      run.Out(), run.Format(),
      std::vector<TColumn>{"Option", "Code", "Description", {"Price", TCellKind::Number}},
      run.Encoding());
  for (const schema::TOptionKind* kind :
       {&schema::kFlangeOption, &schema::kRadomeOption, &schema::kPackOption}) {
    const TDelimitedTable& table = data.OptionTable(*kind);
    if (!table.Active()) continue;
    for (int row = 0; row < table.RecordCount(); ++row) {
      const TOption option = data.OptionAt(*kind, row);
      // A price that cannot be read is no number: null.
      const std::string number = option.price.value ? PriceNumber(*option.price.value) : "";
      writer.Row({kind->name, option.code, kind->price ? option.description : "",
                  run.Format() == TFormat::Json ? number : option.price.text});
    }
  }
  writer.Finish();
  return 0;
}
