#include "cli/CommandLine.h"

#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <utility>

#include "platform/Text1252.h"
#include "platform/Utf8.h"

namespace {

// The options each command takes, besides --help and --version.
const std::map<std::string, std::set<std::string>>& CommandOptions() {
  static const std::set<std::string> kEvery = {"--program-folder", "--catalog"};
  static const std::set<std::string> kOutput = {"--format", "--encoding"};
  auto with = [](std::set<std::string> own, const std::set<std::string>& more) {
    own.insert(more.begin(), more.end());
    own.insert(kEvery.begin(), kEvery.end());
    return own;
  };
  static const std::map<std::string, std::set<std::string>> kTaken = {
      {"query", with({"--all", "--freq", "--type", "--part", "--exact"}, kOutput)},
      {"spec", with({}, kOutput)},
      {"options", with({}, kOutput)},
      {"build",
       with({"--flange", "--radome", "--pack", "--lom", "--job-file", "--batch"}, kOutput)},
      {"check", with({}, kOutput)},
      {"paths", with({}, kOutput)}};
  return kTaken;
}

const std::map<std::string, bool> kTakesValue = {
    {"--program-folder", true}, {"--catalog", true}, {"--all", false},     {"--freq", true},
    {"--type", true},           {"--part", true},    {"--exact", false},   {"--flange", true},
    {"--radome", true},         {"--pack", true},    {"--lom", false},     {"--help", false},
    {"--version", false},       {"--format", true},  {"--encoding", true}, {"--batch", true},
    {"--job-file", true}};

void CheckCombinations(const TCommandLine& line) {
  for (const char* option : {"--catalog", "--program-folder", "--batch", "--job-file"}) {
    const auto value = line.Get(option);
    if (value && value->empty()) throw TUsageError{std::string(option) + " needs a path"};
#ifdef _WIN32
    // cmd passes "C:\My Tools\" as C:\My Tools" by Windows' rule for command
    // lines: the path the user meant is lost, so say how to write it.
    if (value && value->back() == '"')
      throw TUsageError{std::string(option) + " " + *value +
                        " ends in a quote: a backslash before a closing quote keeps the quote; "
                        "drop the path's last backslash"};
#endif
  }
  if (line.command == "query") {
    const int ways =
        line.Has("--all") + line.Has("--part") + (line.Has("--freq") || line.Has("--type"));
    if (ways != 1 || line.Has("--freq") != line.Has("--type"))
      throw TUsageError{"query needs one of --all, --freq F --type T, or --part TEXT"};
    if (line.Has("--exact") && !line.Has("--part")) throw TUsageError{"--exact goes with --part"};
    if (!line.words.empty()) throw TUsageError{"query takes no MODEL"};
  } else if (line.command == "build" && line.Has("--job-file") && !line.Has("--lom")) {
    throw TUsageError{"--job-file goes with --lom"};
  }
  if (line.command == "build" && line.Has("--batch")) {
    for (const char* option : {"--flange", "--radome", "--pack"})
      if (line.Has(option)) throw TUsageError{std::string("build --batch takes no ") + option};
    if (!line.words.empty()) throw TUsageError{"build --batch takes no MODEL"};
  } else if (line.command == "check" || line.command == "paths") {
    if (!line.words.empty()) throw TUsageError{line.command + " takes no MODEL"};
  }
}

}  // namespace

std::vector<std::string> SeparatedArguments(const std::vector<std::string>& args) {
  std::vector<std::string> separated;
  bool options = true;
  for (const std::string& arg : args) {
    const size_t equals = arg.find('=');
    if (options && arg.compare(0, 2, "--") == 0 && equals != std::string::npos) {
      const std::string name = arg.substr(0, equals);
      const auto option = kTakesValue.find(name);
      if (option != kTakesValue.end() && !option->second)
        throw TUsageError{name + " takes no value"};
      separated.push_back(name);
      separated.push_back(arg.substr(equals + 1));
      continue;
    }
    options = options && arg != "--";
    separated.push_back(arg);
  }
  return separated;
}

