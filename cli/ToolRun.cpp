#include "cli/ToolRun.h"

#include <cstring>
#include <filesystem>
#include <utility>

#include "cli/OptionChoice.h"
#include "cli/ToolCommands.h"
#include "platform/Error.h"
#include "platform/NativeFile.h"
#include "platform/PathResolver.h"
#include "platform/ProgramFolder.h"
#include "settings/Registry.h"

namespace {

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

std::string FirstSaid(const std::string& text) {
  std::string first = text.substr(0, text.find_first_of("\r\n"));
  if (first.compare(0, std::strlen(kSaid), kSaid) == 0) first.erase(0, std::strlen(kSaid));
  return first;
}

void TStreamDialogs::Error(const std::string& text) {
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
      Error(text);
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
  givenFolder_ = line.Get("--catalog");
  catalogue_ = std::make_unique<TDataModule>(dialogs_, TDataModule::TWorkingFiles::InMemory);
  if (givenFolder_) catalogue_->SetSharedFolder(*givenFolder_);
  catalogue_->SetCatalogueHint(givenFolder_
                                   ? "The catalogue folder is the one given with --catalog."
                                   : CatalogueFolderSetting() + " For one run: --catalog DIR.");
  if (auto job = line.Get("--job-file"))
    catalogue_->SetJobFileName(native::Text(std::filesystem::absolute(native::Path(*job))));
  if (line.Has("--lom")) RemoveJobFile();
  int status = 0;
  for (const TToolCommand& command : kToolCommands)
    if (line.command == command.name) status = command.run(*this, line);
  // An error box that did not stop the run was still a file the window
  // could not read or write.
  return status == 0 && dialogs_.errors > 0 ? kStatusFileError : status;
}

TDataModule& TToolRun::Catalogue() {
  if (!catalogueOpen_) {
    catalogueOpen_ = true;
    catalogue_->DataModuleCreate();
  }
  return *catalogue_;
}

void TToolRun::RemoveJobFile() {
  TDataModule& data = *catalogue_;
  if (data.JobFileName().empty()) data.SetJobFileName(data.WritableFolder() + "kav_pnb.lom");
  earlierJobFile_ = FileExists(data.JobFileName());
  data.DeleteJobFile();
}

void TToolRun::SayNoJobFile(const std::string& reason) {
  const std::string& path = catalogue_->JobFileName();
  err_ << kSaid << reason;
  if (!earlierJobFile_)
    err_ << ".\n";
  else if (FileExists(path))
    err_ << "; the earlier job file \"" << path
         << "\" could not be removed and is not this run's.\n";
  else
    err_ << "; the earlier job file was removed.\n";
}

bool TToolRun::QueryExact(const std::string& model) {
  TDataModule& data = Catalogue();
  data.QueryMode = TQueryMode::ModelNumber;
  data.SetExactPartNumber(true);
  data.SetQueryValue(model);
  return data.QueryAntennas();
}

int TToolRun::FindModel(const std::string& model) {
  TDataModule& data = Catalogue();
  if (!models_) {
    // The common case costs one query; its "not found" waits until the
    // letter case is settled.
    dialogs_.Hold();
    const bool found = QueryExact(model);
    dialogs_.Release(found || data.QueryFailed());
    if (found) return 0;
    if (data.QueryFailed()) return kStatusFileError;
    IndexModels();
  }
  // One query, for the catalogue's spelling or, when there is none, for the
  // model as given, which says it was not found.
  if (QueryExact(models_->Spelling(model).value_or(model))) return 0;
  return data.QueryFailed() ? kStatusFileError : kStatusNotFound;
}

int TToolRun::RowsListing(const std::string& model) {
  return models_ ? models_->Rows(model) : Catalogue().AntennaRowsListing(model);
}

void TToolRun::IndexModels() {
  TDataModule& data = Catalogue();
  dialogs_.Hold();  // what fails here is said by the query that follows
  data.QueryMode = TQueryMode::All;
  data.QueryAntennaRows();
  models_.emplace(data.Antennas);
  dialogs_.Release(false);
}

int TToolRun::Choose(TDelimitedTable& table, const char* what,
                     const std::vector<const char*>& fields, const std::string& wanted,
                     bool partly) {
  if (!table.Active()) {
    // Its error box has said why; no choice is "not offered" by a table unread.
    err_ << kSaid << "The " << what << " \"" << wanted
         << "\" cannot be chosen: " << table.FileName() << " could not be read.\n";
    return kStatusFileError;
  }
  std::vector<int> ties;
  const int row = FindChoice(table, fields, wanted, partly, ties);
  if (row >= 0) {
    table.SetRecNo(row + 1);
    return 0;
  }
  const char* shown = fields.front();
  if (ties.size() > 1) {
    std::string list;
    for (const int tie : ties)
      list += (list.empty() ? "\"" : ", \"") +
              table.CellText(tie, table.FieldByName(shown)->Index()) + "\"";
    err_ << kSaid << "The " << what << " \"" << wanted << "\" is ambiguous; it matches: " << list
         << "\n";
  } else {
    err_ << kSaid << "The " << what << " \"" << wanted
         << "\" is not offered; the choices are: " << Choices(table, shown) << "\n";
  }
  return kStatusNotFound;
}
