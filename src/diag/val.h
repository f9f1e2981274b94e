#pragma once
// Numbers typed by a game's author (the debug window's fields), read as the classic Val
// reads them: blanks, tabs and line feeds anywhere are skipped; then an optional sign,
// digits, a decimal point and an exponent (E or D), as far as they form a number; or
// "&H" with hexadecimal digits, or "&O" (or "&") with octal digits, read as a 16-bit
// value when up to four (six octal) digits fit, else as a 32-bit value. Anything else
// reads as 0. A number beyond the double range, or a hexadecimal or octal one beyond
// 32 bits, raises Overflow (6).

#include <string_view>

namespace qv::diag {

double Val(std::string_view text);

}  // namespace qv::diag
