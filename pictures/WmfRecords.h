#pragma once
// The outline of a Windows metafile (WMF): its optional placeable header and
// the chain of records from the metafile header to the end-of-file record.
// No Qt and no libwmf, so the check runs in every build and under the fuzzer.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "pictures/WorkBudget.h"

// The picture's frame from a placeable header, in the metafile's own units.
struct TWmfFrame {
  int left, top, right, bottom;
  int unitsPerInch;
};

// What the records hold, for the header that libwmf trusts: it allocates
// for the largest record the header claims, gigabytes for a few bytes of
// file, so the player hands it these instead.
struct TWmfOutline {
  std::optional<TWmfFrame> frame;  // from a usable placeable header
  size_t headerAt = 0;             // the metafile header, after any placeable one
  uint32_t words = 0;              // from the metafile header to the end record's end
  uint32_t largestRecord = 0;      // in 16-bit words
};

// Fails with EKavError "Metafile is not valid" unless `bytes` hold a metafile
// header and records that each lie inside the file, ending in an end-of-file
// record, and bitmaps that hold what their headers claim. Charges `budget`
// with every record, with what libwmf spends on it, and with the pixels of
// every bitmap, which libwmf decodes whole: a file that asks for more is
// refused before any of it is played.
TWmfOutline CheckWmfRecords(std::string_view bytes, TWorkBudget& budget);
