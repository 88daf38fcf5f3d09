// "Copy to Clipboard" and "Export": the part-number rows as bytes.
#include <filesystem>

#include "OutputTestSupport.h"
#include "catalog/CatalogFixture.h"
#include "output/OutputCommands.h"

namespace {

class ExportTest : public CatalogFixture {
 protected:
  void WriteCatalogue() override {
    CatalogFixture::WriteCatalogue();
    // 8-bit text
    Shared("M_LOM.dat", LomHeader() + "21|23|HP2-23|hp2|Antenne 2 pi \xE0 haut rendement|1000\r\n");
  }
  void SetUp() override {
    CatalogFixture::SetUp();
    data = Create();
  }
  void Export(const std::string& name, int index) {
    save.chosenName = name, save.chosenIndex = index;
    ExportPartNumber(*data, save, dialogs);
  }

  const std::string kRows =
      "Base Part Number=HP2-23\r\nCustom Part Number=HP2-23-AXP\r\nCustom Description=Antenne 2 "
      "pi \xE0 haut rendement, PDR220 flange, Grey radome, Standard crate\r\nCustom "
      "Price=$1150.5\r\n";
  std::unique_ptr<TDataModule> data;
  TempDir out;
  FakeClipboard clipboard;
  FakeSaveDialog save;
};

TEST_F(ExportTest, CopyPutsTheLatestRowsOnTheClipboardOnceAPartNumberIsBuilt) {
  CopyPartNumber(*data, clipboard, dialogs);
  ExportPartNumber(*data, save, dialogs);
  EXPECT_EQ(std::pair(clipboard.clears, save.offered.empty()), std::pair(0, true));
  EXPECT_EQ(dialogs.messages,
            (std::vector<std::string>{"You must complete a part number to copy to clipboard",
                                      "You must complete a part number to export"}));
  dialogs.messages.clear();
  ASSERT_TRUE(QueryPart(*data, "HP2-23", true));
  CopyPartNumber(*data, clipboard, dialogs);
  EXPECT_EQ(clipboard.text, kRows);
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Copied to clipboard."});
  data->PackingOptions.Next();  // the export crate
  CopyPartNumber(*data, clipboard, dialogs);
  EXPECT_EQ(clipboard.clears, 2);
  EXPECT_NE(clipboard.text.find("Custom Part Number=HP2-23-AXE\r\n"), std::string::npos)
      << clipboard.text;
  EXPECT_EQ(clipboard.text.find("AXP"), std::string::npos);
}

TEST_F(ExportTest, ExportWritesTheSameBytesUnderEitherTypeAndReplacesAFile) {
  ASSERT_TRUE(QueryPart(*data, "HP2-23", true));
  save.cancel = true;
  Export(out / "pn", 1);
  EXPECT_TRUE(std::filesystem::is_empty(out.Path()));
  save.cancel = false;
  Export(out / "pn", 2);
  ASSERT_EQ(save.offered.size(), 2u);
  EXPECT_EQ(save.offered[0].Description + save.offered[0].Pattern, "Excel (*.xls)*.xls");
  EXPECT_EQ(save.offered[1].Description + save.offered[1].Pattern, "Text (*.txt)*.txt");
  EXPECT_EQ(save.offeredIndex, 1);
  EXPECT_EQ(ReadFile(out / "pn.txt"), kRows);
  Export(out / "pn", 1);
  EXPECT_EQ(ReadFile(out / "pn.xls"), kRows);
  WriteFile(out / "old.txt", std::string(5000, 'x'));
  Export(out / "old.txt", 1);
  EXPECT_EQ(ReadFile(out / "old.txt"), kRows);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.Path()), {}), 3);
  EXPECT_EQ(std::pair(dialogs.messages.empty(), dialogs.questions.empty()), std::pair(true, true));
  EXPECT_EQ(ErrorOf([&] { Export(out / "missing/pn", 1); }),
            "Cannot create file " + out / "missing/pn.xls" + ". The folder \"" + out / "missing" +
                "\" does not exist.");
}

TEST_F(ExportTest, ADotAnywhereInThePathKeepsTheNameAsChosen) {
  EXPECT_EQ(ExportFileName("/home/u/pn", 1), "/home/u/pn.xls");
  EXPECT_EQ(ExportFileName("/home/u/pn", 2), "/home/u/pn.txt");
  EXPECT_EQ(ExportFileName("/home/u/pn.csv", 1), "/home/u/pn.csv");
  EXPECT_EQ(ExportFileName("/home/u/pn.", 2), "/home/u/pn.");
  ASSERT_TRUE(QueryPart(*data, "HP2-23", true));
  std::filesystem::create_directories(out / "jobs.2024");
  Export(out / "jobs.2024/pn", 2);
  EXPECT_EQ(ReadFile(out / "jobs.2024/pn"), kRows);
  EXPECT_FALSE(std::filesystem::exists(out / "jobs.2024/pn.txt"));
}

}  // namespace
