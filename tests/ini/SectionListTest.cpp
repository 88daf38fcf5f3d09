#include "ini/SectionList.h"

#include <gtest/gtest.h>

#include "platform/Error.h"

namespace {

using TLines = TSectionList::TLines;

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
  EXPECT_THROW(list.Name(2), EKavError);  // the count is past the last
}

TEST(SectionListTest, MergeCallbackSeesPairsInFileOrderAndMayMoveLines) {
  TSectionList list;
  for (const auto& [name, line] : {std::pair{"s", "1"}, {"t", "t"}, {"S", "2"}, {"s", "3"}})
    list.Lines(list.Add(name)) = {line};
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

}  // namespace
