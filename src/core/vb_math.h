#pragma once
// 16-bit arithmetic as the game data expects it: overflow is an error (Overflow, 6),
// never a silent wrap, and conversions round to the nearest integer, halves to even.

#include <cmath>
#include <cstdint>

#include "core/vb_error.h"

namespace qv {

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
inline double RoundHalfEven(double value) {
  double rounded = std::round(value);  // halves away from zero
  if (std::fabs(value - std::trunc(value)) == 0.5) {
    rounded = 2.0 * std::round(value / 2.0);
  }
  return rounded;
}

// Converts to a 16-bit integer with half-to-even rounding; Overflow when out of range.
inline int16_t ToInt16(double value) {
  if (std::isnan(value)) Raise(kErrOverflow);
  double rounded = RoundHalfEven(value);
  if (rounded < -32768.0 || rounded > 32767.0) Raise(kErrOverflow);
  return static_cast<int16_t>(rounded);
}

// 16-bit signed addition that raises Overflow instead of wrapping.
inline int16_t AddInt16(int16_t a, int16_t b) {
  int sum = int{a} + int{b};
  if (sum < INT16_MIN || sum > INT16_MAX) Raise(kErrOverflow);
  return static_cast<int16_t>(sum);
}

}  // namespace qv
