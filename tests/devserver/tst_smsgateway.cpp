#include "DevServer.h"
#include "DeviceSettings.h"
#include "DeviceStatus.h"
#include "SmsGateway.h"
#include "SmsManager.h"
#include "Store.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The app has an SmsGateway of its own, the client of this one: the server's is named in full.
using namespace devserver;

namespace {

constexpr quint64 imei = 358000000000001;
const QString simNumber = QStringLiteral("09120000001");
const QDateTime now = QDateTime(QDate(2024, 5, 1), QTime(12, 0), QTimeZone::UTC);

QByteArray body(const QString &to, const QString &text)
{
    return QJsonDocument(QJsonObject{{"to", to}, {"text", text}, {"simSlot", 0}}).toJson();
}

} // namespace

class TestSmsGateway : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Store> m_store;
    std::unique_ptr<devserver::SmsGateway> m_gateway;

    DeviceSettings storedSettings() const
    {
        return DeviceSettings::fromPayload(m_store->settingsRecord(imei));
    }

    // Sends one message and waits until the device has acted on it.
    void deliver(const QString &to, const QString &text)
    {
        QSignalSpy handled(m_gateway.get(), &devserver::SmsGateway::frameHandled);
        QVERIFY(m_gateway->send(body(to, text)));
        QVERIFY(handled.wait(5000));
    }

    QJsonArray inboxMessages(qint64 after = 0) const
    {
        return m_gateway->inbox(after).value("messages").toArray();
    }

