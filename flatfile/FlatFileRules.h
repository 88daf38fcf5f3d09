#pragma once
// Rules of the table engine that the catalogue checker applies too, so that
// the checker always tells what the program does.
#include <string>
#include <string_view>

#include "flatfile/FlatFileTypes.h"

// A line that is a comment: its very first character is one of # * ; [ ^ ` { ~.
bool IsCommentLine(std::string_view line);

// The comma-list comparison of a filter: one of the cell's comma-separated
// items, each trimmed, equals `value`, letter case aside.
bool ListItemMatches(std::string_view cell, std::string_view value);

// How a filter's (trimmed) value compares with a cell under `option`:
// exactly, by ListItemMatches, or as a wildcard pattern.
bool CellMatches(std::string_view cell, std::string_view value, TFilterOption option);

// Whether a row passes a filter set to `value` through a table's filter
// list: an empty value sets no filter (the list drops it), any other is
// trimmed and compared by CellMatches.
bool PassesFilter(std::string_view cell, std::string_view value, TFilterOption option);

// The open's failure for a file without even a column-name line.
std::string EmptyFileError(const std::string& fileName);
