#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

namespace devserver {

// Reading the fields of an app-interface request. The app's scripts send numbers sometimes as
// JSON numbers and sometimes as the text typed into a field, so whole numbers are taken in
// either form; anything else of the wrong type is absent.
namespace RequestFields {

std::optional<QString> text(const QJsonObject &request, const QString &key);
// A non-negative whole number, as a JSON number or as decimal digits (Persian digits allowed).
std::optional<qint64> wholeNumber(const QJsonObject &request, const QString &key);
// A device IMEI: a whole number of 1 to 17 digits, never zero.
std::optional<quint64> imei(const QJsonObject &request, const QString &key);

// The text with Persian digits (U+06F0..U+06F9) turned into ASCII digits and blanks trimmed.
QString latinDigits(const QString &text);
// Phone and SIM numbers are the same number when their last ten digits are; shorter texts never
// match, so a prefix-less fragment cannot claim someone's number.
bool samePhoneNumber(const QString &a, const QString &b);
// Digits with an optional leading "+", 10 to 15 digits in all.
bool isPhoneNumber(const QString &text);

} // namespace RequestFields

} // namespace devserver
