#include "cli/CliCommands.h"

#include <fstream>
#include <initializer_list>
#include <iostream>
#include <sstream>
#include <vector>

#include "catalog/AntennaGrid.h"
#include "catalog/uDataMod.h"
#include "checker/CatalogChecker.h"
#include "cli/CommandLine.h"
#include "cli/RecordWriter.h"
#include "platform/AnsiText.h"
#include "platform/Error.h"
#include "platform/PathResolver.h"
#include "platform/ProgramFolder.h"
#include "platform/Registry.h"

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

// Makes current the first row in which one of `fields` (tried in order)
// holds `wanted`, and so runs that row's chain once. The rows are searched
// without moving the cursor: stepping through them would run the chain, a
// part-number build with its file write, for every row passed. False when no
// row matches.
bool MoveTo(TFlatFileDataSet& table, std::initializer_list<const char*> fields,
            const std::string& wanted) {
  if (!table.Active()) return false;
  std::vector<int> columns;
  for (const char* field : fields)
    columns.push_back(table.FieldByName(field)->Index());
  for (int row = 0; row < table.RecordCount(); ++row)
    for (int column : columns)
      if (table.CellText(row, column) == wanted) {
        table.SetRecNo(row + 1);
        return true;
      }
  return false;
}

std::string Choices(TFlatFileDataSet& table, const char* field) {
  std::string list;
  if (!table.Active()) return list;
  for (int row = 0; row < table.RecordCount(); ++row)
    list += (list.empty() ? "\"" : ", \"") +
            table.CellText(row, table.FieldByName(field)->Index()) + "\"";
  return list.empty() ? "none" : list;
}

class TCli {
 public:
  TCli(std::ostream& out, std::ostream& err) : out_(out), err_(err), dialogs_(err) {}

  int Run(const TCommandLine& line) {
    if (auto folder = line.Get("--program-folder")) SetProgramFolder(*folder);
    format_ = FormatOf(line);
    if (line.command == "check") return Check(line);
    if (line.command == "paths") return Paths(line);
    TDataMod data(dialogs_);
    data.DataModuleCreate();
    int status = 0;
    if (line.command == "query")
      status = Query(data, line);
    else if (line.command == "spec")
      status = Spec(data, ModelOf(line));
    else if (line.command == "options")
      status = Options(data, ModelOf(line));
    else if (line.command == "build")
      status = Build(data, line);
    else
      throw TUsageError{"unknown command " + line.command};
    return status == 0 && dialogs_.errors > 0 ? 1 : status;
  }

 private:
  int Check(const TCommandLine& line) {
    if (!line.words.empty()) throw TUsageError{"check takes no MODEL"};
#ifdef KAV_CLI_DECODES_PICTURES
    const TCheckResult result = CheckCatalogue(PictureError);
#else
    const TCheckResult result = CheckCatalogue();
#endif
    for (const TFinding& finding : result.findings)
      out_ << FormatFinding(finding) << '\n';
    out_ << FormatSummary(result) << '\n';
    return result.errors > 0 ? 1 : 0;
  }

  int Paths(const TCommandLine& line) {
    if (!line.words.empty()) throw TUsageError{"paths takes no MODEL"};
    TDataMod data(dialogs_);
    try {
      data.DataModuleCreate();  // fixes the job file's path first, whatever fails after it
    } catch (const std::exception&) {
      // a catalogue that does not open still has its paths
    }
    out_ << "program=" << ProgramFolder() << '\n';
    out_ << "working=" << data.WritableFolder() << '\n';
    out_ << "job=" << data.LOMFileName() << '\n';
    const std::string& key = data.AntData.RegistryOptions().Key;
    if (auto* ini = dynamic_cast<TIniRegistry*>(&CurrentUserRegistry()))
      for (const std::string& file : ini->KeyFiles(key))
        out_ << "registry=" << file << '\n';
    else
      out_ << "registry=HKEY_CURRENT_USER\\" << key << '\n';
    out_ << "catalog=" << data.AntData.Location().folder << '\n';
    return 0;
  }

