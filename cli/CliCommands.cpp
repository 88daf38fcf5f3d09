#include "cli/CliCommands.h"

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <sstream>
#include <vector>

#include "catalog/AntennaGrid.h"
#include "catalog/DataModule.h"
#include "checker/CatalogChecker.h"
#include "cli/CatalogFolder.h"
#include "cli/CommandLine.h"
#include "cli/OptionChoice.h"
#include "cli/QuoteItem.h"
#include "cli/RecordWriter.h"
#include "platform/Error.h"
#include "platform/NativeFile.h"
#include "platform/PathResolver.h"
#include "platform/ProgramFolder.h"
#include "platform/Text1252.h"
#include "settings/Registry.h"

#ifdef KAV_CLI_DECODES_PICTURES
#include "pictures/PictureDecoder.h"
#endif

namespace {

// Error boxes become lines on the error stream.
class TStreamDialogs : public TDialogs {
 public:
  explicit TStreamDialogs(std::ostream& err) : err_(err) {}
  void ShowMessage(const std::string& text) override { Print(text); }
  bool Confirm(const std::string& text) override {
    Print(text);
    return false;
  }
  void ShowErrorBox(const std::string& text) override {
    Print(text);
    ++errors;
  }
  int errors = 0;

 private:
  void Print(const std::string& text) {
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
  std::ostream& err_;
};

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

// Text of several lines as one: each run of line breaks becomes a blank.
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

class TCli {
 public:
  TCli(std::ostream& out, std::ostream& err) : out_(out), err_(err), dialogs_(err) {}

  int Run(const TCommandLine& line) {
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
    format_ = FormatOf(line);
    encoding_ = EncodingOf(line);
    if (line.command == "check") return Check();
    if (line.command == "paths") return Paths();
    // A batch is read whole first: a malformed line is a usage error before
    // anything is built.
    std::vector<TBatchLine> batch;
    if (auto source = line.Get("--batch")) batch = ReadBatchFile(*source);
    TDataModule data(dialogs_);
    data.DataModuleCreate();
    int status = 0;
    if (line.command == "query")
      status = Query(data, line);
    else if (line.command == "spec")
      status = Spec(data, ModelOf(line));
    else if (line.command == "options")
      status = Options(data, ModelOf(line));
    else if (line.command == "build")
      status = line.Has("--batch") ? Batch(data, batch, line.Has("--lom")) : Build(data, line);
    return status == 0 && dialogs_.errors > 0 ? 1 : status;
  }

 private:
  int Check() {
#ifdef KAV_CLI_DECODES_PICTURES
    const TCheckResult result = CheckCatalogue(PictureError);
#else
    const TCheckResult result = CheckCatalogue();
    // A build without the window's decoder (the Windows one) says so, once;
    // with JSON the error stream carries errors only.
    if (format_ != TFormat::Json)
      err_ << "kav_pnb_cli: note: pictures are checked for presence only; this build does not "
              "decode them\n";
#endif
    if (format_ == TFormat::Tsv) {
      for (const TFinding& finding : result.findings)
        out_ << OutputText(FormatFinding(finding), encoding_) << '\n';
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

  int Paths() {
    TDataModule data(dialogs_);
    try {
      data.DataModuleCreate();  // fixes the job file's path first, whatever fails after it
    } catch (const std::exception&) {
      // a catalogue that does not open still has its paths
    }
    out_ << "program=" << ProgramFolder() << '\n';
    out_ << "working=" << data.WritableFolder() << '\n';
    out_ << "data=" << LayoutPath(data.WritableFolder(), "data/") << '\n';
    out_ << "job=" << data.LOMFileName() << '\n';
    const std::string& key = data.AntData.RegistryOptions().Key;
    if (auto* ini = dynamic_cast<TIniRegistry*>(&TCatalogFolder::Behind(CurrentUserRegistry())))
      for (const std::string& file : ini->KeyFiles(key))
        out_ << "registry=" << file << '\n';
    else
      out_ << "registry=HKEY_CURRENT_USER\\" << key << "\nregistry=HKEY_LOCAL_MACHINE\\" << key
           << '\n';
    out_ << "catalog=" << data.AntData.Location().folder << '\n';
    return 0;
  }

  bool FindExact(TDataModule& data, const std::string& model) {
    data.QueryMode = qmPartNumber;
    data.SetExactPartNumber(true);
    data.SetQueryValue(model);
    return data.QueryAntennas();
  }

  int Query(TDataModule& data, const TCommandLine& line) {
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
        return 1;
      data.QueryMode = qmFreqType;
    }
    if (!data.QueryAntennaRows()) {
      if (format_ == TFormat::Json) out_ << "[]\n";  // a program still reads a list
      return 1;
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
        if (cells[c] >= all.size())
          throw EKavError(ListIndexError(static_cast<long long>(cells[c])));
        row[c] = all[cells[c]];
      }
      writer.Row(row);
    }
    writer.Finish();
    return 0;
  }

  int Spec(TDataModule& data, const std::string& model) {
    if (!FindExact(data, model)) return 1;
    TNameValueList values;
    data.GetSpecValues(values);
    if (format_ == TFormat::Tsv) {
      for (const std::string& entry : values.Lines())
        out_ << OutputText(entry, encoding_) << '\n';
      return 0;
    }
    TRecordWriter writer(out_, format_, {"Entry", "Value"}, encoding_);
    for (int i = 0; i < values.Count(); ++i) {
      const std::string name = values.Name(i), value = values.Value(name);
      writer.Row({name, value});
    }
    return 0;
  }

