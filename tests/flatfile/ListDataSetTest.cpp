// The cursor, the fields and the notifications of a table.
#include "FlatFileFixture.h"
#include "flatfile/TableLink.h"
#include "platform/Locale.h"

namespace {

class ListDataSetTest : public FlatFileFixture {};

TEST_F(ListDataSetTest, EmptyTableHasNoCurrentRecord) {
  auto t = Table("A|B\n");
  EXPECT_EQ(std::pair(t->Bof(), t->Eof()), std::pair(true, true));  // closed
  t->Open();
  EXPECT_EQ(std::tuple(t->RecordCount(), t->Bof(), t->Eof(), t->RecNo()),
            std::tuple(0, true, true, 0));
  EXPECT_EQ(t->FieldByName("A")->AsString(), "");
  t->Next();
  t->Prior();
  t->First();
  EXPECT_EQ(std::tuple(t->Bof(), t->Eof(), t->RecNo()), std::tuple(true, true, 0));
  t->Last();  // a write at the end of nothing is out of bounds
  EXPECT_EQ(ErrorOf([&] { t->Fields(0)->SetAsString("x"); }), "List index out of bounds (0)");
}

TEST_F(ListDataSetTest, WalksForwardAndBackwardInFileOrder) {
  auto t = Opened("N\n1\n2\n3\n");
  EXPECT_EQ(t->RecNo(), 1);  // the open fetched the first record
  std::string forward, numbers;
  for (t->First(); !t->Eof(); t->Next()) {
    forward += t->Fields(0)->AsString();
    numbers += std::to_string(t->RecNo());
  }
  EXPECT_EQ(std::pair(forward, numbers), (std::pair<std::string, std::string>("123", "123")));
  EXPECT_EQ(t->Fields(0)->AsString(), "3");  // Next at the end stays on the last record

  std::string backward;
  for (t->Last(); !t->Bof(); t->Prior())
    backward += t->Fields(0)->AsString();
  EXPECT_EQ(backward, "321");
}

TEST_F(ListDataSetTest, SetRecNoBoundsAndPositions) {
  auto t = Opened("N\na\nb\nc\n");
  t->SetRecNo(3);
  EXPECT_EQ(std::tuple(t->Fields(0)->AsString(), t->Bof(), t->Eof()),
            std::tuple("c", false, false));
  EXPECT_EQ(ErrorOf([&] { t->CellText(3, 0); }), "List index out of bounds (3)");
  t->SetRecNo(1);
  EXPECT_EQ(t->Fields(0)->AsString(), "a");
  EXPECT_EQ(ErrorOf([&] { t->SetRecNo(4); }), "SetRecNo: out of range");
  EXPECT_EQ(ErrorOf([&] { t->SetRecNo(-1); }), "SetRecNo: out of range");
  EXPECT_EQ(t->Fields(0)->AsString(), "a");  // a refused SetRecNo does not move
  // 0 puts the cursor before the first record: a field read or write there is
  // out of bounds, and nothing there is deleted.
  t->SetRecNo(0);
  EXPECT_EQ(t->RecNo(), 0);
  EXPECT_EQ(ErrorOf([&] { t->Fields(0)->AsString(); }), "List index out of bounds (-1)");
  EXPECT_EQ(ErrorOf([&] { t->Fields(0)->SetAsString("x"); }), "List index out of bounds (-1)");
  t->Delete();
  EXPECT_EQ(t->RecordCount(), 3);
  EXPECT_EQ(ErrorOf([&] { t->Fields(1); }), "List index out of bounds (1)");
  // A closed table moves no cursor and notifies no one.
  t->Close();
  EXPECT_EQ(ErrorOf([&] { t->SetRecNo(0); }),
            "Table: Cannot perform this operation on a closed dataset");
}

TEST_F(ListDataSetTest, CloseForgetsRecordsAndReopenRereadsTheFile) {
  auto t = Opened("N\nold\n");
  t->Close();
  EXPECT_EQ(std::tuple(t->RecordCount(), t->Active(), t->Bof(), t->Eof()),
            std::tuple(0, false, true, true));
  t->Close();  // closing a closed table does nothing
  WriteFile(dir / "t.dat", "N\nnew1\nnew2\n");
  t->Open();
  t->Open();  // opening an open table does nothing
  EXPECT_EQ(Records(*t), (Rows{"new1", "new2"}));
  EXPECT_FALSE(t->Locate("N", "new1"));  // no keyed search
}

TEST_F(ListDataSetTest, NotifiesOnOpenMoveAndFieldChangeButNotOnClose) {
  auto t = Table("A|B\n1|x\n2|y\n");
  TTableLink link(t.get());
  std::vector<std::string> events;
  link.OnDataChange = [&](TField* field) {
    events.push_back(field ? "field " + field->FieldName() : "row " + std::to_string(t->RecNo()));
  };
  link.OnStateChange = [&] { events.push_back(t->Active() ? "opened" : "closed"); };
  t->Open();
  t->Next();
  t->Next();  // already on the last record: no move, no notification
  t->Prior();
  t->FieldByName("B")->SetAsString("z");
  t->Close();
  EXPECT_EQ(events,
            (std::vector<std::string>{"opened", "row 1", "row 2", "row 1", "field B", "closed"}));
  t->Open();
  EXPECT_EQ(t->FieldByName("B")->AsString(), "x");  // edits live only in memory
}

TEST_F(ListDataSetTest, HandlerMayReopenAnotherTableAndDetachLinks) {
  auto master = Table("K\na\nb\n", "m.dat");
  auto detail = Table("K|V\na|1\nb|2\n", "d.dat");
  detail->SetFiltered(true);
  TTableLink masterLink(master.get());
  auto second = std::make_unique<TTableLink>(master.get());
  std::vector<std::string> seen;
  masterLink.OnDataChange = [&](TField*) {
    second.reset();  // a link removed while the notification runs
    detail->Close();
    detail->Filters().SetValue("K", master->Fields(0)->AsString());
    detail->Open();
    seen.push_back(detail->FieldByName("V")->AsString());
  };
  second->OnDataChange = [&](TField*) { seen.push_back("second"); };
  master->Open();
  master->Next();
  EXPECT_EQ(seen, (std::vector<std::string>{"1", "2"}));
}

TEST_F(ListDataSetTest, FieldWritesAreCutToTheFieldSize) {
  auto t = Opened("A\nshort\n");
  t->Fields(0)->SetAsString(std::string(80, 'x'));
  EXPECT_EQ(t->Fields(0)->AsString(), std::string(50, 'x'));
}

TEST_F(ListDataSetTest, DeleteDownToOneRecordAndToNone) {
  auto t = Opened("N\na\nb\n");
  t->Last();
  EXPECT_EQ(std::pair(t->Bof(), t->Eof()), std::pair(false, true));
  t->Delete();
  EXPECT_EQ(t->Fields(0)->AsString(), "a");
  EXPECT_EQ(Records(*t), (Rows{"a"}));
  // One record left is never taken for an empty table.
  t->First();
  t->Next();  // reaches the end: no longer at the beginning
  EXPECT_EQ(std::pair(t->Bof(), t->Eof()), std::pair(false, true));
  t->Prior();  // reaches the beginning: no longer at the end
  EXPECT_EQ(std::pair(t->Bof(), t->Eof()), std::pair(true, false));
  t->Delete();
  EXPECT_EQ(std::pair(t->Bof(), t->Eof()), std::pair(true, true));
  TTableLink link(t.get());  // deleting from an empty table moves nothing
  link.OnDataChange = [](TField*) { ADD_FAILURE() << "a notification"; };
  t->Delete();
}

TEST_F(ListDataSetTest, NumbersReadInTheUserFormat) {
  SetDecimalSeparator('.');
  auto t = Opened("P\n1150.5\n\n1,200\n");
  EXPECT_DOUBLE_EQ(t->Fields(0)->AsFloat(), 1150.5);
  t->Next();
  EXPECT_EQ(ErrorOf([&] { t->Fields(0)->AsFloat(); }), "'' is not a valid floating point value");
  t->Next();
  EXPECT_EQ(ErrorOf([&] { t->Fields(0)->AsFloat(); }),
            "'1,200' is not a valid floating point value");
}

}  // namespace
