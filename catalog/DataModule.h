#pragma once
// The data module: every catalogue table, the links that tie them to the
// current antenna and options, the three picture loaders, the part-number
// builder and the job file. Moving the current row of a table runs its chain
// synchronously, inside the call that moved it.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "catalog/CatalogSchema.h"
#include "catalog/ChainLinks.h"
#include "catalog/Quote.h"
#include "flatfile/DelimitedTable.h"
#include "flatfile/TableLink.h"
#include "pictures/PictureChooser.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/FileLock.h"
#include "platform/NameValueList.h"

// The registry value that names the shared catalogue folder.
inline const TRegistryOptions kSharedCatalogueFolder{"Software\\Ostrel", "Common Files", "Path",
                                                     ""};

// Which antennas a query asks for: every one, those of a frequency range
// and type, or those of a model number.
enum class TQueryMode : uint8_t { None, All, RangeAndType, ModelNumber };

class TDataModule {
 public:
  // `dialogs` shows the error box; it must outlive the data module. On disk,
  // the chain writes the flange file and the part-number file where the
  // window's users and other programs find them; in memory, it writes
  // nothing, so that a headless run never waits for another copy.
  enum class TWorkingFiles { OnDisk, InMemory };
  explicit TDataModule(TDialogs& dialogs, TWorkingFiles workingFiles = TWorkingFiles::OnDisk);
  TDataModule(const TDataModule&) = delete;
  TDataModule& operator=(const TDataModule&) = delete;

  // The creation handler: fixes the job file's path, removes the day-old
  // temporary files of killed copies from the folders this copy writes, and
  // opens the frequency table (which opens the type table on the first
  // frequency). Its errors go to the caller.
  void DataModuleCreate();

  // --- queries ---
  TQueryMode QueryMode = TQueryMode::None;
  void SetQueryValue(const std::string& text) { queryValue_ = text; }
  const std::string& QueryValue() const { return queryValue_; }
  void SetExactPartNumber(bool exact) { exactPartNumber_ = exact; }
  bool ExactPartNumber() const { return exactPartNumber_; }
  // Reopens the antenna table for QueryMode; true when it holds a row.
  bool QueryAntennas();
  // The same query for its rows alone: the option chain that follows the
  // current antenna is not run, so nothing is written and no other table
  // moves. For listing antennas without choosing one.
  bool QueryAntennaRows();
  // Whether the last query failed with an error (not merely found nothing).
  bool QueryFailed() const { return queryFailed_; }
  // How many antenna rows list `model` as written, read apart from the
  // current query (which keeps the first alone); 0 when the file cannot be read.
  int AntennaRowsListing(const std::string& model) const;
  // Added to the error box when the antenna file does not open: where the
  // user sets the catalogue folder. None by default.
  void SetCatalogueHint(const std::string& hint) { catalogueHint_ = hint; }
  // The shared catalogue folder for this run, in place of the registry's.
  void SetSharedFolder(const std::string& folder);
  // Whether the registry names no shared catalogue folder (a first start).
  bool CatalogueFolderUnset() const { return Antennas.Location().folderUnset; }
  // Keeps `folder` as this user's shared catalogue folder, where the
  // registry holds it, for this run and the next.
  void KeepCatalogueFolder(const std::string& folder);
  void FilterTypesByFreq();

  // --- read-outs of the current antenna ---
  std::string GetSelectedPartNum() const;
  void GetSpecValues(TNameValueList& list) const;
  void ShowAntennaImage();
  void ShowFlangeImage();
  void ShowRadomeImage();
  // The error box: the message quoted, then the context.
  void ShowError(const std::string& message, const std::string& context);

  // --- the options of the current antenna ---
  // The table of an option kind, and one of its rows read without moving
  // the table (a move runs the chain).
  TDelimitedTable& OptionTable(const schema::TOptionKind& kind);
  const TDelimitedTable& OptionTable(const schema::TOptionKind& kind) const;
  TOption OptionAt(const schema::TOptionKind& kind, int row) const;

