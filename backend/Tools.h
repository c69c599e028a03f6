#pragma once

#include "JalaliDate.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QGeoCoordinate>
#include <QGeoRectangle>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariantList>
#include <QVariantMap>

// The utility object of the documents: version, password digest, encodings, the xcrypt cipher,
// the device status record, Jalali dates, share tokens, server notices and a few geographic
// helpers. It keeps no state; every operation is a function of its arguments apart from the random
// token and the clipboard.
class Tools : public QObject
{
    Q_OBJECT

public:
    using JalaliDate = ::JalaliDate;

    static constexpr int versionMajor = 4;
    static constexpr int versionMinor = 2;
    static constexpr int versionPatch = 0;

    explicit Tools(QObject *parent = nullptr);

    Q_INVOKABLE QString version() const;
    Q_INVOKABLE int version_major() const { return versionMajor; }
    Q_INVOKABLE int version_minor() const { return versionMinor; }
    Q_INVOKABLE int version_patch() const { return versionPatch; }

    Q_INVOKABLE QByteArray hashPass(const QString &pass) const;
    Q_INVOKABLE QByteArray int32ToBase95(quint32 num) const;
    Q_INVOKABLE quint32 base95ToInt32(const QByteArray &num) const;
    Q_INVOKABLE QVariantMap urlSplit(const QUrl &url) const;

    Q_INVOKABLE QString toBase64(const QByteArray &data) const;
    Q_INVOKABLE QByteArray ftomBase64(const QString &data) const;
    Q_INVOKABLE QByteArray toUtf8(const QString &str) const;
    Q_INVOKABLE QString fromUtf8(const QByteArray &array) const;
    Q_INVOKABLE QByteArray xcrypt(const QByteArray &data) const;

    // An invalid date, one before 1601 (where the 33-year arithmetic is not defined) or one
    // whose Jalali year does not fit 16 bits gives the all-zero record.
    Q_INVOKABLE Tools::JalaliDate dateToJalali(const QDate &gDate) const;
    // "1403/01/01  08:05:00"; empty when the date has no Jalali record.
    Q_INVOKABLE QString timeToJalaliString(const QDateTime &dateTime) const;

    Q_INVOKABLE QString generateAccessToken() const;
    Q_INVOKABLE void copyToClipboard(const QString &str) const;
    Q_INVOKABLE void share(const QString &content) const;
    // No fields at all for a record shorter than 12 bytes or a text too long to be a status.
    Q_INVOKABLE QVariantMap parsStatus(const QByteArray &data) const;
    Q_INVOKABLE void shareLocation(const QGeoCoordinate &coord) const;
    Q_INVOKABLE QGeoRectangle getPolygonBoundingRect(const QVariantList &coords) const;

    // The server notice's item inside the content area, or null (and a console line) when the
    // text is not declarative content that NoticeChecker accepts or does not build.
    Q_INVOKABLE QObject *createNotice(const QString &source, QObject *contentArea) const;
};
