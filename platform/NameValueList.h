#pragma once
// An ordered list of text lines, each normally a name, "=" and a value. Names
// compare without regard to letter case. Used for table filters, report rows,
// the clipboard and export text and the launcher's settings.
#include <string>
#include <string_view>
#include <vector>

class TNameValueList {
 public:
  TNameValueList() = default;
  TNameValueList(std::initializer_list<std::string> lines) : lines_(lines) {}

  int Count() const { return static_cast<int>(lines_.size()); }
  const std::string& operator[](int index) const;
  const std::vector<std::string>& Lines() const { return lines_; }
  void Add(const std::string& line) { lines_.push_back(line); }
  void Clear() { lines_.clear(); }

  // The text before the first "=" of a line (the whole line has an empty name
  // when it holds no "=").
  std::string Name(int index) const;
  // The text after the name and its "=".
  std::string ValueFromIndex(int index) const;
  // Position of the first line whose name equals `name` ignoring case, or -1.
  int IndexOfName(std::string_view name) const;
  // The value of the first line named `name`, or the empty text.
  std::string Value(std::string_view name) const;
  // A non-empty value replaces the line of that name or appends one; an empty
  // value removes the line.
  void SetValue(std::string_view name, std::string_view value);

  // Every line followed by CR LF.
  std::string Text() const;

 private:
  std::vector<std::string> lines_;
};
