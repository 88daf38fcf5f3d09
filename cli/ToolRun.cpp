#include "cli/ToolRun.h"

#include <filesystem>
#include <utility>

#include "catalog/AntennaGrid.h"
#include "checker/CatalogChecker.h"
#include "cli/CatalogFolder.h"
#include "cli/OptionChoice.h"
#include "platform/Error.h"
#include "platform/NativeFile.h"
#include "platform/ProgramFolder.h"
#include "platform/Text1252.h"
#include "settings/Registry.h"

#ifdef KAV_CLI_DECODES_PICTURES
#include "pictures/PictureDecoder.h"
#endif

namespace {

#ifdef KAV_CLI_DECODES_PICTURES
// The catalogue check's picture decoder: the window's own, so the check
// gives the window's error texts, and nothing for a good picture.
std::string PictureError(const std::string& path) {
  try {
    DecodePicture(path);
    return {};
  } catch (const EKavError& error) {
    return error.what();
  }
}
#endif

// The command line with every text matched against the catalogue (the
// model and the values of the query and option choices) in the catalogue's
// own bytes; paths stay as the system gave them.
TCommandLine InCatalogueText(TCommandLine line, TEncoding encoding) {
  for (std::string& word : line.words)
    word = InputText(word, encoding);
  for (const char* option : {"--freq", "--type", "--part", "--flange", "--radome", "--pack"})
    if (line.Has(option)) line.options[option] = InputText(line.options[option], encoding);
  return line;
}

}  // namespace

std::string OneLine(const std::string& text) {
  std::string line;
  bool broken = false;
  for (const char c : text) {
    if (c == '\r' || c == '\n') {
      broken = true;
      continue;
    }
    if (broken && !line.empty()) line += ' ';
    broken = false;
    line += c;
  }
  return line;
}

void TStreamDialogs::ShowErrorBox(const std::string& text) {
  if (held_) {
    held_->push_back(text);
    return;
  }
  Print(text);
  ++errors;
}

void TStreamDialogs::Hold() {
  held_.emplace();
}

void TStreamDialogs::Release(bool show) {
  std::vector<std::string> boxes = std::move(*held_);
  held_.reset();
  if (show)
    for (const std::string& text : boxes)
      ShowErrorBox(text);
}

void TStreamDialogs::Print(const std::string& text) {
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      line += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += text[i];
    }
  }
  err_ << line << '\n';
}

int TToolRun::Run(const TCommandLine& given) {
  format_ = FormatOf(given);
  encoding_ = EncodingOf(given);
  const TCommandLine line = InCatalogueText(given, encoding_);
  if (auto folder = line.Get("--program-folder")) {
    // Said at once, rather than as a missing table inside it.
    std::error_code error;
    if (!std::filesystem::is_directory(native::Path(*folder), error))
      throw EKavError("Cannot use the program folder " + *folder + ": " +
                      (error ? error.message() : std::string("not a folder")) + ".");
    SetProgramFolder(*folder);
  }
  if (auto catalog = line.Get("--catalog"))
    TCatalogFolder::Install(kSharedCatalogueFolder, *catalog);
  if (line.command == "check") return Check(line.Has("--catalog") ? "--catalog" : "");
  if (line.command == "paths") return Paths();
  // A batch is read whole first: a malformed line is a usage error before
  // anything is built.
  std::vector<TBatchLine> batch;
  if (auto source = line.Get("--batch")) batch = ReadBatchFile(*source);
  TDataModule data(dialogs_);
  data.SetCatalogueHint(CatalogueFolderSetting() + " For one run: --catalog DIR.");
  data.DataModuleCreate();
  if (auto job = line.Get("--job-file"))
    data.SetLOMFileName(native::Text(std::filesystem::absolute(native::Path(*job))));
  int status = 0;
  if (line.command == "query")
    status = Query(data, line);
  else if (line.command == "spec")
    status = Spec(data, ModelOf(line));
  else if (line.command == "options")
    status = Options(data, ModelOf(line));
  else if (line.command == "build")
    status = line.Has("--batch") ? Batch(data, batch, line.Has("--lom")) : Build(data, line);
  // An error box that did not stop the run was still a file the window
  // could not read or write.
  return status == 0 && dialogs_.errors > 0 ? kStatusFileError : status;
}

