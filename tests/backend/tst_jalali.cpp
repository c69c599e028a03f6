#include "Tools.h"

#include <QCalendar>
#include <QQmlEngine>
#include <QTest>

class TstJalali : public QObject
{
    Q_OBJECT

private slots:
    void vectors_data();
    void vectors();
    void agreesWithQtCalendarEveryDay();
    void outsideRange_data();
    void outsideRange();
    void timeToJalaliString_data();
    void timeToJalaliString();
    void readableFromScript();

private:
    Tools tools;
};

void TstJalali::vectors_data()
{
    QTest::addColumn<QDate>("gregorian");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");

    QTest::newRow("new year 1403") << QDate(2024, 3, 20) << 1403 << 1 << 1;
    QTest::newRow("last day of 1402") << QDate(2024, 3, 19) << 1402 << 12 << 29;
    QTest::newRow("30th of a leap Esfand") << QDate(2025, 3, 20) << 1403 << 12 << 30;
    QTest::newRow("gregorian leap day") << QDate(2020, 2, 29) << 1398 << 12 << 10;
    QTest::newRow("2000-01-01") << QDate(2000, 1, 1) << 1378 << 10 << 11;
    QTest::newRow("first 30-day month") << QDate(2024, 9, 22) << 1403 << 7 << 1;
    QTest::newRow("last 31-day day") << QDate(2024, 9, 21) << 1403 << 6 << 31;
    QTest::newRow("first day counted") << QDate(1601, 1, 1) << 979 << 10 << 12;
    QTest::newRow("leap Esfand of 979") << QDate(1601, 3, 20) << 979 << 12 << 30;
    QTest::newRow("new year 980") << QDate(1601, 3, 21) << 980 << 1 << 1;
}

void TstJalali::vectors()
{
    QFETCH(QDate, gregorian);
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);

    const Tools::JalaliDate date = tools.dateToJalali(gregorian);
    QCOMPARE(int(date.year), year);
    QCOMPARE(int(date.month), month);
    QCOMPARE(int(date.day), day);
}

void TstJalali::agreesWithQtCalendarEveryDay()
{
    const QCalendar jalali(QCalendar::System::Jalali);
    const QDate last(2057, 12, 31);
    for (QDate day(1899, 1, 1); day <= last; day = day.addDays(1)) {
        const QCalendar::YearMonthDay expected = jalali.partsFromDate(day);
        const Tools::JalaliDate got = tools.dateToJalali(day);
        if (got.year != expected.year || got.month != expected.month || got.day != expected.day) {
            QFAIL(qPrintable(QStringLiteral("%1 gave %2/%3/%4, expected %5/%6/%7")
                                 .arg(day.toString(Qt::ISODate))
                                 .arg(got.year)
                                 .arg(got.month)
                                 .arg(got.day)
                                 .arg(expected.year)
                                 .arg(expected.month)
                                 .arg(expected.day)));
        }
    }
}

void TstJalali::outsideRange_data()
{
    QTest::addColumn<QDate>("gregorian");
    QTest::newRow("invalid date") << QDate();
    QTest::newRow("last day before 1601") << QDate(1600, 12, 31);
    QTest::newRow("before Jalali year 1") << QDate(600, 1, 1);
    QTest::newRow("year beyond 16 bits") << QDate(70000, 1, 1);
}

void TstJalali::outsideRange()
{
    QFETCH(QDate, gregorian);
    QCOMPARE(tools.dateToJalali(gregorian), Tools::JalaliDate());
    QCOMPARE(tools.timeToJalaliString(QDateTime(gregorian, QTime(8, 0))), QString());
}

void TstJalali::timeToJalaliString_data()
{
    QTest::addColumn<QDateTime>("dateTime");
    QTest::addColumn<QString>("text");

    QTest::newRow("new year morning")
        << QDateTime(QDate(2024, 3, 20), QTime(8, 5, 0)) << QStringLiteral("1403/01/01  08:05:00");
    QTest::newRow("before midnight") << QDateTime(QDate(2025, 3, 20), QTime(23, 59, 59))
                                     << QStringLiteral("1403/12/30  23:59:59");
    QTest::newRow("three-digit year")
        << QDateTime(QDate(1601, 3, 20), QTime(0, 0, 7)) << QStringLiteral("979/12/30  00:00:07");
}

void TstJalali::timeToJalaliString()
{
    QFETCH(QDateTime, dateTime);
    QFETCH(QString, text);
    QCOMPARE(tools.timeToJalaliString(dateTime), text);
}

// The documents receive the record as a value and read its fields by name.
void TstJalali::readableFromScript()
{
    QQmlEngine engine;
    auto *scriptTools = new Tools(&engine);
    engine.globalObject().setProperty(QStringLiteral("tools"), engine.newQObject(scriptTools));
    const QJSValue result = engine.evaluate(QStringLiteral(
        "var j = tools.dateToJalali(new Date(2025, 2, 20, 12, 0, 0)); [j.year, j.month, j.day]"));
    QVERIFY2(!result.isError(), qPrintable(result.toString()));
    QCOMPARE(result.property(0).toInt(), 1403);
    QCOMPARE(result.property(1).toInt(), 12);
    QCOMPARE(result.property(2).toInt(), 30);
}

QTEST_GUILESS_MAIN(TstJalali)
#include "tst_jalali.moc"
