#include "bench/CatalogGenerator.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

const char* const kTypes[] = {"HP", "HX", "SP", "UX", "VL", "PL"};
const int kSizes[] = {1, 2, 3, 4, 6, 8, 10, 12};
const char* const kBands[] = {"6", "7", "11", "13", "15", "18", "23", "38"};
const char* const kFlanges[] = {"PDR70, UDR70", "PBR100", "PDR84, UDR84, CPR112G",
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
