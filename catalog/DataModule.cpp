#include "catalog/DataModule.h"

#include <cmath>
#include <exception>
#include <filesystem>
#include <functional>
#include <system_error>
#include <utility>

#include "catalog/JobFile.h"
#include "platform/Error.h"
#include "platform/Locale.h"
#include "platform/NativeFile.h"
#include "platform/PathResolver.h"
#include "platform/ProgramFolder.h"
#include "platform/SafeFileWrite.h"
#include "platform/WorkingFileWrite.h"
#include "platform/WorkingFolder.h"

namespace {

void Declare(TDelimitedTable& table, const char* file, TPathMode mode, const char* path,
             int skipRow, bool filtered, TDataInstance instance, TFilterOption option,
             std::initializer_list<const char*> columns) {
  table.SetFileName(file);
  table.SetPathMode(mode);
  table.SetPath(path);
  table.SetSkipRow(skipRow);
  table.SetFiltered(filtered);
  table.SetDataInstance(instance);
  table.SetFilterOption(option);
  for (const char* column : columns)
    table.AddField(column);
}

void SetSharedFolder(TDelimitedTable& table) {
  table.RegistryOptions() = kSharedCatalogueFolder;
}

std::string QuoteDoubled(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted + "'";
}

// Writes a working file the chain reads back at once. Under the folder's
// lock no other copy reads it in between, so it is rewritten where it
// stands; otherwise it is replaced whole, so a reader never sees half a file.
void WriteLines(const std::string& path, const std::vector<std::string>& lines,
                const TFileLock& lock) {
  std::string bytes;
  for (const std::string& line : lines)
    bytes += line + "\r\n";
  if (!lock.HeldOnFile() || !RewriteInPlace(path, bytes)) WriteFileAtomically(path, bytes);
}

}  // namespace

std::string FieldText(const TDelimitedTable& table, const char* field) {
  return table.FieldByName(field)->AsString();
}

TDataModule::TDataModule(TDialogs& dialogs)
    : dialogs_(dialogs),
      dataFolderLock_([this] { return LayoutPath(WritableFolder(), "data\\kav_pnb.lock"); }) {
  ConfigureTables();
  LinkSources();
}

void TDataModule::ConfigureTables() {
  Declare(FreqData, "MWFreq.dat", pmLocalPath, "data\\", 0, false, diMulti, foDefaultCompare,
          {"Freq"});
  Declare(TypeData, "MWAntTypes.dat", pmLocalPath, "data\\", 0, true, diMulti, foDefaultCompare,
          {"Freq", "Prefix"});
  Declare(AntData, "MWAnts.dat", pmRegistryPath, "C:\\Program Files\\Ostrel\\Common Files\\", 1,
          true, diMulti, foDefaultCompare,
          {"Freq",        "Flange",  "ID",         "PSI_MAX",       "Misc",        "Size_FT",
           "BegFreq",     "CURRENT", "OldPartNum", "PartNum",       "RPE",         "ETSI_GAIN",
           "FCC74",       "FCC78",   "FCC101",     "ETSI_CLASS",    "Gain_Low",    "Gain_Med",
           "Gain_High",   "BW_H",    "BW_V",       "X_pol",         "F_B",         "VSWR",
           "Return_Loss", "Type",    "Group",      "Diameter_Ft_M", "Polarization"});
  SetSharedFolder(AntData);
  Declare(LOMData, "M_LOM.dat", pmRegistryPath, "", 1, true, diSingle, foDefaultCompare,
          {"BegFreq", "EndingFreq", "PartNo", "GraphicFile", "Desc", "USPrice"});
  SetSharedFolder(LOMData);
  Declare(FlangeData, "AntFlanges.dat", pmLocalPath, "data\\", 0, true, diMulti, foDefaultCompare,
          {"Antenna", "Flange"});
  Declare(FlangeSuffixData, "flng_list.dat", pmLocalPath, "data\\", 0, true, diSingle,
          foDelimitedCompare, {"AntennaGroup", "Flange", "Suffix"});
  Declare(RadomeData, "radome_List.dat", pmLocalPath, "data\\", 0, true, diMulti,
          foDelimitedCompare,
          {"Antenna_Type", "Antenna_Size", "Radome_Suffix", "Price_Upgrade", "Radome_Desc"});
  Declare(
      PackData, "pack_list.dat", pmLocalPath, "data\\", 0, true, diMulti, foDelimitedCompare,
      {"Antenna_Size", "Antenna_Group", "DefaultPackSuffix", "Pack_Suffix", "Price", "Pack_Desc"});
  Declare(pnbData, "pnb.dat", pmLocalPath, "data\\", 0, true, diSingle, foDefaultCompare,
          {"PartNum", "CustPartNum", "CustDesc", "CustPrice"});
  Declare(RadomeImgData, "radome_img.dat", pmLocalPath, "Data\\", 0, true, diSingle,
          foDelimitedCompare, {"AntennaGroup", "Suffix", "Image"});

  AntennaImg.ImagePath = "Images/";
  AntennaImg.ImageWidth = AntennaImg.ImageHeight = 100;
  FlangeImg.ImageDataFile = "flng_img.dat";
  FlangeImg.ImageDataPath = "data\\";
  FlangeImg.ImagePath = "images\\";
  FlangeImg.ImageIndex = 1;
  FlangeImg.ImageWidth = 136;
  FlangeImg.ImageHeight = 96;
  RadomeImg.ImagePath = "Images\\";
  RadomeImg.ImageIndex = 2;
  RadomeImg.ImageWidth = 121;
  RadomeImg.ImageHeight = 120;
}

