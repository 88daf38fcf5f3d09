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

  // A quick look at a whole line (split by `delimiter`): true only when
  // Accept would certainly reject it without an error, because the text the
  // first filter needs is nowhere in the line and the line is long enough
  // to reach that filter's column. Lets most lines of a big file pass
  // unsplit.
  bool SurelyRejects(std::string_view line, std::string_view delimiter) const;

 private:
  struct Condition {
    int column;  // -1: the file has no such column
    std::string value;
  };
  bool Matches(const Condition& condition, std::string_view cell) const;
  bool Holds(std::string_view line) const;

  TFilterOption option_;
  std::vector<Condition> conditions_;
  // Text every line that passes the first filter holds, and its column.
  std::string needed_;
  int neededColumn_ = -1;
};
