#include "FaultPlan.h"

#include <QTest>

using namespace devserver;
using Kind = FaultPlan::Kind;
using Fault = FaultPlan::Fault;

class TestFaultPlan : public QObject
{
    Q_OBJECT

private slots:
    void goodPlans_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<double>("share");

        QTest::newRow("one share") << "app:stall=0.05" << Kind::App << Fault::Stall << 0.05;
        QTest::newRow("status fault") << "data:500=.5" << Kind::Data << Fault::Status500 << 0.5;
        QTest::newRow("whole share") << "probe:reset=1" << Kind::Probe << Fault::Reset << 1.0;
        QTest::newRow("all covers a kind") << "all:slow=0.2" << Kind::Sms << Fault::Slow << 0.2;
        QTest::newRow("a kind's own share wins over all, before")
            << "map:404=0.1,all:404=0.3" << Kind::Map << Fault::Status404 << 0.1;
        QTest::newRow("a kind's own share wins over all, after")
            << "all:404=0.3,map:404=0.1" << Kind::Map << Fault::Status404 << 0.1;
        QTest::newRow("blanks after commas")
            << "seed=7, route:truncate=0.25" << Kind::Route << Fault::Truncate << 0.25;
        QTest::newRow("unnamed fault has no share")
            << "app:garbage=0.5" << Kind::App << Fault::Stall << 0.0;
    }
    void goodPlans()
    {
        QFETCH(QString, text);
        QFETCH(Kind, kind);
        QFETCH(Fault, fault);
        QFETCH(double, share);
        QString error;
        const std::optional<FaultPlan> plan = FaultPlan::parse(text, &error);
        QVERIFY2(plan, qPrintable(error));
        QCOMPARE(plan->share(kind, fault), share);
    }

    void wholeExample()
    {
        QString error;
        const std::optional<FaultPlan> plan =
            FaultPlan::parse("seed=7,app:stall=0.05,app:500=0.02,data:garbage=0.02,"
                             "probe:reset=0.1,outage=35s,outage-after=20s,outage-every=2m",
                             &error);
        QVERIFY2(plan, qPrintable(error));
        QCOMPARE(plan->seed.value_or(0), 7u);
        QCOMPARE(plan->outageMs, qint64(35000));
        QCOMPARE(plan->outageAfterMs, qint64(20000));
        QCOMPARE(plan->outageEveryMs, qint64(120000));
        QCOMPARE(plan->share(Kind::App, Fault::Status500), 0.02);
        QCOMPARE(plan->share(Kind::Data, Fault::Garbage), 0.02);
        QVERIFY(!FaultPlan::parse("app:stall=0.5", &error)->seed);
    }

    void badPlans_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named");

        QTest::newRow("empty") << "" << "empty";
        QTest::newRow("trailing comma") << "app:stall=0.1," << "empty";
        QTest::newRow("no value") << "app:stall" << "NAME=VALUE";
        QTest::newRow("unknown kind") << "car:stall=0.1" << "car:stall";
        QTest::newRow("unknown fault") << "app:hang=0.1" << "app:hang";
        QTest::newRow("no kind") << "stall=0.1" << "stall";
        QTest::newRow("three parts") << "app:stall:x=0.1" << "app:stall:x";
        QTest::newRow("share above 1") << "app:stall=1.5" << "1.5";
        QTest::newRow("negative share") << "app:stall=-0.1" << "-0.1";
        QTest::newRow("share with exponent") << "app:stall=1e-1" << "1e-1";
        QTest::newRow("share not a number") << "app:stall=often" << "often";
        QTest::newRow("shares add above 1") << "app:stall=0.6,app:reset=0.5" << "app";
        QTest::newRow("all adds above 1") << "all:stall=0.6,sms:reset=0.5" << "sms";
        QTest::newRow("twice") << "app:stall=0.1,app:stall=0.2" << "twice";
        QTest::newRow("seed not a number") << "seed=x" << "seed";
        QTest::newRow("negative seed") << "seed=-1" << "seed";
        QTest::newRow("duration without unit") << "outage=35" << "35";
        QTest::newRow("duration in hours") << "outage=1h" << "1h";
        QTest::newRow("zero outage") << "outage=0s" << "0";
        QTest::newRow("unknown outage setting") << "outage-length=3s" << "outage-length";
        QTest::newRow("after without outage") << "outage-after=3s" << "outage=DURATION";
        QTest::newRow("every not longer than outage")
            << "outage=2m,outage-every=120s" << "outage-every";
    }
    void badPlans()
    {
        QFETCH(QString, text);
        QFETCH(QString, named);
        QString error;
        QVERIFY(!FaultPlan::parse(text, &error));
        QVERIFY2(error.contains(named), qPrintable(error));
    }

    void durations_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("ms");

        QTest::newRow("milliseconds") << "500ms" << qint64(500);
        QTest::newRow("seconds") << "35s" << qint64(35000);
        QTest::newRow("minutes") << "2m" << qint64(120000);
        QTest::newRow("fraction") << "1.5s" << qint64(-1);
        QTest::newRow("blank inside") << "2 m" << qint64(-1);
        QTest::newRow("upper case") << "2M" << qint64(-1);
        QTest::newRow("too many digits") << "1234567890s" << qint64(-1);
    }
    void durations()
    {
        QFETCH(QString, text);
        QFETCH(qint64, ms);
        QCOMPARE(FaultPlan::parseDuration(text).value_or(-1), ms);
    }
};

QTEST_APPLESS_MAIN(TestFaultPlan)
#include "tst_faultplan.moc"
