#pragma once
// Text helpers shared by every subsystem: the blank trimming of record texts, the
// Windows-1252 <-> UTF-8 conversion, and the number texts used in log lines.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Removes blanks (0x20) at both ends; every other character, zero bytes included, stays.
std::string_view TrimBlanks(std::string_view text);

// Removes blanks at the end only (the padding of a fixed-width record text).
std::string_view TrimTrailingBlanks(std::string_view text);

// Windows-1252 bytes to UTF-8. The five bytes the code page leaves undefined map to the
// control characters of the same value, so the conversion is lossless and reversible.
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252 bytes; nullopt when the text holds a character the code page
// cannot represent or is not valid UTF-8.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

// Like Utf8ToCp1252, but characters the code page lacks become '?'. For text a player
// types, which must be stored whatever it holds.
std::string Utf8ToCp1252Lossy(std::string_view utf8);

// ASCII lower case; other bytes unchanged.
std::string LowerAscii(std::string_view text);

// True when a and b are equal ignoring ASCII letter case.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// The characters of a name with the letters of Windows-1252 in lower case (A-Z, À-Þ
// but ×, Š, Œ, Ž, Ÿ), as the Windows file system compares names. The name is UTF-8; a
// name that is not valid UTF-8 (a file name written by another system) is read as
// Windows-1252 bytes instead.
std::u32string FoldedName(std::string_view name);

// True when two names are equal ignoring the letter case of Windows-1252 (É = é).
bool EqualsIgnoreCaseCp1252(std::string_view a, std::string_view b);

// The last three characters of a file name, lower-cased: how the player tells "wav"
// from "avi", "mid" and "mp3".
std::string LastThreeLower(std::string_view name);

// Decimal text of n with one leading blank when n >= 0 and "-" when negative: " 5", "-4".
std::string NumText(long long n);

// Decimal text of n with no blank: "5", "-4".
std::string PlainNum(long long n);

// The decimal number a text starts with, after leading blanks and tabs (sign, digits,
// a fraction and an exponent); 0 when it does not start with one.
double LeadingNumber(std::string_view text);

}  // namespace qv
