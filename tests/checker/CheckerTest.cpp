// The catalogue checker on small broken catalogues of the tests' own: each
// test starts from a clean catalogue, breaks it and reads the findings.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "catalog/CatalogFixture.h"
#include "checker/CatalogChecker.h"
#include "cli/CliCommands.h"

namespace {

// A 1 x 1 GIF89a picture.
const std::string kGif(
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00\x21\xf9\x04\x01"
    "\x00\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01"
    "\x00\x3b",
    43);

class CheckerTest : public CatalogFixture {
 protected:
  // The fixture's catalogue with its gaps filled: no repeated model, every
  // price a number, every sheet entry, suffix, option and picture present.
  void WriteCatalogue() override {
    CatalogFixture::WriteCatalogue();
    Shared("MWAnts.dat", AntennaHeader() + CleanAntennas());
    Shared("M_LOM.dat", LomHeader() + CleanPricing());
    Data("flng_img.dat", "PDR220|pdr220.gif\r\nUDR220|udr220.gif\r\nCPR137G|cpr137g.gif\r\n");
    for (const char* picture : {"std2.gif", "udr220.gif", "cpr137g.gif", "rad_std.gif"})
      Picture(picture, "GIF89a");
  }

  static std::string CleanAntennas() {
    return Antenna("6 GHz", "CPR137G", "6", "STD6-6", "RPE-1", "STD", "G2") +         // line 3
           Antenna("23 GHz", "PDR220, UDR220", "2", "HP2-23", "RPE-2", "HP", "G1") +  // line 4
           Antenna("23 GHz", "PDR220", "4", "HP4-23", "RPE-3", "HP", "G1") +          // line 5
           Antenna("23 GHz", "PDR220", "2", "STD2-23", "RPE-4", "STD", "G1");         // line 6
  }
  static std::string CleanPricing() {
    return "6|7|STD6-6|std6|6 ft Standard Antenna|1840\r\n"
           "21|23|HP2-23|hp2|2 ft High Performance Antenna|1000\r\n"
           "21|23|HP4-23|hp4|4 ft High Performance Antenna|1999.99\r\n"
           "21|23|STD2-23|std2|2 ft Standard Antenna|1200\r\n";
  }
  void Picture(const std::string& name, const std::string& bytes) {
    WriteFile(program / ("Images/" + name), bytes);
  }

  // The findings as the tool prints them, with the test's folders written
  // "program/" and "shared/".
  std::vector<std::string> Check(const TPictureDecoder& decoder) {
    result = CheckCatalogue(decoder);
    std::vector<std::string> lines;
    for (const TFinding& finding : result.findings)
      lines.push_back(Short(FormatFinding(finding)));
    return lines;
  }
  std::vector<std::string> Check() { return Check(fakeDecoder); }

  // The registry's folder gets a separator of its own ("shared//MWAnts.dat").
  // Windows spells the folders with "\", and the names below them too.
  std::string Short(std::string text) const {
    for (const auto& [folder, name] : {std::pair{shared.Path() + "/", "shared/"},
                                       {shared.Path(), "shared/"},
                                       {program.Path(), "program/"}}) {
      for (size_t at; (at = text.find(folder)) != std::string::npos;)
        text.replace(at, folder.size(), name);
#ifdef _WIN32
      std::string native = folder;
      std::replace(native.begin(), native.end(), '/', '\\');
      for (size_t at; (at = text.find(native)) != std::string::npos;) {
        text.replace(at, native.size(), name);
        for (size_t i = at + std::string(name).size();
             i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) ||
                                 std::strchr("_.-\\", text[i]) != nullptr);
             ++i)
          if (text[i] == '\\') text[i] = '/';
      }
#endif
    }
    return text;
  }

  // Good pictures begin as a GIF should; anything else does not decode.
  int decoded = 0;
  TPictureDecoder fakeDecoder = [this](const std::string& path) -> std::string {
    ++decoded;
    return ReadFile(path).rfind("GIF89a", 0) == 0 ? "" : "GIF encoded data is corrupt";
  };
  TCheckResult result;
};

