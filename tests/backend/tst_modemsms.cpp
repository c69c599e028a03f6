#include "DbusMock.h"
#include "FakePeer.h"
#include "IncomingSms.h"
#include "MessagingModems.h"
#include "ModemSms.h"
#include "SmsManager.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QString managerPath = u"/org/freedesktop/ModemManager1"_s;
const QString messagingInterface = u"org.freedesktop.ModemManager1.Modem.Messaging"_s;
const QString smsInterface = u"org.freedesktop.ModemManager1.Sms"_s;
// Where modems sit as the kernel names it; the tests make the modem on port 2 first, so the
// order of the paths is not the order of the SIM slots.
const QString portOne = u"/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1"_s;
const QString portTwo = u"/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2"_s;
const QString portThree = u"/sys/devices/pci0000:00/0000:00:14.0/usb1/1-3"_s;
const QString frame = u"[oribel,55]}]"_s;
const QString deviceSim = u"+989121234567"_s;

// The double names its modems in the order it makes them.
QString modemPath(int made)
{
    return managerPath + u"/Modem/"_s + QString::number(made);
}

QVariant objectPath(const QString &path)
{
    return QVariant::fromValue(QDBusObjectPath(path));
}

std::unique_ptr<DbusMock> startModems(const QStringList &devices)
{
    auto modems =
        std::make_unique<DbusMock>(DbusMock::templateFile(u"modemmanager_messaging.py"_s),
                                   QJsonObject{{u"modems"_s, QJsonArray::fromStringList(devices)}});
    if (!modems->start(u"org.freedesktop.ModemManager1"_s))
        return nullptr;
    return modems;
}

// A control of the double that answers with an object path.
QString pathFrom(const DbusMock &modems, const QString &control, const QVariantList &arguments)
{
    const QDBusMessage reply = modems.control(managerPath, control, arguments);
    if (reply.type() != QDBusMessage::ReplyMessage)
        qWarning("%s failed: %s", qPrintable(control), qPrintable(reply.errorMessage()));
    return reply.arguments().value(0).value<QDBusObjectPath>().path();
}

// (modem Device, number, text) of every SMS the double sent.
QList<QStringList> sentBy(const DbusMock &modems)
{
    const QDBusMessage reply = modems.control(managerPath, u"GetSent"_s);
    QList<QStringList> sent;
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qWarning("GetSent failed: %s", qPrintable(reply.errorMessage()));
        return sent;
    }
    const auto list = reply.arguments().constFirst().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        QString device, number, text;
        list.beginStructure();
        list >> device >> number >> text;
        list.endStructure();
        sent.append({device, number, text});
    }
    list.endArray();
    return sent;
}

QStringList messagesOn(const DbusMock &modems, const QString &modem)
{
    const QDBusMessage reply = modems.call(modem, messagingInterface, u"List"_s);
    QStringList paths;
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qWarning("List failed: %s", qPrintable(reply.errorMessage()));
        return paths;
    }
    for (const QDBusObjectPath &path :
         qdbus_cast<QList<QDBusObjectPath>>(reply.arguments().constFirst()))
        paths.append(path.path());
    return paths;
}

// Messages made on the first `made` modems of the double.
qsizetype createsOn(const DbusMock &modems, int made)
{
    qsizetype creates = 0;
    for (int modem = 0; modem < made; ++modem)
        creates += modems.methodCalls(modemPath(modem), u"Create"_s).size();
    return creates;
}

void updateSms(const DbusMock &modems, const QString &sms, const QVariantMap &properties)
{
    const QDBusMessage reply =
        modems.control(sms, u"UpdateProperties"_s, {smsInterface, properties});
    if (reply.type() != QDBusMessage::ReplyMessage)
        qWarning("UpdateProperties failed: %s", qPrintable(reply.errorMessage()));
}

