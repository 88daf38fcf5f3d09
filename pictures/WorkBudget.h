#pragma once
// The work one metafile may cost, whatever its records ask for. A picture
// file is untrusted: a few bytes can claim a bitmap of millions of pixels, a
// shape as large as the output, a curve of thousands of points. The players
// charge every record they play, every pixel they decode and what the
// painter will spend on everything they hand it, before the work is done;
// past the allowance the picture counts as damaged. No Qt.
#include <cstdint>

#include "pictures/MetafileCommon.h"

class TWorkBudget {
 public:
  // In units of about a nanosecond of work on this kind of machine (see
  // TPaintCost and TLibwmfCost): 0.4 s at most. A drawing of 300,000 short
  // lines costs about half of it, one bitmap of the largest size a
  // metafile may hold three quarters.
  static constexpr uint64_t kPictureAllowance = 400'000'000;
  // Reading and applying one record.
  static constexpr uint64_t kRecord = 64;
  // One pixel of a bitmap decoded, or read out of libwmf's decoded copy.
  static constexpr uint64_t kDecodedPixel = 8;

  TWorkBudget() = default;
  explicit TWorkBudget(uint64_t allowance) : allowance_(allowance) {}

  // Charges `units` before the work is done; fails with "Metafile is not
  // valid", charging nothing, when they are more than is left.
  void Spend(uint64_t units) {
    if (units > allowance_ - spent_) InvalidMetafile();
    spent_ += units;
  }
  uint64_t Spent() const { return spent_; }

 private:
  uint64_t allowance_ = kPictureAllowance;
  uint64_t spent_ = 0;
};
