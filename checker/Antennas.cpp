// The pricing rows and the antennas, each checked against the option files.
#include "catalog/AntennaGrid.h"
#include "checker/CatalogChecker_p.h"

namespace checker_detail {

TCheckResult TChecker::Run() {
  TTableUse freqUse = Use(data_.FrequencyRanges, schema::kFrequencyRanges, nullptr,
                          "the program fails at start-up, opening the frequency list");
  TTableUse typeUse = Use(data_.AntennaTypes, schema::kAntennaTypes, &chain::kTypesOfRange,
                          "the antenna-type list fails to open at start-up and at every "
                          "change of frequency");
  TTableUse antUse = Use(data_.Antennas, schema::kAntennas, &chain::kAntennasOfRangeAndType,
                         "every antenna query fails");
  antUse.filters.emplace_back(chain::kModelNumber);
  TTableUse pricingUse = Use(data_.Pricing, schema::kPricing, &chain::kPricing,
                             "every antenna change shows an error box and no antenna has a price, "
                             "a description or a picture");
  TTableUse suffixUse = Use(data_.FlangeSuffixes, schema::kFlangeSuffixes, &chain::kFlangeSuffix,
                            "every flange choice shows an error box and no part number gets a "
                            "flange suffix");
  TTableUse radomeUse = Use(data_.RadomeOptions, schema::kRadomeOptions, &chain::kRadomes,
                            "every antenna change shows an error box and no antenna has radome "
                            "options");
  TTableUse packUse = Use(data_.PackingOptions, schema::kPackingOptions, &chain::kPacks,
                          "every antenna change shows an error box and no antenna has packing "
                          "options");
  TTableUse radomeImgUse =
      Use(data_.RadomePictures, schema::kRadomePictures, &chain::kRadomePictures,
          "every radome choice shows an error box and no radome picture is shown");

  CheckFrequencies(freqUse);
  CheckTypes(typeUse);
  CheckFlangeSuffixes(suffixUse);
  CheckRadomes(radomeUse);
  CheckPacks(packUse);
  CheckRadomePictures(radomeImgUse);
  CheckFlangePictures();
  CheckPricing(pricingUse);
  CheckAntennas(antUse);
  CheckOfferedTypes();
  return Finish();
}

void TChecker::CheckPricing(const TTableUse& use) {
  TSource& s = pricingSource_;
  if (!Open(use, kPricing, s)) return;
  const int model = s.Filter(schema::pricing::kModel), graphic = s.Read(schema::pricing::kPicture),
            price = s.Read(schema::pricing::kPrice);
  const std::string& pictures = data_.AntennaImg.ImagePath;
  Rows(s, [&](long number, const TCells& cells) {
    const std::string_view key = cells[static_cast<size_t>(model)];
    if (key.empty()) return;  // reached only by an antenna without a model number
    const uint32_t first = pricing_.Insert(key, static_cast<uint32_t>(number));
    if (first != 0) {
      Warning(s, number, model + 1,
              "model number " + Quoted(key) + " already has a pricing row on line " +
                  std::to_string(first),
              "the program uses the first row only; this one is never read");
      return;
    }
    CheckPrice(s, number, price, cells[static_cast<size_t>(price)], "of ", key);
    CheckPicture(s, number, graphic + 1, pictures, cells[static_cast<size_t>(graphic)], ".gif",
                 [] { return std::string("the antenna picture"); });
  });
}

void TChecker::CheckAntennas(const TTableUse& use) {
  TSource& s = antSource_;
  if (!Open(use, kAnt, s)) return;
  // The sheet's entries beyond the model, the flanges and the size, which
  // are checked on their own.
  std::vector<std::pair<int, std::string>> printed;
  for (const TSpecEntry& entry : kSpecSheetEntries) {
    const std::string_view column = entry.column;
    if (column != schema::antenna::kModel && column != schema::antenna::kFlanges &&
        column != schema::antenna::kSize)
      printed.emplace_back(s.Read(entry.column), entry.column);
  }
  const std::vector<TChainFilter>& query = chain::kAntennasOfRangeAndType.filters;
  const int model = s.Read(chain::kModelNumber), range = s.Filter(query[0].column);
  const int type = s.Read(schema::antenna::kType), queriedType = s.Filter(query[1].column);
  const int size = s.Read(schema::antenna::kSize), group = s.Read(schema::antenna::kGroup);
  const int flanges = s.Read(schema::antenna::kFlanges);
  for (TLinkedRows* linked : {&suffixRows_, &radomeRows_, &packRows_, &radomePictureRows_})
    linked->Prepare(s);
  TKeyLines models;
  std::string key;
  Rows(s, [&](long number, const TCells& cells) {
    ++antennas_;
    auto cell = [&](int at) { return cells[static_cast<size_t>(at)]; };
    const TAntenna antenna{cell(model), cell(range),   cell(type), cell(size),
                           cell(group), cell(flanges), number,     cells};
    CheckModel(s, antenna, models, model + 1);
    for (const auto& [at, column] : printed)
      if (cell(at).empty())
        Warning(
            s, number, at + 1, column + " is empty",
            "the specification sheet of " + std::string(antenna.model) + " has no entry for it");
    if (antenna.size.empty())
      Warning(s, number, size + 1, std::string(schema::antenna::kSize) + " is empty",
              "radome and packing options are matched on type and group alone");
    if (antenna.type.empty())
      Warning(s, number, type + 1, std::string(schema::antenna::kType) + " is empty",
              "radome options are matched on size alone");
    if (antenna.group.empty())
      Warning(s, number, group + 1, std::string(schema::antenna::kGroup) + " is empty",
              "flange suffixes, packing options and radome pictures are matched on their "
              "other column alone");
    CheckFlangeList(s, antenna, flanges + 1);

    // Everything below depends only on these cells: look each combination up once.
    key.assign(cell(range)).append(1, kKeySeparator).append(cell(queriedType));
    for (std::string_view part : {antenna.type, antenna.size, antenna.group, antenna.flanges})
      key.append(1, kKeySeparator).append(part);
    auto [entry, fresh] = combinations_.try_emplace(key);
    if (!fresh) {
      for (TAggregate* aggregate : entry->second)
        aggregate->Hit();
      return;
    }
    std::vector<TAggregate*>& hits = entry->second;
    CheckOffered(s, antenna, cell(queriedType), range + 1, hits);
    CheckSuffixes(s, antenna, flanges + 1, hits);
    CheckRadomeOptions(s, antenna, type + 1, hits);
    CheckPackOptions(s, antenna, size + 1, hits);
  });
}

void TChecker::CheckModel(const TSource& s, const TAntenna& antenna, TKeyLines& models,
                          int column) {
  if (antenna.model.empty()) {
    Error(s, antenna.line, column, std::string(schema::antenna::kModel) + " is empty",
          "no model-number query finds this antenna, and its pricing, flange and part-number "
          "look-ups run unfiltered: it takes the first pricing row of " +
              data_.Pricing.FileName());
    return;
  }
  if (IsCommentLine(antenna.model))
    Error(s, antenna.line, column,
          "model number " + Quoted(antenna.model) + " begins with the comment mark " +
              Quoted(antenna.model.substr(0, 1)),
          "the lines the program writes for it to " + data_.Flanges.FileName() + " and " +
              data_.BuiltPartNumber.FileName() +
              " read back as comments: its flange list stays empty and no part number is built for "
              "it (an error box)");
  const uint32_t first = models.Insert(antenna.model, static_cast<uint32_t>(antenna.line));
  if (first != 0)
    Error(s, antenna.line, column,
          "model number " + Quoted(antenna.model) + " is also on line " + std::to_string(first),
          "a query for the exact model number (command mode, the headless build) keeps only "
          "line " +
              std::to_string(first) + ", and both rows share one pricing row");
  else if (pricingSource_.usable && pricing_.Find(antenna.model) == 0)
    Error(s, antenna.line, column,
          "model number " + Quoted(antenna.model) + " has no pricing row in " +
              data_.Pricing.FileName(),
          "its custom price is \"0.00\", its description has no antenna text and it shows no "
          "picture");
}

// An empty flange in the list: the flange list offers an empty entry, and
// with no flange filter the suffix comes from the group's first row.
void TChecker::CheckFlangeList(const TSource& s, const TAntenna& antenna, int column) {
  TCells& items = flangeItems_;
  SplitCells(antenna.flanges, ",", items);
  if (std::none_of(items.begin(), items.end(), [](std::string_view item) { return item.empty(); }))
    return;
  std::string effect = "the flange list offers an empty entry";
  if (suffixSource_.usable) {
    suffixRows_.Values(antenna.cells, "", linkValues_);
    const int row = suffixRows_.First(linkValues_);
    const TOptionRow* first = row < 0 ? nullptr : &suffixRows_.rows[static_cast<size_t>(row)];
    effect += first == nullptr
                  ? ", with no flange suffix"
                  : ", whose flange suffix comes from the first " +
                        data_.FlangeSuffixes.FileName() + " row for group " +
                        Quoted(antenna.group) + " (line " + std::to_string(first->line) +
                        ", suffix " + Quoted(first->suffix) + ")";
  }
  Warning(s, antenna.line, column,
          std::string(schema::antenna::kFlanges) +
              (antenna.flanges.empty() ? " is empty"
                                       : " " + Quoted(antenna.flanges) + " lists an empty flange"),
          effect);
}

// The frequency-and-type query filters Freq and Type exactly.
void TChecker::CheckOffered(const TSource& s, const TAntenna& antenna, std::string_view queriedType,
                            int column, std::vector<TAggregate*>& hits) {
  if (!typesUsable_) return;
  const std::string key = std::string(antenna.range) + kKeySeparator + std::string(queriedType);
  Aggregate(antennaPairs_, key, hits, [&] {
    if (offeredKeys_.count(key) != 0) return kNone;
    return Warning(s, antenna.line, column,
                   "frequency range " + Quoted(antenna.range) + " with type " +
                       Quoted(queriedType) + " is not offered in " + data_.AntennaTypes.FileName(),
                   "the frequency-and-type query never lists " + std::string(antenna.model) +
                       "; a model-number query still finds it");
  });
}

void TChecker::CheckSuffixes(const TSource& s, const TAntenna& antenna, int column,
                             std::vector<TAggregate*>& hits) {
  TCells items;
  SplitCells(antenna.flanges, ",", items);
  for (std::string_view flange : items) {
    if (flange.empty()) continue;  // reported with the flange list
    if (suffixSource_.usable) {
      suffixRows_.Values(antenna.cells, flange, linkValues_);
      Aggregate(missingSuffixes_, JoinedKey(linkValues_), hits, [&] {
        if (suffixRows_.First(linkValues_) >= 0) return kNone;
        return Error(s, antenna.line, column,
                     "flange " + Quoted(flange) + " has no " + data_.FlangeSuffixes.FileName() +
                         " row for group " + Quoted(antenna.group),
                     "the custom part number of " + std::string(antenna.model) +
                         " with this flange gets no flange suffix");
      });
    }
    if (flangeImgSource_.usable) {
      Aggregate(missingFlangePictures_, std::string(flange), hits, [&] {
        if (flangePictures_.count(std::string(flange)) != 0) return kNone;
        return Warning(
            s, antenna.line, column,
            "flange " + Quoted(flange) + " has no line in " + data_.FlangeImg.ImageDataFile,
            "choosing it for " + std::string(antenna.model) + " empties the option picture");
      });
    }
  }
}

// An antenna that no option row covers: one finding for each pair of values
// the rows are matched on.
size_t TChecker::NoOptions(const TSource& s, const TAntenna& antenna, int column,
                           const std::string& file, const std::string& covered,
                           const char* options) {
  return Warning(s, antenna.line, column, "no " + file + " row covers " + covered,
                 std::string(antenna.model) + " has no " + options +
                     " options and its custom price is \"0.00\"");
}

void TChecker::CheckRadomeOptions(const TSource& s, const TAntenna& antenna, int column,
                                  std::vector<TAggregate*>& hits) {
  if (!radomeSource_.usable) return;
  std::vector<size_t> options;
  radomeRows_.Values(antenna.cells, "", linkValues_);
  for (size_t i = 0; i < radomeRows_.rows.size(); ++i)
    if (radomeRows_.Matches(radomeRows_.rows[i], linkValues_)) options.push_back(i);
  if (options.empty()) {
    Aggregate(missingRadomes_, JoinedKey(linkValues_), hits, [&] {
      return NoOptions(s, antenna, column, data_.RadomeOptions.FileName(),
                       "type " + Quoted(antenna.type) + " and size " + Quoted(antenna.size),
                       "radome");
    });
    return;
  }
  if (!radomeImgSource_.usable) return;
  for (size_t option : options) {
    const TOptionRow& row = radomeRows_.rows[option];
    radomePictureRows_.Values(antenna.cells, row.suffix, linkValues_);
    Aggregate(
        missingRadomePictures_, std::to_string(option) + kKeySeparator + JoinedKey(linkValues_),
        hits, [&] {
          if (radomePictureRows_.First(linkValues_) >= 0) return kNone;
          return Warning(
              radomeSource_, row.line, radomeSource_.Read(schema::radome::kSuffix) + 1,
              "radome option " + Quoted(row.suffix) + " has no " + data_.RadomePictures.FileName() +
                  " row for group " + Quoted(antenna.group),
              "choosing it for " + std::string(antenna.model) + " empties the option picture");
        });
  }
}

void TChecker::CheckPackOptions(const TSource& s, const TAntenna& antenna, int column,
                                std::vector<TAggregate*>& hits) {
  if (!packSource_.usable) return;
  packRows_.Values(antenna.cells, "", linkValues_);
  if (packRows_.First(linkValues_) >= 0) return;
  Aggregate(missingPacks_, JoinedKey(linkValues_), hits, [&] {
    return NoOptions(s, antenna, column, data_.PackingOptions.FileName(),
                     "size " + Quoted(antenna.size) + " and group " + Quoted(antenna.group),
                     "packing");
  });
}

// Offered frequency and type pairs that no antenna has.
void TChecker::CheckOfferedTypes() {
  if (!antSource_.usable || !typesUsable_) return;
  for (const TOffered& pair : offered_)
    if (antennaPairs_.count(pair.key) == 0)
      Error(typesSource_, pair.line, pair.column,
            "no antenna of " + data_.Antennas.FileName() + " has frequency range " +
                Quoted(pair.range) + " and type " + Quoted(pair.type),
            "choosing them in the frequency and type lists ends in the error box \"The model "
            "number: ... was not found\"");
}

}  // namespace checker_detail