std::string CommandContext(const std::vector<std::string>& args) {
  std::string context;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--") {
      for (++i; i < args.size(); ++i)
        context += (context.empty() ? "" : " ") + args[i];
      break;
    }
    const auto option = kTakesValue.find(args[i].substr(0, args[i].find('=')));
    if (option != kTakesValue.end()) {
      i += option->second && args[i].find('=') == std::string::npos;  // its value
      continue;
    }
    context += (context.empty() ? "" : " ") + args[i];
  }
  return context;
}

TCommandLine ParseCommandLine(const std::vector<std::string>& given) {
  const std::vector<std::string> args = SeparatedArguments(given);
  TCommandLine line;
  bool options = true;  // until "--": what follows it is a word, whatever it looks like
  for (size_t i = 0; i < args.size(); ++i) {
    // Windows' own ways of asking for help, besides -h; -V as many tools have it.
    const bool help = args[i] == "-h" || args[i] == "-?" || args[i] == "/?";
    const std::string arg = !options          ? args[i]
                            : help            ? "--help"
                            : args[i] == "-V" ? "--version"
                                              : args[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && arg.size() > 1 && arg[0] == '-') {
      auto option = kTakesValue.find(arg);
      if (option == kTakesValue.end()) throw TUsageError{"unknown option " + arg};
      if (line.Has(arg)) throw TUsageError{arg + " is given twice"};
      // "--flange --lom" has lost the flange: the next option is no value.
      if (option->second &&
          (i + 1 >= args.size() || kTakesValue.count(args[i + 1]) != 0 || args[i + 1] == "-h"))
        throw TUsageError{arg + " needs a value"};
      line.options[arg] = option->second ? args[++i] : "";
    } else if (line.command.empty()) {
      line.command = arg;
    } else {
      line.words.push_back(arg);
    }
  }
  if (line.Has("--help") || line.Has("--version")) return line;
  if (line.command.empty()) throw TUsageError{"no command given"};
  auto taken = CommandOptions().find(line.command);
  if (taken == CommandOptions().end()) throw TUsageError{"unknown command " + line.command};
  for (const auto& [option, value] : line.options)
    if (!taken->second.count(option)) throw TUsageError{line.command + " does not take " + option};
  CheckCombinations(line);
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

TEncoding EncodingOf(const TCommandLine& line) {
  const std::string encoding = line.Get("--encoding").value_or("utf-8");
  if (ansi::SameText(encoding, "utf-8")) return TEncoding::Utf8;
  if (ansi::SameText(encoding, "windows-1252")) return TEncoding::Windows1252;
  throw TUsageError{"--encoding takes utf-8 or windows-1252, not " + encoding};
}

std::vector<std::string> CsvFields(const std::string& line, char separator) {
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
    } else if (c == separator) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  if (quoted)
    throw TUsageError{
        "a quote is not closed; a field cannot hold a line break: put each item on one line"};
  return fields;
}

namespace {

// The separator of a spreadsheet's export: of a comma, a semicolon and a
// tab, the one the line holds most often outside quotes (a comma on a tie).
char SeparatorOf(const std::string& line) {
  int commas = 0, semicolons = 0, tabs = 0;
  bool quoted = false;
  for (const char c : line) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    commas += c == ',';
    semicolons += c == ';';
    tabs += c == '\t';
  }
  if (semicolons > commas && semicolons >= tabs) return ';';
  if (tabs > commas && tabs > semicolons) return '\t';
  return ',';
}

const char* SeparatorName(char separator) {
  return separator == ';' ? "semicolons" : separator == '\t' ? "tabs" : "commas";
}

// Whether the fields are the title row: model, then flange, radome and
// pack as far as they go, in any letter case.
bool IsTitleRow(const std::vector<std::string>& fields) {
  static const char* const kTitles[] = {"model", "flange", "radome", "pack"};
  for (size_t i = 0; i < fields.size(); ++i)
    if (i >= 4 || !ansi::SameText(fields[i], kTitles[i])) return false;
  return !fields.empty();
}

