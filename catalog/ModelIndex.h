#pragma once
// Every model number of the antenna file, for looking one up as a person
// typed it: as written, or in other letter case when that names one model
// alone. Built once from a read of every antenna; each look-up after it
// costs the same whatever the catalogue's size.
#include <optional>
#include <string>
#include <unordered_map>

class TDelimitedTable;

class TModelIndex {
 public:
  TModelIndex() = default;
  // Takes the model column of every row of `antennas`; nothing when it is closed.
  explicit TModelIndex(const TDelimitedTable& antennas);

  // The catalogue's spelling of `model`: `model` itself when it is listed so;
  // else the one spelling listed in other letter case; none when it is not
  // listed, or listed in several spellings.
  std::optional<std::string> Spelling(const std::string& model) const;
  // How many rows list `model` as written.
  int Rows(const std::string& model) const;

 private:
  std::unordered_map<std::string, int> listed_;  // model as written -> its rows
  // Model without letter case -> its one spelling; empty when it has several.
  std::unordered_map<std::string, std::string> spellings_;
};
