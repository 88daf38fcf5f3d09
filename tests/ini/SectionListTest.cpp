#include "ini/SectionList.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/Error.h"

namespace {

using TLines = TSectionList::TLines;

// Adds a section holding the given lines.
void AddSection(TSectionList& list, const std::string& name, TLines lines) {
  list.Lines(list.Add(name)) = std::move(lines);
}

TEST(SectionListTest, FindSectionRemembersPositionAndWrapsRound) {
  TSectionList list;
  EXPECT_EQ(list.FindSection("a"), -1);
  for (const char* name : {"alpha", "Beta", "gamma"})
    list.Add(name);
  EXPECT_EQ(list.FindSection("GAMMA"), 2);
  EXPECT_EQ(list.Position(), 2);
  EXPECT_EQ(list.FindSection("beta"), 1);  // found after wrapping past the end
  EXPECT_EQ(list.FindSection("delta"), -1);
  EXPECT_EQ(list.Position(), 1);  // a miss keeps the position
  list.Delete(2);
  EXPECT_EQ(list.Position(), 0);
  EXPECT_THROW(list.Name(5), EKavError);
}

TEST(SectionListTest, MergeWithoutCallbackKeepsFirstOccurrenceOnly) {
  TSectionList list;
  AddSection(list, "S", {"1"});
  AddSection(list, "other", {"x"});
  AddSection(list, "s", {"2"});
  AddSection(list, "OTHER", {"y"});
  AddSection(list, "s", {"3"});
  EXPECT_TRUE(list.MergeDuplicates(nullptr));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Name(0), "S");
  EXPECT_EQ(list.Lines(0), TLines{"1"});
  EXPECT_EQ(list.Name(1), "other");
  EXPECT_EQ(list.Lines(1), TLines{"x"});
  EXPECT_FALSE(list.MergeDuplicates(nullptr));
}

TEST(SectionListTest, MergeCallbackSeesPairsInFileOrderAndMayMoveLines) {
  TSectionList list;
  AddSection(list, "s", {"1"});
  AddSection(list, "t", {"t"});
  AddSection(list, "S", {"2"});
  AddSection(list, "s", {"3"});
  std::vector<TLines> keptSeen;
  EXPECT_TRUE(list.MergeDuplicates([&](const std::string& name, TLines& kept, TLines& dropped) {
    EXPECT_EQ(name, "s");
    keptSeen.push_back(kept);
    kept.insert(kept.end(), dropped.begin(), dropped.end());
    return true;
  }));
  EXPECT_EQ(keptSeen, (std::vector<TLines>{{"1"}, {"1", "2"}}));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Lines(0), (TLines{"1", "2", "3"}));
  EXPECT_EQ(list.Name(1), "t");
}

TEST(SectionListTest, MergeCallbackReturningFalseKeepsLaterSection) {
  TSectionList list;
  AddSection(list, "a", {"1"});
  AddSection(list, "b", {"b"});
  AddSection(list, "A", {"2"});
  list.MergeDuplicates([](const std::string&, TLines&, TLines&) { return false; });
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Name(0), "b");  // file order of the survivors
  EXPECT_EQ(list.Name(1), "A");
  EXPECT_EQ(list.Lines(1), TLines{"2"});
}

TEST(SectionListTest, MergeCallbackThrowingLeavesListUsable) {
  TSectionList list;
  for (const char* name : {"a", "A", "a"})
    AddSection(list, name, {name});
  int calls = 0;
  EXPECT_THROW(list.MergeDuplicates([&](const std::string&, TLines&, TLines&) -> bool {
    if (++calls == 2) throw std::runtime_error("stop");
    return true;
  }),
               std::runtime_error);
  ASSERT_EQ(list.Count(), 2);  // the first merge happened, the second did not
  EXPECT_EQ(list.Lines(1), TLines{"a"});
}

}  // namespace