private slots:
    void init()
    {
        m_store = std::make_unique<Store>();
        QVERIFY(m_dir.isValid());
        QFile::remove(m_dir.filePath("store.sqlite"));
        QVERIFY2(m_store->open(m_dir.filePath("store.sqlite")), qPrintable(m_store->lastError()));
        Device device;
        device.imei = imei;
        device.simNumber = simNumber;
        device.registered = true;
        m_store->addDevice(device);
        m_store->setSettingsRecord(imei, DeviceSettings::factoryDefaults().toPayload());
        DeviceStatus status;
        status.simCharge = 4200;
        status.gsmSignal = 17;
        m_store->setStatusRecord(imei, status.toRecord());
        m_gateway = std::make_unique<devserver::SmsGateway>(*m_store, [] { return now; });
        m_gateway->setDeliveryDelay(10);
    }
    void cleanup()
    {
        m_gateway.reset();
        m_store.reset();
    }

    void appliesFrameToStoredSettings_data()
    {
        QTest::addColumn<QString>("to");
        QTest::newRow("number as stored") << simNumber;
        QTest::newRow("international form") << QStringLiteral("+989120000001");
    }
    void appliesFrameToStoredSettings()
    {
        QFETCH(QString, to);
        QSignalSpy handled(m_gateway.get(), &devserver::SmsGateway::frameHandled);
        deliver(to, QStringLiteral("[oribel,14,3,1]}]"));
        QCOMPARE(handled.first().at(0).toULongLong(), imei);
        QCOMPARE(handled.first().at(2).toBool(), true);
        QCOMPARE(storedSettings().sw3, quint8(1));
        QCOMPARE(m_store->configFrames(imei), QStringList{"[oribel,14,3,1]}]"});
        QVERIFY(inboxMessages().isEmpty());
    }

    void ignoredFrameChangesNothing()
    {
        const QByteArray before = m_store->settingsRecord(imei);
        QSignalSpy handled(m_gateway.get(), &devserver::SmsGateway::frameHandled);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("ignored"));
        deliver(simNumber, QStringLiteral("[oribel,14,4,1]}]"));
        QCOMPARE(handled.first().at(2).toBool(), false);
        QCOMPARE(m_store->settingsRecord(imei), before);
        QCOMPARE(m_store->configFrames(imei).size(), 1);
    }

    // A refused code is received and logged but changes nothing, until refusals are lifted;
    // other codes are applied meanwhile.
    void refusedCodesAreIgnoredUntilLifted()
    {
        const QByteArray before = m_store->settingsRecord(imei);
        m_gateway->setRefusedCodes({23, 30});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("ignored.*refused"));
        deliver(simNumber, QStringLiteral("[oribel,23,3]}]"));
        QCOMPARE(m_store->settingsRecord(imei), before);
        deliver(simNumber, QStringLiteral("[oribel,14,3,1]}]"));
        QCOMPARE(storedSettings().sw3, quint8(1));
        m_gateway->setRefusedCodes({});
        deliver(simNumber, QStringLiteral("[oribel,23,3]}]"));
        QCOMPARE(storedSettings().doorAlarmType, quint8(3));
        QCOMPARE(m_store->configFrames(imei).size(), 3);
    }

    void eraseDropsTheLoggedHistory()
    {
        const qint64 t = now.toSecsSinceEpoch();
        m_store->addPositions(imei, {Position{t - 20, 36.3, 59.6, 1000, 0, 10, 80},
                                     Position{t - 10, 36.31, 59.6, 1000, 0, 10, 80}});
        deliver(simNumber, QStringLiteral("[oribel,2]}]"));
        QVERIFY(!m_store->lastPosition(imei));
        QCOMPARE(m_store->positions(imei, 0, t).size(), 0);
        QCOMPARE(storedSettings().toPayload(), DeviceSettings::factoryDefaults().toPayload());
    }

    void answers55_data()
    {
        QTest::addColumn<bool>("hasPosition");
        QTest::newRow("with a position") << true;
        QTest::newRow("without a position") << false;
    }
    void answers55()
    {
        QFETCH(bool, hasPosition);
        if (hasPosition)
            m_store->addPositions(imei, {Position{1714564000, 36.31, 59.61, 980, 90, 12.5, 5}});
        deliver(simNumber, QStringLiteral("[oribel,14,3,1]}]"));
        deliver(simNumber, QStringLiteral("[oribel,55]}]"));

        const QJsonArray messages = inboxMessages();
        QCOMPARE(messages.size(), 1);
        const QJsonObject message = messages.first().toObject();
        QCOMPARE(message.value("from").toString(), simNumber);
        const QJsonObject answer =
            QJsonDocument::fromJson(message.value("text").toString().toUtf8()).object();
        QCOMPARE(answer.value("id").toInt(), 55);
        const QJsonArray location = answer.value("info")[0].toArray();
        const QJsonArray state = answer.value("info")[1].toArray();
        QCOMPARE(location.size(), 7);
        QCOMPARE(location[6].toInt(), hasPosition ? 1 : 0);
        if (hasPosition) {
            QCOMPARE(location[0].toInteger(), 1714564000);
            QCOMPARE(location[1].toDouble(), 36.31);
            QCOMPARE(location[2].toDouble(), 59.61);
            QCOMPARE(location[3].toDouble(), 980.0);
            QCOMPARE(location[4].toDouble(), 12.5); // speed before course
            QCOMPARE(location[5].toDouble(), 90.0);
        }
        // door, trunk, switch, power, charging, output 3, towed, credit, battery, GSM, GPS
        QCOMPARE(state, (QJsonArray{1, 1, 0, 1, 1, 1, 0, 4200, 100, 17, 0}));
    }

    void answersUssd()
    {
        deliver(simNumber, QStringLiteral("[oribel,16,at+cusd=1,\"*140#\"]}]"));
        const QJsonArray messages = inboxMessages();
        QCOMPARE(messages.size(), 1);
        const QString text = messages.first()["text"].toString();
        QVERIFY2(text.contains("*140#") && text.contains("4200"), qPrintable(text));
    }

    void refusesMalformedBody_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not JSON") << QByteArray("to=0912&text=x");
        QTest::newRow("array") << QByteArray("[\"09120000001\",\"[oribel,0]}]\",0]");
        QTest::newRow("no text") << QByteArray("{\"to\":\"09120000001\",\"simSlot\":0}");
        QTest::newRow("no number") << QByteArray("{\"text\":\"[oribel,0]}]\",\"simSlot\":0}");
        QTest::newRow("empty number")
            << QByteArray("{\"to\":\"\",\"text\":\"[oribel,0]}]\",\"simSlot\":0}");
        QTest::newRow("number as integer")
            << QByteArray("{\"to\":9120000001,\"text\":\"[oribel,0]}]\",\"simSlot\":0}");
        QTest::newRow("no slot") << QByteArray(
            "{\"to\":\"09120000001\",\"text\":\"[oribel,0]}]\"}");
        QTest::newRow("slot as text")
            << QByteArray("{\"to\":\"09120000001\",\"text\":\"[oribel,0]}]\",\"simSlot\":\"0\"}");
        QTest::newRow("negative slot")
            << QByteArray("{\"to\":\"09120000001\",\"text\":\"[oribel,0]}]\",\"simSlot\":-1}");
    }
    void refusesMalformedBody()
    {
        QFETCH(QByteArray, body);
        QVERIFY(!m_gateway->send(body));
    }

    void unknownNumberReachesNoDevice()
    {
        QSignalSpy handled(m_gateway.get(), &devserver::SmsGateway::frameHandled);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("09129999999"));
        QVERIFY(m_gateway->send(body(QStringLiteral("09129999999"), "[oribel,14,3,1]}]")));
        // Deliveries keep their order: once the known device acted, the unknown one was tried.
        deliver(simNumber, QStringLiteral("[oribel,30,1]}]"));
        QCOMPARE(handled.size(), 1);
        QCOMPARE(storedSettings().sw3, quint8(0));
        QCOMPARE(storedSettings().multiAlarm, quint8(1));
        QCOMPARE(m_store->configFrames(imei), QStringList{"[oribel,30,1]}]"});
    }

    // The app's SMS service against the gateway as the server publishes it: the frame goes out
    // through /sms/send, the car's answer comes back through the polled inbox.
    void appSmsService_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("answerStart");
        QTest::newRow("position and state")
            << QStringLiteral("[oribel,55]}]") << QStringLiteral("{\"id\":55,");
        QTest::newRow("credit inquiry")
            << QStringLiteral("[oribel,16,at+cusd=1,\"*140#\"]}]") << QStringLiteral("*140#: ");
    }
    void appSmsService()
    {
        QFETCH(QString, frame);
        QFETCH(QString, answerStart);
        QTemporaryDir data;
        QVERIFY(data.isValid());
        DevServerOptions options;
        options.dataDir = data.path();
        options.httpsPort = 0;
        options.httpPort = 0;
        options.simulate = false;
        options.smsDelayMs = 10;
        DevServer server(options, [] { return now; });
        QString error;
        QVERIFY2(server.start(&error), qPrintable(error));

        const QByteArray gateway = "http://127.0.0.1:" + QByteArray::number(server.httpPort());
        qputenv("KOVA_SMS_GATEWAY", gateway + "/sms");
        SmsManager sms;
        QSignalSpy handled(&server.smsGateway(), &devserver::SmsGateway::frameHandled);
        QSignalSpy received(&sms, &SmsManager::smsReceived);
        sms.sendSms(simNumber, frame);

        QVERIFY(handled.wait(5000));
        QCOMPARE(handled.first().at(1).toString(), frame);
        QCOMPARE(handled.first().at(2).toBool(), true);
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 5000);
        QCOMPARE(received.first().at(0).toString(), simNumber);
        const QString answer = received.first().at(1).toString();
        QVERIFY2(answer.startsWith(answerStart), qPrintable(answer));
    }

    void inboxAfter_data()
    {
        QTest::addColumn<int>("afterIndex"); // -1: after 0
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("all") << -1 << QStringList{"a", "b", "c"};
        QTest::newRow("after the first") << 0 << QStringList{"b", "c"};
        QTest::newRow("after the last") << 2 << QStringList{};
    }
    void inboxAfter()
    {
        QFETCH(int, afterIndex);
        QFETCH(QStringList, texts);
        QList<qint64> ids;
        for (const char *text : {"a", "b", "c"})
            ids.append(m_store->addSms(SmsMessage{0, simNumber, {}, QString::fromLatin1(text), 0}));
        const QJsonArray messages = inboxMessages(afterIndex < 0 ? 0 : ids.at(afterIndex));
        QStringList received;
        qint64 lastId = 0;
        for (const QJsonValue &message : messages) {
            received.append(message["text"].toString());
            QCOMPARE(message["from"].toString(), simNumber);
            QVERIFY(message["id"].toInteger() > lastId);
            lastId = message["id"].toInteger();
        }
        QCOMPARE(received, texts);
    }
};

QTEST_GUILESS_MAIN(TestSmsGateway)
#include "tst_smsgateway.moc"
