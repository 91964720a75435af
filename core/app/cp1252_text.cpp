#include "app/cp1252_text.h"

#include <array>

namespace qd {
namespace {

// 0x80..0x9F; 0 marks the bytes windows-1252 leaves undefined.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    // Every windows-1252 character lies in the basic multilingual plane.
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

}  // namespace

std::string Utf8OfCp1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char byte : bytes)
    AppendUtf8(out, CodePointOfCp1252(static_cast<unsigned char>(byte)));
  return out;
}

char32_t CodePointOfCp1252(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F && HighControls[byte - 0x80] != 0) return HighControls[byte - 0x80];
  return byte;
}

char Cp1252ByteOf(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (std::size_t i = 0; i < HighControls.size(); ++i) {
    if (HighControls[i] == code) return static_cast<char>(0x80 + i);
  }
  // The five bytes windows-1252 leaves undefined are read as the same code points; only those go back.
  if (code >= 0x80 && code <= 0x9F && HighControls[code - 0x80] == 0) return static_cast<char>(code);
  return '?';
}

}  // namespace qd
