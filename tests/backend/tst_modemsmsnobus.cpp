#include "SmsManager.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

// With no system bus to reach, the phone's modems are simply absent: a message is not sent,
// one line says so, and nothing waits on the bus. A process has one system bus connection, so
// this runs apart from the tests that have one.
class TestModemSmsWithoutBus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void nothingGoesOut_data();
    void nothingGoesOut();
};

void TestModemSmsWithoutBus::initTestCase()
{
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/kova-system-bus");
    qunsetenv("KOVA_SMS_GATEWAY");
    qunsetenv("KOVA_PHONE_SERVICES");
}

void TestModemSmsWithoutBus::init()
{
    QTest::failOnWarning();
}

void TestModemSmsWithoutBus::nothingGoesOut_data()
{
    QTest::addColumn<int>("slot");

    QTest::newRow("first sim") << 0;
    QTest::newRow("second sim") << 1;
}

void TestModemSmsWithoutBus::nothingGoesOut()
{
    QFETCH(int, slot);

    SmsManager sms;
    QSignalSpy dual(&sms, &SmsManager::isDualSimChanged);
    QSignalSpy received(&sms, &SmsManager::smsReceived);
    sms.setSimSlot(quint8(slot));
    QTest::ignoreMessage(
        QtWarningMsg,
        QRegularExpression(QStringLiteral("^ModemSms: no modem for SIM %1 ").arg(slot + 1)));
    sms.sendSms(QStringLiteral("+989121234567"), QStringLiteral("[oribel,55]}]"));
    QTest::qWait(300);
    QVERIFY(!sms.isDualSim());
    QCOMPARE(dual.count(), 0);
    QCOMPARE(received.count(), 0);
}

QTEST_GUILESS_MAIN(TestModemSmsWithoutBus)
#include "tst_modemsmsnobus.moc"
