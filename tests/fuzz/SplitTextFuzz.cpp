// Cutting a text into cells: TDelimitedList::SplitText, SplitCells and the lazy
// cells a row filter reads all give the items of the plain model, for any
// text and any delimiter.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "flatfile/DelimitedList.h"
#include "flatfile/LazyCells.h"
#include "fuzz/FuzzSupport.h"

namespace {

// The lazy cells asked in the order a filter might ask them: `order` picks
// the indexes, some of them past the end.
void CheckLazyCells(std::string_view text, std::string_view delimiter,
                    const std::vector<std::string>& expected, std::string_view order) {
  TLazyCells cells(delimiter);
  cells.Reset(text);
  const int count = static_cast<int>(expected.size());
  std::vector<int> indexes;
  for (unsigned char c : order)
    indexes.push_back(static_cast<int>(c % (count + 2)) - 1);
  for (int i = count; i >= -1; --i)
    indexes.push_back(i);  // every cell, last first
  for (int index : indexes) {
    if (index >= 0 && index < count)
      FUZZ_CHECK(cells.Cell(index) == expected[static_cast<size_t>(index)]);
    else
      FUZZ_CHECK(fuzz::Failure([&] { cells.Cell(index); }) == fuzz::IndexError(index));
  }
}

}  // namespace

// Input: one byte choosing the delimiter's length (0 to 3), the delimiter,
// a few bytes choosing the order of cell reads, then the text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  if (input.size() < 2) return 0;
  const size_t delimiterLength = static_cast<unsigned char>(input[0]) % 4;
  const size_t orderLength = static_cast<unsigned char>(input[0]) / 4 % 8;
  input.remove_prefix(1);
  if (input.size() < delimiterLength + orderLength) return 0;
  const std::string_view delimiter = input.substr(0, delimiterLength);
  const std::string_view order = input.substr(delimiterLength, orderLength);
  const std::string_view text = input.substr(delimiterLength + orderLength);

  const std::vector<std::string> expected = fuzz::Cells(text, delimiter);

  TDelimitedList list{std::string(delimiter)};
  list.SplitText(text);
  FUZZ_CHECK(list.Items() == expected);

  std::vector<std::string_view> views{"stale"};
  SplitCells(text, delimiter, views);
  FUZZ_CHECK(std::vector<std::string>(views.begin(), views.end()) == expected);

  CheckLazyCells(text, delimiter, expected, order);
  return 0;
}
