#pragma once
// The data module: every catalogue table, the links that tie them to the
// current antenna and options, the three picture loaders, the part-number
// builder and the job file. Moving the current row of a table runs its chain
// synchronously, inside the call that moved it.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "catalog/ChainLinks.h"
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

// Flags of QueryMode.
enum : uint8_t { qmAll = 1, qmFreqType = 2, qmPartNumber = 4 };

class TDataModule {
 public:
  // `dialogs` shows the error box; it must outlive the data module.
  explicit TDataModule(TDialogs& dialogs);
  TDataModule(const TDataModule&) = delete;
  TDataModule& operator=(const TDataModule&) = delete;

  // The creation handler: fixes the job file's path, removes the day-old
  // temporary files of killed copies from the folders this copy writes, and
  // opens the frequency table (which opens the type table on the first
  // frequency). Its errors go to the caller.
  void DataModuleCreate();

  // --- queries ---
  uint8_t QueryMode = 0;
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
  // Added to the error box when the antenna file does not open: where the
  // user sets the catalogue folder. None by default.
  void SetCatalogueHint(const std::string& hint) { catalogueHint_ = hint; }
  void FilterTypesByFreq();

  // --- read-outs of the current antenna ---
  std::string GetSelectedPartNum() const;
  void GetSpecValues(TNameValueList& list) const;
  void ShowAntennaImage();
  void ShowFlangeImage();
  void ShowRadomeImage();
  // The error box: the message quoted, then the context.
  void ShowError(const std::string& message, const std::string& context);

  // --- the custom part number ---
  void BuildPartNumber();
  void WritePartNumberFile();
  void ReopenPartNumber();
  std::string GetCustomPartNumber() const;
  std::string GetCustomDescription() const;
  std::string GetCustomPrice() const;
  void GetPartNumberValues(TNameValueList& list) const;
  void CopyPartNumberToClipboard(TClipboard& clipboard) const;
  bool PartNumberComplete() const { return partNumberComplete_; }

  // --- the job file ---
  // One line item of a site: what the job file says of one built part.
  struct TLOMItem {
    std::string model, partNumber, description, price;
  };
  const std::string& LOMFileName() const { return lomFileName_; }
  // Hands the job file back at `path` (a real path) instead, from now on.
  void SetLOMFileName(const std::string& path) { lomFileName_ = path; }
  // The current part number as the job file's one line item.
  void WriteLOMFile();
  // A whole quote: one site with a line item each, in order.
  void WriteLOMFile(const std::vector<TLOMItem>& items);
  TLOMItem CurrentLOMItem() const;
  void DeleteLOMFile();

  // The folder this copy writes its files in: the program folder, or the
  // user's working folder when the program folder is not the user's to
  // write. Fixed at its first use.
  const std::string& WritableFolder();
  // The lock of the working folder's files. A run of many builds holds it
  // throughout, so another copy's builds wait for the whole run rather than
  // racing it build by build.
  TFileLock& WorkingFolderLock() { return dataFolderLock_; }

  // The main window's SyncOptionLists, the last step of the antenna chain.
  std::function<void()> OnSyncOptionLists;

  // Tables, links and picture loaders.
  TDelimitedTable FreqData{"FreqData"};
  TDelimitedTable TypeData{"TypeData"};
  TDelimitedTable AntData{"AntData"};
  TDelimitedTable LOMData{"LOMData"};
  TDelimitedTable FlangeData{"FlangeData"};
  TDelimitedTable FlangeSuffixData{"FlangeSuffixData"};
  TDelimitedTable RadomeData{"RadomeData"};
  TDelimitedTable PackData{"PackData"};
  TDelimitedTable pnbData{"pnbData"};
  TDelimitedTable RadomeImgData{"RadomeImgData"};

  TTableLink dsFreqData, dsType, dsAntData, dsLOM, dsFlangeData, dsFlangSuffixData, dsRadomeData,
      dsPackData, dspnb;

  TPictureChooser AntennaImg, FlangeImg, RadomeImg;

 private:
  void ConfigureTables();
  void LinkSources();

  void dsFreqDataDataChange(TField* field);
  void dsAntDataDataChange(TField* field);
  void dsFlangeDataDataChange(TField* field);

  void WriteFlangeFile();

  // Sets the filters of `link` on its table from the current rows it names.
  void SetLinkFilters(const TChainLink& link);
  // Closes the table of `link`, sets its filters and reopens it. A failure
  // is reported with the link's context.
  void Reopen(const TChainLink& link);

  // Runs `step`; any failure goes to `recover` with its message and no further.
  template <typename Step, typename Recover>
  void Guarded(Step step, Recover recover);

  TDialogs& dialogs_;
  // Held while this copy writes a file of the data folder and reads it back,
  // so another copy working in the same folder cannot write between the two.
  TFileLock dataFolderLock_;
  std::string queryValue_;
  bool queryFailed_ = false;
  std::string catalogueHint_;
  bool exactPartNumber_ = false;
  bool partNumberComplete_ = false;
  std::string lomFileName_;
  std::string workingFolder_;
};

// A field's text of the table's current row; empty when the table is closed or empty.
std::string FieldText(const TDelimitedTable& table, const char* field);