void TDataModule::LinkSources() {
  dsFreqData.SetDataSet(&FreqData);
  dsType.SetDataSet(&TypeData);
  dsAntData.SetDataSet(&AntData);
  dsLOM.SetDataSet(&LOMData);
  dsFlangeData.SetDataSet(&FlangeData);
  dsFlangSuffixData.SetDataSet(&FlangeSuffixData);
  dsRadomeData.SetDataSet(&RadomeData);
  dsPackData.SetDataSet(&PackData);
  dspnb.SetDataSet(&pnbData);
  dsFreqData.OnDataChange = [this](TField* f) { dsFreqDataDataChange(f); };
  dsAntData.OnDataChange = [this](TField* f) { dsAntDataDataChange(f); };
  dsFlangeData.OnDataChange = [this](TField* f) { dsFlangeDataDataChange(f); };
  dsRadomeData.OnDataChange = [this](TField*) { BuildPartNumber(); };
  dsPackData.OnDataChange = [this](TField*) { BuildPartNumber(); };
}

const std::string& TDataModule::WritableFolder() {
  if (workingFolder_.empty()) {
    workingFolder_ = WorkingFolder();
    // An installed program's own files live in the user's working folder:
    // the tables that read them back read them there.
    if (workingFolder_ != ProgramFolder())
      for (TDelimitedTable* table : {&FlangeData, &pnbData}) {
        table->SetFileName(LayoutPath(workingFolder_, "data/" + table->FileName()));
        table->SetPath("");
      }
  }
  return workingFolder_;
}

void TDataModule::DataModuleCreate() {
  // The job file's name first: Finish and Cancel need it even when the
  // catalogue fails to open.
  lomFileName_ = WritableFolder() + "kav_pnb.lom";
  // A copy killed in the middle of a write left its temporary file behind.
  RemoveStaleTemporaryFiles(WritableFolder());
  RemoveStaleTemporaryFiles(LayoutPath(WritableFolder(), "data/"));
  FreqData.Open();
}

template <typename Step, typename Recover>
void TDataModule::Guarded(Step step, Recover recover) {
  try {
    step();
  } catch (const std::exception& error) {
    recover(error.what());
  }
}

void TDataModule::ShowError(const std::string& message, const std::string& context) {
  dialogs_.ShowErrorBox("The following error was encountered:\r" + QuoteDoubled(message) + "\r\n" +
                        context);
}

// ---------------------------------------------------------------- queries

bool TDataModule::QueryAntennas() {
  bool found = false;
  queryFailed_ = false;
  Guarded(
      [&] {
        AntData.Close();
        AntData.Filters().Clear();
        if (QueryMode & qmAll) {
          AntData.SetDataInstance(diMulti);
          AntData.SetFilterOption(foDefaultCompare);
        } else if (QueryMode & qmFreqType) {
          SetLinkFilters(chain::kAntennasOfRangeAndType);
          AntData.SetDataInstance(diMulti);
          AntData.SetFilterOption(foDefaultCompare);
        } else if (QueryMode & qmPartNumber) {
          if (exactPartNumber_) {
            AntData.Filters().SetValue(chain::kModelNumber, queryValue_);
            AntData.SetDataInstance(diSingle);
            AntData.SetFilterOption(foDefaultCompare);
          } else {
            AntData.Filters().SetValue(chain::kModelNumber, queryValue_ + "*");
            AntData.SetDataInstance(diMulti);
            AntData.SetFilterOption(foPartialCompare);
          }
        } else {
          return;  // no query chosen: nothing opens, nothing is said
        }
        AntData.Open();
        if (AntData.IsEmpty()) {
          AntData.Close();
          LOMData.Close();
          AntennaImg.Clear();  // no antenna: no picture of the one before
          ShowError("The model number: " + queryValue_ + " was not found", "");
          return;
        }
        found = true;
      },
      [&](const std::string& message) {
        AntData.Close();
        LOMData.Close();
        AntennaImg.Clear();
        queryFailed_ = true;
        // The antenna file that does not open is most often a catalogue
        // folder set wrong: say where it is set.
        std::string context = chain::kAntennasOfRangeAndType.context;
        if (!catalogueHint_.empty() && message.find(AntData.FileName()) != std::string::npos)
          context += "\r\n\r\n" + catalogueHint_;
        ShowError(message, context);
      });
  return found;
}

