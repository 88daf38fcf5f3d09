#pragma once
// Writes synthetic catalogues of any size for benchmarks and stress tests.
#include <string>

// MWAnts.dat with `rows` antennas: the 29 columns, the header line, the
// skipped second line, then one line per antenna (about 145 bytes each).
// Part numbers look like "HP4-23-000017": type, size, band, serial.
void WriteAntennaFile(const std::string& path, long rows);

// The part-number prefix that selects about one row in 400 of such a file.
inline const char* kSelectivePrefix = "HP4-23-";

// A whole catalogue in `folder`: data/ with the option files (each about
// `optionRows` rows, the rows that match the antennas last), common/ with
// MWAnts.dat and M_LOM.dat of `antennas` rows, and Images/.
void WriteCatalogue(const std::string& folder, long antennas, long optionRows);

// A catalogue in `folder` of one antenna, "BIG4-23", offering `options`
// flanges, radomes and packing options: flanges "F000000" onwards (each with
// its own suffix line in flng_list.dat), radomes "R000000" onwards and packing
// options "P000000" onwards, in that order.
void WriteOneAntennaCatalogue(const std::string& folder, long options);
