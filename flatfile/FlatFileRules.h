#pragma once
// Rules of the table engine that the catalogue checker applies too, so that
// the checker always tells what the program does.
#include <string>
#include <string_view>

// A line that is a comment: its very first character is one of # * ; [ ^ ` { ~.
bool IsCommentLine(std::string_view line);

// The comma-list comparison of a filter: one of the cell's comma-separated
// items, each trimmed, equals `value`, letter case aside.
bool ListItemMatches(std::string_view cell, std::string_view value);

// Whether a row passes a comma-list filter set to `value` through a table's
// filter list: an empty value sets no filter (the list drops it), any other
// is trimmed and compared by ListItemMatches.
bool PassesListFilter(std::string_view cell, std::string_view value);

// The open's failure for a file without even a column-name line.
std::string EmptyFileError(const std::string& fileName);
