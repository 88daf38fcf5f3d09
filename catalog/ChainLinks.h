#pragma once
// Which columns tie each table to the rows chosen before it: the one place
// the data module (to filter), the catalogue checker (to judge a catalogue
// by the same rule) and the headless tool read them from.
#include <string>
#include <vector>

#include "catalog/CatalogSchema.h"

class TDataModule;
class TDelimitedTable;

// A data-module table, named by its member.
using TModuleTable = TDelimitedTable TDataModule::*;

// One filter of a linked table: its `column` takes the value of `field` in
// the current row of `from`.
struct TChainFilter {
  const char* column;
  TModuleTable from;
  const char* field;
};

// How a table follows the tables before it: reopened with these filters,
// set in this order. A failed reopen shows the error box with `context`.
struct TChainLink {
  TModuleTable table;
  std::vector<TChainFilter> filters;
  const char* context;
  // Whether the table is closed before the error box shows, or only after.
  bool closeBeforeReport;
};

namespace chain {
// The type list follows the frequency list.
extern const TChainLink kTypesOfRange;
// The frequency-and-type query of the antenna table.
extern const TChainLink kAntennasOfRangeAndType;
// The antenna table's column a model-number query filters.
inline constexpr const char* kModelNumber = schema::antenna::kModel;
// The tables that follow the current antenna, in the order the chain reopens them.
extern const TChainLink kPricing, kFlanges, kRadomes, kPacks;
// The flange-suffix table follows the antenna and the chosen flange.
extern const TChainLink kFlangeSuffix;
// The radome pictures follow the antenna and the chosen radome option.
extern const TChainLink kRadomePictures;
// The flange picture index, filtered on its leading cells by these fields.
extern const std::vector<TChainFilter> kFlangePicture;
}  // namespace chain

// The columns a link filters, in order.
std::vector<std::string> FilterColumns(const TChainLink& link);
