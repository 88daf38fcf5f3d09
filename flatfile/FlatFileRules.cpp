#include "flatfile/FlatFileRules.h"

#include <cstring>

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

bool PassesListFilter(std::string_view cell, std::string_view value) {
  return value.empty() || ListItemMatches(cell, ansi::Trim(value));
}

std::string EmptyFileError(const std::string& fileName) {
  return "No Data Exits in " + fileName;
}
