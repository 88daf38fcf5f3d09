#include "catalog/ChainLinks.h"

#include "catalog/DataModule.h"

namespace chain {

using namespace schema;

const TChainLink kTypesOfRange{&TDataModule::AntennaTypes,
                               {{type::kRange, &TDataModule::FrequencyRanges, range::kName}},
                               "",
                               false};

const TChainLink kAntennasOfRangeAndType{
    &TDataModule::Antennas,
    {{antenna::kRange, &TDataModule::FrequencyRanges, range::kName},
     {antenna::kType, &TDataModule::AntennaTypes, type::kName}},
    "in loading Antenna data",
    true};

const TChainLink kPricing{&TDataModule::Pricing,
                          {{pricing::kModel, &TDataModule::Antennas, antenna::kModel}},
                          "loading Pricing data",
                          true};

const TChainLink kFlanges{&TDataModule::Flanges,
                          {{flange::kModel, &TDataModule::Antennas, antenna::kModel}},
                          "loading Flange data",
                          false};

const TChainLink kRadomes{&TDataModule::RadomeOptions,
                          {{radome::kTypes, &TDataModule::Antennas, antenna::kType},
                           {radome::kSizes, &TDataModule::Antennas, antenna::kSize}},
                          "loading Antenna\\Radome color data",
                          false};

const TChainLink kPacks{&TDataModule::PackingOptions,
                        {{pack::kSizes, &TDataModule::Antennas, antenna::kSize},
                         {pack::kGroups, &TDataModule::Antennas, antenna::kGroup}},
                        "loading Packing data",
                        false};

const TChainLink kFlangeSuffix{&TDataModule::FlangeSuffixes,
                               {{flangeSuffix::kGroups, &TDataModule::Antennas, antenna::kGroup},
                                {flangeSuffix::kFlanges, &TDataModule::Flanges, flange::kName}},
                               "loading Flange Suffix data",
                               true};

const TChainLink kRadomePictures{
    &TDataModule::RadomePictures,
    {{radomePicture::kGroups, &TDataModule::Antennas, antenna::kGroup},
     {radomePicture::kSuffixes, &TDataModule::RadomeOptions, radome::kSuffix}},
    "loading Antenna\\Radome image",
    false};

const std::vector<TChainFilter> kFlangePicture{
    {flange::kName, &TDataModule::Flanges, flange::kName}};
}  // namespace chain

std::vector<std::string> FilterColumns(const TChainLink& link) {
  std::vector<std::string> columns;
  for (const TChainFilter& filter : link.filters)
    columns.emplace_back(filter.column);
  return columns;
}
