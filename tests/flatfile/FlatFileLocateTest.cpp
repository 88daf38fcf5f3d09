// Finding a table's file beside the program or through the registry.
#include <cstdlib>

#include "FlatFileFixture.h"
#include "platform/ProgramFolder.h"
#include "settings/Registry.h"

namespace {

class FlatFileLocateTest : public FlatFileFixture {
 protected:
  void SetUp() override {
    SetProgramFolder(program.Path());
    SetCurrentUserRegistry(std::make_unique<TIniRegistry>(config.Path()));
  }
  void TearDown() override { SetCurrentUserRegistry(nullptr); }

  std::unique_ptr<TDelimitedTable> RegistryTable(const std::string& file) {
    auto t = std::make_unique<TDelimitedTable>("AntData");
    t->SetFileName(file);
    t->SetPathMode(TPathMode::FromRegistry);
    t->RegistryOptions() = {"Software\\Ostrel", "Common Files", "Path", ""};
    return t;
  }

  TempDir program, config, shared;
};

TEST_F(FlatFileLocateTest, LocalPathIsBesideTheProgramWhateverTheLetterCase) {
  WriteFile(program / "data/MWFreq.dat", "Freq\n6 GHz\n");
  for (const char* folder : {"data\\", "Data\\", "DATA/"}) {
    TDelimitedTable t;
    t.SetFileName("mwfreq.DAT");
    t.SetPath(folder);
    t.Open();
    EXPECT_EQ(t.Fields(0)->AsString(), "6 GHz") << folder;
  }
}

TEST_F(FlatFileLocateTest, FailuresNameTheMissingFile) {
  TDelimitedTable t;
  EXPECT_EQ(ErrorOf([&] { t.Open(); }), "Missing File");
  t.SetFileName("MWFreq.dat");
  t.SetPath("data\\");
  EXPECT_EQ(ErrorOf([&] { t.Open(); }), Native(program / "data/MWFreq.dat") + " does not exist");
  std::filesystem::create_directories(program / "data/MWFreq.dat");  // a folder is no file
  EXPECT_EQ(ErrorOf([&] { t.Open(); }), Native(program / "data/MWFreq.dat") + " does not exist");
}

TEST_F(FlatFileLocateTest, RegistryNamesTheSharedFolder) {
  WriteFile(shared / "MWAnts.dat", "PartNum\nskipped\nM1\n");
  CurrentUserRegistry().WriteString("Software\\Ostrel", "Common Files", "Path",
                                    shared.Path().substr(0, shared.Path().size() - 1));
  auto t = RegistryTable("MWAnts.dat");
  t->SetSkipRow(1);
  t->Open();
  EXPECT_EQ(Records(*t), (Rows{"M1"}));
  EXPECT_EQ(t->Path().back(), '\\');
  // A value that already ends in a separator still gets one more.
  CurrentUserRegistry().WriteString("Software\\Ostrel", "Common Files", "Path", shared.Path());
  t->Close();
  t->Open();
  EXPECT_EQ(t->RecordCount(), 1);
}

TEST_F(FlatFileLocateTest, MissingRegistryValueUsesTheDefaultAndCreatesTheKey) {
  auto t = RegistryTable("");
  EXPECT_EQ(ErrorOf([&] { t->Open(); }), "Missing File");
  EXPECT_FALSE(std::filesystem::exists(config / "Ostrel"));  // no file name, no key
  t->SetFileName("kav_no_such_file.dat");
  // No folder set is never the root folder.
  EXPECT_EQ(ErrorOf([&] { t->Open(); }),
            "The shared catalogue folder, which holds kav_no_such_file.dat, is not set");
  EXPECT_TRUE(std::filesystem::is_directory(config / "Ostrel"));

  WriteFile(shared / "x.dat", "A\n1\n");
  t->RegistryOptions().DefaultValue = shared.Path().substr(0, shared.Path().size() - 1);
  t->SetFileName("x.dat");
  t->Open();
  EXPECT_EQ(t->RecordCount(), 1);
}

TEST_F(FlatFileLocateTest, UnreadableRegistryFileIsStillReadAsFarAsItGoes) {
  WriteFile(config / "Ostrel/registry.ini",
            std::string("\x01\x02garbage\0[Common Files]\nPath=/nowhere\n", 40));
  auto t = RegistryTable("MWAnts.dat");
  const std::string error = ErrorOf([&] { t->Open(); });
  EXPECT_NE(error.find("MWAnts.dat, is not set"), std::string::npos) << error;  // the NUL ends it
}

}  // namespace
