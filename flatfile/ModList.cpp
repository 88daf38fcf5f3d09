#include "flatfile/ModList.h"

#include <cstring>

#include "flatfile/LineReader.h"
#include "platform/AnsiText.h"
#include "platform/Error.h"
#include "platform/FileUtil.h"

void SplitCells(std::string_view text, std::string_view delimiter,
                std::vector<std::string_view>& items) {
  items.clear();
  if (delimiter.size() == 1) {
    const char d = delimiter[0];
    const char* p = text.data();
    const char* end = p + text.size();
    while (true) {
      const char* cut = static_cast<const char*>(std::memchr(p, d, static_cast<size_t>(end - p)));
      if (cut == nullptr) break;
      items.push_back(ansi::Trim(std::string_view(p, static_cast<size_t>(cut - p))));
      p = cut + 1;
    }
    items.push_back(ansi::Trim(std::string_view(p, static_cast<size_t>(end - p))));
    return;
  }
  // An empty delimiter never occurs in a text, so the text is one item.
  std::string_view rest = text;
  size_t at;
  while (!delimiter.empty() && (at = rest.find(delimiter)) != std::string_view::npos) {
    items.push_back(ansi::Trim(rest.substr(0, at)));
    rest.remove_prefix(at + 1);
  }
  items.push_back(ansi::Trim(rest));
}

void TModList::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit) throw EKavError(ListIndexError(index));
}

const std::string& TModList::operator[](int index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)];
}

void TModList::Put(int index, std::string text) {
  CheckIndex(index, Count());
  items_[static_cast<size_t>(index)] = std::move(text);
}

void TModList::Insert(int index, std::string text) {
  CheckIndex(index, Count() + 1);
  items_.insert(items_.begin() + index, std::move(text));
}

int TModList::IndexOf(std::string_view text) const {
  for (int i = 0; i < Count(); ++i)
    if (ansi::SameText(items_[static_cast<size_t>(i)], text)) return i;
  return -1;
}

void TModList::SplitText(std::string_view text) {
  std::vector<std::string_view> cells;
  SplitCells(text, delimiter_, cells);
  items_.assign(cells.begin(), cells.end());
}

void TModList::LoadFromFile(const std::string& path) {
  TLineReader reader(path);
  items_.clear();
  std::string_view line;
  while (reader.Next(line))
    items_.emplace_back(line);
}

void TModList::SaveToFile(const std::string& path) const {
  std::string bytes;
  for (const std::string& item : items_)
    bytes += item + "\r\n";
  WriteFileAtomically(path, bytes);
}
