#include "core/text.h"

#include <array>
#include <cctype>
#include <cstdlib>

namespace qv {

namespace {

// Code points of bytes 0x80..0x9F in Windows-1252. The five undefined bytes map to the
// C1 control of the same value, as the WHATWG encoding standard does.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t ByteToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kCp1252High[byte - 0x80];
  return byte;
}

std::optional<unsigned char> CodePointToByte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
  for (size_t i = 0; i < kCp1252High.size(); ++i) {
    if (kCp1252High[i] == cp) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[i]; advances i. nullopt on malformed input.
std::optional<char32_t> NextCodePoint(std::string_view text, size_t& i) {
  auto lead = static_cast<unsigned char>(text[i]);
  int extra = 0;
  char32_t cp = 0;
  if (lead < 0x80) {
    cp = lead;
  } else if ((lead & 0xE0) == 0xC0) {
    cp = lead & 0x1F;
    extra = 1;
  } else if ((lead & 0xF0) == 0xE0) {
    cp = lead & 0x0F;
    extra = 2;
  } else if ((lead & 0xF8) == 0xF0) {
    cp = lead & 0x07;
    extra = 3;
  } else {
    return std::nullopt;
  }
  if (i + extra >= text.size() && extra > 0) return std::nullopt;
  for (int k = 1; k <= extra; ++k) {
    auto c = static_cast<unsigned char>(text[i + k]);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (c & 0x3F);
  }
  i += extra + 1;
  return cp;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(' ');
  return text.substr(begin, end - begin + 1);
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  size_t end = text.find_last_not_of(' ');
  if (end == std::string_view::npos) return {};
  return text.substr(0, end + 1);
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes)
    AppendUtf8(out, ByteToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    auto cp = NextCodePoint(utf8, i);
    if (!cp) return std::nullopt;
    auto byte = CodePointToByte(*cp);
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
  }
  return out;
}

std::string Utf8ToCp1252Lossy(std::string_view utf8) {
  std::string out;
  size_t i = 0;
  while (i < utf8.size()) {
    auto cp = NextCodePoint(utf8, i);
    if (!cp) {
      ++i;  // skip one byte of a malformed sequence
      out += '?';
      continue;
    }
    auto byte = CodePointToByte(*cp);
    out += byte ? static_cast<char>(*byte) : '?';
  }
  return out;
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}

namespace {

char32_t FoldCp1252Letter(char32_t cp) {
  if (cp >= 'A' && cp <= 'Z') return cp - 'A' + 'a';
  if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 0x20;
  switch (cp) {
    case 0x160:  // Š
    case 0x152:  // Œ
    case 0x17D:  // Ž
      return cp + 1;
    case 0x178:  // Ÿ
      return 0xFF;
    default:
      return cp;
  }
}

}  // namespace

std::u32string FoldedName(std::string_view name) {
  std::u32string folded;
  folded.reserve(name.size());
  size_t i = 0;
  bool utf8 = true;
  while (i < name.size()) {
    auto cp = NextCodePoint(name, i);
    if (!cp) {
      utf8 = false;
      break;
    }
    folded += FoldCp1252Letter(*cp);
  }
  if (!utf8) {
    folded.clear();
    for (char c : name)
      folded += FoldCp1252Letter(ByteToCodePoint(static_cast<unsigned char>(c)));
  }
  return folded;
}

bool EqualsIgnoreCaseCp1252(std::string_view a, std::string_view b) {
  return FoldedName(a) == FoldedName(b);
}

std::string LastThreeLower(std::string_view name) {
  return LowerAscii(name.size() <= 3 ? name : name.substr(name.size() - 3));
}

std::string NumText(long long n) {
  std::string text = std::to_string(n);
  if (n >= 0) text.insert(text.begin(), ' ');
  return text;
}

std::string PlainNum(long long n) {
  return std::to_string(n);
}

double LeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
    ++i;
  size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits_start = i;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
    ++i;
  size_t int_digits = i - digits_start;
  size_t frac_digits = 0;
  if (i < text.size() && text[i] == '.') {
    size_t frac_start = ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
      ++i;
    frac_digits = i - frac_start;
  }
  if (int_digits + frac_digits == 0) return 0.0;
  size_t end = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    size_t exp_start = j;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
      ++j;
    if (j > exp_start) end = j;
  }
  std::string number(text.substr(start, end - start));
  return std::strtod(number.c_str(), nullptr);
}

}  // namespace qv
