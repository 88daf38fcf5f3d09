// What follows a change of the current antenna or option.
#include "CatalogFixture.h"

namespace {

class ChainTest : public CatalogFixture {};

TEST_F(ChainTest, AntennaChangeReloadsPricingFlangesOptionsAndPicture) {
  auto data = Create();
  int syncs = 0;
  data->OnSyncOptionLists = [&] { ++syncs; };
  ASSERT_TRUE(QueryPart(*data, "HP", false));
  EXPECT_EQ(std::pair(syncs, Cell(data->Pricing, "Desc")),
            std::pair(1, std::string("2 ft High Performance Antenna")));
  EXPECT_EQ(ReadFile(program / "data/AntFlanges.dat"),
            "Antenna|Flange\r\nHP2-23|PDR220\r\nHP2-23|UDR220\r\n");
  EXPECT_EQ(std::tuple(data->Flanges.RecordCount(), data->RadomeOptions.RecordCount(),
                       data->PackingOptions.RecordCount()),
            std::tuple(2, 2, 2));
  EXPECT_EQ(Cell(data->FlangeSuffixes, "Suffix"), "A");  // the earlier matching row wins
  EXPECT_EQ(std::pair(antennaPicture.picture, antennaPicture.width),
            std::pair(Native(program / "Images/hp2.gif"), 100));

  data->Antennas.Next();  // HP4-23
  EXPECT_EQ(std::tuple(syncs, ReadFile(program / "data/AntFlanges.dat"),
                       data->RadomeOptions.RecordCount(),
                       Cell(data->BuiltPartNumber, "CustPartNum"), antennaPicture.picture),
            std::tuple(2, "Antenna|Flange\r\nHP4-23|PDR220\r\n", 1, "HP4-23-AXP",
                       Native(program / "Images/hp4.gif")));
}

TEST_F(ChainTest, OptionChangesRebuildThePartNumber) {
  auto data = Create();
  EXPECT_FALSE(data->PartNumberComplete());  // nothing built yet
  ASSERT_TRUE(QueryPart(*data, "HP2-23", true));
  EXPECT_EQ(Cell(data->BuiltPartNumber, "CustPartNum"), "HP2-23-AXP");
  data->Flanges.Next();  // UDR220: suffix B
  EXPECT_EQ(Cell(data->BuiltPartNumber, "CustPartNum"), "HP2-23-BXP");
  data->RadomeOptions.Next();   // H
  data->PackingOptions.Next();  // E
  EXPECT_EQ(Cell(data->BuiltPartNumber, "CustPartNum"), "HP2-23-BHE");
  EXPECT_EQ(Cell(data->BuiltPartNumber, "CustDesc"),
            "2 ft High Performance Antenna, UDR220 flange, Hydrophobic radome, Export crate");
  EXPECT_EQ(Cell(data->BuiltPartNumber, "CustPrice"), "1275");
  EXPECT_EQ(ReadFile(program / "data/pnb.dat"),
            "PartNum|CustPartNum|CustDesc|CustPrice\r\nHP2-23|HP2-23-BHE|2 ft High Performance "
            "Antenna, UDR220 flange, Hydrophobic radome, Export crate|1275\r\n");
  EXPECT_TRUE(data->PartNumberComplete());
}

TEST_F(ChainTest, MissingOptionFileIsReportedAndTheChainGoesOn) {
  std::filesystem::remove(program / "data/radome_List.dat");
  auto data = Create();
  ASSERT_TRUE(QueryPart(*data, "HP2-23", true));
  EXPECT_EQ(dialogs.errors, std::vector{"The following error was encountered:\r'" +
                                        Native(program / "data/radome_List.dat") +
                                        " does not exist'\r\nloading Antenna\\Radome color data"});
  // Packing options still loaded; no radome price to add.
  EXPECT_EQ(std::tuple(data->RadomeOptions.Active(), data->PackingOptions.RecordCount(),
                       Cell(data->BuiltPartNumber, "CustPartNum"),
                       Cell(data->BuiltPartNumber, "CustPrice")),
            std::tuple(false, 2, "HP2-23-AP", "0.00"));
}

TEST_F(ChainTest, MissingColumnFailsTheOpenWithTheTableName) {
  Data("pack_list.dat", "Antenna_Size|Antenna_Group|Pack_Suffix\r\n2|G1|P\r\n");
  auto data = Create();
  QueryPart(*data, "HP2-23", true);
  ASSERT_FALSE(dialogs.errors.empty());
  EXPECT_EQ(dialogs.errors[0],
            "The following error was encountered:\r'PackData: Field ''DefaultPackSuffix'' not "
            "found'\r\nloading Packing data");
}

TEST_F(ChainTest, AntennaWithoutRadomeRowsPricesAtZero) {
  auto data = Create();
  ASSERT_TRUE(QueryPart(*data, "STD6-6", true));
  // STD 6 ft matches the "S" row; take an antenna nothing matches instead.
  Data("radome_List.dat", "Antenna_Type|Antenna_Size|Radome_Suffix|Price_Upgrade|Radome_Desc\r\n");
  data->Antennas.First();
  EXPECT_EQ(
      std::tuple(data->RadomeOptions.RecordCount(), Cell(data->BuiltPartNumber, "CustPartNum"),
                 Cell(data->BuiltPartNumber, "CustPrice"), Cell(data->BuiltPartNumber, "CustDesc")),
      std::tuple(0, "STD6-6-CP", "0.00",
                 "6 ft Standard Antenna, CPR137G flange, , Standard crate"));
}

TEST_F(ChainTest, FailedQueryStillBuildsFromEmptyValues) {
  auto data = Create();
  EXPECT_FALSE(QueryPart(*data, "NOPE", false));
  EXPECT_EQ(ReadFile(program / "data/AntFlanges.dat"), "Antenna|Flange\r\n|\r\n");
  EXPECT_EQ(std::pair(data->GetSelectedPartNum(), data->CurrentQuote().partNumber.substr(0, 1)),
            std::pair(std::string(), std::string("-")));
}

TEST_F(ChainTest, UnwritableDataFolderEndsTheChainAtTheFlangeFile) {
  auto data = Create();
  std::filesystem::remove_all(program / "data");
  WriteFile(program / "data", "a file where the folder should be");
  data->QueryMode = TQueryMode::All;
  EXPECT_FALSE(data->QueryAntennas());
  ASSERT_FALSE(dialogs.errors.empty());
  for (const char* part : {"AntFlanges.dat", "in loading Antenna data"})
    EXPECT_NE(dialogs.errors.back().find(part), std::string::npos) << dialogs.errors.back();
}

TEST_F(ChainTest, SpecificationEntriesInOrderWithoutEmptyOnes) {
  auto data = Create();
  ASSERT_TRUE(QueryPart(*data, "HP4-23", true));
  TNameValueList spec;
  data->GetSpecValues(spec);
  EXPECT_EQ(std::tuple(spec.Count(), spec[0], spec[3], spec[8], spec.IndexOfName("RPE")),
            std::tuple(16, "Type Number=HP4-23", "U.S. FCC 101=B", "Gain(dbi), Low =39.8", -1));
}

TEST_F(ChainTest, PicturesOfFlangeAndRadomeShareTheOptionBox) {
  auto data = Create();
  ASSERT_TRUE(QueryPart(*data, "HP2-23", true));
  data->ShowFlangeImage();
  EXPECT_EQ(std::pair(optionPicture.picture, optionPicture.width),
            std::pair(Native(program / "Images/pdr220.gif"), 136));
  data->ShowRadomeImage();
  EXPECT_EQ(std::tuple(optionPicture.picture, optionPicture.height, data->RadomePictures.Active()),
            std::tuple(Native(program / "Images/rad_grey.gif"), 120, false));
  data->Flanges.Next();  // UDR220: indexed, but its picture is missing
  data->ShowFlangeImage();
  EXPECT_EQ(optionPicture.picture, "");
}

}  // namespace
