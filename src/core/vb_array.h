#pragma once
// Fixed tables indexed the way the game's rules number them (slots 1..20, flags 0..255).
// An index outside the table raises "Subscript out of range" (9) instead of reading
// or writing past the end, whatever number the game data holds.

#include <array>
#include <cstddef>

#include "core/vb_error.h"

namespace qv {

template <typename T, int kLow, int kHigh>
class VbArray {
 public:
  static_assert(kHigh >= kLow);
  static constexpr int kFirst = kLow;
  static constexpr int kLast = kHigh;

  T& operator[](int index) { return values_[Offset(index)]; }
  const T& operator[](int index) const { return values_[Offset(index)]; }

  static constexpr bool Contains(int index) { return index >= kLow && index <= kHigh; }
  void Fill(const T& value) { values_.fill(value); }

  auto begin() { return values_.begin(); }
  auto end() { return values_.end(); }
  auto begin() const { return values_.begin(); }
  auto end() const { return values_.end(); }

 private:
  static size_t Offset(int index) {
    if (!Contains(index)) Raise(kErrSubscript);
    return static_cast<size_t>(index - kLow);
  }

  std::array<T, kHigh - kLow + 1> values_{};
};

}  // namespace qv
