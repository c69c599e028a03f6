#include "Tools.h"

#include "GeoCoordinates.h"
#include "NoticeBuilder.h"
#include "NoticeChecker.h"
#include "Xcrypt.h"

#include <QClipboard>
#include <QCryptographicHash>
#include <QGeoPolygon>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QTime>
#include <QUuid>
#include <QtEndian>

#include <array>
#include <limits>

namespace {

// Status record: 12 bytes, little-endian, all fields unsigned.
constexpr qsizetype statusRecordSize = 12;
// Base64 of a status record is 16 characters; the slack is for padding and line breaks. A longer
// text is not a status at all, and decoding it would cost memory on every poll.
constexpr qsizetype statusTextMaxSize = 64;

struct StatusField
{
    const char *key;
    qsizetype offset;
    int width;
};

constexpr std::array<StatusField, 10> statusFields{{
    {"door", 0, 1},
    {"trunk", 1, 1},
    {"carSwitch", 2, 1},
    {"powerDetect", 3, 1},
    {"charging", 4, 1},
    {"carring", 5, 1},
    {"simCharge", 6, 2},
    {"battryPercent", 8, 2},
    {"gsmSignal", 10, 1},
    {"gpsSignal", 11, 1},
}};

constexpr int base95Digits = 5;
constexpr int base95Radix = 95;
constexpr char base95Zero = ' ';

bool isGregorianLeapYear(qint64 year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days since 1600-03-20, which this arithmetic counts as 979/01/01 (for dates after 1600).
qint64 daysSinceJalaliEpoch(const QDate &date)
{
    static constexpr std::array<int, 12> gregorianMonthLengths{31, 28, 31, 30, 31, 30,
                                                               31, 31, 30, 31, 30, 31};
    const qint64 gy = qint64(date.year()) - 1600;
    qint64 days = 365 * gy + (gy + 3) / 4 - (gy + 99) / 100 + (gy + 399) / 400 - 80 + date.day();
    for (int month = 1; month < date.month(); ++month)
        days += gregorianMonthLengths[month - 1];
    if (date.month() >= 3 && isGregorianLeapYear(date.year()))
        ++days;
    return days;
}

int jalaliMonthLength(int month)
{
    return month <= 6 ? 31 : 30;
}

} // namespace

Tools::Tools(QObject *parent) : QObject(parent)
{
    // Also known by its qualified name, as the invokables spell it.
    qRegisterMetaType<JalaliDate>("Tools::JalaliDate");
}

QString Tools::version() const
{
    return QStringLiteral("%1.%2.%3").arg(versionMajor).arg(versionMinor).arg(versionPatch);
}

QByteArray Tools::hashPass(const QString &pass) const
{
    // The server keeps digests of Latin-1 bytes, so characters beyond it must become '?'.
    return QCryptographicHash::hash(pass.toLatin1(), QCryptographicHash::Md5);
}

QByteArray Tools::int32ToBase95(quint32 num) const
{
    QByteArray text(base95Digits, base95Zero);
    for (int i = 0; i < base95Digits; ++i) {
        text[i] = char(base95Zero + num % base95Radix);
        num /= base95Radix;
    }
    return text;
}

quint32 Tools::base95ToInt32(const QByteArray &num) const
{
    // Least significant digit first. Missing characters of a short text count as digit 0 (a
    // blank); characters outside the alphabet are not rejected, bytes of 128 and above counting
    // as negative. The sum wraps modulo 2^32.
    quint32 sum = 0;
    quint32 weight = 1;
    for (int i = 0; i < base95Digits && i < num.size(); ++i) {
        const int digit = int(static_cast<signed char>(num.at(i))) - base95Zero;
        sum += quint32(digit) * weight;
        weight *= base95Radix;
    }
    return sum;
}

QVariantMap Tools::urlSplit(const QUrl &url) const
{
    return {
        {QStringLiteral("valid"), url.isValid()},
        {QStringLiteral("path"), url.path(QUrl::FullyDecoded)},
        {QStringLiteral("port"), url.port()},
        {QStringLiteral("host"), url.host(QUrl::FullyDecoded)},
    };
}

QString Tools::toBase64(const QByteArray &data) const
{
    return QString::fromLatin1(data.toBase64());
}

QByteArray Tools::ftomBase64(const QString &data) const
{
    // Without AbortOnBase64DecodingErrors Qt skips every character outside the alphabet and
    // carries on with the next one, which is the leniency wanted here.
    return QByteArray::fromBase64(data.toLatin1());
}

QByteArray Tools::toUtf8(const QString &str) const
{
    return str.toUtf8();
}

QString Tools::fromUtf8(const QByteArray &array) const
{
    return QString::fromUtf8(array);
}

QByteArray Tools::xcrypt(const QByteArray &data) const
{
    return Xcrypt::xcrypt(data);
}

Tools::JalaliDate Tools::dateToJalali(const QDate &gDate) const
{
    // The arithmetic counts from 1600 and holds from 1601 on; earlier dates get no record.
    if (!gDate.isValid() || gDate.year() <= 1600)
        return {};

    // The 33-year arithmetic cycle: 12053 days, in 4-year groups of 1461 days whose first year
    // is the long one.
    qint64 days = daysSinceJalaliEpoch(gDate);
    qint64 year = 979 + 33 * (days / 12053);
    days %= 12053;
    year += 4 * (days / 1461);
    days %= 1461;
    if (days > 365) {
        year += (days - 1) / 365;
        days = (days - 1) % 365;
    }
    if (year > std::numeric_limits<quint16>::max())
        return {};

    // Month 12 takes whatever remains, so its length is never needed.
    int month = 1;
    while (month < 12 && days >= jalaliMonthLength(month)) {
        days -= jalaliMonthLength(month);
        ++month;
    }

    JalaliDate date;
    date.year = quint16(year);
    date.month = quint8(month);
    date.day = quint8(days + 1);
    return date;
}

QString Tools::timeToJalaliString(const QDateTime &dateTime) const
{
    const JalaliDate date = dateToJalali(dateTime.date());
    if (date.year == 0)
        return {};
    return QStringLiteral("%1/%2/%3  ")
               .arg(date.year)
               .arg(date.month, 2, 10, QLatin1Char('0'))
               .arg(date.day, 2, 10, QLatin1Char('0')) +
           dateTime.time().toString(QStringLiteral("HH:mm:ss"));
}

QString Tools::generateAccessToken() const
{
    const QByteArray uuid = QUuid::createUuid().toString(QUuid::WithBraces).toLatin1();
    return QString::fromLatin1(QCryptographicHash::hash(uuid, QCryptographicHash::Sha256).toHex());
}

void Tools::copyToClipboard(const QString &str) const
{
    // Without a GUI application (command-line use) there is no clipboard to write to.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QGuiApplication::clipboard()->setText(str, QClipboard::Clipboard);
}

void Tools::share(const QString &content) const
{
    // The desktop build has no share sheet.
    Q_UNUSED(content)
}

QVariantMap Tools::parsStatus(const QByteArray &data) const
{
    if (data.size() > statusTextMaxSize)
        return {};
    const QByteArray record = QByteArray::fromBase64(data);
    // A short record would leave fields without values; give no fields rather than some.
    if (record.size() < statusRecordSize)
        return {};

    QVariantMap status;
    for (const StatusField &field : statusFields) {
        const char *at = record.constData() + field.offset;
        const int value = field.width == 1 ? int(quint8(*at)) : int(qFromLittleEndian<quint16>(at));
        status.insert(QLatin1String(field.key), value);
    }
    return status;
}

void Tools::shareLocation(const QGeoCoordinate &coord) const
{
    // Nothing in this build shares a position on its own.
    Q_UNUSED(coord)
}

QGeoRectangle Tools::getPolygonBoundingRect(const QVariantList &coords) const
{
    return QGeoPolygon(GeoCoordinates::fromVariantList(coords)).boundingGeoRectangle();
}

QObject *Tools::createNotice(const QString &source, QObject *contentArea) const
{
    QQmlEngine *engine = qmlEngine(this);
    QString reason = engine ? NoticeChecker::refusal(source) : QStringLiteral("no QML engine");
    QObject *item =
        reason.isEmpty() ? NoticeBuilder::build(*engine, source, contentArea, reason) : nullptr;
    if (!item)
        qWarning().noquote() << "Server notice refused:" << reason;
    return item;
}
