#pragma once
#include <string>

// How many accepted lines a table keeps: all, or the first only.
enum class TDataInstance { AllMatches, FirstMatch };
// Where a table's folder comes from: the data folder beside the program, or
// a folder the registry names.
enum class TPathMode { BesideProgram, FromRegistry };
// How a filter value is compared with a cell: exactly; with one of the
// comma-separated items of the cell, ignoring case; as a wildcard pattern.
enum class TFilterOption { Exact, InCommaList, Wildcard };

// Registry location of a table's folder.
struct TRegistryOptions {
  std::string Key;
  std::string Section;
  std::string Value;
  std::string DefaultValue;
};
