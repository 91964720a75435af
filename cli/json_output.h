#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "logs/consumption_log.h"

// What the commands' --json documents are made of, so that every command writes texts, amounts, dates
// and paths the same way.
namespace qdtool {

// The flag of the commands that print a JSON document instead of their text.
inline constexpr char JsonFlag[] = "json";

// A text of the core (windows-1252 bytes) as a JSON string.
QJsonValue JsonText(std::string_view cp1252);
// A path as the system names it (UTF-8 on Unix).
QJsonValue JsonPath(const std::filesystem::path& path);
// A Qt text; null when it is empty (the system does not tell).
QJsonValue JsonTextOrNull(const QString& text);

// Amounts as exact decimal numbers: 327675 ml is 327.675 (litres), 3277 hundredths 32.77 (currency).
QJsonValue JsonLitres(std::int64_t millilitres);
QJsonValue JsonMoney(std::int64_t hundredths);
QJsonValue JsonMoney(const std::optional<std::int64_t>& hundredths);  // null for none

// A number counted from 1, where 0 stands for none: null then.
QJsonValue JsonNumberOrNull(int number);

// ISO 8601 local time without a zone, as the controller and the PC's files keep it:
// "2012-05-17T14:05:00".
QString JsonDateTime(int year, int month, int day, int hour, int minute, int second);
// "YYYY-MM-DD HH:MM:SS" as the core writes it, with the 'T' of ISO 8601.
QString JsonDateTime(std::string_view spaced);
// "2012-03"
QString JsonMonth(qd::logs::YearMonth month);

// The whole document on standard output, UTF-8, indented, with a final line break.
void PrintJson(const QJsonObject& document);

}  // namespace qdtool
