#include "catalog/TableLinks.h"

#include "catalog/uDataMod.h"

namespace links {

const TTableLink kTypesOfRange{
    &TDataMod::TypeData, {{"Freq", &TDataMod::FreqData, "Freq"}}, "", false};

const TTableLink kAntennasOfRangeAndType{
    &TDataMod::AntData,
    {{"Freq", &TDataMod::FreqData, "Freq"}, {"Type", &TDataMod::TypeData, "Prefix"}},
    "in loading Antenna data",
    true};

const TTableLink kPricing{
    &TDataMod::LOMData, {{"PartNo", &TDataMod::AntData, "PartNum"}}, "loading Pricing data", true};

const TTableLink kFlanges{&TDataMod::FlangeData,
                          {{"Antenna", &TDataMod::AntData, "PartNum"}},
                          "loading Flange data",
                          false};

const TTableLink kRadomes{
    &TDataMod::RadomeData,
    {{"Antenna_Type", &TDataMod::AntData, "Type"}, {"Antenna_Size", &TDataMod::AntData, "Size_FT"}},
    "loading Antenna\\Radome color data",
    false};

const TTableLink kPacks{&TDataMod::PackData,
                        {{"Antenna_Size", &TDataMod::AntData, "Size_FT"},
                         {"Antenna_Group", &TDataMod::AntData, "Group"}},
                        "loading Packing data",
                        false};

const TTableLink kFlangeSuffix{
    &TDataMod::FlangeSuffixData,
    {{"AntennaGroup", &TDataMod::AntData, "Group"}, {"Flange", &TDataMod::FlangeData, "Flange"}},
    "loading Flange Suffix data",
    true};

const TTableLink kRadomePictures{&TDataMod::RadomeImgData,
                                 {{"AntennaGroup", &TDataMod::AntData, "Group"},
                                  {"Suffix", &TDataMod::RadomeData, "Radome_Suffix"}},
                                 "loading Antenna\\Radome image",
                                 false};

const std::vector<TLinkFilter> kFlangePicture{{"Flange", &TDataMod::FlangeData, "Flange"}};
}  // namespace links

std::vector<std::string> FilterColumns(const TTableLink& link) {
  std::vector<std::string> columns;
  for (const TLinkFilter& filter : link.filters)
    columns.emplace_back(filter.column);
  return columns;
}
