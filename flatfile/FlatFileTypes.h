#pragma once
#include <string>

// How many accepted lines a table keeps: all, or the first only.
enum TDataInstance { diMulti, diSingle };
// Where a table's folder comes from.
enum TPathMode { pmLocalPath, pmRegistryPath };
// How a filter value is compared with a cell: exactly; with one of the
// comma-separated items of the cell, ignoring case; as a wildcard pattern.
enum TFilterOption { foDefaultCompare, foDelimitedCompare, foPartialCompare };

// Registry location of a table's folder.
struct TRegistryOptions {
  std::string Key;
  std::string Section;
  std::string Value;
  std::string DefaultValue;
};
