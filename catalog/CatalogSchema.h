#pragma once
// The catalogue's tables, each declared once: its file and folder, how it is
// read and filtered, and its columns in file order with the part each plays.
// The data module builds its tables from these declarations; the checker
// judges a catalogue by them, and the tool and the window name columns only
// through them.
#include <cstdint>
#include <string_view>
#include <vector>

#include "flatfile/FlatFileTypes.h"

// What a column is to the program.
enum class TColumnRole : uint8_t {
  Shown,        // shown or printed as it stands
  Carried,      // in the file, never read
  Key,          // the model number that names the row
  Link,         // filtered by a value chosen before: a range, a type, a size, a group
  CommaList,    // a comma-separated list whose items are the values
  Code,         // what the row adds to the custom part number, or its option's own name
  Description,  // free text, long by nature
  Price,        // a plain decimal number added to the custom price
  Picture,      // a picture file's name
};

struct TColumnDeclaration {
  const char* name;
  TColumnRole role = TColumnRole::Shown;
};

struct TTableDeclaration {
  const char* name;  // as the table's own errors give it
  const char* file;
  TPathMode folder;
  const char* path;
  int skipRow;
  bool filtered;
  TDataInstance instance;
  TFilterOption compare;
  std::vector<TColumnDeclaration> columns;

  // The first column of `role`; nullptr when the table has none.
  const char* ColumnOf(TColumnRole role) const;
  // The columns of `role`, in file order.
  std::vector<const char*> ColumnsOf(TColumnRole role) const;
  // Whether a filtered cell holds a comma-separated list of values.
  bool ListsFilterValues() const { return compare == TFilterOption::InCommaList; }
};

namespace schema {

// The columns the program reads by name, table by table.
namespace antenna {
inline constexpr const char* kRange = "Freq";
inline constexpr const char* kFlanges = "Flange";
inline constexpr const char* kSize = "Size_FT";
inline constexpr const char* kModel = "PartNum";
inline constexpr const char* kType = "Type";
inline constexpr const char* kGroup = "Group";
inline constexpr const char* kDiameter = "Diameter_Ft_M";
inline constexpr const char* kPolarization = "Polarization";
}  // namespace antenna
namespace range {
inline constexpr const char* kName = "Freq";
}
namespace type {
inline constexpr const char* kRange = "Freq";
inline constexpr const char* kName = "Prefix";
}  // namespace type
namespace pricing {
inline constexpr const char* kModel = "PartNo";
inline constexpr const char* kPicture = "GraphicFile";
inline constexpr const char* kDescription = "Desc";
inline constexpr const char* kPrice = "USPrice";
}  // namespace pricing
namespace flange {
inline constexpr const char* kModel = "Antenna";
inline constexpr const char* kName = "Flange";
}  // namespace flange
namespace flangeSuffix {
inline constexpr const char* kGroups = "AntennaGroup";
inline constexpr const char* kFlanges = "Flange";
inline constexpr const char* kSuffix = "Suffix";
}  // namespace flangeSuffix
namespace radome {
inline constexpr const char* kTypes = "Antenna_Type";
inline constexpr const char* kSizes = "Antenna_Size";
inline constexpr const char* kSuffix = "Radome_Suffix";
inline constexpr const char* kPrice = "Price_Upgrade";
inline constexpr const char* kDescription = "Radome_Desc";
}  // namespace radome
namespace pack {
inline constexpr const char* kSizes = "Antenna_Size";
inline constexpr const char* kGroups = "Antenna_Group";
inline constexpr const char* kSuffix = "Pack_Suffix";
inline constexpr const char* kPrice = "Price";
inline constexpr const char* kDescription = "Pack_Desc";
}  // namespace pack
namespace builtPartNumber {
inline constexpr const char* kModel = "PartNum";
inline constexpr const char* kPartNumber = "CustPartNum";
inline constexpr const char* kDescription = "CustDesc";
inline constexpr const char* kPrice = "CustPrice";
}  // namespace builtPartNumber
namespace radomePicture {
inline constexpr const char* kGroups = "AntennaGroup";
inline constexpr const char* kSuffixes = "Suffix";
inline constexpr const char* kPicture = "Image";
}  // namespace radomePicture

extern const TTableDeclaration kFrequencyRanges, kAntennaTypes, kAntennas, kPricing, kFlanges,
    kFlangeSuffixes, kRadomeOptions, kPackingOptions, kBuiltPartNumber, kRadomePictures;

// The options of page two, in the order the page lists them. For each, the
// columns of its code, its text and its price (none for a flange: the
// flange's name is its code and its text, and it costs nothing).
struct TOptionKind {
  const char* name;  // "flange", "radome", "pack"
  const TTableDeclaration* table;
  const char* code;
  const char* description;
  const char* price;  // nullptr: no price
};
extern const TOptionKind kFlangeOption, kRadomeOption, kPackOption;

// The picture-index files beside the option tables: which cell of a line
// names the picture, and how many cells a line must have to name one.
inline constexpr int kFlangePictureCell = 1;
inline constexpr const char* kFlangePictureFile = "flng_img.dat";

}  // namespace schema
