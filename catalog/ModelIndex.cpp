#include "catalog/ModelIndex.h"

#include "catalog/CatalogSchema.h"
#include "flatfile/DelimitedTable.h"
#include "platform/Text1252.h"

namespace {

// The key two spellings share when they are the same text without regard
// to letter case, by the rule SameText compares with.
std::string Folded(const std::string& text) {
  std::string key(text);
  for (char& c : key)
    c = static_cast<char>(ansi::Fold(static_cast<unsigned char>(c)));
  return key;
}

}  // namespace

TModelIndex::TModelIndex(const TDelimitedTable& antennas) {
  if (!antennas.Active()) return;
  const int column = antennas.FieldByName(schema::antenna::kModel)->Index();
  for (int row = 0; row < antennas.RecordCount(); ++row) {
    std::string model = antennas.CellText(row, column);
    if (++listed_[model] > 1) continue;  // rows that repeat a model are one spelling
    auto [entry, fresh] = spellings_.try_emplace(Folded(model), model);
    if (!fresh) entry->second.clear();  // a second spelling: ambiguous
  }
}

int TModelIndex::Rows(const std::string& model) const {
  const auto found = listed_.find(model);
  return found == listed_.end() ? 0 : found->second;
}

std::optional<std::string> TModelIndex::Spelling(const std::string& model) const {
  if (listed_.count(model) != 0) return model;
  const auto found = spellings_.find(Folded(model));
  if (found == spellings_.end() || found->second.empty()) return std::nullopt;
  return found->second;
}
