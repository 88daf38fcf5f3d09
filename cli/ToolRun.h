#pragma once
// One run of the headless tool: a parsed command line carried out against
// the catalogue by the command it names, its tables written to the output
// stream and its errors, as the window would show them, to the error
// stream. The run holds what every command shares: the streams, the output
// format, the catalogue folder given for the run, the job file, and the
// look-ups of a model and of an option by the name a person typed.
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "catalog/DataModule.h"
#include "catalog/ModelIndex.h"
#include "cli/CommandLine.h"
#include "cli/RecordWriter.h"
#include "platform/Dialogs.h"

// Exit statuses besides 0 (success) and 2 (bad usage).
constexpr int kStatusNotFound = 1;   // nothing found, an option not offered, an item failed
constexpr int kStatusFileError = 3;  // a file or the catalogue could not be read or written

// What begins each thing the tool says on its error stream: the first line
// of an error is this and what went wrong, so a script's `head -1` tells it.
inline constexpr const char* kSaid = "kav_pnb_cli: ";

// Text of several lines as one: each run of line breaks becomes a blank.
std::string OneLine(const std::string& text);
// What an error stream's text says first, without kSaid: its first line.
std::string FirstSaid(const std::string& text);

// Error boxes become lines on the error stream: what went wrong after
// kSaid, then the box's text as the window shows it. Boxes can be held
// back while a lookup that may fail runs, then shown or dropped.
class TStreamDialogs : public TDialogs {
 public:
  explicit TStreamDialogs(std::ostream& err) : err_(err) {}
  void ShowMessage(const std::string& text) override { Print(kSaid + text); }
  bool Confirm(const std::string& text) override {
    Print(kSaid + text);
    return false;
  }
  void ShowErrorBox(const std::string& text) override { Error(kSaid + text); }
  void ShowError(const std::string& message, const std::string& boxText) override {
    Error(kSaid + message + "\n" + boxText);
  }
  void Hold();
  // Ends a Hold: shows what was held back (and counts it), or drops it.
  void Release(bool show);
  int errors = 0;

 private:
  void Error(const std::string& text);
  void Print(const std::string& text);
  std::ostream& err_;
  std::optional<std::vector<std::string>> held_;
};

class TToolRun {
 public:
  TToolRun(std::ostream& out, std::ostream& err) : out_(out), err_(err), dialogs_(err) {}

  // The run's exit status.
  int Run(const TCommandLine& line);

  std::ostream& Out() { return out_; }
  std::ostream& Err() { return err_; }
  TStreamDialogs& Dialogs() { return dialogs_; }
  TFormat Format() const { return format_; }
  TEncoding Encoding() const { return encoding_; }
  // The shared catalogue folder given with --catalog; none: the registry's.
  const std::optional<std::string>& GivenFolder() const { return givenFolder_; }
  // The catalogue of this run, opened by the first command that asks for it
  // (an open that fails is not tried again). It keeps its working files in
  // memory: no file of the window's is written and no other copy waited for.
  TDataModule& Catalogue();

  // Makes `model` the current antenna, running its chain; a model written
  // in other letter case is taken when it names one antenna alone. The
  // status: 0, kStatusNotFound or kStatusFileError.
  int FindModel(const std::string& model);
  // How many antenna rows list `model` as written: from the index when
  // there is one, else by a read of the antenna file.
  int RowsListing(const std::string& model);
  // Reads every model number once, so that each later FindModel costs one
  // query whatever the spelling: for runs of many builds.
  void IndexModels();

  // Makes current the row of `table` that `wanted` names (see FindChoice),
  // running its chain once, and answers 0; otherwise says what the choices
  // are (kStatusNotFound), or that the table could not be read
  // (kStatusFileError).
  int Choose(TDelimitedTable& table, const char* what, const std::vector<const char*>& fields,
             const std::string& wanted, bool partly);

  // The job file of a run that hands one back (--lom): removed as soon as the
  // run starts, so that a run stopped by anything leaves none.
  void RemoveJobFile();
  // Says that no job file was written, with `reason`, and what became of an
  // earlier run's.
  void SayNoJobFile(const std::string& reason);

 private:
  // Queries the exact spelling `model`; true when it found it.
  bool QueryExact(const std::string& model);

  std::ostream& out_;
  std::ostream& err_;
  TStreamDialogs dialogs_;
  TFormat format_ = TFormat::Tsv;
  TEncoding encoding_ = TEncoding::Utf8;
  std::optional<std::string> givenFolder_;
  std::unique_ptr<TDataModule> catalogue_;
  bool catalogueOpen_ = false;
  std::optional<TModelIndex> models_;
  bool earlierJobFile_ = false;  // a job file was there when the run removed it
};