  bool FindExact(TDataMod& data, const std::string& model) {
    data.QueryMode = qmPartNumber;
    data.SetExactPartNumber(true);
    data.SetQueryValue(model);
    return data.QueryAntennas();
  }

  int Query(TDataMod& data, const TCommandLine& line) {
    if (line.Has("--all")) {
      data.QueryMode = qmAll;
    } else if (auto part = line.Get("--part")) {
      data.QueryMode = qmPartNumber;
      data.SetQueryValue(*part);
      data.SetExactPartNumber(line.Has("--exact"));
    } else if (line.Has("--freq") && line.Has("--type")) {
      const std::string freq = *line.Get("--freq"), type = *line.Get("--type");
      if (!MoveTo(data.FreqData, {"Freq"}, freq))
        return NotOffered("frequency range", freq, Choices(data.FreqData, "Freq"));
      if (!MoveTo(data.TypeData, {"Prefix"}, type))
        return NotOffered("antenna type", type, Choices(data.TypeData, "Prefix"));
      data.QueryMode = qmFreqType;
    } else {
      throw TUsageError{"query needs --all, --freq F --type T, or --part TEXT"};
    }
    if (!data.QueryAntennaRows()) return 1;
    // Rows are written as they are read, cells copied from the table's memory.
    std::vector<std::string> titles;
    std::vector<size_t> cells;
    TFlatFileDataSet& antennas = data.AntData;
    for (const TGridColumn& column : kAntennaGridColumns) {
      titles.emplace_back(column.title);
      cells.push_back(static_cast<size_t>(antennas.FieldByName(column.field)->Index()));
    }
    TRecordWriter writer(out_, format_, std::move(titles));
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

  int Spec(TDataMod& data, const std::string& model) {
    if (!FindExact(data, model)) return 1;
    TNameValueList values;
    data.GetSpecValues(values);
    if (format_ == TFormat::Tsv) {
      for (const std::string& entry : values.Lines())
        out_ << entry << '\n';
      return 0;
    }
    TRecordWriter writer(out_, format_, {"Entry", "Value"});
    for (int i = 0; i < values.Count(); ++i) {
      const std::string name = values.Name(i), value = values.Value(name);
      writer.Row({name, value});
    }
    return 0;
  }

  int Options(TDataMod& data, const std::string& model) {
    if (!FindExact(data, model)) return 1;
    std::optional<TRecordWriter> writer;
    if (format_ != TFormat::Tsv)
      writer.emplace(out_, format_,
                     std::vector<std::string>{"Option", "Code", "Description", "Price"});
    auto rows = [&](TFlatFileDataSet& table, const char* kind,
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
          out_ << (i > 0 ? "\t" : "") << cells[i];
        out_ << '\n';
      }
    };
    rows(data.FlangeData, "flange", {"Flange"});
    rows(data.RadomeData, "radome", {"Radome_Suffix", "Radome_Desc", "Price_Upgrade"});
    rows(data.PackData, "pack", {"Pack_Suffix", "Pack_Desc", "Price"});
    return 0;
  }

  // The custom values of one build, in the order they are shown.
  static std::vector<std::string> BuildTitles() {
    return {"Base Part Number", "Custom Part Number", "Custom Description", "Custom Price"};
  }

  int Build(TDataMod& data, const TCommandLine& line) {
    if (auto batch = line.Get("--batch")) {
      if (!line.words.empty()) throw TUsageError{"build --batch takes no MODEL"};
      return Batch(data, *batch, line.Has("--lom"));
    }
    const int status = BuildOne(data, ModelOf(line), line.Get("--flange"), line.Get("--radome"),
                                line.Get("--pack"));
    if (status != 0) return status;
    TNameValueList values;
    data.GetPartNumberValues(values);
    if (format_ == TFormat::Tsv) {
      out_ << values.Text();
    } else {
      TRecordWriter writer(out_, format_, BuildTitles());
      std::vector<std::string> cells;
      for (const std::string& title : BuildTitles())
        cells.push_back(values.Value(title));
      writer.Row({cells[0], cells[1], cells[2], cells[3]});
    }
    if (line.Has("--lom")) data.WriteLOMFile();
    return 0;
  }

