#include "Biometric.h"
#include "DbusMock.h"

#include <QDBusArgument>
#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include <pwd.h>
#include <unistd.h>

namespace {

const QString busName = QStringLiteral("net.reactivated.Fprint");
const QString managerPath = QStringLiteral("/net/reactivated/Fprint/Manager");
const QString devicePath = QStringLiteral("/net/reactivated/Fprint/Device/0");
const QString deviceInterface = QStringLiteral("net.reactivated.Fprint.Device");
constexpr int outcomeWaitMs = 15000;

// Sentinels of the tables: the check succeeded; the double was not started.
constexpr int matched = 0;
const QJsonObject noService{{"service", false}};

QString thisUser()
{
    const passwd *entry = getpwuid(getuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

std::unique_ptr<DbusMock> startFprintd(const QJsonObject &parameters)
{
    if (parameters == noService)
        return nullptr;
    auto fprintd = std::make_unique<DbusMock>(DbusMock::templateFile("fprintd.py"), parameters);
    if (!fprintd->start(busName))
        return nullptr;
    return fprintd;
}

// Replaces a method of the double with one whose answer has another type.
void answerWithWrongType(const DbusMock &fprintd, const QString &path, const QString &method,
                         const QString &inSignature)
{
    const QString interface =
        path == managerPath ? QStringLiteral("net.reactivated.Fprint.Manager") : deviceInterface;
    const QDBusMessage added = fprintd.control(path, QStringLiteral("AddMethod"),
                                               {interface, method, inSignature, QStringLiteral("s"),
                                                QStringLiteral("ret = '%1'").arg(devicePath)});
    QVERIFY2(added.type() == QDBusMessage::ReplyMessage, qPrintable(added.errorMessage()));
}

bool readerClaimed(const DbusMock &fprintd)
{
    const QDBusMessage reply = fprintd.control(managerPath, QStringLiteral("IsClaimed"));
    return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool();
}

qsizetype callsOf(const DbusMock &fprintd, const QString &method)
{
    return fprintd.methodCalls(devicePath, method).size();
}

// The reader's methods called so far, by anyone, in order.
QStringList readerCalls(const DbusMock &fprintd)
{
    const QDBusMessage reply = fprintd.control(devicePath, QStringLiteral("GetCalls"));
    QStringList names;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {QStringLiteral("GetCalls failed: ") + reply.errorMessage()};
    // a(tsav): a time stamp, the method and its arguments.
    const QDBusArgument calls = reply.arguments().first().value<QDBusArgument>();
    calls.beginArray();
    while (!calls.atEnd()) {
        quint64 timestamp = 0;
        QString method;
        QVariantList arguments;
        calls.beginStructure();
        calls >> timestamp >> method >> arguments;
        calls.endStructure();
        names.append(method);
    }
    calls.endArray();
    return names;
}

void setNextVerification(const DbusMock &fprintd, const QString &kind)
{
    const QDBusMessage set =
        fprintd.control(managerPath, QStringLiteral("SetNextVerification"), {kind});
    QVERIFY2(set.type() == QDBusMessage::ReplyMessage, qPrintable(set.errorMessage()));
}

} // namespace

class TestFingerprint : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void support_data();
    void support();
    void outcome_data();
    void outcome();
    void oneCheckAtATime();
    void abandonedCheckFreesTheReader();
    void servicesOffAskNothing();
};

void TestFingerprint::init()
{
    qunsetenv("KOVA_PHONE_SERVICES");
}

void TestFingerprint::support_data()
{
    QTest::addColumn<QJsonObject>("parameters");
    QTest::addColumn<QString>("wrongTypeFrom");
    QTest::addColumn<bool>("supported");

    QTest::newRow("finger enrolled") << QJsonObject{} << QString() << true;
    QTest::newRow("finger of this user") << QJsonObject{{"user", thisUser()}} << QString() << true;
    QTest::newRow("fingers of another user")
        << QJsonObject{{"user", "someone-else"}} << QString() << false;
    QTest::newRow("no enrolled finger")
        << QJsonObject{{"fingers", QJsonArray{}}} << QString() << false;
    QTest::newRow("no reader") << QJsonObject{{"reader", false}} << QString() << false;
    QTest::newRow("no service") << noService << QString() << false;
    QTest::newRow("reader named by a string")
        << QJsonObject{} << QStringLiteral("GetDefaultDevice") << false;
    QTest::newRow("fingers in a string")
        << QJsonObject{} << QStringLiteral("ListEnrolledFingers") << false;
}

void TestFingerprint::support()
{
    QFETCH(QJsonObject, parameters);
    QFETCH(QString, wrongTypeFrom);
    QFETCH(bool, supported);

    const std::unique_ptr<DbusMock> fprintd = startFprintd(parameters);
    QVERIFY(fprintd || parameters == noService);
    if (wrongTypeFrom == QLatin1String("GetDefaultDevice"))
        answerWithWrongType(*fprintd, managerPath, wrongTypeFrom, QString());
    else if (!wrongTypeFrom.isEmpty())
        answerWithWrongType(*fprintd, devicePath, wrongTypeFrom, QStringLiteral("s"));

    Biometric biometric;
    QCOMPARE(biometric.isBiometricSupported(), supported);
    if (fprintd && parameters.value("reader").toBool(true) && wrongTypeFrom.isEmpty()) {
        const QList<QVariantList> asked =
            fprintd->methodCalls(devicePath, QStringLiteral("ListEnrolledFingers"));
        QCOMPARE(asked, QList<QVariantList>{{thisUser()}});
    }
}

void TestFingerprint::outcome_data()
{
    QTest::addColumn<QJsonObject>("parameters");
    QTest::addColumn<QString>("verification");
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<int>("expected");
    // The reader's methods called by anyone, when the outcome is reported; not asked when
    // there is no reader or it has gone.
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<bool>("claimedAfter");

    const QJsonObject reader;
    const QStringList wholeCheck{"Claim", "VerifyStart", "VerifyStop", "Release"};
    QTest::newRow("match") << reader << "match" << "" << matched << wholeCheck << false;
    QTest::newRow("no match") << reader << "no-match" << "" << int(Biometric::NoMatch) << wholeCheck
                              << false;
    QTest::newRow("retry then match")
        << reader << "retry-then-match" << "" << matched << wholeCheck << false;
    QTest::newRow("reader disconnected")
        << reader << "disconnected" << "" << int(Biometric::ReaderFailed) << wholeCheck << false;
    QTest::newRow("reader error") << reader << "unknown-error" << "" << int(Biometric::ReaderFailed)
                                  << wholeCheck << false;
    QTest::newRow("no finger in time")
        << reader << "silent" << "" << int(Biometric::TimedOut) << wholeCheck << false;
    QTest::newRow("no enrolled finger")
        << QJsonObject{{"fingers", QJsonArray{}}} << "match" << "" << int(Biometric::Unavailable)
        << QStringList{"Claim", "VerifyStart", "Release"} << false;
    QTest::newRow("no reader") << QJsonObject{{"reader", false}} << "" << ""
                               << int(Biometric::Unavailable) << QStringList() << false;
    QTest::newRow("no service") << noService << "" << "" << int(Biometric::Unavailable)
                                << QStringList() << false;
    // Someone else's claim is theirs to release.
    QTest::newRow("reader in use")
        << reader << "match" << "claimed elsewhere" << int(Biometric::Refused)
        << QStringList{"Claim", "Claim"} << true;
    QTest::newRow("service stops") << reader << "silent" << "service stops"
                                   << int(Biometric::ReaderFailed) << QStringList() << false;
    QTest::newRow("reader named by a string")
        << reader << "match" << "wrong reply type" << int(Biometric::ReaderFailed) << QStringList()
        << false;
}

void TestFingerprint::outcome()
{
    QFETCH(QJsonObject, parameters);
    QFETCH(QString, verification);
    QFETCH(QString, meanwhile);
    QFETCH(int, expected);
    QFETCH(QStringList, calls);
    QFETCH(bool, claimedAfter);

    std::unique_ptr<DbusMock> fprintd = startFprintd(parameters);
    QVERIFY(fprintd || parameters == noService);
    if (!verification.isEmpty())
        setNextVerification(*fprintd, verification);
    if (meanwhile == QLatin1String("claimed elsewhere"))
        fprintd->call(devicePath, deviceInterface, QStringLiteral("Claim"), {QString()});
    if (meanwhile == QLatin1String("wrong reply type"))
        answerWithWrongType(*fprintd, managerPath, QStringLiteral("GetDefaultDevice"), QString());
    const bool readerStays = fprintd && parameters.value("reader").toBool(true) &&
                             meanwhile != QLatin1String("service stops");

    Biometric biometric;
    // Only the time-out row runs into it; the service's own end must not wait for it.
    biometric.setVerifyTimeout(verification == QLatin1String("silent") && meanwhile.isEmpty()
                                   ? 500
                                   : Biometric::defaultVerifyTimeout);
    QList<int> outcomes;
    QStringList callsAtOutcome;
    bool claimedAtOutcome = false;
    const auto report = [&](int outcome) {
        outcomes.append(outcome);
        if (readerStays) {
            callsAtOutcome = readerCalls(*fprintd);
            claimedAtOutcome = readerClaimed(*fprintd);
        }
    };
    connect(&biometric, &Biometric::authSuccess, this, [&] { report(matched); });
    connect(&biometric, &Biometric::authError, this, report);

    biometric.auth();
    if (meanwhile == QLatin1String("service stops")) {
        QTRY_COMPARE_WITH_TIMEOUT(callsOf(*fprintd, QStringLiteral("VerifyStart")), 1,
                                  outcomeWaitMs);
        fprintd->stop();
    }
    QTRY_VERIFY_WITH_TIMEOUT(!outcomes.isEmpty(), outcomeWaitMs);
    // A second answer, or a late call to the reader, would follow at once.
    QTest::qWait(200);
    QCOMPARE(outcomes, QList<int>{expected});
    if (!readerStays)
        return;
    // The reader is stopped and released before the outcome is told, and left alone after.
    QCOMPARE(callsAtOutcome, calls);
    QCOMPARE(claimedAtOutcome, claimedAfter);
    QCOMPARE(readerCalls(*fprintd), calls);
    if (calls.contains(QLatin1String("VerifyStart")))
        QCOMPARE(fprintd->methodCalls(devicePath, QStringLiteral("VerifyStart")),
                 QList<QVariantList>{{QStringLiteral("any")}});
}

// auth() during a check changes nothing; once it has answered, even from its own handler,
// the next check starts afresh.
void TestFingerprint::oneCheckAtATime()
{
    const std::unique_ptr<DbusMock> fprintd = startFprintd({});
    QVERIFY(fprintd);
    setNextVerification(*fprintd, QStringLiteral("silent"));
    Biometric biometric;
    biometric.setVerifyTimeout(1000);
    QSignalSpy success(&biometric, &Biometric::authSuccess);
    QSignalSpy failure(&biometric, &Biometric::authError);
    connect(
        &biometric, &Biometric::authError, &biometric,
        [&] {
            setNextVerification(*fprintd, QStringLiteral("match"));
            biometric.auth();
        },
        Qt::SingleShotConnection);

    biometric.auth();
    QTRY_COMPARE_WITH_TIMEOUT(callsOf(*fprintd, QStringLiteral("VerifyStart")), 1, outcomeWaitMs);
    biometric.auth();
    QTRY_COMPARE_WITH_TIMEOUT(failure.count(), 1, outcomeWaitMs);
    QCOMPARE(failure.first().first().toInt(), int(Biometric::TimedOut));
    QTRY_COMPARE_WITH_TIMEOUT(success.count(), 1, outcomeWaitMs);

    QCOMPARE(fprintd->methodCalls(managerPath, QStringLiteral("GetDefaultDevice")).size(), 2);
    const QStringList wholeCheck{"Claim", "VerifyStart", "VerifyStop", "Release"};
    QCOMPARE(readerCalls(*fprintd), wholeCheck + wholeCheck);
    QCOMPARE(failure.count(), 1);
    QVERIFY(!readerClaimed(*fprintd));
}

// The login page may go while a check waits for a finger: the reader is not left claimed.
void TestFingerprint::abandonedCheckFreesTheReader()
{
    const std::unique_ptr<DbusMock> fprintd = startFprintd({});
    QVERIFY(fprintd);
    setNextVerification(*fprintd, QStringLiteral("silent"));
    auto biometric = std::make_unique<Biometric>();
    biometric->auth();
    QTRY_COMPARE_WITH_TIMEOUT(callsOf(*fprintd, QStringLiteral("VerifyStart")), 1, outcomeWaitMs);
    QVERIFY(readerClaimed(*fprintd));

    biometric.reset();
    // The double takes calls in order: the stop and release were sent before this question.
    QVERIFY(!readerClaimed(*fprintd));
    QCOMPARE(readerCalls(*fprintd), QStringList({"Claim", "VerifyStart", "VerifyStop", "Release"}));
}

void TestFingerprint::servicesOffAskNothing()
{
    qputenv("KOVA_PHONE_SERVICES", "off");
    const std::unique_ptr<DbusMock> fprintd = startFprintd({});
    QVERIFY(fprintd);
    Biometric biometric;
    QSignalSpy success(&biometric, &Biometric::authSuccess);
    QSignalSpy failure(&biometric, &Biometric::authError);

    QVERIFY(!biometric.isBiometricSupported());
    biometric.auth();
    QVERIFY(!success.wait(500));
    QCOMPARE(failure.count(), 0);
    QVERIFY(fprintd->methodCalls(managerPath, QStringLiteral("GetDefaultDevice")).isEmpty());
    QCOMPARE(callsOf(*fprintd, QStringLiteral("ListEnrolledFingers")), 0);
}

QTEST_GUILESS_MAIN(TestFingerprint)
#include "tst_fingerprint.moc"
