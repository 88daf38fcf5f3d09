#include "flatfile/RowFilter.h"

#include "flatfile/FlatFileRules.h"
#include "flatfile/Wildcard.h"
#include "platform/AnsiText.h"

TRowFilter::TRowFilter(const TNameValueList& filters, TFilterOption option,
                       const TModList& columnNames)
    : option_(option) {
  for (int i = 0; i < filters.Count(); ++i) {
    const std::string name(ansi::Trim(filters.Name(i)));
    // The value is looked up again by the trimmed name, as the filter list
    // answers it, and trimmed too.
    const std::string value(ansi::Trim(filters.Value(name)));
    conditions_.push_back({columnNames.IndexOf(name), value});
  }
}

bool TRowFilter::Matches(const Condition& condition, std::string_view cell) const {
  switch (option_) {
    case foDefaultCompare:
      return cell == condition.value;
    case foDelimitedCompare:
      return ListItemMatches(cell, condition.value);
    case foPartialCompare:
      return WildcardMatch(cell, condition.value);
  }
  return false;
}

bool TRowFilter::Accept(TLazyCells& cells) const {
  for (const Condition& condition : conditions_) {
    if (condition.column < 0) return false;
    if (!Matches(condition, cells.Cell(condition.column))) return false;
  }
  return true;
}
