#include "cli/CommandLine.h"

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  static const std::map<std::string, bool> kOptions = {
      {"--program-folder", true}, {"--all", false},   {"--freq", true},   {"--type", true},
      {"--part", true},           {"--exact", false}, {"--flange", true}, {"--radome", true},
      {"--pack", true},           {"--lom", false},   {"--help", false},  {"--version", false},
      {"--format", true},         {"--batch", true}};
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

TFormat FormatOf(const TCommandLine& line) {
  const std::string format = line.Get("--format").value_or("tsv");
  if (format == "tsv") return TFormat::Tsv;
  if (format == "csv") return TFormat::Csv;
  if (format == "json") return TFormat::Json;
  throw TUsageError{"--format takes tsv, csv or json, not " + format};
}

std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"')
        fields.back() += c;
      else if (i + 1 < line.size() && line[i + 1] == '"')
        fields.back() += line[++i];
      else
        quoted = false;
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}