  int Options(TDataModule& data, const std::string& model) {
    if (!FindExact(data, model)) return 1;
    std::optional<TRecordWriter> writer;
    if (format_ != TFormat::Tsv)
      writer.emplace(out_, format_, std::vector<TColumn>{"Option", "Code", "Description", "Price"},
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
          writer->Row({cells[0], cells[1], cells[2], cells[3]});
          continue;
        }
        for (size_t i = 0; i < cells.size(); ++i)
          out_ << (i > 0 ? "\t" : "") << OutputText(cells[i], encoding_);
        out_ << '\n';
      }
    };
    rows(data.FlangeData, "flange", {"Flange"});
    rows(data.RadomeData, "radome", {"Radome_Suffix", "Radome_Desc", "Price_Upgrade"});
    rows(data.PackData, "pack", {"Pack_Suffix", "Pack_Desc", "Price"});
    return 0;
  }

  int Build(TDataModule& data, const TCommandLine& line) {
    const std::string model = ModelOf(line);
    const int status =
        BuildOne(data, model, line.Get("--flange"), line.Get("--radome"), line.Get("--pack"));
    if (status != 0) return status;
    const TQuoteItem item = CurrentQuoteItem(data);
    if (format_ == TFormat::Tsv) {
      TNameValueList values;
      data.GetPartNumberValues(values);
      for (const std::string& entry : values.Lines())
        out_ << OutputText(entry, encoding_) << '\n';
      for (const std::string& warning : item.warnings)
        err_ << "kav_pnb_cli: warning: " << model << ": " << warning << '\n';
    } else {
      TRecordWriter writer(out_, format_, ItemColumns(), encoding_);
      const std::vector<std::string> cells = item.Cells();
      writer.Row(std::vector<std::string_view>(cells.begin(), cells.end()));
    }
    if (line.Has("--lom")) data.WriteLOMFile();
    return 0;
  }

  // Builds the part number of `model` with the options named (none: the
  // antenna's first); 0 when it was built.
  int BuildOne(TDataModule& data, const std::string& model,
               const std::optional<std::string>& flange, const std::optional<std::string>& radome,
               const std::optional<std::string>& pack) {
    if (!FindExact(data, model)) return 1;
    if (flange && !Choose(data.FlangeData, "flange", {"Flange"}, *flange, false)) return 1;
    if (radome &&
        !Choose(data.RadomeData, "radome option", {"Radome_Desc", "Radome_Suffix"}, *radome, true))
      return 1;
    if (pack && !Choose(data.PackData, "packing option", {"Pack_Desc", "Pack_Suffix"}, *pack, true))
      return 1;
    if (!data.PartNumberComplete() || !data.pnbData.Active() || data.pnbData.IsEmpty()) {
      err_ << "No part number could be built for " << model << ".\n";
      return 1;
    }
    return 0;
  }

  // A whole quote: one build a line, one row an item, one data module for
  // all. With `writeJob`, the items go into one job file, and only when every
  // item was built.
  int Batch(TDataModule& data, const std::vector<TBatchLine>& items, bool writeJob) {
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
      err_ << "No job file was written: " << failed << " of " << items.size() << " items failed.\n";
    else if (writeJob)
      data.WriteLOMFile(built);
    return failed > 0 ? 1 : 0;
  }

  static std::vector<TBatchLine> ReadBatchFile(const std::string& source) {
    if (source == "-") return ReadBatch(std::cin);
    std::ifstream file(source, std::ios::binary);
    if (!file) throw EKavError("Cannot open file \"" + source + "\".");
    return ReadBatch(file);
  }

  // Builds one batch item; what it alone would say on the error stream,
  // one line, goes to `said` when it fails.
  std::optional<TQuoteItem> BuildQuoted(TDataModule& data, const TBatchLine& item,
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
    said = OneLine(captured.str());
    return std::nullopt;
  }

  // Makes current the row `wanted` names (see FindChoice), running its chain
  // once; otherwise says what the choices are, and false.
  bool Choose(TDelimitedTable& table, const char* what, std::initializer_list<const char*> fields,
              const std::string& wanted, bool partly) {
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

  std::ostream& out_;
  std::ostream& err_;
  TStreamDialogs dialogs_;
  TFormat format_ = TFormat::Tsv;
  TEncoding encoding_ = TEncoding::Utf8;
};

}  // namespace

namespace {

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    const TCommandLine line = ParseCommandLine(args);
    if (line.Has("--help")) {
      out << kCliUsage;
      return 0;
    }
    if (line.Has("--version")) {
      out << "kav_pnb_cli " << KAV_VERSION << "\n";
      return 0;
    }
    struct TRestore {
      ~TRestore() { TCatalogFolder::Remove(); }
    } restore;  // --catalog lasts for this run only
    TCli cli(out, err);
    return cli.Run(line);
  } catch (const TUsageError& usage) {
    err << "kav_pnb_cli: " << usage.message << "\nTry 'kav_pnb_cli --help'.\n";
    return 2;
  } catch (const std::exception& error) {
    err << error.what() << "\n";
    return 1;
  }
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  bool json = false;
  for (size_t i = 0; i + 1 < args.size(); ++i)
    json = json || (args[i] == "--format" && args[i + 1] == "json");
  if (!json) return RunCommandLine(args, out, err);
  // A program asked for JSON: whatever went wrong is one object on the error
  // stream, never prose to parse.
  std::ostringstream said;
  const int status = RunCommandLine(args, out, said);
  if (!said.str().empty()) {
    std::string context;
    for (const std::string& arg : args) {
      if (arg.compare(0, 2, "--") == 0) break;
      context += (context.empty() ? "" : " ") + arg;
    }
    err << "{\"error\": " << JsonQuoted(OneLine(said.str()))
        << ", \"context\": " << JsonQuoted(context) << "}\n";
  }
  return status;
}
