#pragma once
// The ordered list of sections behind TIniFile: each entry is a section name
// (without brackets) and the section's own list of lines, in file order.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TSectionList {
 public:
  using TLines = std::vector<std::string>;
  // Asked when two sections share a name. Returning false makes the later
  // section the one that is kept. Lines may be moved between the two lists.
  using TDuplicateSectionEvent =
      std::function<bool(const std::string& name, std::vector<std::string>& keptLines,
                         std::vector<std::string>& droppedLines)>;

  TSectionList() = default;
  TSectionList(const TSectionList&) = delete;
  TSectionList& operator=(const TSectionList&) = delete;

  int Count() const { return static_cast<int>(entries_.size()); }
  // Both raise EKavError for an index outside the list.
  const std::string& Name(int index) const;
  TLines& Lines(int index);
  const TLines& Lines(int index) const;

  // Appends a section with no lines and returns its index. The lines of a
  // section keep their address for as long as the section is in the list.
  int Add(const std::string& name);
  // Removes one section with its lines; the remembered position goes back to 0.
  void Delete(int index);
  // Removes every section; the remembered position goes back to 0.
  void Clear();

  // Index of the section with this name (letter case ignored), or -1. The
  // search starts at the remembered position and wraps round; a hit becomes
  // the new remembered position, a miss leaves it alone.
  int FindSection(std::string_view name);
  int Position() const { return position_; }

  // Folds sections of the same name (letter case ignored) into one. Without a
  // callback the first occurrence survives with its own lines only. Returns
  // whether any section was dropped.
  bool MergeDuplicates(const TDuplicateSectionEvent& onDuplicate);

 private:
  struct TEntry {
    std::string name;
    std::unique_ptr<TLines> lines;  // null marks an entry dropped by a merge
  };
  void CheckIndex(int index) const;
  void RemoveDropped();

  std::vector<TEntry> entries_;
  int position_ = 0;
};