  // Builds the part number of `model` with the options named (none: the
  // antenna's first); 0 when it was built.
  int BuildOne(TDataMod& data, const std::string& model, const std::optional<std::string>& flange,
               const std::optional<std::string>& radome, const std::optional<std::string>& pack) {
    if (!FindExact(data, model)) return 1;
    if (flange && !MoveTo(data.FlangeData, {"Flange"}, *flange))
      return NotOffered("flange", *flange, Choices(data.FlangeData, "Flange"));
    if (radome && !MoveTo(data.RadomeData, {"Radome_Desc", "Radome_Suffix"}, *radome))
      return NotOffered("radome option", *radome, Choices(data.RadomeData, "Radome_Desc"));
    if (pack && !MoveTo(data.PackData, {"Pack_Desc", "Pack_Suffix"}, *pack))
      return NotOffered("packing option", *pack, Choices(data.PackData, "Pack_Desc"));
    if (!data.PartNumberComplete() || !data.pnbData.Active() || data.pnbData.IsEmpty()) {
      err_ << "No part number could be built for " << model << ".\n";
      return 1;
    }
    return 0;
  }

  // A whole quote: one build a line, one row a line, one data module for all.
  int Batch(TDataMod& data, const std::string& source, bool writeJob) {
    std::ifstream file;
    std::istream* in = &std::cin;
    if (source != "-") {
      file.open(source, std::ios::binary);
      if (!file) throw EKavError("Cannot open file \"" + source + "\".");
      in = &file;
    }
    std::vector<std::string> titles = BuildTitles();
    titles[0] = "Model";
    titles.push_back("Status");
    TRecordWriter writer(out_, format_, titles);
    int status = 0;
    std::string line;
    for (bool first = true; std::getline(*in, line); first = false) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (first && ansi::SameText(ansi::Trim(line), "model,flange,radome,pack")) continue;
      std::vector<std::string> fields = CsvFields(line);
      fields.resize(4);
      for (std::string& field : fields)
        field = std::string(ansi::Trim(field));
      auto given = [&](size_t i) {
        return fields[i].empty() ? std::nullopt : std::optional<std::string>(fields[i]);
      };
      // What this line alone would say on the error stream is its status.
      std::ostringstream said;
      std::streambuf* const errorStream = err_.rdbuf(said.rdbuf());
      const int errorsBefore = dialogs_.errors;
      int result = 1;
      try {
        result = BuildOne(data, fields[0], given(1), given(2), given(3));
        if (result == 0 && dialogs_.errors != errorsBefore) result = 1;
        if (result == 0 && writeJob) data.WriteLOMFile();
      } catch (const std::exception& error) {
        said << error.what() << '\n';
        result = 1;
      }
      err_.rdbuf(errorStream);
      std::string text = said.str();
      while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
      TNameValueList values;
      if (result == 0) data.GetPartNumberValues(values);
      const std::string partNumber = values.Value("Custom Part Number"),
                        description = values.Value("Custom Description"),
                        price = values.Value("Custom Price");
      const std::string verdict = result == 0 ? std::string("ok") : text;
      writer.Row({fields[0], partNumber, description, price, verdict});
      if (result != 0) status = 1;
    }
    return status;
  }

  int NotOffered(const std::string& what, const std::string& wanted, const std::string& choices) {
    err_ << "The " << what << " \"" << wanted << "\" is not offered; the choices are: " << choices
         << "\n";
    return 1;
  }

  std::ostream& out_;
  std::ostream& err_;
  TStreamDialogs dialogs_;
  TFormat format_ = TFormat::Tsv;
};

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
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
    if (line.command.empty()) throw TUsageError{"no command given"};
    TCli cli(out, err);
    return cli.Run(line);
  } catch (const TUsageError& usage) {
    err << "kav_pnb_cli: " << usage.message << "\n\n" << kCliUsage;
    return 2;
  } catch (const std::exception& error) {
    err << error.what() << "\n";
    return 1;
  }
}
