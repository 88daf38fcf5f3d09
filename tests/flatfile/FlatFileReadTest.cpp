// Reading a catalogue file into records: lines, header, skip line, comments,
// cells and field binding.
#include "FlatFileFixture.h"

namespace {

class FlatFileReadTest : public FlatFileFixture {};

TEST_F(FlatFileReadTest, EveryKindOfLineBreakEndsALineAndANulByteTheText) {
  for (const auto& [bytes, rows] : std::vector<std::pair<std::string, Rows>>{
           {"A\r\nlf\ncr\rcrlf\r\nlast", {"lf", "cr", "crlf", "last"}},
           // A final break starts no further line; a blank line in the middle is a record.
           {"A\n\none\n", {"", "one"}},
           // A NUL byte ends the text.
           {std::string("A\nbefore\nhalf\0after\nnever\n", 26), {"before", "half"}}})
    EXPECT_EQ(Records(*Opened(bytes)), rows);
}

TEST_F(FlatFileReadTest, HeaderOnlyAndEmptyFiles) {
  auto t = Opened("A|B\r\n");
  EXPECT_EQ(std::pair(t->RecordCount(), t->FieldCount()), std::pair(0, 2));

  auto empty = Table("", "MWAnts.dat");
  EXPECT_EQ(ErrorOf([&] { empty->Open(); }), "No Data Exits in " + (dir / "MWAnts.dat"));
  EXPECT_FALSE(empty->Active());
  // (Not "nul.dat": Windows keeps NUL as a device name.)
  auto nul = Table(std::string("\0A\n", 3), "zero.dat");
  EXPECT_EQ(ErrorOf([&] { nul->Open(); }), "No Data Exits in " + (dir / "zero.dat"));
}

TEST_F(FlatFileReadTest, SkipRowDropsOneLineAfterTheHeader) {
  for (const auto& [bytes, skip, rows] : std::vector<std::tuple<std::string, int, Rows>>{
           {"A\n# not a comment test, just skipped\ndata1\ndata2\n", 1, {"data1", "data2"}},
           {"A\nd1\nd2\nd3\n", 2, {"d1", "d3"}}}) {
    auto t = Table(bytes);
    t->SetSkipRow(skip);
    t->Open();
    EXPECT_EQ(Records(*t), rows);
  }

  auto past = Table("A\nonly\n", "past.dat");
  past->SetSkipRow(2);
  EXPECT_EQ(ErrorOf([&] { past->Open(); }), "List index out of bounds (1)");
  EXPECT_FALSE(past->Active());
  EXPECT_EQ(past->HeaderItems().Count(), 0);
}

TEST_F(FlatFileReadTest, CommentsAreRecognisedByTheFirstCharacterOnly) {
  auto t = Opened("A|B\n#c\n*c\n;c\n[c\n^c\n`c\n{c\n~c\n #kept|x\nplain|y\n");
  EXPECT_EQ(Records(*t), (Rows{"#kept|x", "plain|y"}));
}

TEST_F(FlatFileReadTest, CellsAreTrimmedOfBlanksAndControlsOnly) {
  auto t = Opened("A | B |C\n \t a b \t| \"q\" |" + std::string(70, 'w') + "\n");
  EXPECT_EQ(t->FieldByName("A")->AsString(), "a b");
  EXPECT_EQ(t->FieldByName("B")->AsString(), "\"q\"");
  EXPECT_EQ(t->FieldByName("C")->AsString(), std::string(70, 'w'));  // longer than 50, whole
}

TEST_F(FlatFileReadTest, ShortLinesBecomeRecordsButTheirMissingCellsFail) {
  auto t = Opened("A|B|C\n1|2\n1|2|3|4|5\n");
  EXPECT_EQ(t->FieldByName("B")->AsString(), "2");
  EXPECT_EQ(ErrorOf([&] { t->FieldByName("C")->AsString(); }), "List index out of bounds (2)");
  EXPECT_EQ(ErrorOf([&] { t->FieldByName("C")->SetAsString("x"); }),
            "List index out of bounds (2)");
  t->FieldByName("B")->SetAsString("x");  // an edited row still lacks the cell
  EXPECT_EQ(ErrorOf([&] { t->FieldByName("C")->AsString(); }), "List index out of bounds (2)");
  EXPECT_EQ(ErrorOf([&] { t->RowCells(2); }), "List index out of bounds (2)");
  t->Next();
  EXPECT_EQ(t->FieldByName("C")->AsString(), "3");  // extra cells are never read
}

TEST_F(FlatFileReadTest, DefaultFieldNamesMakeTheHeaderARecord) {
  auto t = Table("x|x\n1|2\n");  // equal header items cannot clash with Field1, Field2
  t->SetDefaultFieldNames(true);
  t->Open();
  EXPECT_EQ(t->Fields(1)->FieldName(), "Field2");
  EXPECT_EQ(Records(*t), (Rows{"x|x", "1|2"}));
}

TEST_F(FlatFileReadTest, ADelimiterSetWhileOpenCountsFromTheNextOpen) {
  auto t = Table("A|B\n1;2|3\n");
  t->Open();
  t->SetDelimiter(";");
  EXPECT_EQ(t->Fields(1)->AsString(), "3");
  t->Close();
  t->Open();
  EXPECT_EQ(t->FieldCount(), 1);  // the header is one column now
  EXPECT_EQ(t->Fields(0)->AsString(), "1");
}

TEST_F(FlatFileReadTest, DeclaredFieldsReadByTheirOwnPosition) {
  // A declared field reads the cell at its declaration position, not at the
  // position of its name in the header.
  auto t = Table("A|B\n1|2\n");
  TField* b = t->AddField("B");
  TField* a = t->AddField("A");
  t->Open();
  EXPECT_EQ(std::pair(b->AsString(), a->AsString()),
            (std::pair<std::string, std::string>("1", "2")));
  t->Close();
  EXPECT_EQ(t->FieldCount(), 2);  // declared fields survive the close
}

TEST_F(FlatFileReadTest, BindingFailuresNameTheTableAndField) {
  auto t = Table("A|B\n1|2\n");
  t->AddField("Missing");
  EXPECT_EQ(ErrorOf([&] { t->Open(); }), "Table: Field 'Missing' not found");
  EXPECT_FALSE(t->Active());

  auto sized = Table("A\n1\n", "s.dat");
  sized->AddField("A", TFieldType::ftString, 20);
  EXPECT_EQ(ErrorOf([&] { sized->Open(); }),
            "Table: Size mismatch for field 'A', expecting: 20 actual: 50");

  auto typed = Table("A\n1\n", "ty.dat");
  typed->AddField("a", TFieldType::ftInteger);
  EXPECT_EQ(ErrorOf([&] { typed->Open(); }),
            "Table: Type mismatch for field 'a', expecting: Integer actual: String");

  auto twice = Table("Name|x|NAME\n", "d.dat");
  EXPECT_EQ(ErrorOf([&] { twice->Open(); }), "A component named NAME already exists");
  auto blanks = Opened("|x|\n1|2|3\n", "b.dat");  // empty names may repeat
  EXPECT_EQ(blanks->FieldCount(), 3);
}

TEST_F(FlatFileReadTest, SingleInstanceKeepsTheFirstAcceptedLine) {
  auto t = Table("A\n#c\nfirst\nsecond\n");
  t->SetDataInstance(TDataInstance::FirstMatch);
  EXPECT_TRUE(WithoutStandardInput([&] { t->Open(); }));  // opened as descriptor 0
  EXPECT_EQ(Records(*t), (Rows{"first"}));
}

TEST_F(FlatFileReadTest, SplitTextRules) {
  TDelimitedList list;
  auto split = [&](std::string_view text) {
    list.SplitText(text);
    return list.Items();
  };
  EXPECT_EQ(split("a|b|"), (Rows{"a", "b", ""}));
  EXPECT_EQ(split(std::string_view("a|b|").substr(0, 3)), (Rows{"a", "b"}));  // the last "|" unread
  EXPECT_EQ(split(""), (Rows{""}));
  EXPECT_EQ(list.IndexOf("b"), -1);  // an item that was, and is no more
  list.SetDelimiter(",");
  EXPECT_EQ(split(" 4, 6 ,8 "), (Rows{"4", "6", "8"}));
  EXPECT_EQ(list.IndexOf("6"), 1);
  // Only the first character of a longer delimiter goes with each cut.
  list.SetDelimiter("||");
  EXPECT_EQ(split("a||b"), (Rows{"a", "|b"}));
  list.SetDelimiter("");
  EXPECT_EQ(split(" a|b "), (Rows{"a|b"}));
  EXPECT_THROW(list[1], EKavError);
}

TEST_F(FlatFileReadTest, ModListSavesAndLoadsLines) {
  TDelimitedList list;
  list.Add("Antenna|Flange");
  list.Add("M1");
  list.Insert(2, "end");  // at the end: appended; one past it, refused
  EXPECT_EQ(ErrorOf([&] { list.Insert(4, "x"); }), "List index out of bounds (4)");
  list.Put(1, "M1|");
  list.SaveToFile(dir / "out.dat");
  EXPECT_EQ(ReadFile(dir / "out.dat"), "Antenna|Flange\r\nM1|\r\nend\r\n");
  TDelimitedList back;
  back.LoadFromFile(dir / "out.dat");
  EXPECT_EQ(back.Items(), list.Items());
}

}  // namespace
