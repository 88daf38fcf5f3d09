#include "catalog/DataModule.h"

#include <cmath>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <system_error>
#include <utility>

#include "catalog/AntennaGrid.h"
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

void Declare(TDelimitedTable& table, const TTableDeclaration& declared) {
  table.SetName(declared.name);
  table.SetFileName(declared.file);
  table.SetPathMode(declared.folder);
  table.SetPath(declared.path);
  table.SetSkipRow(declared.skipRow);
  table.SetFiltered(declared.filtered);
  table.SetDataInstance(declared.instance);
  table.SetFilterOption(declared.compare);
  for (const TColumnDeclaration& column : declared.columns)
    table.AddField(column.name);
}

void UseSharedFolder(TDelimitedTable& table) {
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
std::string LinesText(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines)
    bytes += line + "\r\n";
  return bytes;
}

void WriteLines(const std::string& path, const std::vector<std::string>& lines,
                const TFileLock& lock) {
  const std::string bytes = LinesText(lines);
  if (!lock.HeldOnFile() || !RewriteInPlace(path, bytes)) WriteFileAtomically(path, bytes);
}

}  // namespace

std::string FieldText(const TDelimitedTable& table, const char* field) {
  return table.FieldByName(field)->AsString();
}

TDataModule::TDataModule(TDialogs& dialogs, TWorkingFiles workingFiles)
    : dialogs_(dialogs),
      workingFiles_(workingFiles),
      dataFolderLock_([this] { return LayoutPath(WritableFolder(), "data\\kav_pnb.lock"); }) {
  ConfigureTables();
  LinkSources();
}

void TDataModule::ConfigureTables() {
  Declare(FrequencyRanges, schema::kFrequencyRanges);
  Declare(AntennaTypes, schema::kAntennaTypes);
  Declare(Antennas, schema::kAntennas);
  UseSharedFolder(Antennas);
  Declare(Pricing, schema::kPricing);
  UseSharedFolder(Pricing);
  Declare(Flanges, schema::kFlanges);
  Declare(FlangeSuffixes, schema::kFlangeSuffixes);
  Declare(RadomeOptions, schema::kRadomeOptions);
  Declare(PackingOptions, schema::kPackingOptions);
  Declare(BuiltPartNumber, schema::kBuiltPartNumber);
  Declare(RadomePictures, schema::kRadomePictures);

  AntennaImg.ImagePath = "Images/";
  AntennaImg.ImageWidth = AntennaImg.ImageHeight = 100;
  FlangeImg.ImageDataFile = schema::kFlangePictureFile;
  FlangeImg.ImageDataPath = "data\\";
  FlangeImg.ImagePath = "images\\";
  FlangeImg.ImageIndex = schema::kFlangePictureCell;
  FlangeImg.ImageWidth = 136;
  FlangeImg.ImageHeight = 96;
  RadomeImg.ImagePath = "Images\\";
  RadomeImg.ImageIndex = 2;
  RadomeImg.ImageWidth = 121;
  RadomeImg.ImageHeight = 120;
}

void TDataModule::LinkSources() {
  FrequencyRangesLink.SetDataSet(&FrequencyRanges);
  AntennaTypesLink.SetDataSet(&AntennaTypes);
  AntennasLink.SetDataSet(&Antennas);
  PricingLink.SetDataSet(&Pricing);
  FlangesLink.SetDataSet(&Flanges);
  FlangeSuffixesLink.SetDataSet(&FlangeSuffixes);
  RadomeOptionsLink.SetDataSet(&RadomeOptions);
  PackingOptionsLink.SetDataSet(&PackingOptions);
  BuiltPartNumberLink.SetDataSet(&BuiltPartNumber);
  FrequencyRangesLink.OnDataChange = [this](TField* f) { FrequencyRangeChanged(f); };
  AntennasLink.OnDataChange = [this](TField* f) { AntennaChanged(f); };
  FlangesLink.OnDataChange = [this](TField* f) { FlangeChanged(f); };
  RadomeOptionsLink.OnDataChange = [this](TField*) { BuildPartNumber(); };
  PackingOptionsLink.OnDataChange = [this](TField*) { BuildPartNumber(); };
}

const std::string& TDataModule::WritableFolder() {
  if (workingFolder_.empty()) {
    workingFolder_ = WorkingFolder();
    // An installed program's own files live in the user's working folder:
    // the tables that read them back read them there.
    if (workingFolder_ != ProgramFolder())
      for (TDelimitedTable* table : {&Flanges, &BuiltPartNumber}) {
        table->SetFileName(LayoutPath(workingFolder_, "data/" + table->FileName()));
        table->SetPath("");
      }
  }
  return workingFolder_;
}