bool TDataModule::QueryAntennaRows() {
  struct TChainAside {
    TTableLink& source;
    std::function<void(TField*)> chain = std::exchange(source.OnDataChange, nullptr);
    ~TChainAside() { source.OnDataChange = std::move(chain); }
  } aside{dsAntData};
  return QueryAntennas();
}

void TDataModule::FilterTypesByFreq() {
  TypeData.Close();
  SetLinkFilters(chain::kTypesOfRange);
  TypeData.Open();
}

void TDataModule::dsFreqDataDataChange(TField*) {
  FilterTypesByFreq();
}

// ---------------------------------------------------------------- antenna chain

void TDataModule::dsAntDataDataChange(TField*) {
  Reopen(chain::kPricing);
  {
    TFileLock::TScope lock(dataFolderLock_);
    WriteFlangeFile();
    Reopen(chain::kFlanges);
  }
  Reopen(chain::kRadomes);
  Reopen(chain::kPacks);
  ShowAntennaImage();
  if (OnSyncOptionLists) OnSyncOptionLists();
}

void TDataModule::SetLinkFilters(const TChainLink& link) {
  for (const TChainFilter& filter : link.filters)
    (this->*link.table)
        .Filters()
        .SetValue(filter.column, FieldText(this->*filter.from, filter.field));
}

void TDataModule::Reopen(const TChainLink& link) {
  TDelimitedTable& table = this->*link.table;
  Guarded(
      [&] {
        table.Close();
        SetLinkFilters(link);
        table.Open();
      },
      [&](const std::string& message) {
        if (link.closeBeforeReport) table.Close();
        ShowError(message, link.context);
        table.Close();
      });
}

void TDataModule::WriteFlangeFile() {
  const std::string model = FieldText(AntData, "PartNum");
  TDelimitedList flanges(",");
  flanges.SplitText(FieldText(AntData, "Flange"));
  std::vector<std::string> lines = {"Antenna|Flange"};
  for (const std::string& flange : flanges.Items())
    lines.push_back(model + "|" + flange);
  WriteLines(LayoutPath(WritableFolder(), "Data\\AntFlanges.dat"), lines, dataFolderLock_);
}

void TDataModule::dsFlangeDataDataChange(TField*) {
  Reopen(chain::kFlangeSuffix);
  BuildPartNumber();
}

// ---------------------------------------------------------------- pictures

void TDataModule::ShowAntennaImage() {
  AntennaImg.ImageFile = FieldText(LOMData, "GraphicFile") + ".gif";
  AntennaImg.LoadImage();
}

void TDataModule::ShowFlangeImage() {
  FlangeImg.Filters.Clear();
  for (const TChainFilter& filter : chain::kFlangePicture)
    FlangeImg.Filters.SetValue(filter.column, FieldText(this->*filter.from, filter.field));
  FlangeImg.LoadImage();
}

void TDataModule::ShowRadomeImage() {
  Guarded(
      [&] {
        RadomeImgData.Close();
        RadomeImgData.Filters().Clear();
        SetLinkFilters(chain::kRadomePictures);
        RadomeImgData.Open();
        RadomeImg.ImageFile = FieldText(RadomeImgData, "Image");
        RadomeImg.LoadImage();
        RadomeImgData.Close();
      },
      [&](const std::string& message) {
        ShowError(message, chain::kRadomePictures.context);
        RadomeImgData.Close();
      });
}

// ---------------------------------------------------------------- read-outs

std::string TDataModule::GetSelectedPartNum() const {
  return FieldText(AntData, "PartNum");
}

void TDataModule::GetSpecValues(TNameValueList& list) const {
  static const std::pair<const char*, const char*> kEntries[] = {
      {"Type Number", "PartNum"},
      {"Antenna Inputs", "Flange"},
      {"Diameter ft", "Size_FT"},
      {"RPE", "RPE"},
      {"U.S. FCC 101", "FCC101"},
      {"U.S. FCC 74", "FCC74"},
      {"U.S. FCC 78", "FCC78"},
      {"ETSI Class", "ETSI_CLASS"},
      {"ETSI Gain", "ETSI_GAIN"},
      {"Gain(dbi), Low ", "Gain_Low"},
      {"Gain(dbi), Mid ", "Gain_Med"},
      {"Gain(dbi), Top ", "Gain_High"},
      {"Beamwidth Deg.", "BW_H"},
      {"Cross Pol. Disc. (db)", "X_pol"},
      {"F/B Ratio (db)", "F_B"},
      {"VSWR Max", "VSWR"},
      {"Return Loss (dB)", "Return_Loss"},
  };
  for (const auto& [name, column] : kEntries)
    list.SetValue(name, FieldText(AntData, column));
}

