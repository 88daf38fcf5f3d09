#include "ini/SectionList.h"

#include <algorithm>
#include <utility>

#include "platform/Error.h"
#include "platform/Text1252.h"

void TSectionList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw EKavError(ListIndexError(index));
}

const std::string& TSectionList::Name(int index) const {
  CheckIndex(index);
  return entries_[index].name;
}

TSectionList::TLines& TSectionList::Lines(int index) {
  CheckIndex(index);
  return *entries_[index].lines;
}

const TSectionList::TLines& TSectionList::Lines(int index) const {
  CheckIndex(index);
  return *entries_[index].lines;
}

int TSectionList::Add(const std::string& name) {
  entries_.push_back(TEntry{name, std::make_unique<TLines>()});
  return Count() - 1;
}

void TSectionList::Delete(int index) {
  CheckIndex(index);
  entries_.erase(entries_.begin() + index);
  position_ = 0;
}

void TSectionList::Clear() {
  entries_.clear();
  position_ = 0;
}

int TSectionList::FindSection(std::string_view name) {
  const int count = Count();
  if (count == 0) return -1;
  const int start = position_ < count ? position_ : 0;
  for (int step = 0; step < count; ++step) {
    const int index = (start + step) % count;
    if (ansi::SameText(entries_[index].name, name)) {
      position_ = index;
      return index;
    }
  }
  return -1;
}

void TSectionList::RemoveDropped() {
  const auto dropped = [](const TEntry& entry) { return entry.lines == nullptr; };
  if (std::any_of(entries_.begin(), entries_.end(), dropped)) {
    std::erase_if(entries_, dropped);
    position_ = 0;
  }
}

bool TSectionList::MergeDuplicates(const TDuplicateSectionEvent& onDuplicate) {
  if (entries_.size() < 2) return false;

  // Positions sorted by name; equal names stay in file order, so a group's
  // sections are met (and offered to the callback) first to last.
  std::vector<int> order(entries_.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
    return ansi::CompareText(entries_[a].name, entries_[b].name) < 0;
  });

  bool anyDropped = false;
  try {
    int leader = order[0];
    for (size_t i = 1; i < order.size(); ++i) {
      const int candidate = order[i];
      if (!ansi::SameText(entries_[candidate].name, entries_[leader].name)) {
        leader = candidate;
        continue;
      }
      int kept = std::min(leader, candidate);
      int dropped = std::max(leader, candidate);
      if (onDuplicate &&
          !onDuplicate(entries_[kept].name, *entries_[kept].lines, *entries_[dropped].lines))
        std::swap(kept, dropped);
      entries_[dropped].lines.reset();
      anyDropped = true;
      leader = kept;
    }
  } catch (...) {
    RemoveDropped();  // never leave an entry without its line list behind
    throw;
  }
  RemoveDropped();
  return anyDropped;
}
