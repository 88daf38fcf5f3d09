#include "catalog/ChainLinks.h"

#include "catalog/DataModule.h"

namespace chain {

const TChainLink kTypesOfRange{
    &TDataModule::TypeData, {{"Freq", &TDataModule::FreqData, "Freq"}}, "", false};

const TChainLink kAntennasOfRangeAndType{
    &TDataModule::AntData,
    {{"Freq", &TDataModule::FreqData, "Freq"}, {"Type", &TDataModule::TypeData, "Prefix"}},
    "in loading Antenna data",
    true};

const TChainLink kPricing{&TDataModule::LOMData,
                          {{"PartNo", &TDataModule::AntData, "PartNum"}},
                          "loading Pricing data",
                          true};

const TChainLink kFlanges{&TDataModule::FlangeData,
                          {{"Antenna", &TDataModule::AntData, "PartNum"}},
                          "loading Flange data",
                          false};

const TChainLink kRadomes{&TDataModule::RadomeData,
                          {{"Antenna_Type", &TDataModule::AntData, "Type"},
                           {"Antenna_Size", &TDataModule::AntData, "Size_FT"}},
                          "loading Antenna\\Radome color data",
                          false};

const TChainLink kPacks{&TDataModule::PackData,
                        {{"Antenna_Size", &TDataModule::AntData, "Size_FT"},
                         {"Antenna_Group", &TDataModule::AntData, "Group"}},
                        "loading Packing data",
                        false};

const TChainLink kFlangeSuffix{&TDataModule::FlangeSuffixData,
                               {{"AntennaGroup", &TDataModule::AntData, "Group"},
                                {"Flange", &TDataModule::FlangeData, "Flange"}},
                               "loading Flange Suffix data",
                               true};

const TChainLink kRadomePictures{&TDataModule::RadomeImgData,
                                 {{"AntennaGroup", &TDataModule::AntData, "Group"},
                                  {"Suffix", &TDataModule::RadomeData, "Radome_Suffix"}},
                                 "loading Antenna\\Radome image",
                                 false};

const std::vector<TChainFilter> kFlangePicture{{"Flange", &TDataModule::FlangeData, "Flange"}};
}  // namespace chain

std::vector<std::string> FilterColumns(const TChainLink& link) {
  std::vector<std::string> columns;
  for (const TChainFilter& filter : link.filters)
    columns.emplace_back(filter.column);
  return columns;
}
