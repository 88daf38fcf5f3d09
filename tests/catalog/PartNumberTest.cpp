// Composition of the custom part number, description and price, the values
// handed to the clipboard, and the job file.
#include "CatalogFixture.h"

namespace {

class PartNumberTest : public CatalogFixture {
 protected:
  // The price list's line for antenna ABC.
  void PriceList(const std::string& desc, const std::string& price) {
    Shared("M_LOM.dat", LomHeader() + "6|7|ABC|abc|" + desc + "|" + price + "\r\n");
  }
  // One antenna ABC with one option of each kind, priced as given.
  void Single(const std::string& listPrice, const std::string& radomePrice,
              const std::string& packPrice) {
    Shared("MWAnts.dat", AntennaHeader() + Antenna("6 GHz", "F", "6", "ABC", "R", "T", "G"));
    PriceList("D", listPrice);
    Data("flng_list.dat", "AntennaGroup|Flange|Suffix\r\nG|F|X\r\n");
    Data("radome_List.dat",
         "Antenna_Type|Antenna_Size|Radome_Suffix|Price_Upgrade|Radome_Desc\r\nT|6||" +
             radomePrice + "|R\r\n");
    Data("pack_list.dat",
         "Antenna_Size|Antenna_Group|DefaultPackSuffix|Pack_Suffix|Price|Pack_Desc\r\n6|G|1|P|" +
             packPrice + "|K\r\n");
  }
  // A data module with ABC queried.
  std::unique_ptr<TDataModule> OnAbc() {
    auto data = Create();
    EXPECT_TRUE(QueryPart(*data, "ABC", true));
    return data;
  }
  std::string BuiltPrice(TDataModule& data) { return Cell(data.BuiltPartNumber, "CustPrice"); }
};

TEST_F(PartNumberTest, CompositionRules) {
  Single("1000", "150.5", "0");
  auto data = OnAbc();
  EXPECT_EQ(std::tuple(Cell(data->BuiltPartNumber, "CustPartNum"),
                       Cell(data->BuiltPartNumber, "CustDesc"), BuiltPrice(*data)),
            std::tuple("ABC-XP", "D, F flange, R, K", "1150.5"));
  // Reading back takes the selected model's row only, wherever it stands.
  Data("pnb.dat", "PartNum|CustPartNum|CustDesc|CustPrice\r\nXYZ|XYZ-1|x|1\r\nABC|ABC-9|y|2\r\n");
  data->ReopenPartNumber();
  EXPECT_EQ(Cell(data->BuiltPartNumber, "CustPartNum"), "ABC-9");
}

TEST_F(PartNumberTest, PricesThatDoNotConvertGiveZero) {
  const std::vector<std::tuple<std::string, std::string, std::string, std::string>> cases = {
      {"1999.99", "0", "0", "1999.99"}, {"1000", "", "5", "0.00"},
      {"1,200", "0", "0", "0.00"},      {"$100", "0", "0", "0.00"},
      {"1e308", "1e308", "0", "0.00"},  {"0.1", "0.2", "0", "0.3"},
      {"2300", "-300", "0", "2000"}};
  for (const auto& [list, radome, pack, expected] : cases) {
    Single(list, radome, pack);
    EXPECT_EQ(BuiltPrice(*OnAbc()), expected) << list << " + " << radome << " + " << pack;
  }
}

TEST_F(PartNumberTest, PricesFollowTheUsersDecimalSeparator) {
  // A catalogue written with points prices alike in a decimal-comma office.
  Single("1000.5", "0", "0,25");
  SetDecimalSeparator(',');
  EXPECT_EQ(BuiltPrice(*OnAbc()), "1000,75");
  SetDecimalSeparator('.');
}

TEST_F(PartNumberTest, ValuesForClipboardAndExport) {
  Single("1000", "150.5", "0");
  auto data = Create();
  FakeClipboard clipboard;
  data->CopyPartNumberToClipboard(clipboard);  // before any query: only "$"
  EXPECT_EQ(clipboard.text, "Custom Price=$\r\n");
  ASSERT_TRUE(QueryPart(*data, "ABC", true));
  data->CopyPartNumberToClipboard(clipboard);
  EXPECT_EQ(clipboard.text,
            "Base Part Number=ABC\r\nCustom Part Number=ABC-XP\r\nCustom Description=D, F "
            "flange, R, K\r\nCustom Price=$1150.5\r\n");
  EXPECT_EQ(clipboard.clears, 2);
}

TEST_F(PartNumberTest, UnwritablePartNumberFileClosesTheTableAndKeepsCompleteness) {
  Single("1000", "150.5", "0");
  auto data = OnAbc();
  ASSERT_TRUE(data->PartNumberComplete());
  std::filesystem::remove(program / "data/pnb.dat");
  std::filesystem::create_directories(program / "data/pnb.dat/blocked");  // a folder in its place
  data->PackingOptions.First();
  EXPECT_EQ(std::pair(data->BuiltPartNumber.Active(), data->PartNumberComplete()),
            std::pair(false, true));
  ASSERT_FALSE(dialogs.errors.empty());
  EXPECT_NE(dialogs.errors.back().find("\r\nbuilding part number"), std::string::npos);
  TNameValueList values;
  data->GetPartNumberValues(values);
  EXPECT_EQ(values.Text(), "Base Part Number=ABC\r\nCustom Price=$\r\n");
}

TEST_F(PartNumberTest, JobFileBytes) {
  Single("1000", "150.5", "0");
  auto data = OnAbc();
  WriteFile(data->JobFileName(), "[OLD]\r\nstale=1\r\n");
  data->WriteJobFile();
  EXPECT_EQ(ReadFile(data->JobFileName()),
            "[HEADER]\r\nCompany Name=\r\nAuthor=\r\nDate=\r\nJob Number=\r\nProposal Number=\r\n"
            "File Name=\r\nFile Path=\r\n\r\n[SITE 001 LOM]\r\nSite Name=\r\nSite Number=1\r\n"
            "Ship to City=\r\nShip to State/Province=\r\nShip to Country=\r\n"
            "1=1|each|ABC|ABC-XP|D, F flange, R, K|1150.5|\r\n\r\n");
  data->DeleteJobFile();
  EXPECT_FALSE(std::filesystem::exists(data->JobFileName()));
  data->DeleteJobFile();  // nothing to delete is no error
}

TEST_F(PartNumberTest, LongLineItemIsCutAt255Characters) {
  Single("1000", "0", "0");
  PriceList(std::string(300, 'd'), "1000");
  auto data = OnAbc();
  data->WriteJobFile();
  const std::string file = ReadFile(data->JobFileName());
  const size_t start = file.find("1=1|each|");
  const std::string line = file.substr(start, file.find("\r\n", start) - start);
  // The price and the last "|" are lost first.
  EXPECT_EQ(std::pair(line.size(), line.back()), std::pair(size_t{255}, 'd'));
}

TEST_F(PartNumberTest, PipeInACellShiftsTheCellsWhenReadBack) {
  // Cells are never escaped: a "|" typed into a description starts a new
  // cell, so every later column of that line moves one on. The written files
  // are built from cells already cut at "|", so they read back cell for cell.
  Single("1000", "0", "0");
  PriceList("left|right", "1000");
  auto data = OnAbc();
  EXPECT_EQ(std::tuple(Cell(data->Pricing, "Desc"), Cell(data->Pricing, "USPrice"),
                       Cell(data->BuiltPartNumber, "CustDesc"), BuiltPrice(*data)),
            std::tuple("left", "right", "left, F flange, R, K", "0.00"));
  EXPECT_EQ(ReadFile(program / "data/pnb.dat"),
            "PartNum|CustPartNum|CustDesc|CustPrice\r\nABC|ABC-XP|left, F flange, R, K|0.00\r\n");
}

TEST_F(PartNumberTest, SitesAreNumberedAndLinesRestart) {
  TempDir dir;
  TJobFile file(dir / "x.lom");
  file.Site.NewSite();
  file.Site.AddLine("1", "each", "A", "A-", "d", "1");
  for (int i = 0; i < 9; ++i)
    file.Site.NewSite();
  file.Site.AddLine("2", "each", "B", "B-", "e", "2");
  file.Flush();
  EXPECT_EQ(
      ReadFile(dir / "x.lom"),
      "[SITE 001 LOM]\r\n1=1|each|A|A-|d|1|\r\n\r\n[SITE 0010 LOM]\r\n1=2|each|B|B-|e|2|\r\n\r\n");
}

}  // namespace
