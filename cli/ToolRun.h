#pragma once
// One run of the headless tool: a parsed command line carried out against
// the catalogue, its tables written to the output stream and its errors, as
// the window would show them, to the error stream.
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "catalog/DataModule.h"
#include "cli/CommandLine.h"
#include "cli/QuoteItem.h"
#include "cli/RecordWriter.h"
#include "platform/Dialogs.h"

// Exit statuses besides 0 (success) and 2 (bad usage).
constexpr int kStatusNotFound = 1;   // nothing found, an option not offered, an item failed
constexpr int kStatusFileError = 3;  // a file or the catalogue could not be read or written

// Text of several lines as one: each run of line breaks becomes a blank.
std::string OneLine(const std::string& text);

// Error boxes become lines on the error stream. Boxes can be held back
// while a lookup that may fail runs, then shown or dropped.
class TStreamDialogs : public TDialogs {
 public:
  explicit TStreamDialogs(std::ostream& err) : err_(err) {}
  void ShowMessage(const std::string& text) override { Print(text); }
  bool Confirm(const std::string& text) override {
    Print(text);
    return false;
  }
  void ShowErrorBox(const std::string& text) override;
  void Hold();
  // Ends a Hold: shows what was held back (and counts it), or drops it.
  void Release(bool show);
  int errors = 0;

 private:
  void Print(const std::string& text);
  std::ostream& err_;
  std::optional<std::vector<std::string>> held_;
};

class TToolRun {
 public:
  TToolRun(std::ostream& out, std::ostream& err) : out_(out), err_(err), dialogs_(err) {}

  // The run's exit status.
  int Run(const TCommandLine& line);

 private:
  // `folderGiven`: where the shared folder was given, when not in the registry.
  int Check(const std::string& folderGiven);
  int Paths();
  int Query(TDataModule& data, const TCommandLine& line);
  int Spec(TDataModule& data, const std::string& model);
  int Options(TDataModule& data, const std::string& model);

  // Makes `model` the current antenna, running its chain; a model written
  // in other letter case is taken when it names one antenna alone. The
  // status: 0, kStatusNotFound or kStatusFileError.
  int FindModel(TDataModule& data, const std::string& model);
  // The catalogue's spelling of `model` when it is there in other letter
  // case, once; else `model`.
  std::string CatalogueSpelling(TDataModule& data, const std::string& model);

  int Build(TDataModule& data, const TCommandLine& line);
  // Builds the part number of `model` with the options named (none: the
  // antenna's first); 0 when it was built.
  int BuildOne(TDataModule& data, const std::string& model,
               const std::optional<std::string>& flange, const std::optional<std::string>& radome,
               const std::optional<std::string>& pack);
  // Removes the job file of an earlier run, saying `said` and what became of it.
  void RemoveEarlierJobFile(TDataModule& data, const std::string& said);
  int Batch(TDataModule& data, const std::vector<TBatchLine>& items, bool writeJob);
  std::optional<TQuoteItem> BuildQuoted(TDataModule& data, const TBatchLine& item,
                                        std::string& said);
  std::vector<TBatchLine> ReadBatchFile(const std::string& source) const;

  // Makes current the row `wanted` names (see FindChoice), running its chain
  // once; otherwise says what the choices are, and false.
  bool Choose(TDelimitedTable& table, const char* what, std::initializer_list<const char*> fields,
              const std::string& wanted, bool partly);

  std::ostream& out_;
  std::ostream& err_;
  TStreamDialogs dialogs_;
  TFormat format_ = TFormat::Tsv;
  TEncoding encoding_ = TEncoding::Utf8;
};
