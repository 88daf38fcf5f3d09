#include "catalog/CatalogSchema.h"

const char* TTableDeclaration::ColumnOf(TColumnRole role) const {
  for (const TColumnDeclaration& column : columns)
    if (column.role == role) return column.name;
  return nullptr;
}

std::vector<const char*> TTableDeclaration::ColumnsOf(TColumnRole role) const {
  std::vector<const char*> names;
  for (const TColumnDeclaration& column : columns)
    if (column.role == role) names.push_back(column.name);
  return names;
}

namespace schema {

namespace {
constexpr TColumnRole kShown = TColumnRole::Shown;
constexpr TColumnRole kCarried = TColumnRole::Carried;
constexpr TColumnRole kKey = TColumnRole::Key;
constexpr TColumnRole kLink = TColumnRole::Link;
constexpr TColumnRole kCode = TColumnRole::Code;
constexpr TColumnRole kDescription = TColumnRole::Description;
constexpr TColumnRole kPrice = TColumnRole::Price;
constexpr TColumnRole kPicture = TColumnRole::Picture;
}  // namespace

const TTableDeclaration kFrequencyRanges{
    .name = "FreqData",
    .file = "MWFreq.dat",
    .folder = TPathMode::BesideProgram,
    .path = "data\\",
    .skipRow = 0,
    .filtered = false,
    .instance = TDataInstance::AllMatches,
    .compare = TFilterOption::Exact,
    .columns = {{range::kName, kCode}},
};

const TTableDeclaration kAntennaTypes{
    .name = "TypeData",
    .file = "MWAntTypes.dat",
    .folder = TPathMode::BesideProgram,
    .path = "data\\",
    .skipRow = 0,
    .filtered = true,
    .instance = TDataInstance::AllMatches,
    .compare = TFilterOption::Exact,
    .columns = {{type::kRange, kLink}, {type::kName, kCode}},
};

// The antenna table's query options change with each query; these are the
// ones it is made with.
const TTableDeclaration kAntennas{
    .name = "AntData",
    .file = "MWAnts.dat",
    .folder = TPathMode::FromRegistry,
    .path = "C:\\Program Files\\Ostrel\\Common Files\\",
    .skipRow = 1,
    .filtered = true,
    .instance = TDataInstance::AllMatches,
    .compare = TFilterOption::Exact,
    .columns = {{antenna::kRange, kLink},
                {antenna::kFlanges, TColumnRole::CommaList},
                {"ID", kCarried},
                {"PSI_MAX", kCarried},
                {"Misc", kCarried},
                {antenna::kSize, kLink},
                {"BegFreq", kCarried},
                {"CURRENT", kCarried},
                {"OldPartNum", kCarried},
                {antenna::kModel, kKey},
                {"RPE", kShown},
                {"ETSI_GAIN", kShown},
                {"FCC74", kShown},
                {"FCC78", kShown},
                {"FCC101", kShown},
                {"ETSI_CLASS", kShown},
                {"Gain_Low", kShown},
                {"Gain_Med", kShown},
                {"Gain_High", kShown},
                {"BW_H", kShown},
                {"BW_V", kShown},
                {"X_pol", kShown},
                {"F_B", kShown},
                {"VSWR", kShown},
                {"Return_Loss", kShown},
                {antenna::kType, kLink},
                {antenna::kGroup, kLink},
                {antenna::kDiameter, kShown},
                {antenna::kPolarization, kShown}},
};

const TTableDeclaration kPricing{
    .name = "LOMData",
    .file = "M_LOM.dat",
    .folder = TPathMode::FromRegistry,
    .path = "",
    .skipRow = 1,
    .filtered = true,
    .instance = TDataInstance::FirstMatch,
    .compare = TFilterOption::Exact,
    .columns = {{"BegFreq", kCarried},
                {"EndingFreq", kCarried},
                {pricing::kModel, kKey},
                {pricing::kPicture, kPicture},
                {pricing::kDescription, kDescription},
                {pricing::kPrice, kPrice}},
};

const TTableDeclaration kFlanges{
    .name = "FlangeData",
    .file = "AntFlanges.dat",
    .folder = TPathMode::BesideProgram,
    .path = "data\\",
    .skipRow = 0,
    .filtered = true,
    .instance = TDataInstance::AllMatches,
    .compare = TFilterOption::Exact,
    .columns = {{flange::kModel, kLink}, {flange::kName, kCode}},
};

const TTableDeclaration kFlangeSuffixes{
    .name = "FlangeSuffixData",
    .file = "flng_list.dat",
    .folder = TPathMode::BesideProgram,
    .path = "data\\",
    .skipRow = 0,
    .filtered = true,
    .instance = TDataInstance::FirstMatch,
    .compare = TFilterOption::InCommaList,
    .columns = {{flangeSuffix::kGroups, kLink},
                {flangeSuffix::kFlanges, kLink},
                {flangeSuffix::kSuffix, kCode}},
};

const TTableDeclaration kRadomeOptions{
    .name = "RadomeData",
    .file = "radome_List.dat",
    .folder = TPathMode::BesideProgram,
    .path = "data\\",
    .skipRow = 0,
    .filtered = true,
    .instance = TDataInstance::AllMatches,
    .compare = TFilterOption::InCommaList,
    .columns = {{radome::kTypes, kLink},
                {radome::kSizes, kLink},
                {radome::kSuffix, kCode},
                {radome::kPrice, kPrice},
                {radome::kDescription, kDescription}},
};

const TTableDeclaration kPackingOptions{
    .name = "PackData",
    .file = "pack_list.dat",
    .folder = TPathMode::BesideProgram,
    .path = "data\\",
    .skipRow = 0,
    .filtered = true,
    .instance = TDataInstance::AllMatches,
    .compare = TFilterOption::InCommaList,
    .columns = {{pack::kSizes, kLink},
                {pack::kGroups, kLink},
                {"DefaultPackSuffix", kCarried},
                {pack::kSuffix, kCode},
                {pack::kPrice, kPrice},
                {pack::kDescription, kDescription}},
};

const TTableDeclaration kBuiltPartNumber{
    .name = "pnbData",
    .file = "pnb.dat",
    .folder = TPathMode::BesideProgram,
    .path = "data\\",
    .skipRow = 0,
    .filtered = true,
    .instance = TDataInstance::FirstMatch,
    .compare = TFilterOption::Exact,
    .columns = {{builtPartNumber::kModel, kKey},
                {builtPartNumber::kPartNumber, kCode},
                {builtPartNumber::kDescription, kDescription},
                {builtPartNumber::kPrice, kPrice}},
};

const TTableDeclaration kRadomePictures{
    .name = "RadomeImgData",
    .file = "radome_img.dat",
    .folder = TPathMode::BesideProgram,
    .path = "Data\\",
    .skipRow = 0,
    .filtered = true,
    .instance = TDataInstance::FirstMatch,
    .compare = TFilterOption::InCommaList,
    .columns = {{radomePicture::kGroups, kLink},
                {radomePicture::kSuffixes, kLink},
                {radomePicture::kPicture, kPicture}},
};

const TOptionKind kFlangeOption{"flange", &kFlanges, flange::kName, flange::kName, nullptr};
const TOptionKind kRadomeOption{"radome", &kRadomeOptions, radome::kSuffix, radome::kDescription,
                                radome::kPrice};
const TOptionKind kPackOption{"pack", &kPackingOptions, pack::kSuffix, pack::kDescription,
                              pack::kPrice};

}  // namespace schema
