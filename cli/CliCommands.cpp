#include "cli/CliCommands.h"

#include <functional>
#include <map>
#include <optional>

#include "catalog/AntennaGrid.h"
#include "catalog/uDataMod.h"
#include "checker/CatalogChecker.h"
#include "platform/AnsiText.h"
#include "platform/Error.h"
#include "platform/PathResolver.h"
#include "platform/ProgramFolder.h"
#include "platform/Registry.h"

#ifdef KAV_CLI_DECODES_PICTURES
#include "pictures/PictureDecoder.h"
#endif

const char* const kCliUsage =
    "Usage: kav_pnb_cli COMMAND [OPTIONS] [--program-folder DIR]\n"
    "\n"
    "Commands:\n"
    "  query --all                     every antenna of the catalogue\n"
    "  query --freq F --type T         the antennas of frequency range F and type T\n"
    "  query --part TEXT [--exact]     model numbers beginning with TEXT (or equal to it)\n"
    "  spec MODEL                      the antenna's specification sheet, name=value a line\n"
    "  options MODEL                   the antenna's flanges, radome and packing options\n"
    "  build MODEL [--flange F] [--radome TEXT] [--pack TEXT] [--lom]\n"
    "                                  the custom part number, description and price;\n"
    "                                  radome and packing options are named by their text\n"
    "                                  or suffix; --lom also writes the job file kav_pnb.lom\n"
    "  paths                           where the program reads and writes, one name=value a\n"
    "                                  line: program (the program folder), working (where it\n"
    "                                  writes pnb.dat and AntFlanges.dat), job (the job file),\n"
    "                                  registry (each settings file read, in order; Linux)\n"
    "                                  and catalog (the shared catalogue folder)\n"
    "  check                           checks the catalogue as the program reads it; prints\n"
    "                                  one finding a line, then a summary line:\n"
    "                                  FILE:LINE:COLUMN: SEVERITY: what is wrong -- what the\n"
    "                                  program does with it (LINE 0: the whole file; COLUMN:\n"
    "                                  the cell, counted from 1; 0: the whole line)\n"
    "                                  error: the program fails on it, or builds a wrong part\n"
    "                                  number or price: a file, registry value or column\n"
    "                                  missing; columns repeated or out of order; rows too\n"
    "                                  short; model numbers repeated, empty, unpriced or\n"
    "                                  beginning with a comment mark; prices that do not\n"
    "                                  convert; flanges without a suffix row; offered\n"
    "                                  frequency and type pairs without an antenna; pictures\n"
    "                                  that do not decode\n"
    "                                  warning: the program copes, but the user meets a gap\n"
    "                                  or the row is never reached: no radome or packing\n"
    "                                  options; empty flanges, types, sizes, groups or sheet\n"
    "                                  entries; missing pictures or picture lines; rows and\n"
    "                                  pairs no query reaches; extra cells; cells longer than\n"
    "                                  the 50-character field (descriptions aside)\n"
    "\n"
    "Options:\n"
    "  --program-folder DIR            the folder holding data/ and Images/ (default: the\n"
    "                                  folder of this program); the antenna and pricing files\n"
    "                                  are found through the registry, as the window finds them\n"
    "  --help                          this text\n"
    "  --version                       the program's version\n"
    "\n"
    "Exit status: 0 success; 1 nothing found, an option not offered, or an error reported;\n"
    "2 bad usage. Errors go to standard error with the text the window would show.\n"
    "check: 1 when it found errors, 0 otherwise (warnings alone give 0).\n";

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
// gives the window's error texts; nothing for a good picture or a metafile,
// which this system cannot show at all.
std::string PictureError(const std::string& path) {
  const std::string extension = ansi::UpperCase(FileExtension(path));
  if (extension == "WMF" || extension == "EMF") return {};
  try {
    DecodePicture(path);
    return {};
  } catch (const EKavError& error) {
    return error.what();
  }
}
#endif

struct TUsageError {
  std::string message;
};

// The command line split into its command, its positional words and its options.
struct TCommandLine {
  std::string command;
  std::vector<std::string> words;
  std::map<std::string, std::string> options;  // flags hold ""

  bool Has(const std::string& name) const { return options.count(name) != 0; }
  std::optional<std::string> Get(const std::string& name) const {
    auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
  }
};

TCommandLine Parse(const std::vector<std::string>& args) {
  static const std::map<std::string, bool> kOptions = {
      {"--program-folder", true}, {"--all", false},   {"--freq", true},   {"--type", true},
      {"--part", true},           {"--exact", false}, {"--flange", true}, {"--radome", true},
      {"--pack", true},           {"--lom", false},   {"--help", false},  {"--version", false}};
  TCommandLine line;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
      auto option = kOptions.find(arg);
      if (option == kOptions.end()) throw TUsageError{"unknown option " + arg};
      if (option->second) {
        if (i + 1 >= args.size()) throw TUsageError{arg + " needs a value"};
        line.options[arg] = args[++i];
      } else {
        line.options[arg] = "";
      }
    } else if (line.command.empty()) {
      line.command = arg;
    } else {
      line.words.push_back(arg);
    }
  }
  return line;
}

