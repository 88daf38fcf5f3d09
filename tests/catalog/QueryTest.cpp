// Querying the antenna table three ways, and what a failed query leaves.
#include "CatalogFixture.h"

namespace {

class QueryTest : public CatalogFixture {
 protected:
  std::vector<std::string> Models(TDataModule& data) {
    std::vector<std::string> models;
    for (int row = 0; row < data.Antennas.RecordCount(); ++row)
      models.push_back(data.Antennas.CellText(row, data.Antennas.FieldByName("PartNum")->Index()));
    return models;
  }
};

TEST_F(QueryTest, CreationOpensFrequenciesAndTypesOfTheFirstOne) {
  auto data = Create();
  EXPECT_EQ(std::pair(Cell(data->FrequencyRanges, "Freq"), data->AntennaTypes.RecordCount()),
            std::pair(std::string("6 GHz"), 1));
  data->FrequencyRanges.Next();  // the type table follows the frequency
  EXPECT_EQ(
      std::tuple(data->AntennaTypes.RecordCount(), data->Antennas.Active(), data->JobFileName()),
      std::tuple(2, false, Native(program / "kav_pnb.lom")));
}

TEST_F(QueryTest, AllFrequencyAndTypeAndPrefixQueries) {
  auto data = Create();
  data->QueryMode = TQueryMode::All;
  ASSERT_TRUE(data->QueryAntennas());
  EXPECT_EQ(Models(*data).size(), 5u);

  data->FrequencyRanges.Next();  // 23 GHz
  data->AntennaTypes.Next();     // STD
  data->QueryMode = TQueryMode::RangeAndType;
  ASSERT_TRUE(data->QueryAntennas());
  EXPECT_EQ(Models(*data), (std::vector<std::string>{"STD2-23"}));

  data->QueryMode = TQueryMode::ModelNumber;  // a prefix, unless an exact number is asked for
  data->SetQueryValue("HP");
  ASSERT_TRUE(data->QueryAntennas());
  EXPECT_EQ(Models(*data), (std::vector<std::string>{"HP2-23", "HP4-23", "HP2-23"}));
  EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(QueryTest, PrefixIsCaseSensitiveAndNotFoundIsReported) {
  auto data = Create();
  EXPECT_FALSE(QueryPart(*data, "hp", false));
  EXPECT_EQ(dialogs.errors,
            std::vector<std::string>{
                "The following error was encountered:\r'The model number: hp was not found'\r\n"});
  EXPECT_EQ(std::pair(data->Antennas.Active(), data->Pricing.Active()), std::pair(false, false));
}

TEST_F(QueryTest, ExactQueryKeepsTheFirstOfTwins) {
  auto data = Create();
  ASSERT_TRUE(QueryPart(*data, "HP2-23", true));
  EXPECT_EQ(std::tuple(data->Antennas.RecordCount(), Cell(data->Antennas, "RPE")),
            std::tuple(1, "RPE-2"));
  EXPECT_FALSE(QueryPart(*data, "HP2", true));  // a prefix is no model number
}

TEST_F(QueryTest, NoQueryChosenSaysNothing) {
  auto data = Create();
  data->QueryMode = TQueryMode::None;
  EXPECT_FALSE(data->QueryAntennas());
  EXPECT_EQ(std::pair(dialogs.errors.empty(), data->Antennas.Active()), std::pair(true, false));
}

TEST_F(QueryTest, FrequencyAndTypeWithoutAntennasNamesTheLastPartNumberText) {
  Data("MWAntTypes.dat", "Freq|Prefix\r\n6 GHz|HP\r\n");
  auto data = Create();
  QueryPart(*data, "STD6", false);
  data->QueryMode = TQueryMode::RangeAndType;
  EXPECT_FALSE(data->QueryAntennas());
  EXPECT_EQ(dialogs.errors.back(),
            "The following error was encountered:\r'The model number: STD6 was not found'\r\n");
}

TEST_F(QueryTest, MissingAntennaFileIsReportedWithItsPath) {
  std::filesystem::remove(shared / "MWAnts.dat");
  auto data = Create();
  data->QueryMode = TQueryMode::All;
  EXPECT_FALSE(data->QueryAntennas());
  // The registry's folder ends in a separator: Windows shows one before the name.
  EXPECT_EQ(dialogs.errors,
            std::vector{"The following error was encountered:\r'" + Native(shared / "MWAnts.dat") +
                        " does not exist'\r\nin loading Antenna data"});
}

TEST_F(QueryTest, ErrorQuotesAreDoubled) {
  auto data = Create();
  data->ShowError("it's", "ctx");
  EXPECT_EQ(dialogs.errors[0], "The following error was encountered:\r'it''s'\r\nctx");
}

}  // namespace