void TDataModule::DataModuleCreate() {
  // The job file's name first: Finish and Cancel need it even when the
  // catalogue fails to open.
  if (jobFileName_.empty()) jobFileName_ = WritableFolder() + "kav_pnb.lom";
  // A copy killed in the middle of a write left its temporary file behind.
  if (OnDisk()) {
    RemoveStaleTemporaryFiles(WritableFolder());
    RemoveStaleTemporaryFiles(LayoutPath(WritableFolder(), "data/"));
  }
  FrequencyRanges.Open();
}

template <typename Step, typename Recover>
void TDataModule::Guarded(Step step, Recover recover) {
  try {
    step();
  } catch (const std::exception& error) {
    recover(error.what());
  }
}

void TDataModule::SetSharedFolder(const std::string& folder) {
  Antennas.SetGivenFolder(folder);
  Pricing.SetGivenFolder(folder);
}

int TDataModule::AntennaRowsListing(const std::string& model) const {
  try {
    TDelimitedTable rows;
    Declare(rows, schema::kAntennas);
    rows.SetGivenFolder(Antennas.Location().folder);
    rows.Filters().SetValue(chain::kModelNumber, model);
    rows.SetDataInstance(TDataInstance::AllMatches);
    rows.SetFilterOption(TFilterOption::Exact);
    rows.Open();
    return rows.RecordCount();
  } catch (const std::exception&) {
    return 0;  // the query that read it first has said why
  }
}

void TDataModule::KeepCatalogueFolder(const std::string& folder) {
  // Both shared tables read the same value.
  const TRegistryOptions& where = Antennas.RegistryOptions();
  CurrentUserRegistry().WriteString(where.Key, where.Section, where.Value, folder);
}

void TDataModule::ShowError(const std::string& message, const std::string& context) {
  dialogs_.ShowError(
      message, "The following error was encountered:\r" + QuoteDoubled(message) + "\r\n" + context);
}

// ---------------------------------------------------------------- queries

bool TDataModule::QueryAntennas() {
  bool found = false;
  queryFailed_ = false;
  Guarded(
      [&] {
        Antennas.Close();
        Antennas.Filters().Clear();
        if (QueryMode == TQueryMode::All) {
          Antennas.SetDataInstance(TDataInstance::AllMatches);
          Antennas.SetFilterOption(TFilterOption::Exact);
        } else if (QueryMode == TQueryMode::RangeAndType) {
          SetLinkFilters(chain::kAntennasOfRangeAndType);
          Antennas.SetDataInstance(TDataInstance::AllMatches);
          Antennas.SetFilterOption(TFilterOption::Exact);
        } else if (QueryMode == TQueryMode::ModelNumber) {
          if (exactPartNumber_) {
            Antennas.Filters().SetValue(chain::kModelNumber, queryValue_);
            Antennas.SetDataInstance(TDataInstance::FirstMatch);
            Antennas.SetFilterOption(TFilterOption::Exact);
          } else {
            Antennas.Filters().SetValue(chain::kModelNumber, queryValue_ + "*");
            Antennas.SetDataInstance(TDataInstance::AllMatches);
            Antennas.SetFilterOption(TFilterOption::Wildcard);
          }
        } else {
          return;  // no query chosen: nothing opens, nothing is said
        }
        Antennas.Open();
        if (Antennas.IsEmpty()) {
          Antennas.Close();
          Pricing.Close();
          AntennaImg.Clear();  // no antenna: no picture of the one before
          ShowError("The model number: " + queryValue_ + " was not found", "");
          return;
        }
        found = true;
      },
      [&](const std::string& message) {
        Antennas.Close();
        Pricing.Close();
        AntennaImg.Clear();
        queryFailed_ = true;
        // The antenna file that does not open is most often a catalogue
        // folder set wrong: say where it is set.
        std::string context = chain::kAntennasOfRangeAndType.context;
        if (!catalogueHint_.empty() && message.find(Antennas.FileName()) != std::string::npos)
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
  } aside{AntennasLink};
  return QueryAntennas();
}

void TDataModule::FilterTypesByFreq() {
  AntennaTypes.Close();
  SetLinkFilters(chain::kTypesOfRange);
  AntennaTypes.Open();
}

void TDataModule::FrequencyRangeChanged(TField*) {
  FilterTypesByFreq();
}

// ---------------------------------------------------------------- antenna chain

void TDataModule::AntennaChanged(TField*) {
  // Nothing of the antenna before is this one's quote, built or not.
  quote_ = TQuote{};
  quote_.model = GetSelectedPartNum();
  Reopen(chain::kPricing);
  {
    // On disk, no other copy writes the flange file between its write and its read.
    std::optional<TFileLock::TScope> lock;
    if (OnDisk()) lock.emplace(dataFolderLock_);
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
        chainErrors_.erase(&table);
      },
      [&](const std::string& message) {
        chainErrors_[&table] = message;
        if (link.closeBeforeReport) table.Close();
        ShowError(message, link.context);
        table.Close();
      });
}

