#include "cli/OptionChoice.h"

#include <functional>

#include "platform/Text1252.h"

int FindChoice(const TDelimitedTable& table, std::initializer_list<const char*> fields,
               const std::string& wanted, bool partly, std::vector<int>& ties) {
  std::vector<int> columns;
  for (const char* field : fields)
    columns.push_back(table.FieldByName(field)->Index());
  const int rows = table.RecordCount();
  for (int row = 0; row < rows; ++row)
    for (const int column : columns)
      if (table.CellText(row, column) == wanted) return row;
  auto unique = [&](const std::function<bool(int)>& matches) {
    ties.clear();
    for (int row = 0; row < rows; ++row)
      if (matches(row)) ties.push_back(row);
    return ties.size() == 1 ? ties[0] : -1;
  };
  int row = unique([&](int r) {
    for (const int column : columns)
      if (ansi::SameText(table.CellText(r, column), wanted)) return true;
    return false;
  });
  if (row >= 0 || !ties.empty() || !partly) return row;
  const std::string needle = ansi::UpperCase(wanted);
  return unique([&](int r) {
    return ansi::UpperCase(table.CellText(r, columns[0])).find(needle) != std::string::npos;
  });
}

std::string Choices(const TDelimitedTable& table, const char* field) {
  std::string list;
  if (!table.Active()) return list;
  for (int row = 0; row < table.RecordCount(); ++row)
    list += (list.empty() ? "\"" : ", \"") +
            table.CellText(row, table.FieldByName(field)->Index()) + "\"";
  return list.empty() ? "none" : list;
}