// ---------------------------------------------------------------- part number

std::string TDataModule::GetCustomPartNumber() const {
  return GetSelectedPartNum() + "-" + FieldText(FlangeSuffixData, "Suffix") +
         FieldText(RadomeData, "Radome_Suffix") + FieldText(PackData, "Pack_Suffix");
}

std::string TDataModule::GetCustomDescription() const {
  return FieldText(LOMData, "Desc") + ", " + FieldText(FlangeData, "Flange") + " flange, " +
         FieldText(RadomeData, "Radome_Desc") + ", " + FieldText(PackData, "Pack_Desc");
}

std::string TDataModule::GetCustomPrice() const {
  try {
    double sum = 0;
    for (const std::string& text :
         {FieldText(LOMData, "USPrice"), FieldText(RadomeData, "Price_Upgrade"),
          FieldText(PackData, "Price")}) {
      double value = 0;
      if (!TryStrToPrice(text, value)) return "0.00";
      sum += value;
    }
    if (!std::isfinite(sum)) return "0.00";
    return FloatToStr(sum);
  } catch (const std::exception&) {
    return "0.00";
  }
}

void TDataModule::WritePartNumberFile() {
  const std::string model = GetSelectedPartNum();
  const std::string partNumber = GetCustomPartNumber();
  const std::string description = GetCustomDescription();
  const std::string price = GetCustomPrice();
  WriteLines(LayoutPath(WritableFolder(), "Data\\pnb.dat"),
             {"PartNum|CustPartNum|CustDesc|CustPrice",
              model + "|" + partNumber + "|" + description + "|" + price},
             dataFolderLock_);
}

void TDataModule::ReopenPartNumber() {
  pnbData.Close();
  pnbData.Filters().SetValue("PartNum", GetSelectedPartNum());
  pnbData.Open();
}

void TDataModule::BuildPartNumber() {
  Guarded(
      [&] {
        TFileLock::TScope lock(dataFolderLock_);
        WritePartNumberFile();
        ReopenPartNumber();
        // The file holds the row just written unless something replaced it
        // between the write and the read: never hand back a blank part number.
        if (pnbData.IsEmpty())
          throw EKavError("pnb.dat holds no part number for " + GetSelectedPartNum());
        partNumberComplete_ = true;
      },
      [&](const std::string& message) {
        pnbData.Close();
        ShowError(message, "building part number");
      });
}

void TDataModule::GetPartNumberValues(TNameValueList& list) const {
  list.SetValue("Base Part Number", FieldText(AntData, "PartNum"));
  list.SetValue("Custom Part Number", FieldText(pnbData, "CustPartNum"));
  list.SetValue("Custom Description", FieldText(pnbData, "CustDesc"));
  list.SetValue("Custom Price", "$" + FieldText(pnbData, "CustPrice"));
}

void TDataModule::CopyPartNumberToClipboard(TClipboard& clipboard) const {
  TNameValueList list;
  GetPartNumberValues(list);
  clipboard.Clear();
  clipboard.SetText(list.Text());
}

// ---------------------------------------------------------------- job file

void TDataModule::DeleteLOMFile() {
  std::error_code ignored;  // a failed deletion is not examined
  if (FileExists(lomFileName_))
    std::filesystem::remove(native::Path(ResolvePath(lomFileName_)), ignored);
}

TDataModule::TLOMItem TDataModule::CurrentLOMItem() const {
  return {GetSelectedPartNum(), FieldText(pnbData, "CustPartNum"), FieldText(pnbData, "CustDesc"),
          FieldText(pnbData, "CustPrice")};
}

void TDataModule::WriteLOMFile() {
  WriteLOMFile({CurrentLOMItem()});
}

void TDataModule::WriteLOMFile(const std::vector<TLOMItem>& items) {
  DeleteLOMFile();
  TJobFile file(ResolvePath(lomFileName_));
  file.Header.SetCompanyName("");
  file.Header.SetAuthor("");
  file.Header.SetDate("");
  file.Header.SetJobNumber("");
  file.Header.SetProposalNumber("");
  file.Header.SetFileName("");
  file.Header.SetFilePath("");
  file.Site.NewSite();
  file.Site.SetSiteName("");
  file.Site.SetSiteNumber("1");
  file.Site.SetShipToCity("");
  file.Site.SetShipToStateProvince("");
  file.Site.SetShipToCountry("");
  for (const TLOMItem& item : items)
    file.Site.AddLine("1", "each", item.model, item.partNumber, item.description, item.price);
  file.Flush();
}