QList<bool> flags(const QSignalSpy &spy)
{
    QList<bool> values;
    for (const QList<QVariant> &arguments : spy)
        values.append(arguments.constFirst().toBool());
    return values;
}

} // namespace

class TestModemSms : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void sendsFromTheChosenModem_data();
    void sendsFromTheChosenModem();
    void failuresAreLogged_data();
    void failuresAreLogged();
    void noModemForTheSlot_data();
    void noModemForTheSlot();

    void receivesWhenComplete_data();
    void receivesWhenComplete();
    void storedMessagesAreNotReplayed();
    void ignoresValuesOfWrongType_data();
    void ignoresValuesOfWrongType();
    void ignoresMalformedAnnouncements_data();
    void ignoresMalformedAnnouncements();
    void incompleteMessageForgottenAfterPatience();

    void modemsComeAndGo();
    void serviceComesAndGoes();
    void channelChoice_data();
    void channelChoice();
};

void TestModemSms::init()
{
    qunsetenv("KOVA_SMS_GATEWAY");
    qunsetenv("KOVA_PHONE_SERVICES");
    QTest::failOnWarning();
}

void TestModemSms::sendsFromTheChosenModem_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("made");
    QTest::addColumn<QString>("device");

    QTest::newRow("first sim is the lower port") << 0 << deviceSim << frame << 1 << portOne;
    QTest::newRow("second sim") << 1 << deviceSim << frame << 0 << portTwo;
    QTest::newRow("quoted ussd") << 0 << u"09121234567"_s
                                 << u"[oribel,16,at+cusd=1,\"*141*1#\"]}]"_s << 1 << portOne;
}

// The exact number and text go out through the modem the SIM slot picks, and the message made
// for it is deleted afterwards.
void TestModemSms::sendsFromTheChosenModem()
{
    QFETCH(int, slot);
    QFETCH(QString, number);
    QFETCH(QString, text);
    QFETCH(int, made);
    QFETCH(QString, device);

    auto modems = startModems({portTwo, portOne});
    QVERIFY(modems);
    SmsManager sms;
    QTRY_VERIFY(sms.isDualSim());
    sms.setSimSlot(quint8(slot));
    sms.sendSms(number, text);

    const QString modem = modemPath(made);
    QTRY_COMPARE(modems->methodCalls(modem, u"Delete"_s).size(), 1);
    QCOMPARE(sentBy(*modems), (QList<QStringList>{{device, number, text}}));
    const QList<QVariantList> creates = modems->methodCalls(modem, u"Create"_s);
    QCOMPARE(creates.size(), 1);
    const QVariantMap expected{{u"number"_s, number}, {u"text"_s, text}};
    QCOMPARE(qdbus_cast<QVariantMap>(creates.first().first()), expected);
    QVERIFY(messagesOn(*modems, modem).isEmpty());
    QVERIFY(modems->methodCalls(modemPath(1 - made), u"Create"_s).isEmpty());
}

void TestModemSms::failuresAreLogged_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("sendError");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<int>("deletes");

    QTest::newRow("network refuses")
        << deviceSim << u"org.freedesktop.ModemManager1.Error.MessageError.NetworkFailure"_s
        << u"the SMS to \\+989121234567 was not sent: .*NetworkFailure"_s << 1;
    QTest::newRow("modem refuses to make it")
        << QString() << QString() << u"did not take the SMS to : .*InvalidArgs"_s << 0;
}

