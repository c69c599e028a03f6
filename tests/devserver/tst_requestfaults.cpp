#include "RequestFaults.h"

#include <QTest>

using namespace devserver;
using Kind = FaultPlan::Kind;
using Fault = FaultPlan::Fault;

namespace {

FaultPlan parsed(const QString &text)
{
    QString error;
    const std::optional<FaultPlan> plan = FaultPlan::parse(text, &error);
    if (!plan)
        qFatal("%s", qPrintable(error));
    return *plan;
}

QList<Fault> draws(RequestFaults &faults, Kind kind, int count)
{
    QList<Fault> drawn;
    for (int i = 0; i < count; ++i)
        drawn.append(faults.draw(kind));
    return drawn;
}

} // namespace

class TestRequestFaults : public QObject
{
    Q_OBJECT

private slots:
    void sameSeedSameFaults()
    {
        const FaultPlan plan = parsed("app:stall=0.3,app:reset=0.3,map:slow=0.5");
        RequestFaults first(plan, 7);
        RequestFaults second(plan, 7);
        RequestFaults otherSeed(plan, 8);
        const QList<Fault> drawn = draws(first, Kind::App, 200);
        QCOMPARE(draws(second, Kind::App, 200), drawn);
        QVERIFY(draws(otherSeed, Kind::App, 200) != drawn);
    }

    void seedInPlanOverridesServerSeed()
    {
        RequestFaults fromPlan(parsed("seed=5,app:stall=0.5"), 1);
        RequestFaults fromServer(parsed("app:stall=0.5"), 5);
        QCOMPARE(draws(fromPlan, Kind::App, 200), draws(fromServer, Kind::App, 200));
    }

    void otherKindsDoNotShiftADraw()
    {
        const FaultPlan plan = parsed("app:stall=0.5,map:reset=0.5");
        RequestFaults alone(plan, 3);
        RequestFaults interleaved(plan, 3);
        QList<Fault> drawn;
        for (int i = 0; i < 100; ++i) {
            draws(interleaved, Kind::Map, i % 3);
            drawn.append(interleaved.draw(Kind::App));
        }
        QCOMPARE(drawn, draws(alone, Kind::App, 100));
    }

    void sharesRoughlyMet_data()
    {
        QTest::addColumn<QString>("plan");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QList<Fault>>("faults");
        QTest::addColumn<QList<double>>("shares");

        QTest::newRow("none configured")
            << "app:stall=0.5" << Kind::Data << QList<Fault>{Fault::None} << QList<double>{1.0};
        QTest::newRow("one fault")
            << "probe:reset=0.1" << Kind::Probe << QList<Fault>{Fault::Reset, Fault::None}
            << QList<double>{0.1, 0.9};
        QTest::newRow("several faults")
            << "app:stall=0.05,app:500=0.2,app:garbage=0.25" << Kind::App
            << QList<Fault>{Fault::Stall, Fault::Status500, Fault::Garbage, Fault::None}
            << QList<double>{0.05, 0.2, 0.25, 0.5};
        QTest::newRow("all and always") << "all:truncate=1" << Kind::Route
                                        << QList<Fault>{Fault::Truncate} << QList<double>{1.0};
    }
    void sharesRoughlyMet()
    {
        QFETCH(QString, plan);
        QFETCH(Kind, kind);
        QFETCH(QList<Fault>, faults);
        QFETCH(QList<double>, shares);
        constexpr int requests = 20000;
        RequestFaults requestFaults(parsed(plan), 11);
        const QList<Fault> drawn = draws(requestFaults, kind, requests);
        for (qsizetype i = 0; i < faults.size(); ++i) {
            const double seen = double(drawn.count(faults[i])) / requests;
            QVERIFY2(qAbs(seen - shares[i]) < 0.015,
                     qPrintable(
                         QStringLiteral("%1: %2").arg(FaultPlan::faultName(faults[i])).arg(seen)));
        }
    }

    void outageSchedule_data()
    {
        QTest::addColumn<QString>("plan");
        QTest::addColumn<qint64>("now");
        QTest::addColumn<bool>("inOutage");

        QTest::newRow("no outage") << "app:stall=0.1" << qint64(0) << false;
        QTest::newRow("before it") << "outage=35s,outage-after=20s" << qint64(19999) << false;
        QTest::newRow("its start") << "outage=35s,outage-after=20s" << qint64(20000) << true;
        QTest::newRow("its last moment") << "outage=35s,outage-after=20s" << qint64(54999) << true;
        QTest::newRow("once over") << "outage=35s,outage-after=20s" << qint64(200000) << false;
        QTest::newRow("from the start") << "outage=1s" << qint64(0) << true;
        QTest::newRow("between repeats")
            << "outage=35s,outage-after=20s,outage-every=2m" << qint64(100000) << false;
        QTest::newRow("second outage")
            << "outage=35s,outage-after=20s,outage-every=2m" << qint64(140000) << true;
        QTest::newRow("after the second")
            << "outage=35s,outage-after=20s,outage-every=2m" << qint64(175000) << false;
        QTest::newRow("third outage")
            << "outage=35s,outage-after=20s,outage-every=2m" << qint64(294999) << true;
    }
    void outageSchedule()
    {
        QFETCH(QString, plan);
        QFETCH(qint64, now);
        QFETCH(bool, inOutage);
        QCOMPARE(RequestFaults(parsed(plan), 1).inOutage(now), inOutage);
    }

    void requestedOutageAddsToTheSchedule()
    {
        RequestFaults faults(parsed("outage=10s,outage-after=20s"), 1);
        faults.startOutage(5000, 3000);
        QVERIFY(!faults.inOutage(4999));
        QVERIFY(faults.inOutage(7999));
        QVERIFY(!faults.inOutage(8000));
        QVERIFY(faults.inOutage(25000));
        // A shorter request inside a longer one does not cut it short.
        faults.startOutage(6000, 1000);
        QVERIFY(faults.inOutage(7500));
        // A later one starts anew.
        faults.startOutage(40000, 1000);
        QVERIFY(!faults.inOutage(39999));
        QVERIFY(faults.inOutage(40000));
    }

    void countsByKindAndInTotal()
    {
        RequestFaults faults(FaultPlan{}, 1);
        faults.count(Kind::App, "stall");
        faults.count(Kind::App, "stall");
        faults.count(Kind::Probe, "stall");
        faults.count(Kind::Probe, "outage");
        const QJsonObject counts = faults.counts();
        QCOMPARE(counts.value("app")["stall"].toInt(), 2);
        QCOMPARE(counts.value("probe")["outage"].toInt(), 1);
        QCOMPARE(counts.value("total")["stall"].toInt(), 3);
        QVERIFY(!counts.contains("map"));
    }
};

QTEST_APPLESS_MAIN(TestRequestFaults)
#include "tst_requestfaults.moc"