void TDataModule::WriteFlangeFile() {
  const std::string model = FieldText(Antennas, schema::antenna::kModel);
  TDelimitedList flanges(",");
  flanges.SplitText(FieldText(Antennas, schema::antenna::kFlanges));
  std::vector<std::string> lines = {"Antenna|Flange"};
  for (const std::string& flange : flanges.Items())
    lines.push_back(model + "|" + flange);
  if (!OnDisk()) {
    // The same bytes the file would hold, read by the same rules.
    Flanges.SetContent(LinesText(lines));
    return;
  }
  WriteLines(LayoutPath(WritableFolder(), "Data\\AntFlanges.dat"), lines, dataFolderLock_);
}

void TDataModule::FlangeChanged(TField*) {
  Reopen(chain::kFlangeSuffix);
  BuildPartNumber();
}

// ---------------------------------------------------------------- pictures

void TDataModule::ShowAntennaImage() {
  AntennaImg.ImageFile = FieldText(Pricing, schema::pricing::kPicture) + ".gif";
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
        RadomePictures.Close();
        RadomePictures.Filters().Clear();
        SetLinkFilters(chain::kRadomePictures);
        RadomePictures.Open();
        RadomeImg.ImageFile = FieldText(RadomePictures, schema::radomePicture::kPicture);
        RadomeImg.LoadImage();
        RadomePictures.Close();
      },
      [&](const std::string& message) {
        ShowError(message, chain::kRadomePictures.context);
        RadomePictures.Close();
      });
}

// ---------------------------------------------------------------- read-outs

std::string TDataModule::GetSelectedPartNum() const {
  return FieldText(Antennas, schema::antenna::kModel);
}

void TDataModule::GetSpecValues(TNameValueList& list) const {
  for (const TSpecEntry& entry : kSpecSheetEntries)
    list.SetValue(entry.name, FieldText(Antennas, entry.column));
}

// ---------------------------------------------------------------- part number

TPrice TDataModule::PriceOf(const TDelimitedTable& table, const char* column, int row) const {
  const bool there = table.Active() && row >= 0 && row < table.RecordCount();
  TPrice price;
  try {
    price = ReadPrice(there ? table.CellText(row, table.FieldByName(column)->Index()) : "");
  } catch (const std::exception& error) {
    return {std::nullopt, table.FileName() + ", " + column + ": " + error.what(), {}};
  }
  if (price.value) return price;
  if (!there) {
    price.problem = table.FileName() + " has no row for this part";
  } else {
    // Only the headless tool tells where (its callers fix catalogues); the
    // window, which shows "0.00", never reads the file again for it.
    const long line = OnDisk() ? 0 : LineOf(table, row);
    price.problem = table.FileName() + (line > 0 ? " line " + std::to_string(line) : "") + ", " +
                    column + ": " + price.problem;
  }
  return price;
}

long TDataModule::LineOf(const TDelimitedTable& table, int row) const {
  // The same unpriced row comes back with every build of its part: its file
  // is searched once.
  std::string key = table.FileName() + '\n';
  for (const std::string_view cell : table.RowCells(row))
    key.append(cell).append(1, '|');
  const auto [known, fresh] = sourceLines_.try_emplace(key, 0);
  if (fresh) known->second = table.SourceLine(row);
  return known->second;
}

TDelimitedTable& TDataModule::OptionTable(const schema::TOptionKind& kind) {
  return const_cast<TDelimitedTable&>(std::as_const(*this).OptionTable(kind));
}

const TDelimitedTable& TDataModule::OptionTable(const schema::TOptionKind& kind) const {
  if (kind.table == &schema::kRadomeOptions) return RadomeOptions;
  if (kind.table == &schema::kPackingOptions) return PackingOptions;
  return Flanges;
}

