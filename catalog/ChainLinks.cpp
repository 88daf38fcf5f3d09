#include "catalog/ChainLinks.h"

#include "catalog/DataModule.h"

namespace chain {

const TChainLink kTypesOfRange{
    &TDataModule::AntennaTypes, {{"Freq", &TDataModule::FrequencyRanges, "Freq"}}, "", false};

const TChainLink kAntennasOfRangeAndType{&TDataModule::Antennas,
                                         {{"Freq", &TDataModule::FrequencyRanges, "Freq"},
                                          {"Type", &TDataModule::AntennaTypes, "Prefix"}},
                                         "in loading Antenna data",
                                         true};

const TChainLink kPricing{&TDataModule::Pricing,
                          {{"PartNo", &TDataModule::Antennas, "PartNum"}},
                          "loading Pricing data",
                          true};

const TChainLink kFlanges{&TDataModule::Flanges,
                          {{"Antenna", &TDataModule::Antennas, "PartNum"}},
                          "loading Flange data",
                          false};

const TChainLink kRadomes{&TDataModule::RadomeOptions,
                          {{"Antenna_Type", &TDataModule::Antennas, "Type"},
                           {"Antenna_Size", &TDataModule::Antennas, "Size_FT"}},
                          "loading Antenna\\Radome color data",
                          false};

const TChainLink kPacks{&TDataModule::PackingOptions,
                        {{"Antenna_Size", &TDataModule::Antennas, "Size_FT"},
                         {"Antenna_Group", &TDataModule::Antennas, "Group"}},
                        "loading Packing data",
                        false};

const TChainLink kFlangeSuffix{&TDataModule::FlangeSuffixes,
                               {{"AntennaGroup", &TDataModule::Antennas, "Group"},
                                {"Flange", &TDataModule::Flanges, "Flange"}},
                               "loading Flange Suffix data",
                               true};

const TChainLink kRadomePictures{&TDataModule::RadomePictures,
                                 {{"AntennaGroup", &TDataModule::Antennas, "Group"},
                                  {"Suffix", &TDataModule::RadomeOptions, "Radome_Suffix"}},
                                 "loading Antenna\\Radome image",
                                 false};

const std::vector<TChainFilter> kFlangePicture{{"Flange", &TDataModule::Flanges, "Flange"}};
}  // namespace chain

std::vector<std::string> FilterColumns(const TChainLink& link) {
  std::vector<std::string> columns;
  for (const TChainFilter& filter : link.filters)
    columns.emplace_back(filter.column);
  return columns;
}
