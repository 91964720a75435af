#include "json_output.h"

#include <QJsonDocument>
#include <cstdio>

#include "app/cp1252_text.h"

namespace qdtool {

namespace {

// The quotient of two doubles that hold whole numbers exactly is the double nearest to the exact
// decimal, and Qt writes the shortest text that reads back as that double: the decimal itself, for
// the up to 15 significant digits of any amount here.
QJsonValue ExactDecimal(std::int64_t units, int perOne) {
  return static_cast<double>(units) / perOne;
}

}  // namespace

QJsonValue JsonText(std::string_view cp1252) {
  return QString::fromStdString(qd::Utf8OfCp1252(cp1252));
}

QJsonValue JsonPath(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

QJsonValue JsonTextOrNull(const QString& text) {
  return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonValue JsonLitres(std::int64_t millilitres) {
  return ExactDecimal(millilitres, 1000);
}

QJsonValue JsonMoney(std::int64_t hundredths) {
  return ExactDecimal(hundredths, 100);
}

QJsonValue JsonMoney(const std::optional<std::int64_t>& hundredths) {
  return hundredths ? JsonMoney(*hundredths) : QJsonValue();
}

QJsonValue JsonNumberOrNull(int number) {
  return number == 0 ? QJsonValue() : QJsonValue(number);
}

QString JsonDateTime(int year, int month, int day, int hour, int minute, int second) {
  return QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02d", year, month, day, hour, minute, second);
}

QString JsonDateTime(std::string_view spaced) {
  QString text = QString::fromUtf8(spaced.data(), static_cast<qsizetype>(spaced.size()));
  if (text.size() > 10 && text[10] == QLatin1Char(' ')) text[10] = QLatin1Char('T');
  return text;
}

QString JsonMonth(qd::logs::YearMonth month) {
  return QString::asprintf("%04d-%02d", month.year, month.month);
}

void PrintJson(const QJsonObject& document) {
  const QByteArray text = QJsonDocument(document).toJson(QJsonDocument::Indented);
  std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
}

}  // namespace qdtool