std::string Listing(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += "\n  " + line;
  return text;
}

// Whether `text` holds every one of `parts`.
::testing::AssertionResult Holds(const std::string& text, const std::vector<std::string>& parts) {
  for (const std::string& part : parts)
    if (text.find(part) == std::string::npos)
      return ::testing::AssertionFailure() << "no \"" << part << "\" in:\n" << text;
  return ::testing::AssertionSuccess();
}

// Whether one of the findings begins with `start` and holds every one of `parts`.
::testing::AssertionResult Reports(const std::vector<std::string>& lines, const std::string& start,
                                   const std::vector<std::string>& parts = {}) {
  for (const std::string& line : lines)
    if (line.rfind(start, 0) == 0 && Holds(line, parts)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no finding " << start << " in:" << Listing(lines);
}

// A finding looked for: how it begins and what it holds further on.
struct Finding {
  std::string start;
  std::vector<std::string> parts = {};
};
constexpr size_t kAnyCount = ~size_t{0};

// Whether the findings report each of `expected` and, unless kAnyCount, are
// `count` in all.
::testing::AssertionResult ReportsAll(const std::vector<std::string>& lines, size_t count,
                                      const std::vector<Finding>& expected) {
  std::string missing;
  for (const Finding& finding : expected)
    if (!Reports(lines, finding.start, finding.parts)) missing += "\n  " + finding.start;
  if (missing.empty() && (count == kAnyCount || lines.size() == count))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << lines.size() << " findings (" << count << " expected), none of:" << missing
         << "\nin:" << Listing(lines);
}

TEST_F(CheckerTest, CleanCatalogueReportsNothing) {
  const auto lines = Check();
  EXPECT_TRUE(lines.empty()) << Listing(lines);
  EXPECT_EQ(FormatSummary(result), "0 errors, 0 warnings in 9 catalogue files (4 antennas)");
  // Four antenna, three flange and two radome pictures, each decoded once.
  EXPECT_EQ(decoded, 9);
}

TEST_F(CheckerTest, MissingEmptyAndUnlocatedFiles) {
  std::filesystem::remove(program / "data/radome_List.dat");
  Data("pack_list.dat", "");
  std::filesystem::remove(program / "data/flng_img.dat");
  auto lines = Check();
  EXPECT_EQ(lines[0],
            "program/data/radome_List.dat:0:0: error: the file does not exist -- every "
            "antenna change shows an error box and no antenna has radome options: \""
            "program/data/radome_List.dat does not exist\"");
  const std::vector<Finding> findings = {
      {"program/data/pack_list.dat:0:0: error: the file is empty",
       {"\"No Data Exits in pack_list.dat\""}},
      {"program/data/flng_img.dat:0:0: warning: the file does not exist",
       {"no flange picture is ever shown"}}};
  // What depends on a file that does not open is not checked against it.
  EXPECT_TRUE(ReportsAll(lines, 3, findings));
  EXPECT_EQ(result.errors, 2);
  EXPECT_EQ(result.files, 7);  // the empty file was read

  // No shared folder in the registry: never the root folder, which a
  // catalogue copied there would make look right.
  SetCurrentUserRegistry(std::make_unique<TIniRegistry>(config.Path() + "none/"));
  lines = Check();
  const std::vector<Finding> unset = {
      {"MWAnts.dat:0:0: error: the shared catalogue folder is not set (the registry has no "
       "Software\\Ostrel\\Common Files value \"Path\" naming the shared folder)",
       {"every antenna query fails: \"The shared catalogue folder, which holds MWAnts.dat, is not "
        "set\""}},
      {"M_LOM.dat:0:0: error: the shared catalogue folder is not set"}};
  EXPECT_TRUE(ReportsAll(lines, kAnyCount, unset));
}

TEST_F(CheckerTest, ColumnNamesMissingRepeatedOrOutOfOrder) {
  Data("flng_list.dat", "AntennaGroup|Flange|Suffx\r\nG1, G2|PDR220, UDR220, CPR137G|A\r\n");
  Data("pack_list.dat",
       "Antenna_Size|Antenna_Group|DefaultPackSuffix|Pack_Suffix|Price|Pack_Desc|price\r\n"
       "2,4,6|G1,G2|1|P|0|Standard crate|0\r\n");
  Data("radome_List.dat",
       "Antenna_Type|Antenna_Size|Radome_Suffix|Radome_Desc|Price_Upgrade\r\n"
       "HP, STD|2, 4|X|Grey radome|150.5\r\nSTD|6|S|Standard radome|90\r\n");
  const std::vector<Finding> findings = {
      {"program/data/flng_list.dat:1:0: error: the column-name line lacks column \"Suffix\"",
       {"\"FlangeSuffixData: Field 'Suffix' not found\""}},
      {"program/data/pack_list.dat:1:7: error: column \"price\" appears twice, as cells 5 and 7",
       {"\"A component named price already exists\""}},
      // Swapped columns open, but each field reads its declared cell.
      {"program/data/radome_List.dat:1:4: error: column \"Price_Upgrade\" is cell 5, but the "
       "program reads it from cell 4 (2 columns out of the declared order)",
       {"Price_Upgrade shows the values under \"Radome_Desc\""}},
      {"program/data/radome_List.dat:2:4: error: Price_Upgrade \"Grey radome\" is not a number"},
      {"program/data/radome_List.dat:3:4: error: Price_Upgrade \"Standard radome\" is not a "
       "number"}};
  // Neither broken file is read for suffixes or packing options.
  EXPECT_TRUE(ReportsAll(Check(), 5, findings));
}

TEST_F(CheckerTest, TheSkippedSecondLine) {
  Shared("M_LOM.dat", "BegFreq|EndingFreq|PartNo|GraphicFile|Desc|USPrice\r\n");
  Shared("MWAnts.dat", AntennaHeader().substr(0, AntennaHeader().size() - 3) + CleanAntennas());
  const std::vector<Finding> findings = {
      {"shared/M_LOM.dat:1:0: error: the file ends before line 2, which the program always skips",
       {"\"List index out of bounds (0)\""}},
      {"shared/MWAnts.dat:2:10: warning: line 2 holds a row (PartNum \"STD6-6\") -- the program "
       "always skips this line"},
      // The lost antenna was the only one of its frequency range and type.
      {"program/data/MWAntTypes.dat:2:2: error: no antenna of MWAnts.dat has frequency range \"6 "
       "GHz\" and type \"STD\""}};
  // Without pricing rows to compare, model numbers are not reported unpriced.
  EXPECT_TRUE(ReportsAll(Check(), 3, findings));
}

TEST_F(CheckerTest, RowShapes) {
  Data("radome_List.dat",
       "Antenna_Type|Antenna_Size|Radome_Suffix|Price_Upgrade|Radome_Desc\r\n"
       "HP, STD|2, 4|X|150.5|Grey radome\r\nHP|2|H|200|Hydrophobic radome\r\n"
       "STD|6|S|90|Standard radome\r\n"
       "HP|2\r\n"
       "HP\r\n"
       " # HP|2|H|200|Hydrophobic radome\r\n"
       "# HP|2|H|200|a comment line is never read\r\n"
       "XX|4|W|75|White radome with a description longer than fifty characters\r\n"
       "XX|4|" +
           std::string(51, 'S') + "|75|White radome|extra\r\n" + "XX|4|T|75|White\tradome\r\n");
  Data("pack_list.dat",
       "Antenna_Size|Antenna_Group|DefaultPackSuffix|Pack_Suffix|Price|Pack_Desc\r\n"
       "2,4,6|G1,G2|1|P|0|Standard crate\r\n"
       "\r\n"
       "2, " +
           std::string(51, '4') + "|G1|1|E|75|Export crate\r\n");
  const std::vector<Finding> findings = {
      {"program/data/radome_List.dat:5:0: error: only 2 cells, but the program reads Radome_Suffix "
       "from cell 3 -- reading Radome_Suffix of this row fails with \"List index out of bounds "
       "(2)\""},
      {"program/data/radome_List.dat:6:0: error: only 1 cell, but the program reads Antenna_Size "
       "from cell 2 -- opening RadomeData fails with \"List index out of bounds (1)\" whenever its "
       "filters reach this line"},
      {"program/data/radome_List.dat:7:0: warning: the line begins with blanks before the comment "
       "mark \"#\""},
      {"program/data/radome_List.dat:10:3: warning: Radome_Suffix is 51 characters long, more than "
       "the 50-character field size"},
      {"program/data/radome_List.dat:10:6: warning: 6 cells, but the column-name line names 5 -- "
       "the cells after the last column are never read"},
      {"program/data/radome_List.dat:11:5: warning: the cell holds a tab or a line break"},
      {"program/data/pack_list.dat:3:0: error: empty line, read as a row with one empty cell, but "
       "the program reads Antenna_Group from cell 2",
       {"\"List index out of bounds (1)\""}},
      // A list is judged by its items; descriptions may be long.
      {"program/data/pack_list.dat:4:1: warning: an item of Antenna_Size is 51 characters long"}};
  EXPECT_TRUE(ReportsAll(Check(), 8, findings));
}

TEST_F(CheckerTest, FindingsSayWhatTheProgramDoes) {
  // A short antenna row fails the open at the Type filter: the finding names
  // that column, the one whose index the failure quotes.
  Shared("MWAnts.dat", AntennaHeader() + CleanAntennas() + "23 GHz\r\n");
  // An empty flange sets no filter and takes line 1; later lines with an
  // empty first cell are never read.
  Data("flng_img.dat", "PDR220|pdr220.gif\r\n\r\n|pdr220.gif\r\n");
  const auto lines = Check();
  EXPECT_TRUE(Reports(lines,
                      "shared/MWAnts.dat:7:0: error: only 1 cell, but the program reads Type from "
                      "cell 26 -- opening AntData fails with \"List index out of bounds (25)\""));
  EXPECT_FALSE(Reports(lines, "program/data/flng_img.dat:2:"));
  EXPECT_FALSE(Reports(lines, "program/data/flng_img.dat:3:"));
}

TEST_F(CheckerTest, ModelNumbers) {
  Shared("MWAnts.dat",
         AntennaHeader() + CleanAntennas() +
             Antenna("23 GHz", "PDR220", "2", "HP2-23", "RPE-5", "HP", "G1") +  // line 7
             Antenna("23 GHz", "PDR220", "2", "HP2-99", "RPE-6", "HP", "G1") +  // line 8
             Antenna("23 GHz", "PDR220", "2", "", "RPE-7", "HP", "G1") +        // line 9
             Antenna("23 GHz", "PDR220", "2", "#HP2", "RPE-8", "HP", "G1"));    // line 10
  Shared("M_LOM.dat", LomHeader() + CleanPricing() +
                          "21|23|HP2-23|hp2|2 ft High Performance Antenna, again|900\r\n"
                          "21|23|#HP2|hp2|2 ft High Performance Antenna|900\r\n");
  const auto lines = Check();
  EXPECT_EQ(lines[0],
            "shared/MWAnts.dat:7:10: error: model number \"HP2-23\" is also on line 4 -- "
            "a query for the exact model number (command mode, the headless build) "
            "keeps only line 4, and both rows share one pricing row");
  const std::vector<Finding> findings = {
      {"shared/MWAnts.dat:8:10: error: model number \"HP2-99\" has no pricing row in M_LOM.dat",
       {"its custom price is \"0.00\""}},
      {"shared/MWAnts.dat:9:10: error: PartNum is empty",
       {"it takes the first pricing row of M_LOM.dat"}},
      {"shared/MWAnts.dat:10:10: error: model number \"#HP2\" begins with the comment mark \"#\"",
       {"AntFlanges.dat and pnb.dat read back as comments"}},
      {"shared/M_LOM.dat:7:3: warning: model number \"HP2-23\" already has a pricing row on line 4 "
       "-- the program uses the first row only"}};
  EXPECT_TRUE(ReportsAll(lines, 5, findings));
}

TEST_F(CheckerTest, PricesThatDoNotConvertInTheUsersFormat) {
  Shared("M_LOM.dat", LomHeader() +
                          "6|7|STD6-6|std6|6 ft Standard Antenna|1,840\r\n"
                          "21|23|HP2-23|hp2|2 ft High Performance Antenna|1000\r\n"
                          "21|23|HP4-23|hp4|4 ft High Performance Antenna|1999.99\r\n"
                          "21|23|STD2-23|std2|2 ft Standard Antenna|$1200\r\n");
  Data("radome_List.dat",
       "Antenna_Type|Antenna_Size|Radome_Suffix|Price_Upgrade|Radome_Desc\r\n"
       "HP, STD|2, 4|X||Grey radome\r\nHP|2|H|200|Hydrophobic radome\r\n"
       "STD|6|S|90|Standard radome\r\n");
  Data("pack_list.dat",
       "Antenna_Size|Antenna_Group|DefaultPackSuffix|Pack_Suffix|Price|Pack_Desc\r\n"
       "2,4,6|G1,G2|1|P|12.5.0|Standard crate\r\n");
  auto lines = Check();
  EXPECT_EQ(lines[0],
            "shared/M_LOM.dat:3:6: error: USPrice \"1,840\" is not a number with the "
            "decimal separator \".\" -- every custom price of \"STD6-6\" is \"0.00\" here; "
            "where the decimal separator is a comma it reads as 1.84, where it is a point not at "
            "all");
  const std::vector<Finding> findings = {
      {"shared/M_LOM.dat:6:6: error: USPrice \"$1200\" is not a number"},
      {"program/data/radome_List.dat:2:4: error: Price_Upgrade is empty -- every custom price with "
       "radome option \"X\" is \"0.00\""},
      {"program/data/pack_list.dat:2:5: error: Price \"12.5.0\" is not a number",
       {"with packing option \"P\""}}};
  EXPECT_TRUE(ReportsAll(lines, 4, findings));

  // With a decimal comma the comma price converts, and so do the point
  // ones; the comma one reads so only where the locale has a comma.
  SetDecimalSeparator(',');
  lines = Check();
  EXPECT_TRUE(Reports(lines,
                      "shared/M_LOM.dat:3:6: warning: USPrice \"1,840\" has a decimal comma -- "
                      "every custom price of \"STD6-6\" depends on the locale"));
  EXPECT_FALSE(Reports(lines, "shared/M_LOM.dat:5:6:"));
  EXPECT_TRUE(Reports(lines,
                      "shared/M_LOM.dat:6:6: error: USPrice \"$1200\" is not a number with the "
                      "decimal separator \",\" or a point"));
}

TEST_F(CheckerTest, OptionsOfEachAntenna) {
  Shared("MWAnts.dat",
         AntennaHeader() + CleanAntennas() +
             Antenna("23 GHz", "PDR220, UDR84", "4", "HP4-23B", "RPE-5", "HP", "G1") +  // line 7
             Antenna("23 GHz", "UDR84", "4", "HP4-23C", "RPE-6", "HP", "G1") +          // line 8
             Antenna("23 GHz", "", "4", "HP4-23D", "RPE-7", "HP", "G1") +               // line 9
             Antenna("23 GHz", "PDR220,", "4", "HP4-23E", "RPE-8", "HP", "G1") +        // line 10
             Antenna("6 GHz", "CPR137G", "8", "STD8-6", "RPE-9", "STD", "G2"));         // line 11
  Shared("M_LOM.dat", LomHeader() + CleanPricing() +
                          "21|23|HP4-23B|hp4|4 ft|1\r\n21|23|HP4-23C|hp4|4 ft|1\r\n"
                          "21|23|HP4-23D|hp4|4 ft|1\r\n21|23|HP4-23E|hp4|4 ft|1\r\n"
                          "6|7|STD8-6|std6|8 ft|1\r\n");
  Data("flng_img.dat",
       "PDR220|pdr220.gif\r\nUDR220|udr220.gif\r\nCPR137G|cpr137g.gif\r\nUDR84|pdr220.gif\r\n");
  // One finding for all antennas with the same gap, counting the others.
  const std::vector<Finding> findings = {
      {"shared/MWAnts.dat:7:2: error: flange \"UDR84\" has no flng_list.dat row for group \"G1\" "
       "-- the custom part number of HP4-23B with this flange gets no flange suffix; 1 more "
       "antenna alike"},
      {"shared/MWAnts.dat:9:2: warning: Flange is empty -- the flange list offers an empty entry, "
       "whose flange suffix comes from the first flng_list.dat row for group \"G1\" (line 2, "
       "suffix \"A\")"},
      {"shared/MWAnts.dat:10:2: warning: Flange \"PDR220,\" lists an empty flange"},
      {"shared/MWAnts.dat:11:26: warning: no radome_List.dat row covers type \"STD\" and size "
       "\"8\" -- STD8-6 has no radome options and its custom price is \"0.00\""},
      {"shared/MWAnts.dat:11:6: warning: no pack_list.dat row covers size \"8\" and group \"G2\" "
       "-- STD8-6 has no packing options"}};
  EXPECT_TRUE(ReportsAll(Check(), 5, findings));
}

TEST_F(CheckerTest, EmptyCellsTheProgramUses) {
  Shared("MWAnts.dat", AntennaHeader() + CleanAntennas() +
                           Antenna("23 GHz", "PDR220", "4", "HP4-23B", "", "HP", ""));
  Shared("M_LOM.dat", LomHeader() + CleanPricing() + "21|23|HP4-23B|hp4|4 ft|1\r\n");
  const std::vector<Finding> findings = {
      {"shared/MWAnts.dat:7:11: warning: RPE is empty -- the specification sheet of HP4-23B has no "
       "entry for it"},
      {"shared/MWAnts.dat:7:27: warning: Group is empty", {"matched on their other column alone"}}};
  EXPECT_TRUE(ReportsAll(Check(), 2, findings));
}

TEST_F(CheckerTest, FrequencyAndTypeLists) {
  Data("MWFreq.dat", "Freq\r\n6 GHz\r\n23 GHz\r\n38 GHz\r\n");
  Data("MWAntTypes.dat", "Freq|Prefix\r\n6 GHz|STD\r\n6 GHz|HP\r\n23 GHz|HP\r\n13 GHz|HP\r\n");
  const std::vector<Finding> findings = {
      {"program/data/MWFreq.dat:4:1: warning: no row of MWAntTypes.dat offers a type for \"38 "
       "GHz\" -- choosing this frequency range leaves the type list empty"},
      {"program/data/MWAntTypes.dat:3:2: error: no antenna of MWAnts.dat has frequency range \"6 "
       "GHz\" and type \"HP\"",
       {"\"The model number: ... was not found\""}},
      {"program/data/MWAntTypes.dat:5:1: warning: frequency range \"13 GHz\" is not in MWFreq.dat "
       "-- the type \"HP\" is never offered"},
      {"shared/MWAnts.dat:6:1: warning: frequency range \"23 GHz\" with type \"STD\" is not "
       "offered in MWAntTypes.dat -- the frequency-and-type query never lists STD2-23"}};
  EXPECT_TRUE(ReportsAll(Check(), 4, findings));
}

TEST_F(CheckerTest, Pictures) {
  Shared("M_LOM.dat", LomHeader() +
                          "6|7|STD6-6|std6|6 ft Standard Antenna|1840\r\n"
                          "21|23|HP2-23|nothing|2 ft High Performance Antenna|1000\r\n"
                          "21|23|HP4-23|nothing|4 ft High Performance Antenna|1999.99\r\n"
                          "21|23|STD2-23|std2|2 ft Standard Antenna|1200\r\n");
  Picture("std2.gif", "not a picture");
  Data("radome_img.dat",
       "AntennaGroup|Suffix|Image\r\nG1|X,H|rad_grey.gif\r\nG2|S|rad_std.pcx\r\n");
  Picture("rad_std.pcx", "GIF89a");
  Data("flng_img.dat",
       "PDR220|pdr220.gif\r\nPDR220|udr220.gif\r\nUDR220\r\nCPR137G|CPR137G.GIF\r\n");
  Picture("cpr137g.gif", "GIF89a");  // found without regard to letter case
  std::filesystem::remove(program / "Images/pdr220.gif");
  auto lines = Check();
  const std::vector<Finding> findings = {
      {"shared/M_LOM.dat:4:4: warning: picture \"nothing.gif\" does not exist "
       "(program/Images/nothing.gif) -- the antenna picture stays empty; 1 more row names it"},
      {"shared/M_LOM.dat:6:4: error: picture \"std2.gif\" does not decode -- showing the antenna "
       "picture fails with the error box \"GIF encoded data is corrupt\""},
      {"program/data/radome_img.dat:3:3: error: picture \"rad_std.pcx\" has an extension without a "
       "decoder",
       {"\"Unknown picture file extension (.pcx)\""}},
      {"program/data/flng_img.dat:1:2: warning: picture \"pdr220.gif\" does not exist",
       {"the picture of flange \"PDR220\" stays empty"}},
      {"program/data/flng_img.dat:2:1: warning: flange \"PDR220\" already has a picture on line 1 "
       "-- the program uses the first line only"},
      {"program/data/flng_img.dat:3:0: error: only 1 cell, but the picture name is cell 2 -- "
       "choosing flange \"UDR220\" fails with \"List index out of bounds (1)\""}};
  EXPECT_TRUE(ReportsAll(lines, 6, findings));

  // A flange without a line; without a decoder only existence is checked; a
  // name leading out of the picture folder is never read.
  Data("flng_img.dat", "PDR220|../../outside/secret\r\n");
  lines = Check(nullptr);
  const std::vector<Finding> withoutDecoder = {
      {"program/data/flng_img.dat:1:2: error: picture \"../../outside/secret\" lies outside the "
       "picture folder -- the program does not read it and the picture of flange \"PDR220\" stays "
       "empty"},
      {"shared/MWAnts.dat:3:2: warning: flange \"CPR137G\" has no line in flng_img.dat -- choosing "
       "it for STD6-6 empties the option picture"},
      {"shared/MWAnts.dat:4:2: warning: flange \"UDR220\" has no line"}};
  EXPECT_TRUE(ReportsAll(lines, kAnyCount, withoutDecoder));
  EXPECT_FALSE(Reports(lines, "shared/M_LOM.dat:6:4:"));
}

TEST_F(CheckerTest, RadomeOptionWithoutPictureRow) {
  Data("radome_img.dat", "AntennaGroup|Suffix|Image\r\nG1|H|rad_grey.gif\r\nG2|S|rad_std.gif\r\n");
  const auto lines = Check();
  EXPECT_EQ(lines, std::vector<std::string>{
                       "program/data/radome_List.dat:2:3: warning: radome option \"X\" has no "
                       "radome_img.dat row for group \"G1\" -- choosing it for HP2-23 empties the "
                       "option picture; 2 more antennas alike"});
}

// The tool's check command: findings, summary and exit status.
class CheckerCliTest : public CheckerTest {
 protected:
  int Run() {
    out.str("");
    err.str("");
    return RunCli({"check", "--program-folder", program.Path()}, out, err);
  }
  std::ostringstream out, err;
};

TEST_F(CheckerCliTest, ExitStatusFollowsTheErrors) {
  for (const auto& entry : std::filesystem::directory_iterator(program / "Images"))
    WriteFile(entry.path().string(), kGif);
  EXPECT_EQ(Run(), 0) << out.str();
  EXPECT_EQ(out.str(), "0 errors, 0 warnings in 9 catalogue files (4 antennas)\n");
#ifdef KAV_CLI_DECODES_PICTURES
  EXPECT_EQ(err.str(), "");
#else
  EXPECT_EQ(err.str(),
            "kav_pnb_cli: note: pictures are checked for presence only; this build "
            "does not decode them\n");  // once, however many pictures
#endif

  Shared("MWAnts.dat", AntennaHeader() + CleanAntennas() +
                           Antenna("23 GHz", "PDR220", "2", "HP2-23", "", "HP", "G1"));
  EXPECT_EQ(Run(), 1);
  EXPECT_TRUE(Holds(out.str(), {":7:10: error: model number \"HP2-23\" is also on line 4",
                                ":7:11: warning: RPE is empty",
                                "\n1 error, 1 warning in 9 catalogue files (5 antennas)\n"}));
  // The same findings as objects, for programs.
  err.str("");
  EXPECT_EQ(RunCli({"check", "--format", "json", "--program-folder", program.Path()}, out, err), 1);
  EXPECT_EQ(err.str(), "");  // errors only, and this is none
  EXPECT_TRUE(
      Holds(out.str(), {"\"Line\": 7, \"Column\": 10, \"Severity\": \"error\", \"Problem\": "
                        "\"model number \\\"HP2-23\\\" is also on line 4\""}));

  Shared("MWAnts.dat", AntennaHeader() + CleanAntennas().substr(0, CleanAntennas().find("RPE-1")) +
                           CleanAntennas().substr(CleanAntennas().find("RPE-1") + 5));
  EXPECT_EQ(Run(), 0) << out.str();  // warnings alone
  EXPECT_TRUE(Holds(out.str(), {"0 errors, 1 warning"}));

  // A folder given for this run is named as given, not as the registry's,
  // a backslash in it as written (on Windows, every separator).
  EXPECT_EQ(
      RunCli({"check", "--catalog", program / "no\\where", "--program-folder", program.Path()}, out,
             err),
      1);
  EXPECT_TRUE(Holds(out.str(), {"(the shared folder comes from --catalog: ", "no\\where"}))
      << out.str();
  EXPECT_EQ(out.str().find("\\\\"), std::string::npos) << out.str();
  EXPECT_EQ(RunCli({"check", "HP2-23"}, out, err), 2);
  EXPECT_EQ(RunCli({"--help"}, out, err), 0);
  EXPECT_TRUE(Holds(out.str(), {"Warnings, where the program copes"}));
}

#ifdef KAV_CLI_DECODES_PICTURES
TEST_F(CheckerCliTest, DecodesPicturesAsTheWindowDoes) {
  for (const auto& entry : std::filesystem::directory_iterator(program / "Images"))
    WriteFile(entry.path().string(), kGif);
  Picture("hp4.gif", kGif.substr(0, 20));
  Picture("udr220.gif", "GIF90a" + kGif.substr(6));
  Data("flng_img.dat", "PDR220|pdr220.gif\r\nUDR220|udr220.gif\r\nCPR137G|cpr137g.wmf\r\n");
  Picture("cpr137g.wmf", "not a metafile");
  EXPECT_EQ(Run(), 1);
  EXPECT_TRUE(
      Holds(out.str(),
            {"M_LOM.dat:5:4: error: picture \"hp4.gif\" does not decode -- showing the antenna "
             "picture fails with the error box \"GIF encoded data is corrupt\"",
             "flng_img.dat:2:2: error: picture \"udr220.gif\" does not decode -- showing the "
             "picture of flange \"UDR220\" fails with the error box \"Unknown GIF version\"",
             "flng_img.dat:3:2: error: picture \"cpr137g.wmf\" does not decode -- showing the "
             "picture of flange \"CPR137G\" fails with the error box \"Metafile is not valid\""}));
}
#endif

}  // namespace
