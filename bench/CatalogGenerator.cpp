#include "bench/CatalogGenerator.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char* const kTypes[] = {"HP", "HX", "SP", "UX", "VL", "PL"};
const int kSizes[] = {1, 2, 3, 4, 6, 8, 10, 12};
const char* const kBands[] = {"6", "7", "11", "13", "15", "18", "23", "38"};
const char* const kFlanges[] = {"PDR70, UDR70",   "PBR100", "PDR84, UDR84, CPR112G",
                                "PBR120, UBR120", "PBR220", "UG-383/U"};

}  // namespace

void WriteAntennaFile(const std::string& path, long rows) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) throw std::runtime_error("cannot write " + path);
  std::fputs(
      "Freq|Flange|ID|PSI_MAX|Misc|Size_FT|BegFreq|CURRENT|OldPartNum|PartNum|RPE|ETSI_GAIN|"
      "FCC74|FCC78|FCC101|ETSI_CLASS|Gain_Low|Gain_Med|Gain_High|BW_H|BW_V|X_pol|F_B|VSWR|"
      "Return_Loss|Type|Group|Diameter_Ft_M|Polarization\r\n",
      out);
  std::fputs("----|----|--|-------|----|-------|-------|-------|----------|-------|---|\r\n", out);
  for (long i = 0; i < rows; ++i) {
    const char* type = kTypes[i % 6];
    const int size = kSizes[(i / 6) % 8];
    const char* band = kBands[(i / 48) % 8];
    const double gain = 20.0 + size * 2.1 + (i % 7) * 0.1;
    std::fprintf(out,
                 "%s GHz|%s|%ld|%d|std|%d|%s.2|Y|OLD-%ld|%s%d-%s-%06ld|RPE-%05ld|%.1f|A|A|B|%d|"
                 "%.1f|%.1f|%.1f|%.1f|%.1f|30|%d|1.3|17.7|%s|G%d|%d ft (%.1f m)|%s\r\n",
                 band, kFlanges[i % 6], 10000 + i, 50, size, band, i, type, size, band, i,
                 i % 100000, gain, static_cast<int>(2 + i % 3), gain - 0.4, gain, gain + 0.4,
                 8.5 / size, 8.5 / size, 55 + size, type, size, size, size * 0.3048,
                 i % 2 ? "Single" : "Dual");
  }
  if (std::fclose(out) != 0) throw std::runtime_error("cannot write " + path);
}

namespace {

void WriteText(const std::string& path, const std::string& text) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr || std::fwrite(text.data(), 1, text.size(), out) != text.size())
    throw std::runtime_error("cannot write " + path);
  std::fclose(out);
}

}  // namespace

void WriteCatalogue(const std::string& folder, long antennas, long optionRows) {
  const std::string data = folder + "/data/", common = folder + "/common/";
  std::filesystem::create_directories(data);
  std::filesystem::create_directories(common);
  std::filesystem::create_directories(folder + "/Images");
  WriteAntennaFile(common + "MWAnts.dat", antennas);

  std::string text = "BegFreq|EndingFreq|PartNo|GraphicFile|Desc|USPrice\r\n-\r\n";
  std::string freqs = "Freq\r\n", types = "Freq|Prefix\r\n";
  for (const char* band : kBands) {
    freqs += std::string(band) + " GHz\r\n";
    for (const char* type : kTypes)
      types += std::string(band) + " GHz|" + type + "\r\n";
  }
  for (long i = 0; i < antennas; ++i) {
    char line[160];
    std::snprintf(line, sizeof line, "%s|%s|%s%d-%s-%06ld|pic%ld|%d ft antenna|%ld.5\r\n",
                  kBands[(i / 48) % 8], kBands[(i / 48) % 8], kTypes[i % 6], kSizes[(i / 6) % 8],
                  kBands[(i / 48) % 8], i, i % 10, kSizes[(i / 6) % 8], 1000 + i % 900);
    text += line;
  }
  WriteText(common + "M_LOM.dat", text);
  WriteText(data + "MWFreq.dat", freqs);
  WriteText(data + "MWAntTypes.dat", types);

  // Filler rows that match no antenna, then the rows that do.
  auto options = [&](const std::string& header, const std::string& filler,
                     const std::vector<std::string>& matching) {
    std::string body = header + "\r\n";
    for (long i = 0; i < optionRows - static_cast<long>(matching.size()); ++i)
      body += filler + std::to_string(i) + "\r\n";
    for (const std::string& row : matching)
      body += row + "\r\n";
    return body;
  };
  WriteText(data + "flng_list.dat",
            options("AntennaGroup|Flange|Suffix", "GX|NOFLANGE|S",
                    {"G1,G2,G3,G4,G6,G8,G10,G12|PDR70,UDR70,PBR100,PDR84,UDR84,CPR112G,PBR120,"
                     "UBR120,PBR220,UG-383/U|A"}));
  WriteText(data + "radome_List.dat",
            options("Antenna_Type|Antenna_Size|Radome_Suffix|Price_Upgrade|Radome_Desc",
                    "ZZ|99|R|1|filler ",
                    {"HP,HX,SP,UX,VL,PL|1,2,3,4,6,8,10,12|W|120.5|White radome",
                     "HP,HX,SP,UX,VL,PL|1,2,3,4,6,8,10,12|G|150|Grey radome"}));
  WriteText(data + "pack_list.dat",
            options("Antenna_Size|Antenna_Group|DefaultPackSuffix|Pack_Suffix|Price|Pack_Desc",
                    "99|GX|1|P|0|filler ",
                    {"1,2,3,4,6,8,10,12|G1,G2,G3,G4,G6,G8,G10,G12|1|P|0|Standard crate",
                     "1,2,3,4,6,8,10,12|G1,G2,G3,G4,G6,G8,G10,G12|1|E|75|Export crate"}));
  WriteText(data + "radome_img.dat", "AntennaGroup|Suffix|Image\r\n");
  WriteText(data + "flng_img.dat", "");
}

