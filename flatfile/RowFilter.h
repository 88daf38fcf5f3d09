#pragma once
// The verdict on one line of a filtered table, prepared once per open from the
// table's filters, filter option and column names.
#include <functional>
#include <string>
#include <vector>

#include "flatfile/DelimitedList.h"
#include "flatfile/FlatFileTypes.h"
#include "flatfile/LazyCells.h"
#include "platform/NameValueList.h"

class TRowFilter {
 public:
  TRowFilter(const TNameValueList& filters, TFilterOption option,
             const TDelimitedList& columnNames);

  // Filters are tried in list order and the first that rejects decides. A
  // filter on a column the file lacks rejects; a line too short for a
  // filtered column fails with the list index error.
  bool Accept(TLazyCells& cells) const;

  // Whether SkimLines can look at lines split by `delimiter`.
  bool CanSkim(std::string_view delimiter) const;

  // A quick look at a block of whole lines (each ending in a CR, LF or CR LF
  // break): passes to `onLine`, in order, only the lines Accept might take
  // or fail on, that is those holding the text the first filter needs and
  // those too short to reach its column. Most lines of a big file pass
  // unsplit. False as soon as `onLine` answers false.
  bool SkimLines(std::string_view block, char delimiter,
                 const std::function<bool(std::string_view)>& onLine) const;

 private:
  struct Condition {
    int column;  // -1: the file has no such column
    std::string value;
  };
  bool Matches(const Condition& condition, std::string_view cell) const;

  TFilterOption option_;
  std::vector<Condition> conditions_;
  // Text every line that passes the first filter holds, and its column.
  std::string needed_;
  int neededColumn_ = -1;
};
