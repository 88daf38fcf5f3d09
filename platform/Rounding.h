#pragma once
#include <cmath>

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2,
// 3.5 -> 4), as the window's and the printer's layout arithmetic does.
inline int RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  if (fraction > 0.5) return static_cast<int>(floor) + 1;
  if (fraction < 0.5) return static_cast<int>(floor);
  return static_cast<int>(std::fmod(floor, 2.0) == 0 ? floor : floor + 1);
}