// A message that does not go out is logged and reported by its ticket, and one the modem made is
// deleted all the same; the next message goes out as usual.
void TestModemSms::failuresAreLogged()
{
    QFETCH(QString, number);
    QFETCH(QString, sendError);
    QFETCH(QString, warning);
    QFETCH(int, deletes);

    auto modems = startModems({portOne});
    QVERIFY(modems);
    ModemSms modem(QDBusConnection::systemBus());
    QTRY_COMPARE(modem.modemCount(), 1);
    if (!sendError.isEmpty())
        modems->control(managerPath, u"FailNextSend"_s, {sendError});

    QSignalSpy failed(&modem, &ModemSms::sendFailed);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^ModemSms: .*"_s + warning));
    modem.send(number, frame, 0, 7);
    QTRY_COMPARE(modems->methodCalls(modemPath(0), u"Create"_s).size(), 1);
    QTRY_COMPARE(modems->methodCalls(modemPath(0), u"Delete"_s).size(), deletes);
    QTRY_COMPARE(failed.size(), 1);
    QCOMPARE(failed.first(), QVariantList{7});
    QVERIFY(sentBy(*modems).isEmpty());
    QVERIFY(messagesOn(*modems, modemPath(0)).isEmpty());

    modem.send(deviceSim, frame, 0, 8);
    QTRY_COMPARE(modems->methodCalls(modemPath(0), u"Delete"_s).size(), deletes + 1);
    QCOMPARE(sentBy(*modems), (QList<QStringList>{{portOne, deviceSim, frame}}));
    QCOMPARE(failed.size(), 1);
}

void TestModemSms::noModemForTheSlot_data()
{
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<int>("slot");

    QTest::newRow("no modem") << QStringList() << 0;
    QTest::newRow("second sim of one") << QStringList{portOne} << 1;
    QTest::newRow("third sim of two") << QStringList{portOne, portTwo} << 2;
}

void TestModemSms::noModemForTheSlot()
{
    QFETCH(QStringList, devices);
    QFETCH(int, slot);

    auto modems = startModems(devices);
    QVERIFY(modems);
    ModemSms modem(QDBusConnection::systemBus());
    QTRY_COMPARE(modem.modemCount(), devices.size());
    QTest::qWait(200);

    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(u"^ModemSms: no modem for SIM %1 "_s.arg(slot + 1)));
    QSignalSpy failed(&modem, &ModemSms::sendFailed);
    modem.send(deviceSim, frame, slot, 3);
    QCOMPARE(failed.size(), 1);
    QTest::qWait(300);
    QCOMPARE(createsOn(*modems, int(devices.size())), 0);
}

void TestModemSms::receivesWhenComplete_data()
{
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<int>("made");

    QTest::newRow("one part") << QStringList{frame} << 0;
    QTest::newRow("persian text") << QStringList{u"دستور انجام شد"_s} << 0;
    QTest::newRow("two parts") << QStringList{u"[oribel,6,36.2972,"_s, u"59.6067,1]}]"_s} << 0;
    QTest::newRow("three parts on the other modem")
        << QStringList{u"[oribel,"_s, u"7,1,"_s, u"0]}]"_s} << 1;
}

// A message is told once, whole, when its last part is in; later changes to it tell nothing.
void TestModemSms::receivesWhenComplete()
{
    QFETCH(QStringList, parts);
    QFETCH(int, made);

    auto modems = startModems({portTwo, portOne});
    QVERIFY(modems);
    ModemSms modem(QDBusConnection::systemBus());
    QTRY_COMPARE(modem.modemCount(), 2);
    QSignalSpy received(&modem, &ModemSms::received);

    const QVariant from = objectPath(modemPath(made));
    QString sms;
    if (parts.size() == 1) {
        sms = pathFrom(*modems, u"ReceiveSms"_s, {from, deviceSim, parts.first()});
    } else {
        sms = pathFrom(*modems, u"ReceiveSmsParts"_s, {from, deviceSim, parts});
        QTest::qWait(500);
        QCOMPARE(received.size(), 0);
        modems->control(managerPath, u"CompleteSms"_s, {objectPath(sms)});
    }
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(received.first(), (QVariantList{deviceSim, parts.join(QString())}));

    updateSms(*modems, sms, {{u"State"_s, 3u}});
    QTest::qWait(500);
    QCOMPARE(received.size(), 1);
    // The inbox is the phone's messaging app's.
    QVERIFY(modems->methodCalls(modemPath(made), u"Delete"_s).isEmpty());
}

