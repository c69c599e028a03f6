#include "RequestFields.h"

#include <QJsonValue>

#include <cmath>

namespace devserver {

namespace {

// Doubles hold whole numbers exactly up to 2^53; IMEIs stay well below.
constexpr double largestExactWhole = 9007199254740992.0;

std::optional<qint64> parseDigits(const QString &text)
{
    const QString digits = RequestFields::latinDigits(text);
    if (digits.isEmpty() || digits.size() > 17)
        return std::nullopt;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return digits.toLongLong();
}

} // namespace

namespace RequestFields {

std::optional<QString> text(const QJsonObject &request, const QString &key)
{
    const QJsonValue value = request.value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

std::optional<qint64> wholeNumber(const QJsonObject &request, const QString &key)
{
    const QJsonValue value = request.value(key);
    if (value.isString())
        return parseDigits(value.toString());
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || number < 0 || number > largestExactWhole ||
        number != std::floor(number))
        return std::nullopt;
    return qint64(number);
}

std::optional<quint64> imei(const QJsonObject &request, const QString &key)
{
    const std::optional<qint64> number = wholeNumber(request, key);
    if (!number || *number == 0)
        return std::nullopt;
    return quint64(*number);
}

QString latinDigits(const QString &text)
{
    QString out = text.trimmed();
    for (QChar &c : out) {
        if (c.unicode() >= 0x06F0 && c.unicode() <= 0x06F9)
            c = QChar(u'0' + (c.unicode() - 0x06F0));
    }
    return out;
}

bool samePhoneNumber(const QString &a, const QString &b)
{
    const QString left = latinDigits(a);
    const QString right = latinDigits(b);
    if (left.size() < 10 || right.size() < 10)
        return false;
    return left.right(10) == right.right(10);
}

bool isPhoneNumber(const QString &text)
{
    const QString digits = text.startsWith(u'+') ? text.mid(1) : text;
    if (digits.size() < 10 || digits.size() > 15)
        return false;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

} // namespace RequestFields

} // namespace devserver