void WriteOneAntennaCatalogue(const std::string& folder, long options) {
  const std::string data = folder + "/data/", common = folder + "/common/";
  std::filesystem::create_directories(data);
  std::filesystem::create_directories(common);
  std::filesystem::create_directories(folder + "/Images");
  std::string flanges,
      suffixes = "AntennaGroup|Flange|Suffix\r\n",
      radomes = "Antenna_Type|Antenna_Size|Radome_Suffix|Price_Upgrade|Radome_Desc\r\n",
      packs = "Antenna_Size|Antenna_Group|DefaultPackSuffix|Pack_Suffix|Price|Pack_Desc\r\n";
  for (long i = 0; i < options; ++i) {
    char line[80];
    std::snprintf(line, sizeof line, "%sF%06ld", i == 0 ? "" : ", ", i);
    flanges += line;
    std::snprintf(line, sizeof line, "G4|F%06ld|f%ld\r\n", i, i);
    suffixes += line;
    std::snprintf(line, sizeof line, "HP|4|R%06ld|%ld|Radome %ld\r\n", i, i % 500, i);
    radomes += line;
    std::snprintf(line, sizeof line, "4|G4|P|P%06ld|%ld|Crate %ld\r\n", i, i % 90, i);
    packs += line;
  }
  WriteText(common + "MWAnts.dat",
            "Freq|Flange|ID|PSI_MAX|Misc|Size_FT|BegFreq|CURRENT|OldPartNum|PartNum|RPE|"
            "ETSI_GAIN|FCC74|FCC78|FCC101|ETSI_CLASS|Gain_Low|Gain_Med|Gain_High|BW_H|BW_V|X_pol|"
            "F_B|VSWR|Return_Loss|Type|Group|Diameter_Ft_M|Polarization\r\n-\r\n23 GHz|" +
                flanges +
                "|1|50|std|4|23.2|Y|OLD-1|BIG4-23|RPE-1|38.1|A|A|B|3|37.7|38.1|38.5|2.1|2.1|30|"
                "59|1.3|17.7|HP|G4|4 ft (1.2 m)|Dual\r\n");
  WriteText(common + "M_LOM.dat",
            "BegFreq|EndingFreq|PartNo|GraphicFile|Desc|USPrice\r\n-\r\n"
            "21|23|BIG4-23|big4|4 ft antenna|1000\r\n");
  WriteText(data + "MWFreq.dat", "Freq\r\n23 GHz\r\n");
  WriteText(data + "MWAntTypes.dat", "Freq|Prefix\r\n23 GHz|HP\r\n");
  WriteText(data + "flng_list.dat", suffixes);
  WriteText(data + "radome_List.dat", radomes);
  WriteText(data + "pack_list.dat", packs);
  WriteText(data + "radome_img.dat", "AntennaGroup|Suffix|Image\r\n");
  WriteText(data + "flng_img.dat", "");
}