  // --- the custom part number ---
  // Builds the quote of the current antenna and options. In the window's
  // way of working it also writes the part-number file and reads it back,
  // as other programs may read that file; a failure there leaves a quote
  // that was not built.
  void BuildPartNumber();
  // Reads the part-number file back for the current model (on disk).
  void ReopenPartNumber();
  // The quote built last for the current antenna; before any build for it,
  // one that was not built.
  const TQuote& CurrentQuote() const { return quote_; }
  // The part-number rows of the current quote: printout, clipboard, export.
  void GetPartNumberValues(TNameValueList& list) const;
  void CopyPartNumberToClipboard(TClipboard& clipboard) const;
  // True from the first part number built in this run on.
  bool PartNumberComplete() const { return partNumberComplete_; }
  // Called with each quote as it is built.
  std::function<void(const TQuote&)> OnQuoteChanged;

  // --- the job file ---
  const std::string& JobFileName() const { return jobFileName_; }
  // Hands the job file back at `path` (a real path) instead of beside the
  // program; set before DataModuleCreate, or from then on.
  void SetJobFileName(const std::string& path) { jobFileName_ = path; }
  // The current quote as the job file's one line item.
  void WriteJobFile();
  // A whole quote: one site with a line item for each part, in order.
  void WriteJobFile(const std::vector<TQuote>& parts);
  void DeleteJobFile();

  // The folder this copy writes its files in: the program folder, or the
  // user's working folder when the program folder is not the user's to
  // write. Fixed at its first use.
  const std::string& WritableFolder();

  // The main window's SyncOptionLists, the last step of the antenna chain.
  std::function<void()> OnSyncOptionLists;

  // Tables (named as their declarations in CatalogSchema.h name them), links
  // and picture loaders.
  TDelimitedTable FrequencyRanges;
  TDelimitedTable AntennaTypes;
  TDelimitedTable Antennas;
  TDelimitedTable Pricing;
  TDelimitedTable Flanges;
  TDelimitedTable FlangeSuffixes;
  TDelimitedTable RadomeOptions;
  TDelimitedTable PackingOptions;
  TDelimitedTable BuiltPartNumber;
  TDelimitedTable RadomePictures;

  TTableLink FrequencyRangesLink, AntennaTypesLink, AntennasLink, PricingLink, FlangesLink,
      FlangeSuffixesLink, RadomeOptionsLink, PackingOptionsLink, BuiltPartNumberLink;

  TPictureChooser AntennaImg, FlangeImg, RadomeImg;

 private:
  void ConfigureTables();
  // Whether the chain keeps its working files on disk (the window's way).
  bool OnDisk() const { return workingFiles_ == TWorkingFiles::OnDisk; }
  void LinkSources();

  void FrequencyRangeChanged(TField* field);
  void AntennaChanged(TField* field);
  void FlangeChanged(TField* field);

  void WriteFlangeFile();
  void WritePartNumberFile(const TQuoteSources& sources, const TQuote& quote);
  // The current rows the quote is made of, with the failures of their tables.
  TQuoteSources QuoteSources() const;
  TOption CurrentOption(const schema::TOptionKind& kind) const;
  // The price in `column` of record `row` (-1: none), with where it lies when
  // it cannot be read.
  TPrice PriceOf(const TDelimitedTable& table, const char* column, int row) const;
  // The line of the file that holds record `row` of `table`.
  long LineOf(const TDelimitedTable& table, int row) const;

  // Sets the filters of `link` on its table from the current rows it names.
  void SetLinkFilters(const TChainLink& link);
  // Closes the table of `link`, sets its filters and reopens it. A failure
  // is reported with the link's context.
  void Reopen(const TChainLink& link);

  // Runs `step`; any failure goes to `recover` with its message and no further.
  template <typename Step, typename Recover>
  void Guarded(Step step, Recover recover);

  TDialogs& dialogs_;
  TWorkingFiles workingFiles_;
  // Held while this copy writes a file of the data folder and reads it back,
  // so another copy working in the same folder cannot write between the two.
  TFileLock dataFolderLock_;
  std::string queryValue_;
  bool queryFailed_ = false;
  std::string catalogueHint_;
  bool exactPartNumber_ = false;
  bool partNumberComplete_ = false;
  TQuote quote_;
  // The failure of each chain table whose last open failed.
  std::map<const TDelimitedTable*, std::string> chainErrors_;
  // The lines found for unpriced rows, by file and row.
  mutable std::unordered_map<std::string, long> sourceLines_;
  std::string jobFileName_;
  std::string workingFolder_;
};

// A field's text of the table's current row; empty when the table is closed or empty.
std::string FieldText(const TDelimitedTable& table, const char* field);
