// Files nobody should write still give a clear message or a table, and never
// a crash or a hang.
#include <sys/stat.h>
#include <filesystem>

#include "FlatFileFixture.h"

namespace {

class BadInputTest : public FlatFileFixture {};

TEST_F(BadInputTest, UnreachableFileGivesTheSystemsReason) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows gives a user no symbolic links, and chmod cannot take read access";
#endif
  // A file the system cannot reach for a reason other than its absence is
  // not reported missing (a folder of links that loop: root meets it too).
  std::error_code ec;
  std::filesystem::create_directory_symlink(dir / "loop", dir / "loop", ec);
  if (ec) GTEST_SKIP() << "no folder links here: " << ec.message();
  auto behind = Table("A\n1\n");
  behind->SetFileName(dir / "loop/t.dat");
  EXPECT_EQ(ErrorOf([&] { behind->Open(); }).substr(0, 13), "Cannot open f");
  if (RunningAsRoot()) GTEST_SKIP() << "root reads every file";
  auto t = Table("A\n1\n");
  ::chmod((dir / "t.dat").c_str(), 0);
  EXPECT_EQ(ErrorOf([&] { t->Open(); }),
            "Cannot open file \"" + (dir / "t.dat") + "\". Permission denied");
  EXPECT_FALSE(t->Active());
}

TEST_F(BadInputTest, BinaryGarbageOpensAsSomeRecords) {
  std::string garbage;
  unsigned state = 12345;
  for (int i = 0; i < 100000; ++i) {
    state = state * 1103515245 + 12345;
    garbage += static_cast<char>((state >> 16) | 1);  // no NUL, so the whole text is read
  }
  auto t = Opened(garbage);
  int cells = 0;
  for (t->First(); !t->Eof(); t->Next())
    for (int i = 0; i < t->FieldCount(); ++i)
      try {
        cells += static_cast<int>(t->Fields(i)->AsString().size() > 0);
      } catch (const EKavError&) {
      }
  EXPECT_GT(t->RecordCount(), 0);
}

TEST_F(BadInputTest, VeryLongLinesAndManyColumns) {
  const std::string longCell(10 << 20, 'x');
  auto t = Opened("A|B\n" + longCell + "|end\nshort|2\n");
  EXPECT_EQ(t->Fields(0)->AsString().size(), longCell.size());
  EXPECT_EQ(t->Fields(1)->AsString(), "end");
  t->Next();
  EXPECT_EQ(t->Fields(1)->AsString(), "2");

  std::string header, row;
  for (int i = 0; i < 100000; ++i) {
    header += (i ? "|C" : "C") + std::to_string(i);
    row += (i ? "|" : "") + std::to_string(i);
  }
  auto wide = Table(header + "\n" + row + "\n", "wide.dat");
  wide->SetFiltered(true);
  wide->Filters().SetValue("C99999", "99999");
  wide->Open();
  EXPECT_EQ(wide->FieldCount(), 100000);
  EXPECT_EQ(wide->FieldByName("C54321")->AsString(), "54321");
}

TEST_F(BadInputTest, HugeSkipRowFailsCleanly) {
  auto t = Table("A\n1\n2\n");
  t->SetSkipRow(1 << 30);
  EXPECT_EQ(ErrorOf([&] { t->Open(); }), "List index out of bounds (1073741823)");
}

TEST_F(BadInputTest, OnlyLineBreaks) {
  auto t = Opened("\r\r\r\n\n");
  EXPECT_EQ(t->FieldCount(), 1);
  EXPECT_EQ(Records(*t), (Rows{"", "", ""}));
}

}  // namespace