std::string ModelOf(const TCommandLine& line) {
  if (line.words.size() != 1) throw TUsageError{line.command + " needs exactly one MODEL"};
  return line.words[0];
}

// Walks a table's rows until `matches` holds; runs that row's chain. False
// when no row matches.
bool MoveTo(TFlatFileDataSet& table, const std::function<bool()>& matches) {
  if (!table.Active()) return false;
  for (int n = 1; n <= table.RecordCount(); ++n) {
    table.SetRecNo(n);
    if (matches()) return true;
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
      if (!MoveTo(data.FreqData, [&] { return FieldText(data.FreqData, "Freq") == freq; }))
        return NotOffered("frequency range", freq, Choices(data.FreqData, "Freq"));
      if (!MoveTo(data.TypeData, [&] { return FieldText(data.TypeData, "Prefix") == type; }))
        return NotOffered("antenna type", type, Choices(data.TypeData, "Prefix"));
      data.QueryMode = qmFreqType;
    } else {
      throw TUsageError{"query needs --all, --freq F --type T, or --part TEXT"};
    }
    if (!data.QueryAntennas()) return 1;
    for (const TGridColumn& column : kAntennaGridColumns)
      out_ << (&column == kAntennaGridColumns ? "" : "\t") << column.title;
    out_ << '\n';
    TFlatFileDataSet& antennas = data.AntData;
    for (int row = 0; row < antennas.RecordCount(); ++row) {
      for (const TGridColumn& column : kAntennaGridColumns)
        out_ << (&column == kAntennaGridColumns ? "" : "\t")
             << antennas.CellText(row, antennas.FieldByName(column.field)->Index());
      out_ << '\n';
    }
    return 0;
  }

  int Spec(TDataMod& data, const std::string& model) {
    if (!FindExact(data, model)) return 1;
    TNameValueList values;
    data.GetSpecValues(values);
    for (const std::string& entry : values.Lines())
      out_ << entry << '\n';
    return 0;
  }

  int Options(TDataMod& data, const std::string& model) {
    if (!FindExact(data, model)) return 1;
    auto rows = [&](TFlatFileDataSet& table, const char* kind,
                    std::initializer_list<const char*> fields) {
      if (!table.Active()) return;
      for (int row = 0; row < table.RecordCount(); ++row) {
        out_ << kind;
        for (const char* field : fields)
          out_ << '\t' << table.CellText(row, table.FieldByName(field)->Index());
        out_ << '\n';
      }
    };
    rows(data.FlangeData, "flange", {"Flange"});
    rows(data.RadomeData, "radome", {"Radome_Suffix", "Radome_Desc", "Price_Upgrade"});
    rows(data.PackData, "pack", {"Pack_Suffix", "Pack_Desc", "Price"});
    return 0;
  }

  int Build(TDataMod& data, const TCommandLine& line) {
    const std::string model = ModelOf(line);
    if (!FindExact(data, model)) return 1;
    if (auto flange = line.Get("--flange")) {
      if (!MoveTo(data.FlangeData, [&] { return FieldText(data.FlangeData, "Flange") == *flange; }))
        return NotOffered("flange", *flange, Choices(data.FlangeData, "Flange"));
    }
    if (auto radome = line.Get("--radome")) {
      if (!MoveTo(data.RadomeData, [&] {
            return FieldText(data.RadomeData, "Radome_Desc") == *radome ||
                   FieldText(data.RadomeData, "Radome_Suffix") == *radome;
          }))
        return NotOffered("radome option", *radome, Choices(data.RadomeData, "Radome_Desc"));
    }
    if (auto pack = line.Get("--pack")) {
      if (!MoveTo(data.PackData, [&] {
            return FieldText(data.PackData, "Pack_Desc") == *pack ||
                   FieldText(data.PackData, "Pack_Suffix") == *pack;
          }))
        return NotOffered("packing option", *pack, Choices(data.PackData, "Pack_Desc"));
    }
    if (!data.PartNumberComplete()) {
      err_ << "No part number could be built for " << model << ".\n";
      return 1;
    }
    TNameValueList values;
    data.GetPartNumberValues(values);
    out_ << values.Text();
    if (line.Has("--lom")) data.WriteLOMFile();
    return 0;
  }

  int NotOffered(const std::string& what, const std::string& wanted, const std::string& choices) {
    err_ << "The " << what << " \"" << wanted << "\" is not offered; the choices are: " << choices
         << "\n";
    return 1;
  }

  std::ostream& out_;
  std::ostream& err_;
  TStreamDialogs dialogs_;
};

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    const TCommandLine line = Parse(args);
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
