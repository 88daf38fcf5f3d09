#pragma once
// Opens small catalogue files written by the test.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "flatfile/DelimitedTable.h"
#include "platform/Error.h"

class FlatFileFixture : public ::testing::Test {
 protected:
  // A table on `name` in the temporary folder, holding `bytes`.
  std::unique_ptr<TDelimitedTable> Table(const std::string& bytes,
                                         const std::string& name = "t.dat") {
    WriteFile(dir / name, bytes);
    auto table = std::make_unique<TDelimitedTable>("Table");
    table->SetFileName(dir / name);
    return table;
  }
  // The same, opened.
  std::unique_ptr<TDelimitedTable> Opened(const std::string& bytes,
                                          const std::string& name = "t.dat") {
    auto table = Table(bytes, name);
    table->Open();
    return table;
  }

  // Every record of an open table, its cells joined by "|".
  static std::vector<std::string> Records(TDelimitedTable& table) {
    std::vector<std::string> rows;
    for (table.First(); !table.Eof(); table.Next()) {
      std::string row;
      for (int i = 0; i < table.FieldCount(); ++i)
        row += (i ? "|" : "") + table.Fields(i)->AsString();
      rows.push_back(row);
    }
    return rows;
  }

  TempDir dir;
};

using Rows = std::vector<std::string>;