void TestModemSms::storedMessagesAreNotReplayed()
{
    auto modems = startModems({portOne});
    QVERIFY(modems);
    const QVariant modemOne = objectPath(modemPath(0));
    const QString old = pathFrom(*modems, u"StoreSms"_s, {modemOne, deviceSim, u"old"_s});
    ModemSms modem(QDBusConnection::systemBus());
    QTRY_COMPARE(modem.modemCount(), 1);
    QSignalSpy received(&modem, &ModemSms::received);

    pathFrom(*modems, u"StoreSms"_s, {modemOne, deviceSim, u"stored while running"_s});
    pathFrom(*modems, u"ReceiveSms"_s, {modemOne, deviceSim, u"new"_s});
    QTRY_COMPARE(received.size(), 1);
    updateSms(*modems, old, {{u"State"_s, 3u}});
    QTest::qWait(500);
    QCOMPARE(QList<QVariantList>(received), (QList<QVariantList>{{deviceSim, u"new"_s}}));
    QCOMPARE(messagesOn(*modems, modemPath(0)).size(), 3);
}

void TestModemSms::ignoresValuesOfWrongType_data()
{
    QTest::addColumn<QVariantMap>("update");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<bool>("warns");

    QTest::newRow("state signed") << QVariantMap{{u"State"_s, 3}} << false << false;
    QTest::newRow("state a string") << QVariantMap{{u"State"_s, u"3"_s}} << false << false;
    QTest::newRow("number a number") << QVariantMap{{u"Number"_s, 989121234567LL}} << true << true;
    QTest::newRow("text as bytes")
        << QVariantMap{{u"Text"_s, frame.toUtf8()}, {u"State"_s, 3u}} << false << true;
}

// Nothing is told from a message whose values have the wrong type, and the next good message
// still is.
void TestModemSms::ignoresValuesOfWrongType()
{
    QFETCH(QVariantMap, update);
    QFETCH(bool, complete);
    QFETCH(bool, warns);

    auto modems = startModems({portOne});
    QVERIFY(modems);
    ModemSms modem(QDBusConnection::systemBus());
    QTRY_COMPARE(modem.modemCount(), 1);
    QSignalSpy received(&modem, &ModemSms::received);
    const QVariant modemOne = objectPath(modemPath(0));

    const QString sms = pathFrom(*modems, u"ReceiveSmsParts"_s,
                                 {modemOne, deviceSim, QStringList{u"[oribel,"_s, u"55]}]"_s}});
    QTest::qWait(300);
    if (warns)
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(u"^IncomingSms: .* no readable number or text"_s));
    updateSms(*modems, sms, update);
    if (complete)
        modems->control(managerPath, u"CompleteSms"_s, {objectPath(sms)});
    QTest::qWait(500);
    QCOMPARE(received.size(), 0);

    pathFrom(*modems, u"ReceiveSms"_s, {modemOne, deviceSim, frame});
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(received.first(), (QVariantList{deviceSim, frame}));
}

void TestModemSms::ignoresMalformedAnnouncements_data()
{
    QTest::addColumn<QString>("signature");
    QTest::addColumn<bool>("fromModem");

    QTest::newRow("path as a string") << u"sb"_s << true;
    QTest::newRow("no received flag") << u"o"_s << true;
    QTest::newRow("received as a number") << u"ou"_s << true;
    QTest::newRow("not from a modem") << u"ob"_s << false;
}

