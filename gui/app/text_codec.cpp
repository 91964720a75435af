#include "gui/app/text_codec.h"

#include <array>

namespace qd::gui {
namespace {

// 0x80..0x9F; 0 marks the five bytes windows-1252 leaves undefined (shown as themselves).
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t CharOf(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F && HighControls[byte - 0x80] != 0) return HighControls[byte - 0x80];
  return byte;
}

char ByteOf(char16_t ch) {
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<char>(ch);
  for (std::size_t i = 0; i < HighControls.size(); ++i) {
    if (HighControls[i] == ch) return static_cast<char>(0x80 + i);
  }
  // The five bytes windows-1252 leaves undefined are read as the same code points; only those go back.
  if (ch >= 0x80 && ch <= 0x9F && HighControls[ch - 0x80] == 0) return static_cast<char>(ch);
  return '?';
}

}  // namespace

QString FromCp1252(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (char byte : bytes)
    text.append(QChar(CharOf(static_cast<unsigned char>(byte))));
  return text;
}

std::string ToCp1252(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text.at(i);
    if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ++i;  // one '?'
    bytes.push_back(ch.isSurrogate() ? '?' : ByteOf(ch.unicode()));
  }
  return bytes;
}

}  // namespace qd::gui
