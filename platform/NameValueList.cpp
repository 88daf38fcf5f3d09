#include "platform/NameValueList.h"

#include "platform/Error.h"
#include "platform/Text1252.h"

const std::string& TNameValueList::operator[](int index) const {
  if (index < 0 || index >= Count()) throw EKavError(ListIndexError(index));
  return lines_[static_cast<size_t>(index)];
}

std::string TNameValueList::Name(int index) const {
  const std::string& line = (*this)[index];
  const size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string TNameValueList::ValueFromIndex(int index) const {
  const std::string& line = (*this)[index];
  const size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

int TNameValueList::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string& line = lines_[static_cast<size_t>(i)];
    const size_t eq = line.find('=');
    if (eq != std::string::npos && ansi::SameText(std::string_view(line).substr(0, eq), name))
      return i;
  }
  return -1;
}

std::string TNameValueList::Value(std::string_view name) const {
  const int index = IndexOfName(name);
  return index < 0 ? std::string() : ValueFromIndex(index);
}

void TNameValueList::SetValue(std::string_view name, std::string_view value) {
  const int index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) lines_.erase(lines_.begin() + index);
    return;
  }
  std::string line = std::string(name) + "=" + std::string(value);
  if (index >= 0)
    lines_[static_cast<size_t>(index)] = std::move(line);
  else
    lines_.push_back(std::move(line));
}

std::string TNameValueList::Text() const {
  std::string text;
  for (const std::string& line : lines_)
    text += line + "\r\n";
  return text;
}
