#include "cli/OptionChoice.h"

#include <algorithm>
#include <functional>

#include "platform/Text1252.h"

int FindChoice(const TDelimitedTable& table, const std::vector<const char*>& fields,
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
  auto wordChar = [](char c) { return ansi::IsWordByte(static_cast<unsigned char>(c)); };
  // Punctuation alone names no option, whatever text holds it.
  if (row >= 0 || !ties.empty() || !partly || std::none_of(wanted.begin(), wanted.end(), wordChar))
    return row;
  // A part of the text picks only as whole words: "H" is no part of "WHITE",
  // "Gr" none of "GRÈS".
  const std::string needle = ansi::UpperCase(wanted);
  return unique([&](int r) {
    const std::string text = ansi::UpperCase(table.CellText(r, columns[0]));
    for (size_t at = text.find(needle); !needle.empty() && at != std::string::npos;
         at = text.find(needle, at + 1)) {
      const size_t end = at + needle.size();
      if ((at == 0 || !wordChar(text[at - 1]) || !wordChar(needle.front())) &&
          (end == text.size() || !wordChar(text[end]) || !wordChar(needle.back())))
        return true;
    }
    return false;
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
