#pragma once
// The outline of a Windows metafile (WMF): its optional placeable header and
// the chain of records from the metafile header to the end-of-file record.
// No Qt and no libwmf, so the check runs in every build and under the fuzzer.
#include <optional>
#include <string_view>

// The picture's frame from a placeable header, in the metafile's own units.
struct TWmfFrame {
  int left, top, right, bottom;
  int unitsPerInch;
};

// Fails with EKavError "Metafile is not valid" unless `bytes` hold a metafile
// header and records that each lie inside the file, ending in an end-of-file
// record, and bitmaps that hold what their headers claim. Returns the
// placeable frame, if the file has a usable one.
std::optional<TWmfFrame> CheckWmfRecords(std::string_view bytes);