// The batch's text, and the encoding its fields are in: a byte-order mark
// says UTF-16 (little- or big-endian, as PowerShell and Notepad save
// "Unicode") or UTF-8; else the run's encoding holds.
std::string BatchText(std::string bytes, TEncoding& encoding) {
  if (bytes.compare(0, 4, std::string("\xFF\xFE\0\0", 4)) == 0 ||
      bytes.compare(0, 4, std::string("\0\0\xFE\xFF", 4)) == 0)
    throw TUsageError{
        "the batch file is UTF-32, which is not read: save it as UTF-8, or as "
        "UTF-16 (\"Unicode\") with its byte-order mark"};
  auto starts = [&](const char* mark) { return bytes.compare(0, 2, mark, 2) == 0; };
  if (bytes.size() >= 2 && (starts("\xFF\xFE") || starts("\xFE\xFF"))) {
    if (starts("\xFE\xFF"))
      for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        std::swap(bytes[i], bytes[i + 1]);
    encoding = TEncoding::Utf8;
    return Utf8FromUtf16Le(bytes.data() + 2, (bytes.size() - 2) / 2);
  }
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    encoding = TEncoding::Utf8;
    return bytes.substr(3);
  }
  if (bytes.find('\0') != std::string::npos)
    throw TUsageError{
        "the batch file holds NUL bytes and no byte-order mark, as UTF-16 without its mark "
        "does: save it as UTF-8, or as UTF-16 (\"Unicode\") with its byte-order mark"};
  return bytes;
}

// Lines ended by CR LF, LF or a CR alone (old Mac exports), as LF, in one pass.
std::string WithLineFeeds(const std::string& text) {
  if (text.find('\r') == std::string::npos) return text;
  std::string lines;
  lines.reserve(text.size());
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] != '\r') {
      lines += text[at];
    } else if (at + 1 == text.size() || text[at + 1] != '\n') {
      lines += '\n';
    }
  }
  return lines;
}

// Excel's hint on a spreadsheet's first line, "sep=;": the separator.
std::optional<char> SeparatorHint(const std::string& line) {
  const std::string trimmed(ansi::Trim(line));
  if (trimmed.size() == 5 && ansi::SameText(trimmed.substr(0, 4), "sep=")) return trimmed[4];
  return std::nullopt;
}

}  // namespace

std::vector<TBatchLine> ReadBatch(std::istream& in, TEncoding encoding) {
  std::vector<TBatchLine> items;
  std::istringstream lines(
      WithLineFeeds(BatchText(std::string(std::istreambuf_iterator<char>(in), {}), encoding)));
  std::string text;
  char separator = 0;  // fixed by the first line that is not blank
  bool titleAllowed = true;
  for (int number = 1; std::getline(lines, text); ++number) {
    if (ansi::Trim(text).empty()) continue;
    const std::string where = "batch line " + std::to_string(number) + ": ";
    // A U+0000 would cut the field where a C string ends: refused, not guessed.
    if (text.find('\0') != std::string::npos) throw TUsageError{where + "holds a NUL character"};
    if (separator == 0) {
      if (const auto hint = SeparatorHint(text)) {
        separator = *hint;
        continue;  // the title row may follow
      }
      separator = SeparatorOf(text);
    }
    const bool first = std::exchange(titleAllowed, false);
    std::vector<std::string> fields;
    try {
      fields = CsvFields(text, separator);
    } catch (const TUsageError& error) {
      throw TUsageError{where + error.message};
    }
    for (std::string& field : fields)
      field = InputText(ansi::Trim(field), encoding);
    // A spreadsheet ends rows with empty cells of its own.
    while (fields.size() > 4 && fields.back().empty())
      fields.pop_back();
    if (first && IsTitleRow(fields)) continue;
    if (fields.size() > 4)
      throw TUsageError{where + "more than four fields (model,flange,radome,pack) separated by " +
                        SeparatorName(separator)};
    fields.resize(4);
    items.push_back({number, fields[0], fields[1], fields[2], fields[3]});
  }
  return items;
}
