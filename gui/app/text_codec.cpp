#include "gui/app/text_codec.h"

#include "app/cp1252_text.h"
#include "app/translation.h"

namespace qd::gui {

QString FromCp1252(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (char byte : bytes)
    text.append(QChar(static_cast<char16_t>(qd::CodePointOfCp1252(static_cast<unsigned char>(byte)))));
  return text;
}

std::string ToCp1252(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text.at(i);
    if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ++i;  // one '?'
    bytes.push_back(ch.isSurrogate() ? '?' : qd::Cp1252ByteOf(ch.unicode()));
  }
  return bytes;
}

QString CoreText(const char* context, std::string_view constant) {
  return FromCp1252(qd::UiText(context, std::string(constant).c_str()));
}

QString PlainToolTip(const QString& text) {
  return QStringLiteral("<p style=\"white-space:pre-wrap\">") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

}  // namespace qd::gui
