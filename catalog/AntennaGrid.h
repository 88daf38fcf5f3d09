#pragma once
// The columns of the antenna grid of the selection page, in order: what the
// window shows and what the headless tool prints for a query. And the
// entries of an antenna's specification sheet.
#include "catalog/CatalogSchema.h"

struct TGridColumn {
  const char* title;
  const char* field;
  int width;
};

inline constexpr TGridColumn kAntennaGridColumns[] = {
    {"Model Number", schema::antenna::kModel, 100},
    {"Frequency", "Freq", 100},
    {"Antenna Inputs", "Flange", 100},
    {"Polarization", "Polarization", 100},
    {"Diameter ft(m)", "Diameter_Ft_M", 100},
    {"RPE", "RPE", 100},
    {"ETSI CLASS", "ETSI_CLASS", 100},
    {"ETSI GAIN", "ETSI_GAIN", 100},
    {"FCC74", "FCC74", 100},
    {"FCC78", "FCC78", 100},
    {"FCC101", "FCC101", 100},
    {"Gain, dbi, Low", "Gain_Low", 125},
    {"Gain, dbi, Mid", "Gain_Med", 125},
    {"Gain, dbi, High", "Gain_High", 125},
    {"Beamwidth deg., Horiz.", "BW_H", 125},
    {"Beamwidth deg., Vert.", "BW_V", 125},
    {"Cross Pol. Disc., dB", "X_pol", 125},
    {"F/B Ratio, dB", "F_B", 125},
    {"VSWR", "VSWR", 125},
    {"Return Loss, dB", "Return_Loss", 125},
};

// An entry of the specification sheet: its name, padded as the sheet pads
// it, and the antenna column it shows.
struct TSpecEntry {
  const char* name;
  const char* column;
};

inline constexpr TSpecEntry kSpecSheetEntries[] = {
    {"Type Number", schema::antenna::kModel},
    {"Antenna Inputs", schema::antenna::kFlanges},
    {"Diameter ft", schema::antenna::kSize},
    {"RPE", "RPE"},
    {"U.S. FCC 101", "FCC101"},
    {"U.S. FCC 74", "FCC74"},
    {"U.S. FCC 78", "FCC78"},
    {"ETSI Class", "ETSI_CLASS"},
    {"ETSI Gain", "ETSI_GAIN"},
    {"Gain(dbi), Low ", "Gain_Low"},
    {"Gain(dbi), Mid ", "Gain_Med"},
    {"Gain(dbi), Top ", "Gain_High"},
    {"Beamwidth Deg.", "BW_H"},
    {"Cross Pol. Disc. (db)", "X_pol"},
    {"F/B Ratio (db)", "F_B"},
    {"VSWR Max", "VSWR"},
    {"Return Loss (dB)", "Return_Loss"},
};