TOption TDataModule::OptionAt(const schema::TOptionKind& kind, int row) const {
  const TDelimitedTable& table = OptionTable(kind);
  auto cell = [&](const char* column) {
    return table.Active() && row >= 0 && row < table.RecordCount()
               ? table.CellText(row, table.FieldByName(column)->Index())
               : std::string();
  };
  TOption option{cell(kind.code), cell(kind.description)};
  if (kind.price != nullptr) option.price = PriceOf(table, kind.price, row);
  return option;
}

TOption TDataModule::CurrentOption(const schema::TOptionKind& kind) const {
  const TDelimitedTable& table = OptionTable(kind);
  return OptionAt(kind, table.Active() && !table.IsEmpty() ? table.CurrentRow() : -1);
}

TQuoteSources TDataModule::QuoteSources() const {
  TQuoteSources sources;
  sources.model = GetSelectedPartNum();
  sources.antennaDescription = FieldText(Pricing, schema::pricing::kDescription);
  sources.listPrice = PriceOf(Pricing, schema::pricing::kPrice,
                              Pricing.Active() && !Pricing.IsEmpty() ? Pricing.CurrentRow() : -1);
  sources.flange = CurrentOption(schema::kFlangeOption).code;
  sources.flangeSuffix = FieldText(FlangeSuffixes, schema::flangeSuffix::kSuffix);
  sources.radome = CurrentOption(schema::kRadomeOption);
  sources.pack = CurrentOption(schema::kPackOption);
  // A table that failed to open gave the quote nothing: the quote says so.
  for (const TDelimitedTable* table :
       {&Pricing, &Flanges, &FlangeSuffixes, &RadomeOptions, &PackingOptions}) {
    const auto failed = chainErrors_.find(table);
    if (failed != chainErrors_.end()) sources.errors.push_back(failed->second);
  }
  return sources;
}

void TDataModule::WritePartNumberFile(const TQuoteSources& sources, const TQuote& quote) {
  // The file keeps the composed texts as they are, blanks and all.
  WriteLines(LayoutPath(WritableFolder(), "Data\\pnb.dat"),
             {"PartNum|CustPartNum|CustDesc|CustPrice",
              sources.model + "|" + ComposedPartNumber(sources) + "|" +
                  ComposedDescription(sources) + "|" + quote.PriceText()},
             dataFolderLock_);
}

void TDataModule::ReopenPartNumber() {
  BuiltPartNumber.Close();
  BuiltPartNumber.Filters().SetValue(schema::builtPartNumber::kModel, GetSelectedPartNum());
  BuiltPartNumber.Open();
}

void TDataModule::BuildPartNumber() {
  TQuote quote;
  Guarded(
      [&] {
        const TQuoteSources sources = QuoteSources();
        quote = BuildQuote(sources);
        if (!OnDisk()) return;
        TFileLock::TScope lock(dataFolderLock_);
        WritePartNumberFile(sources, quote);
        ReopenPartNumber();
        // The file holds the row just written unless something replaced it
        // between the write and the read.
        if (BuiltPartNumber.IsEmpty())
          throw EKavError("pnb.dat holds no part number for " + GetSelectedPartNum());
      },
      [&](const std::string& message) {
        BuiltPartNumber.Close();
        ShowError(message, "building part number");
        quote.built = false;
        quote.errors.push_back(message);
        if (quote.model.empty()) Guarded([&] { quote.model = GetSelectedPartNum(); }, [](auto) {});
      });
  if (quote.built) partNumberComplete_ = true;
  quote_ = std::move(quote);
  if (OnQuoteChanged) OnQuoteChanged(quote_);
}

void TDataModule::GetPartNumberValues(TNameValueList& list) const {
  PartNumberValues(quote_, list);
}

void TDataModule::CopyPartNumberToClipboard(TClipboard& clipboard) const {
  TNameValueList list;
  GetPartNumberValues(list);
  clipboard.Clear();
  clipboard.SetText(list.Text());
}

// ---------------------------------------------------------------- job file

void TDataModule::DeleteJobFile() {
  std::error_code ignored;  // a failed deletion is not examined
  if (FileExists(jobFileName_))
    std::filesystem::remove(native::Path(ResolvePath(jobFileName_)), ignored);
}

void TDataModule::WriteJobFile() {
  WriteJobFile({quote_});
}

void TDataModule::WriteJobFile(const std::vector<TQuote>& parts) {
  DeleteJobFile();
  WriteQuoteJobFile(ResolvePath(jobFileName_), parts);
}