int TToolRun::Check(const std::string& folderGiven) {
#ifdef KAV_CLI_DECODES_PICTURES
  const TCheckResult result = CheckCatalogue(PictureError, folderGiven);
#else
  const TCheckResult result = CheckCatalogue({}, folderGiven);
  // A build without the window's decoder (the Windows one) says so, once;
  // with JSON the error stream carries errors only.
  if (format_ != TFormat::Json)
    err_ << "kav_pnb_cli: note: pictures are checked for presence only; this build does not "
            "decode them\n";
#endif
  if (format_ == TFormat::Tsv) {
    for (const TFinding& finding : result.findings)
      out_ << TsvText(FormatFinding(finding), encoding_) << '\n';
    out_ << FormatSummary(result) << '\n';
  } else {
    TRecordWriter writer(out_, format_,
                         {"File",
                          {"Line", TCellKind::Number},
                          {"Column", TCellKind::Number},
                          "Severity",
                          "Problem",
                          "Effect"},
                         encoding_);
    for (const TFinding& finding : result.findings)
      writer.Row({finding.file, std::to_string(finding.line), std::to_string(finding.column),
                  finding.severity == TSeverity::Error ? "error" : "warning", finding.problem,
                  finding.effect});
  }
  return result.errors > 0 ? 1 : 0;
}

int TToolRun::Paths() {
  TDataModule data(dialogs_);
  try {
    data.DataModuleCreate();  // fixes the job file's path first, whatever fails after it
  } catch (const std::exception&) {
    // a catalogue that does not open still has its paths
  }
  std::vector<std::pair<std::string, std::string>> paths = {
      {"program", ProgramFolder()},
      {"working", data.WritableFolder()},
      {"data", LayoutPath(data.WritableFolder(), "data/")},
      {"job", data.LOMFileName()}};
  const std::string& key = data.AntData.RegistryOptions().Key;
  if (auto* ini = dynamic_cast<TIniRegistry*>(&TCatalogFolder::Behind(CurrentUserRegistry())))
    for (const std::string& file : ini->KeyFiles(key))
      paths.emplace_back("registry", file);
  else
    for (const char* root : {"HKEY_CURRENT_USER\\", "HKEY_LOCAL_MACHINE\\"})
      paths.emplace_back("registry", root + key);
  paths.emplace_back("catalog", data.AntData.Location().folder);
  if (format_ == TFormat::Tsv) {
    for (const auto& [name, path] : paths)
      out_ << name << '=' << MessageText(path, encoding_) << '\n';
    return 0;
  }
  TRecordWriter writer(out_, format_, {"Name", "Path"}, encoding_);
  for (const auto& [name, path] : paths)
    writer.Row({name, MessageText(path, TEncoding::Windows1252)});  // the writer converts
  return 0;
}

int TToolRun::FindModel(TDataModule& data, const std::string& model) {
  auto findExact = [&](const std::string& spelled) {
    data.QueryMode = qmPartNumber;
    data.SetExactPartNumber(true);
    data.SetQueryValue(spelled);
    return data.QueryAntennas();
  };
  // The common case costs one query; its "not found" waits until the
  // letter case is settled.
  dialogs_.Hold();
  const bool found = findExact(model);
  dialogs_.Release(found || data.QueryFailed());
  if (!found && !data.QueryFailed()) {
    const std::string spelled = CatalogueSpelling(data, model);
    if (findExact(spelled)) return 0;
  }
  if (found) return 0;
  return data.QueryFailed() ? kStatusFileError : kStatusNotFound;
}

std::string TToolRun::CatalogueSpelling(TDataModule& data, const std::string& model) {
  dialogs_.Hold();  // what fails here is said by the query that follows
  data.QueryMode = qmAll;
  std::string spelled = model;
  int matches = 0;
  if (data.QueryAntennaRows()) {
    const TDelimitedTable& antennas = data.AntData;
    const int column = antennas.FieldByName(chain::kModelNumber)->Index();
    for (int row = 0; row < antennas.RecordCount(); ++row) {
      const std::string cell = antennas.CellText(row, column);
      if (!ansi::SameText(cell, model) || (matches > 0 && cell == spelled)) continue;
      spelled = cell;  // a second spelling makes the model ambiguous
      ++matches;
    }
  }
  dialogs_.Release(false);
  return matches == 1 ? spelled : model;
}

