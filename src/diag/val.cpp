#include "diag/val.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/vb_error.h"

namespace qv::diag {

namespace {

bool Skipped(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}

// The digits of a radix number after its prefix, up to the first that is not one.
double RadixNumber(const std::string& text, size_t at, int radix) {
  uint64_t value = 0;
  for (; at < text.size(); ++at) {
    const int c = std::tolower(static_cast<unsigned char>(text[at]));
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0 || digit >= radix) break;
    value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFull) Raise(kErrOverflow);
  }
  // Up to 16 bits the value is a 16-bit integer (&HFFFF is -1), then a 32-bit one.
  if (value <= 0xFFFF) return static_cast<int16_t>(static_cast<uint16_t>(value));
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

}  // namespace

double Val(std::string_view raw) {
  std::string text;
  for (char c : raw) {
    if (!Skipped(c)) text += c;
  }
  if (!text.empty() && text[0] == '&') {
    const char kind = text.size() > 1 ? static_cast<char>(std::toupper(text[1])) : '\0';
    if (kind == 'H') return RadixNumber(text, 2, 16);
    if (kind == 'O') return RadixNumber(text, 2, 8);
    return RadixNumber(text, 1, 8);
  }
  size_t i = 0;
  std::string number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
  size_t digits = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
    number += text[i++];
    ++digits;
  }
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
      number += text[i++];
      ++digits;
    }
  }
  if (digits == 0) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::string exponent = "e";
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
    const size_t exponent_digits = j;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
      exponent += text[j++];
    if (j > exponent_digits) number += exponent;
  }
  errno = 0;
  const double value = std::strtod(number.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(value)) Raise(kErrOverflow);
  return value;
}

}  // namespace qv::diag
