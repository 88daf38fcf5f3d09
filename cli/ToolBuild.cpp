// The tool's builds: one part number, or a whole quote from a batch.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/ToolRun.h"
#include "platform/Error.h"
#include "platform/NativeFile.h"
#include "platform/PathResolver.h"

namespace {

// How long a batch waits for another copy's run in the same working folder
// (another batch among them) before it gives up.
constexpr std::chrono::minutes kBatchPatience{10};

}  // namespace

int TToolRun::Build(TDataModule& data, const TCommandLine& line) {
  const std::string model = ModelOf(line);
  // CSV and JSON keep their shape when nothing is built: titles alone, [].
  std::optional<TRecordWriter> writer;
  if (format_ != TFormat::Tsv) writer.emplace(out_, format_, ItemColumns(), encoding_);
  const int status =
      BuildOne(data, model, line.Get("--flange"), line.Get("--radome"), line.Get("--pack"));
  if (status != 0) {
    if (line.Has("--lom")) RemoveEarlierJobFile(data, "No job file was written");
    return status;
  }
  const TQuoteItem item = CurrentQuoteItem(data);
  if (writer) {
    const std::vector<std::string> cells = item.Cells();
    writer->Row(std::vector<std::string_view>(cells.begin(), cells.end()));
  } else {
    TNameValueList values;
    data.GetPartNumberValues(values);
    for (const std::string& entry : values.Lines())
      out_ << TsvText(entry, encoding_) << '\n';
    for (const std::string& warning : item.warnings)
      err_ << "kav_pnb_cli: warning: " << model << ": " << warning << '\n';
  }
  if (line.Has("--lom")) data.WriteLOMFile();
  return 0;
}

int TToolRun::BuildOne(TDataModule& data, const std::string& model,
                       const std::optional<std::string>& flange,
                       const std::optional<std::string>& radome,
                       const std::optional<std::string>& pack) {
  if (const int status = FindModel(data, model)) return status;
  if (flange && !Choose(data.FlangeData, "flange", {"Flange"}, *flange, false))
    return kStatusNotFound;
  if (radome &&
      !Choose(data.RadomeData, "radome option", {"Radome_Desc", "Radome_Suffix"}, *radome, true))
    return kStatusNotFound;
  if (pack && !Choose(data.PackData, "packing option", {"Pack_Desc", "Pack_Suffix"}, *pack, true))
    return kStatusNotFound;
  if (!data.PartNumberComplete() || !data.pnbData.Active() || data.pnbData.IsEmpty()) {
    err_ << "No part number could be built for " << model << ".\n";
    return kStatusNotFound;
  }
  return 0;
}

void TToolRun::RemoveEarlierJobFile(TDataModule& data, const std::string& said) {
  // A caller that reads the job file must not take an earlier run's quote
  // for this one's.
  const bool earlier = FileExists(data.LOMFileName());
  data.DeleteLOMFile();
  if (!earlier)
    err_ << said << ".\n";
  else if (FileExists(data.LOMFileName()))
    err_ << said << "; the earlier job file \"" << data.LOMFileName()
         << "\" could not be removed and is not this run's.\n";
  else
    err_ << said << "; the earlier job file was removed.\n";
}

int TToolRun::Batch(TDataModule& data, const std::vector<TBatchLine>& items, bool writeJob) {
  // The working folder is this batch's from its first item to its last:
  // another copy's builds wait for the whole batch instead of racing it
  // item by item.
  TFileLock& lock = data.WorkingFolderLock();
  lock.Acquire(kBatchPatience);
  struct TRelease {
    TFileLock& lock;
    ~TRelease() { lock.Release(); }
  } release{lock};
  std::vector<TColumn> columns = ItemColumns();
  columns.insert(columns.begin(), {"Line", TCellKind::Number});
  columns.emplace_back("Status");
  TRecordWriter writer(out_, format_, columns, encoding_);
  std::vector<TDataModule::TLOMItem> built;
  int failed = 0;
  for (const TBatchLine& item : items) {
    std::string said;
    const std::optional<TQuoteItem> result = BuildQuoted(data, item, said);
    std::vector<std::string> cells{std::to_string(item.number)};
    if (result) {
      const std::vector<std::string> own = result->Cells();
      cells.insert(cells.end(), own.begin(), own.end());
      cells.emplace_back("ok");
      built.push_back(result->built);
    } else {
      cells.insert(cells.end(), {item.model, "", "", "", "", "", said});
      ++failed;
    }
    writer.Row(std::vector<std::string_view>(cells.begin(), cells.end()));
  }
  writer.Finish();
  if (writeJob && failed > 0)
    RemoveEarlierJobFile(data, "No job file was written: " + std::to_string(failed) + " of " +
                                   std::to_string(items.size()) + " items failed");
  else if (writeJob)
    data.WriteLOMFile(built);
  return failed > 0 ? kStatusNotFound : 0;
}

std::vector<TBatchLine> TToolRun::ReadBatchFile(const std::string& source) const {
  std::vector<TBatchLine> items;
  if (source == "-") {
    items = ReadBatch(std::cin, encoding_);
  } else {
    std::error_code ignored;
    if (std::filesystem::is_directory(native::Path(source), ignored))
      throw EKavError("Cannot read the batch file \"" + source + "\": it is a folder.");
    std::ifstream file(native::Path(source), std::ios::binary);
    if (!file) throw EKavError("Cannot open file \"" + source + "\".");
    items = ReadBatch(file, encoding_);
  }
  if (items.empty()) throw TUsageError{"the batch holds no item"};
  return items;
}

std::optional<TQuoteItem> TToolRun::BuildQuoted(TDataModule& data, const TBatchLine& item,
                                                std::string& said) {
  if (item.model.empty()) {
    said = "The model number is empty.";
    return std::nullopt;
  }
  std::ostringstream captured;
  std::streambuf* const errorStream = err_.rdbuf(captured.rdbuf());
  const int errorsBefore = dialogs_.errors;
  int result = 1;
  auto given = [](const std::string& field) {
    return field.empty() ? std::nullopt : std::optional<std::string>(field);
  };
  try {
    result = BuildOne(data, item.model, given(item.flange), given(item.radome), given(item.pack));
    if (result == 0 && dialogs_.errors != errorsBefore) result = 1;
  } catch (const std::exception& error) {
    captured << error.what() << '\n';
    result = 1;
  }
  err_.rdbuf(errorStream);
  if (result == 0) return CurrentQuoteItem(data);
  // In the catalogue's encoding, as every cell the row writer converts.
  said = MessageText(OneLine(captured.str()), TEncoding::Windows1252);
  return std::nullopt;
}