int TToolRun::Query(TDataModule& data, const TCommandLine& line) {
  if (line.Has("--all")) {
    data.QueryMode = qmAll;
  } else if (auto part = line.Get("--part")) {
    data.QueryMode = qmPartNumber;
    data.SetQueryValue(*part);
    data.SetExactPartNumber(line.Has("--exact"));
  } else if (line.Has("--freq") && line.Has("--type")) {
    const std::string freq = *line.Get("--freq"), type = *line.Get("--type");
    // The values the query takes, looked for where the query reads them.
    const std::vector<TChainFilter>& query = chain::kAntennasOfRangeAndType.filters;
    if (!Choose(data.*query[0].from, "frequency range", {query[0].field}, freq, false) ||
        !Choose(data.*query[1].from, "antenna type", {query[1].field}, type, false))
      return kStatusNotFound;
    data.QueryMode = qmFreqType;
  }
  if (!data.QueryAntennaRows()) {
    if (format_ == TFormat::Json) out_ << "[]\n";  // a program still reads a list
    return data.QueryFailed() ? kStatusFileError : kStatusNotFound;
  }
  // Rows are written as they are read, cells copied from the table's memory.
  std::vector<TColumn> titles;
  std::vector<size_t> cells;
  TDelimitedTable& antennas = data.AntData;
  for (const TGridColumn& column : kAntennaGridColumns) {
    titles.emplace_back(column.title);
    cells.push_back(static_cast<size_t>(antennas.FieldByName(column.field)->Index()));
  }
  TRecordWriter writer(out_, format_, std::move(titles), encoding_);
  std::vector<std::string_view> row(cells.size());
  for (int r = 0; r < antennas.RecordCount(); ++r) {
    const std::vector<std::string_view>& all = antennas.RowCells(r);
    for (size_t c = 0; c < cells.size(); ++c) {
      if (cells[c] >= all.size()) throw EKavError(ListIndexError(static_cast<long long>(cells[c])));
      row[c] = all[cells[c]];
    }
    writer.Row(row);
  }
  writer.Finish();
  return 0;
}

int TToolRun::Spec(TDataModule& data, const std::string& model) {
  if (const int status = FindModel(data, model)) return status;
  TNameValueList values;
  data.GetSpecValues(values);
  std::optional<TRecordWriter> writer;
  if (format_ != TFormat::Tsv)
    writer.emplace(out_, format_, std::vector<TColumn>{"Entry", "Value"}, encoding_);
  for (int i = 0; i < values.Count(); ++i) {
    // The sheet pads its entry names; a program wants the names alone.
    const std::string name = values.Name(i), value = values.Value(name);
    const std::string key(ansi::Trim(name));
    if (writer)
      writer->Row({key, value});
    else
      out_ << TsvText(key + "=" + value, encoding_) << '\n';
  }
  return 0;
}

int TToolRun::Options(TDataModule& data, const std::string& model) {
  if (const int status = FindModel(data, model)) return status;
  std::optional<TRecordWriter> writer;
  if (format_ != TFormat::Tsv)
    writer.emplace(
        out_, format_,
        std::vector<TColumn>{"Option", "Code", "Description", {"Price", TCellKind::Number}},
        encoding_);
  auto rows = [&](TDelimitedTable& table, const char* kind,
                  std::initializer_list<const char*> fields) {
    if (!table.Active()) return;
    for (int row = 0; row < table.RecordCount(); ++row) {
      std::vector<std::string> cells{kind};
      for (const char* field : fields)
        cells.push_back(table.CellText(row, table.FieldByName(field)->Index()));
      if (writer) {
        cells.resize(4);
        if (format_ == TFormat::Json) cells[3] = PriceNumber(cells[3]);
        writer->Row({cells[0], cells[1], cells[2], cells[3]});
        continue;
      }
      for (size_t i = 0; i < cells.size(); ++i)
        out_ << (i > 0 ? "\t" : "") << TsvText(cells[i], encoding_);
      out_ << '\n';
    }
  };
  rows(data.FlangeData, "flange", {"Flange"});
  rows(data.RadomeData, "radome", {"Radome_Suffix", "Radome_Desc", "Price_Upgrade"});
  rows(data.PackData, "pack", {"Pack_Suffix", "Pack_Desc", "Price"});
  return 0;
}

bool TToolRun::Choose(TDelimitedTable& table, const char* what,
                      std::initializer_list<const char*> fields, const std::string& wanted,
                      bool partly) {
  std::vector<int> ties;
  const int row = table.Active() ? FindChoice(table, fields, wanted, partly, ties) : -1;
  if (row >= 0) {
    table.SetRecNo(row + 1);
    return true;
  }
  const char* shown = *fields.begin();
  if (ties.size() > 1) {
    std::string list;
    for (const int tie : ties)
      list += (list.empty() ? "\"" : ", \"") +
              table.CellText(tie, table.FieldByName(shown)->Index()) + "\"";
    err_ << "The " << what << " \"" << wanted << "\" is ambiguous; it matches: " << list << "\n";
  } else {
    err_ << "The " << what << " \"" << wanted
         << "\" is not offered; the choices are: " << Choices(table, shown) << "\n";
  }
  return false;
}
