#pragma once

#include <QMetaType>
#include <QObject>

// A Jalali (Solar Hijri) date as the documents read it: .year, .month, .day. All zero when there
// is no date to give. moc cannot handle a gadget nested in a class, so it lives here and Tools
// exposes it as Tools::JalaliDate.
struct JalaliDate
{
    Q_GADGET
    Q_PROPERTY(quint16 year MEMBER year)
    Q_PROPERTY(quint8 month MEMBER month)
    Q_PROPERTY(quint8 day MEMBER day)

public:
    quint16 year = 0;
    quint8 month = 0;
    quint8 day = 0;

    friend bool operator==(const JalaliDate &a, const JalaliDate &b)
    {
        return a.year == b.year && a.month == b.month && a.day == b.day;
    }
    friend bool operator!=(const JalaliDate &a, const JalaliDate &b) { return !(a == b); }
};

Q_DECLARE_METATYPE(JalaliDate)
