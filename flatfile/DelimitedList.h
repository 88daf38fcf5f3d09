#pragma once
// A list of texts with its own delimiter, whose SplitText cuts a text at the
// delimiter into trimmed items. Splits catalogue lines into cells ("|") and
// cells into list items (",").
#include <string>
#include <string_view>
#include <vector>

// Cuts `text` at `delimiter` into items with blanks and control characters
// trimmed from both ends. After each cut only the first character of the
// delimiter is dropped. Always yields at least one item.
void SplitCells(std::string_view text, std::string_view delimiter,
                std::vector<std::string_view>& items);

class TDelimitedList {
 public:
  explicit TDelimitedList(std::string delimiter = "|") : delimiter_(std::move(delimiter)) {}

  const std::string& Delimiter() const { return delimiter_; }
  void SetDelimiter(std::string delimiter) { delimiter_ = std::move(delimiter); }

  int Count() const { return static_cast<int>(items_.size()); }
  // Fails with "List index out of bounds (n)" outside 0..Count-1.
  const std::string& operator[](int index) const;
  void Put(int index, std::string text);
  void Add(std::string text) { items_.push_back(std::move(text)); }
  void Insert(int index, std::string text);
  void Clear() { items_.clear(); }
  void Assign(const TDelimitedList& other) { items_ = other.items_; }
  const std::vector<std::string>& Items() const { return items_; }

  // Position of the first item equal to `text` ignoring case, or -1.
  int IndexOf(std::string_view text) const;

  void SplitText(std::string_view text);

  // Reads a file's lines (CR, LF or CR LF end a line; a NUL ends the text).
  void LoadFromFile(const std::string& path);
  // Writes every item followed by CR LF, replacing the file whole.
  void SaveToFile(const std::string& path) const;

 private:
  void CheckIndex(int index, int limit) const;
  std::string delimiter_;
  std::vector<std::string> items_;
};