void TestModemSms::ignoresMalformedAnnouncements()
{
    QFETCH(QString, signature);
    QFETCH(bool, fromModem);

    auto modems = startModems({portOne});
    QVERIFY(modems);
    ModemSms modem(QDBusConnection::systemBus());
    QTRY_COMPARE(modem.modemCount(), 1);
    QSignalSpy received(&modem, &ModemSms::received);
    const QVariant modemOne = objectPath(modemPath(0));
    const QString sms = pathFrom(*modems, u"StoreSms"_s, {modemOne, deviceSim, frame});

    QVariantList arguments;
    for (const QChar type : signature) {
        if (type == u'o')
            arguments.append(objectPath(sms));
        else if (type == u's')
            arguments.append(sms);
        else if (type == u'b')
            arguments.append(true);
        else
            arguments.append(1u);
    }
    const QDBusMessage emitted =
        modems->control(fromModem ? modemPath(0) : managerPath, u"EmitSignal"_s,
                        {messagingInterface, u"Added"_s, signature, QVariant(arguments)});
    QCOMPARE(emitted.type(), QDBusMessage::ReplyMessage);
    QTest::qWait(500);
    QCOMPARE(received.size(), 0);

    pathFrom(*modems, u"ReceiveSms"_s, {modemOne, deviceSim, u"[oribel,1]}]"_s});
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(received.first().at(1).toString(), u"[oribel,1]}]"_s);
}

// A message whose parts stop coming is given up, so its completion much later tells nothing.
void TestModemSms::incompleteMessageForgottenAfterPatience()
{
    auto modems = startModems({portOne});
    QVERIFY(modems);
    MessagingModems list(QDBusConnection::systemBus());
    IncomingSms incoming(QDBusConnection::systemBus(), &list, 1500ms);
    QTRY_COMPARE(list.paths().size(), 1);
    QSignalSpy received(&incoming, &IncomingSms::received);
    const QVariant modemOne = objectPath(modemPath(0));
    const QStringList parts{u"[oribel,"_s, u"55]}]"_s};

    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(u"^IncomingSms: .* never got all its parts"_s));
    const QString late = pathFrom(*modems, u"ReceiveSmsParts"_s, {modemOne, deviceSim, parts});
    QTest::qWait(2500);
    modems->control(managerPath, u"CompleteSms"_s, {objectPath(late)});
    QTest::qWait(500);
    QCOMPARE(received.size(), 0);

    const QString inTime = pathFrom(*modems, u"ReceiveSmsParts"_s, {modemOne, deviceSim, parts});
    modems->control(managerPath, u"CompleteSms"_s, {objectPath(inTime)});
    QTRY_COMPARE(received.size(), 1);
}

// Two SIMs while two modems can carry SMS, and the slots follow the modems' places.
void TestModemSms::modemsComeAndGo()
{
    auto modems = startModems({portTwo});
    QVERIFY(modems);
    SmsManager sms;
    QSignalSpy dual(&sms, &SmsManager::isDualSimChanged);

    pathFrom(*modems, u"AddModem"_s, {portOne});
    QTRY_COMPARE(flags(dual), (QList<bool>{true}));
    modems->control(managerPath, u"RemoveModem"_s, {objectPath(modemPath(0))});
    QTRY_COMPARE(flags(dual), (QList<bool>{true, false}));
    const QString third = pathFrom(*modems, u"AddModem"_s, {portThree});
    QTRY_COMPARE(flags(dual), (QList<bool>{true, false, true}));
    QVERIFY(sms.isDualSim());

    sms.setSimSlot(1);
    sms.sendSms(u"0912"_s, frame);
    QTRY_COMPARE(modems->methodCalls(third, u"Delete"_s).size(), 1);
    QCOMPARE(sentBy(*modems), (QList<QStringList>{{portThree, u"0912"_s, frame}}));

    modems->control(managerPath, u"RemoveModem"_s, {objectPath(third)});
    QTRY_COMPARE(flags(dual), (QList<bool>{true, false, true, false}));
    QVERIFY(!sms.isDualSim());
}

