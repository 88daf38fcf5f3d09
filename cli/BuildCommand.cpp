// build: one part number, or a whole quote from a batch, each as a quote
// value; with --lom, the job file of the whole result.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/QuoteItem.h"
#include "cli/ToolCommands.h"
#include "cli/ToolRun.h"
#include "platform/Error.h"
#include "platform/NativeFile.h"

namespace {

// The columns a person may name an option by: its text first, then its code.
std::vector<const char*> NamingColumns(const schema::TOptionKind& kind) {
  if (kind.description == kind.code) return {kind.code};
  return {kind.description, kind.code};
}

// Builds the part number of `model` with the options named (none: the
// antenna's first); 0 when its quote is complete and no file failed on the way.
int BuildOne(TToolRun& run, const std::string& model, const std::optional<std::string>& flange,
             const std::optional<std::string>& radome, const std::optional<std::string>& pack) {
  const int errorsBefore = run.Dialogs().errors;
  if (const int status = run.FindModel(model)) return status;
  TDataModule& data = run.Catalogue();
  const struct {
    const std::optional<std::string>& wanted;
    const schema::TOptionKind& kind;
    const char* what;
    bool partly;  // whole words of the text may name it
  } choices[] = {{flange, schema::kFlangeOption, "flange", false},
                 {radome, schema::kRadomeOption, "radome option", true},
                 {pack, schema::kPackOption, "packing option", true}};
  for (const auto& choice : choices)
    if (choice.wanted)
      if (const int status = run.Choose(data.OptionTable(choice.kind), choice.what,
                                        NamingColumns(choice.kind), *choice.wanted, choice.partly))
        return status;
  const TQuote& quote = data.CurrentQuote();
  if (!quote.built) {
    run.Err() << kSaid << "No part number could be built for " << model << ".\n";
    return kStatusNotFound;
  }
  // A file that failed on the way has said so in an error box: what was
  // built without it is no quote to hand out.
  return quote.Complete() && run.Dialogs().errors == errorsBefore ? 0 : kStatusFileError;
}

// The current quote as the tool hands it out, with its gaps and a model
// listed more than once (the build takes its first row) among its warnings.
TQuoteItem CurrentItem(TToolRun& run) {
  TDataModule& data = run.Catalogue();
  TQuoteItem item = QuoteItemOf(data.CurrentQuote());
  const int rows = run.RowsListing(item.quote.model);
  if (rows > 1)
    item.warnings.push_back("listed " + std::to_string(rows) + " times in " +
                            data.Antennas.FileName() + ": the first row is built");
  return item;
}

std::vector<TBatchLine> ReadBatchFile(const std::string& source, TEncoding encoding) {
  std::vector<TBatchLine> items;
  if (source == "-") {
    items = ReadBatch(std::cin, encoding);
  } else {
    std::error_code ignored;
    if (std::filesystem::is_directory(native::Path(source), ignored))
      throw EKavError("Cannot read the batch file \"" + source + "\": it is a folder.");
    std::ifstream file(native::Path(source), std::ios::binary);
    if (!file) throw EKavError("Cannot open file \"" + source + "\".");
    items = ReadBatch(file, encoding);
  }
  if (items.empty()) throw TUsageError{"the batch holds no item"};
  return items;
}

// One batch item: its quote, or its status and what kept it from being
// built in `said`.
struct TBatchResult {
  int status = 0;
  std::optional<TQuoteItem> item;
};

TBatchResult BuildQuoted(TToolRun& run, const TBatchLine& line, std::string& said) {
  if (line.model.empty()) {
    said = "The model number is empty.";
    return {kStatusNotFound, std::nullopt};
  }
  std::ostringstream captured;
  std::streambuf* const errorStream = run.Err().rdbuf(captured.rdbuf());
  int status = kStatusFileError;
  auto given = [](const std::string& field) {
    return field.empty() ? std::nullopt : std::optional<std::string>(field);
  };
  try {
    status = BuildOne(run, line.model, given(line.flange), given(line.radome), given(line.pack));
  } catch (const std::exception& error) {
    captured << kSaid << error.what() << '\n';  // a file or the catalogue could not be read
  }
  run.Err().rdbuf(errorStream);
  if (status == 0) return {0, CurrentItem(run)};
  said = FirstSaid(captured.str());
  return {status, std::nullopt};
}

// Hands back the job file of a run whose every item was built, once its
// output is written whole: a run stopped before that leaves none.
int HandBack(TToolRun& run, const std::vector<TQuote>& parts) {
  if (!run.Out().flush()) return kStatusFileError;
  run.Catalogue().WriteJobFile(parts);
  return 0;
}

int BuildBatch(TToolRun& run, const TCommandLine& line) {
  const std::vector<TBatchLine> items = ReadBatchFile(*line.Get("--batch"), run.Encoding());
  run.IndexModels();
  std::vector<TColumn> columns = ItemColumns();
  columns.insert(columns.begin(), {"Line", TCellKind::Number});
  columns.emplace_back("Status", TCellKind::Text, TTextOrigin::Program);  // a message
  TRecordWriter writer(run.Out(), run.Format(), columns, run.Encoding());
  std::vector<TQuote> built;
  int failed = 0;
  int status = 0;  // a file error outweighs an item not found
  for (const TBatchLine& item : items) {
    std::string said;
    const TBatchResult result = BuildQuoted(run, item, said);
    std::vector<std::string> cells{std::to_string(item.number)};
    if (result.item) {
      const std::vector<std::string> own = result.item->Cells();
      cells.insert(cells.end(), own.begin(), own.end());
      cells.emplace_back("ok");
      built.push_back(result.item->quote);
    } else {
      cells.insert(cells.end(), {item.model, "", "", "", "", "", said});
      ++failed;
      status = std::max(status, result.status);
    }
    writer.Row(std::vector<std::string_view>(cells.begin(), cells.end()));
  }
  writer.Finish();
  if (!line.Has("--lom")) return status;
  if (failed == 0) return HandBack(run, built);
  run.SayNoJobFile("No job file was written: " + std::to_string(failed) + " of " +
                   std::to_string(items.size()) + " items failed");
  return status;
}

}  // namespace

int RunBuild(TToolRun& run, const TCommandLine& line) {
  if (line.Has("--batch")) return BuildBatch(run, line);
  const std::string model = ModelOf(line);
  // CSV and JSON keep their shape when nothing is built: titles alone, [].
  std::optional<TRecordWriter> writer;
  if (run.Format() != TFormat::Tsv)
    writer.emplace(run.Out(), run.Format(), ItemColumns(), run.Encoding());
  const int status =
      BuildOne(run, model, line.Get("--flange"), line.Get("--radome"), line.Get("--pack"));
  if (status != 0) {
    if (line.Has("--lom")) run.SayNoJobFile("No job file was written");
    return status;
  }
  const TQuoteItem item = CurrentItem(run);
  if (writer) {
    const std::vector<std::string> cells = item.Cells();
    writer->Row(std::vector<std::string_view>(cells.begin(), cells.end()));
    writer->Finish();
  } else {
    TNameValueList values;
    PartNumberValues(item.quote, values);
    for (const std::string& entry : values.Lines())
      run.Out() << TsvText(entry, run.Encoding()) << '\n';
    for (const std::string& warning : item.warnings)
      run.Err() << kSaid << "warning: " << model << ": " << warning << '\n';
  }
  return line.Has("--lom") ? HandBack(run, {item.quote}) : 0;
}
