#include "cli/CliCommands.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <sstream>

#include "cli/CommandLine.h"
#include "cli/OutputStream.h"
#include "cli/RecordWriter.h"
#include "cli/ToolRun.h"
#include "platform/ProgramFolder.h"
#include "platform/ReleaseVersion.h"
#include "platform/Text1252.h"

namespace {

// A run that was to hand back a job file but whose command line could not
// be read leaves none: its caller must not read an earlier run's quote.
void RemoveJobFileOfUnreadRun(const std::vector<std::string>& args) {
  if (std::find(args.begin(), args.end(), "--lom") == args.end()) return;
  auto valueOf = [&](const char* option) -> std::optional<std::string> {
    const auto at = std::find(args.begin(), args.end(), option);
    if (at == args.end() || at + 1 == args.end()) return std::nullopt;
    return *(at + 1);
  };
  try {
    TStreamDialogs silent(std::cerr);
    TDataModule data(silent, TDataModule::TWorkingFiles::InMemory);
    if (auto job = valueOf("--job-file")) {
      data.SetJobFileName(*job);
    } else {
      if (auto folder = valueOf("--program-folder")) SetProgramFolder(*folder);
      data.SetJobFileName(data.WritableFolder() + "kav_pnb.lom");
    }
    data.DeleteJobFile();
  } catch (const std::exception&) {
    // nothing more can be done than was asked
  }
}

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    const TCommandLine line = ParseCommandLine(args);
    if (line.Has("--help")) {
      out << CliUsage(line.command);
      return 0;
    }
    if (line.Has("--version")) {
      out << "kav_pnb_cli " << kReleaseVersion << "\n";
      return 0;
    }
    TToolRun run(out, err);
    return run.Run(line);
  } catch (const TUsageError& usage) {
    RemoveJobFileOfUnreadRun(args);
    err << kSaid << usage.message << "\nTry 'kav_pnb_cli --help'.\n";
    return 2;
  } catch (const std::exception& error) {
    // What stops a run is a file or catalogue the tool could not read or write.
    err << kSaid << error.what() << "\n";
    return kStatusFileError;
  }
}

// The run's status, or kStatusFileError when its output could not be
// written whole: a full disk or a closed output never passes for success.
int CheckedOutput(int status, std::ostream& out, std::ostream& err) {
  if (out.flush()) return status;
  const auto* descriptor = dynamic_cast<const TDescriptorOutput*>(out.rdbuf());
  const int error = descriptor != nullptr ? descriptor->Error() : 0;
  err << kSaid
      << "Cannot write the output: " << (error != 0 ? std::strerror(error) : "the stream failed")
      << ".\n";
  return kStatusFileError;
}

}  // namespace

int RunCli(const std::vector<std::string>& given, std::ostream& out, std::ostream& err) {
  std::vector<std::string> args = given;
  try {
    args = SeparatedArguments(given);
  } catch (const TUsageError&) {
    // said by the run itself
  }
  bool json = false;
  TEncoding encoding = TEncoding::Utf8;
  for (size_t i = 0; i + 1 < args.size() && args[i] != "--"; ++i) {
    json = json || (args[i] == "--format" && args[i + 1] == "json");
    if (args[i] == "--encoding" && ansi::SameText(args[i + 1], "windows-1252"))
      encoding = TEncoding::Windows1252;
  }
  if (!json) {
    // Messages in the run's encoding, as its output is.
    TConvertedLines lines(
        err, [encoding](std::string_view text) { return MessageText(text, encoding); });
    std::ostream messages(&lines);
    return CheckedOutput(RunCommandLine(args, out, messages), out, messages);
  }
  // A program asked for JSON: whatever went wrong is one object on the error
  // stream, never prose to parse.
  // Its "error" is what went wrong; "detail", when there is more, the rest
  // of what the tool said, as the window would show it.
  std::ostringstream said;
  const int status = CheckedOutput(RunCommandLine(args, out, said), out, said);
  if (!said.str().empty()) {
    const std::string text = said.str();
    const std::string detail = OneLine(text.substr(std::min(text.find('\n'), text.size())));
    auto quoted = [](const std::string& words) {
      return JsonQuotedUtf8(MessageText(words, TEncoding::Utf8));
    };
    err << "{\"error\": " << quoted(FirstSaid(text));
    if (!detail.empty()) err << ", \"detail\": " << quoted(detail);
    err << ", \"context\": " << quoted(CommandContext(args)) << "}\n";
  }
  return status;
}
