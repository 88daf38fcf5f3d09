#include "flatfile/FlatFileRules.h"

#include <cstring>

#include "flatfile/Wildcard.h"
#include "platform/Text1252.h"

bool IsCommentLine(std::string_view line) {
  return !line.empty() && line[0] != '\0' && std::strchr("#*;[^`{~", line[0]) != nullptr;
}

bool ListItemMatches(std::string_view cell, std::string_view value) {
  while (true) {
    const size_t comma = cell.find(',');
    if (ansi::SameText(ansi::Trim(cell.substr(0, comma)), value)) return true;
    if (comma == std::string_view::npos) return false;
    cell.remove_prefix(comma + 1);
  }
}

bool CellMatches(std::string_view cell, std::string_view value, TFilterOption option) {
  switch (option) {
    case TFilterOption::Exact:
      return cell == value;
    case TFilterOption::InCommaList:
      return ListItemMatches(cell, value);
    case TFilterOption::Wildcard:
      return WildcardMatch(cell, value);
  }
  return false;
}

bool PassesFilter(std::string_view cell, std::string_view value, TFilterOption option) {
  return value.empty() || CellMatches(cell, ansi::Trim(value), option);
}

std::string EmptyFileError(const std::string& fileName) {
  return "No Data Exits in " + fileName;
}