// Without the service nothing is sent and nothing waits; its modems are taken up when it starts,
// go when it stops and are read again when it is back.
void TestModemSms::serviceComesAndGoes()
{
    SmsManager sms;
    QSignalSpy dual(&sms, &SmsManager::isDualSimChanged);
    QSignalSpy received(&sms, &SmsManager::smsReceived);
    QTest::qWait(300);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^ModemSms: no modem for SIM 1 "_s));
    sms.sendSms(deviceSim, frame);

    auto modems = startModems({portTwo, portOne});
    QVERIFY(modems);
    QTRY_COMPARE(flags(dual), (QList<bool>{true}));
    modems->stop();
    QTRY_COMPARE(flags(dual), (QList<bool>{true, false}));

    modems = startModems({portTwo, portOne});
    QVERIFY(modems);
    QTRY_COMPARE(flags(dual), (QList<bool>{true, false, true}));
    sms.setSimSlot(1);
    sms.sendSms(deviceSim, frame);
    QTRY_COMPARE(sentBy(*modems), (QList<QStringList>{{portTwo, deviceSim, frame}}));
    QCOMPARE(createsOn(*modems, 2), 1);
    pathFrom(*modems, u"ReceiveSms"_s, {objectPath(modemPath(0)), deviceSim, u"back"_s});
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(received.first(), (QVariantList{deviceSim, u"back"_s}));
}

void TestModemSms::channelChoice_data()
{
    QTest::addColumn<bool>("gateway");
    QTest::addColumn<QString>("phoneServices");
    QTest::addColumn<QString>("channel");

    QTest::newRow("modems") << false << QString() << u"modem"_s;
    QTest::newRow("gateway wins over modems") << true << QString() << u"gateway"_s;
    QTest::newRow("gateway with services off") << true << u"off"_s << u"gateway"_s;
    QTest::newRow("services off") << false << u"off"_s << QString();
}

// Each message goes out on one channel or none, and only that channel's messages come in.
void TestModemSms::channelChoice()
{
    QFETCH(bool, gateway);
    QFETCH(QString, phoneServices);
    QFETCH(QString, channel);

    auto modems = startModems({portOne, portTwo});
    QVERIFY(modems);
    FakePeer peer;
    QVERIFY(peer.listen());
    peer.setFallback(FakePeer::reply("{}", 200, "application/json"));
    if (gateway)
        qputenv("KOVA_SMS_GATEWAY", peer.baseUrl().toUtf8());
    if (!phoneServices.isEmpty())
        qputenv("KOVA_PHONE_SERVICES", phoneServices.toUtf8());

    SmsManager sms;
    QSignalSpy received(&sms, &SmsManager::smsReceived);
    if (channel == u"modem")
        QTRY_VERIFY(sms.isDualSim());
    else
        QTest::qWait(500);
    if (channel.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, "SmsManager: no SMS service, not sent to 0912");
    sms.sendSms(u"0912"_s, frame);
    pathFrom(*modems, u"ReceiveSms"_s, {objectPath(modemPath(0)), deviceSim, frame});

    const auto gatewaySends = [&peer] {
        return std::count_if(
            peer.requests().cbegin(), peer.requests().cend(),
            [](const FakePeer::Request &request) { return request.path.endsWith(u"/send"_s); });
    };
    if (channel == u"modem")
        QTRY_COMPARE(sentBy(*modems).size(), 1);
    if (channel == u"gateway")
        QTRY_COMPARE(gatewaySends(), 1);
    QTest::qWait(500);
    QCOMPARE(sentBy(*modems).size(), channel == u"modem" ? 1 : 0);
    QCOMPARE(createsOn(*modems, 2), channel == u"modem" ? 1 : 0);
    QCOMPARE(gatewaySends(), channel == u"gateway" ? 1 : 0);
    QCOMPARE(received.size(), channel == u"modem" ? 1 : 0);
    QCOMPARE(sms.isDualSim(), channel == u"modem");
}

QTEST_GUILESS_MAIN(TestModemSms)
#include "tst_modemsms.moc"
