// Which lines a filtered table keeps under each comparison.
#include "FlatFileFixture.h"

namespace {

class FlatFileFilterTest : public FlatFileFixture {
 protected:
  using Filters = std::initializer_list<std::pair<std::string, std::string>>;
  // A table on `bytes` that keeps what passes `filters`, not yet open.
  std::unique_ptr<TDelimitedTable> Filtered(const std::string& bytes, Filters filters,
                                            TFilterOption option = TFilterOption::Exact) {
    auto t = Table(bytes);
    t->SetFiltered(true);
    t->SetFilterOption(option);
    for (const auto& [name, value] : filters)
      t->Filters().SetValue(name, value);
    return t;
  }
  Rows Query(const std::string& bytes, TFilterOption option, Filters filters) {
    auto t = Filtered(bytes, filters, option);
    t->Open();
    return Records(*t);
  }
};

TEST_F(FlatFileFilterTest, DefaultCompareIsExactAndCaseSensitive) {
  const std::string file = "Freq|Type\n 23 GHz |HP\n23 ghz|HX\n23 GHz|SP\n";
  EXPECT_EQ(Query(file, TFilterOption::Exact, {{"Freq", "23 GHz"}}),
            (Rows{"23 GHz|HP", "23 GHz|SP"}));
  EXPECT_EQ(Query(file, TFilterOption::Exact, {{"freq", " 23 GHz "}, {"TYPE", "SP"}}),
            (Rows{"23 GHz|SP"}));
}

TEST_F(FlatFileFilterTest, DelimitedCompareMatchesAnyListItemIgnoringCase) {
  const std::string file = "Antenna_Type|Antenna_Size|S\nhp, hx|4,6 , 8|a\nSP|6|b\nHP|10|c\n";
  EXPECT_EQ(
      Query(file, TFilterOption::InCommaList, {{"Antenna_Type", "HX"}, {"Antenna_Size", "6"}}),
      (Rows{"hp, hx|4,6 , 8|a"}));
  EXPECT_EQ(Query(file, TFilterOption::InCommaList, {{"Antenna_Type", "sp"}}), (Rows{"SP|6|b"}));
  EXPECT_EQ(Query(file, TFilterOption::InCommaList, {{"Antenna_Size", "1"}}), Rows{});
  // The last cell of a line runs to its end, whatever a longer line before it held.
  EXPECT_EQ(Query("A|B\nx|yy|z\np|qqqq\n", TFilterOption::InCommaList, {{"B", "qqqq"}}),
            Rows{"p|qqqq"});
}

TEST_F(FlatFileFilterTest, PartialCompareUsesTheWildcardPattern) {
  const std::string file = "PartNum\nHP2-23\nHP2-230\nhp2-23x\nXHP2\n";
  EXPECT_EQ(Query(file, TFilterOption::Wildcard, {{"PartNum", "HP2-23*"}}),
            (Rows{"HP2-23", "HP2-230"}));
  EXPECT_EQ(Query(file, TFilterOption::Wildcard, {{"PartNum", "*"}}).size(), 4u);
  EXPECT_EQ(Query(file, TFilterOption::Wildcard, {{"PartNum", "?HP?"}}), (Rows{"XHP2"}));
}

TEST_F(FlatFileFilterTest, FiltersApplyOnlyWhenFilteredIsSetAndAnEmptyValueRemovesOne) {
  auto t = Table("A\nx\ny\n");
  t->Filters().SetValue("A", "x");
  t->Open();
  EXPECT_EQ(t->RecordCount(), 2);  // not filtered
  t->Close();
  t->SetFiltered(true);
  t->Filters().SetValue("A", "");
  EXPECT_EQ(t->Filters().Count(), 0);
  t->Open();
  EXPECT_EQ(t->RecordCount(), 2);
}

TEST_F(FlatFileFilterTest, UnknownColumnRejectsEveryLine) {
  EXPECT_EQ(Query("A\nx\n", TFilterOption::Exact, {{"Nope", "x"}}), Rows{});
  // A line without "=" has an empty name: only an empty column name matches it.
  auto t = Filtered("A\nx\n", {});
  t->Filters().Add("A");
  t->Open();
  EXPECT_EQ(t->RecordCount(), 0);
}

TEST_F(FlatFileFilterTest, ShortLineFailsTheOpenOnlyWhenItsCellIsCompared) {
  auto t = Filtered("A|B\nx|1\ny\n", {{"B", "1"}});
  EXPECT_EQ(ErrorOf([&] { t->Open(); }), "List index out of bounds (1)");
  EXPECT_FALSE(t->Active());
  // The first filter rejects the short line before the second looks at it.
  t->Filters().Clear();
  t->Filters().SetValue("A", "x");
  t->Filters().SetValue("B", "1");
  t->Open();
  EXPECT_EQ(Records(*t), (Rows{"x|1"}));
  // The header is cut at the first ':' only ("A", ":B"); the lines are split the general way.
  t = Filtered("A::B\nx::1\ny\n", {{"A", "y"}, {":B", "1"}});
  t->SetDelimiter("::");
  EXPECT_EQ(ErrorOf([&] { t->Open(); }), "List index out of bounds (1)");
  t = Filtered("A::B\nx:1\n", {{":B", "2"}});  // one cell, whatever single ':' it holds
  t->SetDelimiter("::");
  EXPECT_EQ(ErrorOf([&] { t->Open(); }), "List index out of bounds (1)");
}

// Lines without the filtered text are looked at quickly, in blocks of
// thirty-two bytes and then byte by byte near the end. A line holding the
// text is found at every offset in a block, and a line too short for the
// filtered column still reaches the filter, wherever it lies and whatever
// follows it in the same block.
TEST_F(FlatFileFilterTest, QuickLookMissesNoLineThatCounts) {
  std::string longLines;
  for (int i = 0; i < 8; ++i)
    longLines += "a|b|other text that fills a block\n";
  for (size_t pad = 0; pad < 40; ++pad) {
    const std::string line = "k|" + std::string(pad, 'x') + "|match";
    const std::string bytes = "A|B|C\n" + longLines + line + "\n" + longLines;
    EXPECT_EQ(Query(bytes, TFilterOption::Exact, {{"C", "match"}}), Rows{line}) << pad;
  }
  for (const std::string& body : {longLines + "y|2\n" + longLines, longLines + "z|2\nu|v|w\n",
                                  longLines + "\n" + longLines}) {
    auto t = Filtered("A|B|C\n" + body, {{"C", "match"}});
    EXPECT_EQ(ErrorOf([&] { t->Open(); }), "List index out of bounds (2)") << body;
  }
}

TEST_F(FlatFileFilterTest, SingleInstanceTakesTheFirstMatchingLine) {
  auto t = Filtered("G|F|Suffix\nA,B|N|first\nB|N|second\n", {{"G", "b"}, {"F", "n"}},
                    TFilterOption::InCommaList);
  t->SetDataInstance(TDataInstance::FirstMatch);
  t->Open();
  EXPECT_EQ(Records(*t), (Rows{"A,B|N|first"}));
  // The first match ends the read, wherever it lies in its mebibyte of the file.
  for (const size_t at : {size_t{0}, size_t{262137}}) {
    std::string bytes = "A|B\n";
    for (size_t i = 0; i < 270000; ++i)
      bytes += i == at ? "1|match\n" : "a|b\n";
    t = Filtered(bytes + "2|match\n", {{"B", "match"}});
    t->SetDataInstance(TDataInstance::FirstMatch);
    t->Open();
    EXPECT_EQ(Records(*t), Rows{"1|match"}) << at;
  }
}

}  // namespace
