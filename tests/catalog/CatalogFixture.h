#pragma once
// A small catalogue of the test's own, laid out as the program expects it:
// data/ beside the program, the shared folder named by the registry.
#include <gtest/gtest.h>

#include <memory>

#include "FakeUi.h"
#include "TestSupport.h"
#include "catalog/DataModule.h"
#include "catalog/JobFile.h"
#include "platform/Locale.h"
#include "platform/ProgramFolder.h"
#include "settings/Registry.h"

// A data module created as the program creates it, with its pictures wired.
inline std::unique_ptr<TDataModule> NewDataMod(TDialogs& dialogs, TPictureBox& antenna,
                                               TPictureBox& option) {
  auto data = std::make_unique<TDataModule>(dialogs);
  data->AntennaImg.AssignedImage = &antenna;
  data->FlangeImg.AssignedImage = &option;
  data->RadomeImg.AssignedImage = &option;
  data->DataModuleCreate();
  return data;
}

class CatalogFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramFolder(program.Path());
    SetDecimalSeparator('.');
    auto registry = std::make_unique<TIniRegistry>(config.Path());
    registry->WriteString("Software\\Ostrel", "Common Files", "Path", shared.Path());
    SetCurrentUserRegistry(std::move(registry));
    WriteCatalogue();
  }
  void TearDown() override { SetCurrentUserRegistry(nullptr); }

  void Data(const std::string& name, const std::string& text) {
    WriteFile(program / ("data/" + name), text);
  }
  void Shared(const std::string& name, const std::string& text) { WriteFile(shared / name, text); }

  static std::string AntennaHeader() {
    return "Freq|Flange|ID|PSI_MAX|Misc|Size_FT|BegFreq|CURRENT|OldPartNum|PartNum|RPE|ETSI_GAIN|"
           "FCC74|FCC78|FCC101|ETSI_CLASS|Gain_Low|Gain_Med|Gain_High|BW_H|BW_V|X_pol|F_B|VSWR|"
           "Return_Loss|Type|Group|Diameter_Ft_M|Polarization\r\n-\r\n";
  }
  static std::string LomHeader() {
    return "BegFreq|EndingFreq|PartNo|GraphicFile|Desc|USPrice\r\n-\r\n";
  }
  // One antenna line: the cells that matter, the rest filled in.
  static std::string Antenna(const std::string& freq, const std::string& flanges,
                             const std::string& size, const std::string& model,
                             const std::string& rpe, const std::string& type,
                             const std::string& group) {
    return freq + "|" + flanges + "|1|0|m|" + size + "|0|Y|old|" + model + "|" + rpe +
           "|40.1|A|A|B|3|39.8|40.1|40.4|1.1|1.2|30|65|1.3|17.7|" + type + "|" + group + "|" +
           size + " ft|Single\r\n";
  }

  virtual void WriteCatalogue() {
    Data("MWFreq.dat", "Freq\r\n6 GHz\r\n23 GHz\r\n");
    Data("MWAntTypes.dat", "Freq|Prefix\r\n6 GHz|STD\r\n23 GHz|HP\r\n23 GHz|STD\r\n");
    Shared("MWAnts.dat",
           AntennaHeader() + Antenna("6 GHz", "CPR137G", "6", "STD6-6", "RPE-1", "STD", "G2") +
               Antenna("23 GHz", "PDR220, UDR220", "2", "HP2-23", "RPE-2", "HP", "G1") +
               Antenna("23 GHz", "PDR220", "4", "HP4-23", "", "HP", "G1") +
               Antenna("23 GHz", "PDR220", "2", "STD2-23", "RPE-4", "STD", "G1") +
               Antenna("23 GHz", "PDR220", "9", "HP2-23", "DUP", "HP", "G1"));
    Shared("M_LOM.dat", LomHeader() +
                            "6|7|STD6-6|std6|6 ft Standard Antenna|1840\r\n"
                            "21|23|HP2-23|hp2|2 ft High Performance Antenna|1000\r\n"
                            "21|23|HP4-23|hp4|4 ft High Performance Antenna|1999.99\r\n"
                            "21|23|STD2-23|std2|2 ft Standard Antenna|1,200\r\n");
    Data("flng_list.dat",
         "AntennaGroup|Flange|Suffix\r\nG1, G2|PDR220|A\r\nG1|UDR220|B\r\nG1|PDR220|Z\r\n"
         "G2|CPR137G|C\r\n");
    Data("radome_List.dat",
         "Antenna_Type|Antenna_Size|Radome_Suffix|Price_Upgrade|Radome_Desc\r\n"
         "HP, STD|2, 4|X|150.5|Grey radome\r\nHP|2|H|200|Hydrophobic radome\r\n"
         "STD|6|S|90|Standard radome\r\n");
    Data(
        "pack_list.dat",
        "Antenna_Size|Antenna_Group|DefaultPackSuffix|Pack_Suffix|Price|Pack_Desc\r\n"
        "2,4|G1|1|P|0|Standard crate\r\n2|G1|1|E|75|Export crate\r\n6|G2|1|P|0|Standard crate\r\n");
    Data("radome_img.dat",
         "AntennaGroup|Suffix|Image\r\nG2|S|rad_std.gif\r\nG1|X,H|rad_grey.gif\r\n");
    Data("flng_img.dat", "PDR220|pdr220.gif\r\nUDR220|udr220.gif\r\n");
    for (const char* picture : {"hp2.gif", "hp4.gif", "std6.gif", "pdr220.gif", "rad_grey.gif"})
      WriteFile(program / ("Images/" + std::string(picture)), "GIF89a");
  }

  std::unique_ptr<TDataModule> Create() {
    return NewDataMod(dialogs, antennaPicture, optionPicture);
  }

  bool QueryPart(TDataModule& data, const std::string& text, bool exact) {
    data.QueryMode = TQueryMode::ModelNumber;
    data.SetExactPartNumber(exact);
    data.SetQueryValue(text);
    return data.QueryAntennas();
  }

  std::string Cell(TDelimitedTable& table, const char* field) { return FieldText(table, field); }

  TempDir program, shared, config;
  FakeDialogs dialogs;
  FakePictureBox antennaPicture, optionPicture;
};
