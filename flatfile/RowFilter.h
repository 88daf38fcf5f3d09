#pragma once
// The verdict on one line of a filtered table, prepared once per open from the
// table's filters, filter option and column names.
#include <string>
#include <vector>

#include "flatfile/FlatFileTypes.h"
#include "flatfile/LazyCells.h"
#include "flatfile/ModList.h"
#include "platform/NameValueList.h"

class TRowFilter {
 public:
  TRowFilter(const TNameValueList& filters, TFilterOption option, const TModList& columnNames);

  // Filters are tried in list order and the first that rejects decides. A
  // filter on a column the file lacks rejects; a line too short for a
  // filtered column fails with the list index error.
  bool Accept(TLazyCells& cells) const;

 private:
  struct Condition {
    int column;  // -1: the file has no such column
    std::string value;
  };
  bool Matches(const Condition& condition, std::string_view cell) const;

  TFilterOption option_;
  std::vector<Condition> conditions_;
};
