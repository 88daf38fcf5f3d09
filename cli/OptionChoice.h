#pragma once
// Finding the row of a catalogue table that a name typed on the command line
// means, and listing a table's choices for a message.
#include <string>
#include <vector>

#include "flatfile/DelimitedTable.h"

// The row a name typed by a person means: the first whose `fields` (tried in
// order) hold it as written; else the one that holds it without regard to
// letter case; else, with `partly`, the one whose first field contains it
// so. Rows are read without moving the cursor: a move runs the option chain,
// with its file writes. -1 when no one row is meant; rows that tie go to `ties`.
int FindChoice(const TDelimitedTable& table, const std::vector<const char*>& fields,
               const std::string& wanted, bool partly, std::vector<int>& ties);

// The cells of `field` of every row, quoted and joined by commas ("none").
std::string Choices(const TDelimitedTable& table, const char* field);
