#include "DbusMock.h"
#include "Notification.h"
#include "PhoneServices.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QGuiApplication>
#include <QTest>
#include <QWindow>

#include <memory>

namespace {

const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString interface = QStringLiteral("org.freedesktop.Notifications");
const QString door = QStringLiteral("هشدار باز شدن درب‌ها");
const QString trunk = QStringLiteral("هشدار باز شدن صندوق یا کاپوت");
const QString first = QStringLiteral("زمان وقوع: 1403/01/01 10:00:00");
const QString later = QStringLiteral("زمان وقوع: 1403/01/01 10:05:00");
const QString latest = QStringLiteral("زمان وقوع: 1403/01/01 10:09:00");

// notify() calls made back to back, with no answer handled in between.
using Round = QList<QPair<QString, QString>>;

QString sent(uint replaces, const QString &title, const QString &text)
{
    return QStringLiteral("%1 %2 %3").arg(replaces).arg(title, text);
}

} // namespace

class TestNotifications : public QObject
{
    Q_OBJECT

public slots:
    void actionSeen() { ++m_actionsSeen; }

private slots:
    void init();
    void cleanup();

    void shownOncePerAlarmTime_data();
    void shownOncePerAlarmTime();
    void defaultActionBringsWindowForward_data();
    void defaultActionBringsWindowForward();
    void serverMissingOrRestarted();
    void alarmTableIsBounded();
    void servicesOffReachNothing();

private:
    bool startServer();
    void emitSignal(const QString &name, const QString &signature, const QVariantList &arguments);
    QList<QVariantList> settledNotifyCalls() const;
    QStringList settledSent() const;

    std::unique_ptr<DbusMock> m_server;
    int m_actionsSeen = 0;
};

void TestNotifications::init()
{
    qunsetenv("KOVA_PHONE_SERVICES");
    qunsetenv("XDG_ACTIVATION_TOKEN");
    m_actionsSeen = 0;
    QVERIFY(startServer());
}

void TestNotifications::cleanup()
{
    m_server.reset();
}

bool TestNotifications::startServer()
{
    m_server = std::make_unique<DbusMock>(QStringLiteral("notification_daemon"), QJsonObject{},
                                          DbusMock::Bus::Session);
    return m_server->start(interface);
}

void TestNotifications::emitSignal(const QString &name, const QString &signature,
                                   const QVariantList &arguments)
{
    const QDBusMessage reply = m_server->control(path, QStringLiteral("EmitSignal"),
                                                 {interface, name, signature, arguments});
    QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    // The signal came in ahead of that answer: its delivery is queued by now.
    QCoreApplication::processEvents();
}

// The double answers in order, so once it has listed the calls the answers to them are in;
// handling those may send more. Listed again until nothing more comes.
QList<QVariantList> TestNotifications::settledNotifyCalls() const
{
    QList<QVariantList> calls = m_server->methodCalls(path, QStringLiteral("Notify"));
    for (qsizetype before = -1; before != calls.size();) {
        before = calls.size();
        QCoreApplication::processEvents();
        calls = m_server->methodCalls(path, QStringLiteral("Notify"));
    }
    return calls;
}

QStringList TestNotifications::settledSent() const
{
    QStringList out;
    for (const QVariantList &call : settledNotifyCalls())
        out << sent(call.value(1).toUInt(), call.value(3).toString(), call.value(4).toString());
    return out;
}

void TestNotifications::shownOncePerAlarmTime_data()
{
    QTest::addColumn<QList<Round>>("rounds");
    QTest::addColumn<QStringList>("expected");

    const QList<Round> everyStatusReply(20, Round{{door, first}});
    QTest::newRow("repeated on every status reply")
        << everyStatusReply << QStringList{sent(0, door, first)};
    QTest::newRow("newer time replaces in place")
        << QList<Round>{{{door, first}}, {{door, first}}, {{door, later}}, {{door, later}}}
        << QStringList{sent(0, door, first), sent(1, door, later)};
    QTest::newRow("an older time again replaces again")
        << QList<Round>{{{door, first}}, {{door, later}}, {{door, first}}}
        << QStringList{sent(0, door, first), sent(1, door, later), sent(1, door, first)};
    QTest::newRow("two alarms, each once")
        << QList<Round>(10, Round{{door, first}, {trunk, later}})
        << QStringList{sent(0, door, first), sent(0, trunk, later)};
    QTest::newRow("newer time while the first Notify is out")
        << QList<Round>{{{door, first}, {door, later}}, {{door, later}}}
        << QStringList{sent(0, door, first), sent(1, door, later)};
    QTest::newRow("only the newest of several follows")
        << QList<Round>{{{door, first}, {door, later}, {door, latest}}}
        << QStringList{sent(0, door, first), sent(1, door, latest)};
    QTest::newRow("back to the pending time: nothing follows")
        << QList<Round>{{{door, first}, {door, later}, {door, first}}}
        << QStringList{sent(0, door, first)};
    QTest::newRow("race beside another alarm")
        << QList<Round>{{{door, first}, {trunk, first}, {door, later}}}
        << QStringList{sent(0, door, first), sent(0, trunk, first), sent(1, door, later)};
    QTest::newRow("no title, no bubble") << QList<Round>{{{QString(), first}}} << QStringList{};
}

void TestNotifications::shownOncePerAlarmTime()
{
    QFETCH(QList<Round>, rounds);
    QFETCH(QStringList, expected);

    Notification notification;
    for (const Round &round : rounds) {
        for (const auto &[title, text] : round)
            notification.notify(title, text, QStringLiteral("icon"));
        settledNotifyCalls();
    }
    QCOMPARE(settledSent(), expected);

    for (const QVariantList &call : settledNotifyCalls()) {
        QCOMPARE(call.size(), 8);
        QCOMPARE(call[2].toString(), PhoneServices::desktopId());
        QCOMPARE(qdbus_cast<QStringList>(call[5]).value(0), QStringLiteral("default"));
        const QVariantMap hints = qdbus_cast<QVariantMap>(call[6]);
        QCOMPARE(hints.value(QStringLiteral("desktop-entry")).toString(),
                 PhoneServices::desktopId());
        // Servers read the urgency only as a byte.
        QCOMPARE(hints.value(QStringLiteral("urgency")), QVariant::fromValue(uchar(2)));
        QCOMPARE(call[7], QVariant(-1));
    }
}

void TestNotifications::defaultActionBringsWindowForward_data()
{
    QTest::addColumn<uint>("idOffset"); // from the double's id for our bubble
    QTest::addColumn<QString>("actionKey");
    QTest::addColumn<QString>("token"); // sent for our bubble ahead of the action
    QTest::addColumn<bool>("closedFirst");
    QTest::addColumn<bool>("fromAnotherSender");
    QTest::addColumn<bool>("brought");

    const QString key = QStringLiteral("default");
    QTest::newRow("default action") << 0u << key << QString() << false << false << true;
    QTest::newRow("with an activation token")
        << 0u << key << QStringLiteral("token-1") << false << false << true;
    QTest::newRow("another action")
        << 0u << QStringLiteral("snooze") << QString() << false << false << false;
    QTest::newRow("an id not ours") << 7u << key << QString() << false << false << false;
    QTest::newRow("bubble closed") << 0u << key << QString() << true << false << false;
    QTest::newRow("not the server") << 0u << key << QString() << false << true << false;
}

void TestNotifications::defaultActionBringsWindowForward()
{
    QFETCH(uint, idOffset);
    QFETCH(QString, actionKey);
    QFETCH(QString, token);
    QFETCH(bool, closedFirst);
    QFETCH(bool, fromAnotherSender);
    QFETCH(bool, brought);

    QWindow window;
    window.setWindowStates(Qt::WindowMaximized | Qt::WindowMinimized);
    window.setVisible(true);
    QWindow closedDialog;
    closedDialog.create();
    Notification notification;
    notification.notify(door, first, QStringLiteral("icon"));
    QCOMPARE(settledNotifyCalls().size(), 1);
    const uint id = 1 + idOffset; // the double numbers its bubbles from 1

    if (!token.isEmpty())
        emitSignal(QStringLiteral("ActivationToken"), QStringLiteral("us"), {id, token});
    if (closedFirst)
        emitSignal(QStringLiteral("NotificationClosed"), QStringLiteral("uu"), {id, 2u});
    if (fromAnotherSender) {
        QDBusConnection other =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("other"));
        QVERIFY(QDBusConnection::sessionBus().connect(
            {}, path, interface, QStringLiteral("ActionInvoked"), this, SLOT(actionSeen())));
        // The bus has the listener's match rule once it answers a later call.
        QVERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(interface));
        QDBusMessage fake =
            QDBusMessage::createSignal(path, interface, QStringLiteral("ActionInvoked"));
        fake << id << actionKey;
        QVERIFY(other.send(fake));
        // Our connection has it once this listener has; the object's share was queued with it.
        QTRY_COMPARE(m_actionsSeen, 1);
        QCoreApplication::processEvents();
        QDBusConnection::disconnectFromBus(QStringLiteral("other"));
    } else {
        emitSignal(QStringLiteral("ActionInvoked"), QStringLiteral("us"), {id, actionKey});
    }

    QCOMPARE(window.windowStates(),
             brought ? Qt::WindowMaximized : Qt::WindowMaximized | Qt::WindowMinimized);
    QVERIFY(window.isVisible());
    QVERIFY(!closedDialog.isVisible());
    QCOMPARE(qEnvironmentVariable("XDG_ACTIVATION_TOKEN"), brought ? token : QString());
}

void TestNotifications::serverMissingOrRestarted()
{
    m_server->stop();
    Notification notification;
    QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type != QtDebugMsg)
                QFAIL(qPrintable(QStringLiteral("said: ") + text));
        });
    for (int reply = 0; reply < 50; ++reply) {
        notification.notify(door, first, QStringLiteral("icon"));
        QCoreApplication::processEvents();
    }
    qInstallMessageHandler(previous);

    // Failed attempts were not taken as shown: the alarm shows once a server is there.
    QVERIFY(startServer());
    notification.notify(door, first, QStringLiteral("icon"));
    QCOMPARE(settledSent(), QStringList{sent(0, door, first)});

    // A new server numbers afresh: the old id must not replace whatever has it now.
    m_server->stop();
    QVERIFY(startServer());
    QCoreApplication::processEvents(); // the owner changes came in before the name showed
    notification.notify(door, later, QStringLiteral("icon"));
    QCOMPARE(settledSent(), QStringList{sent(0, door, later)});
}

void TestNotifications::alarmTableIsBounded()
{
    Notification notification;
    const int titles = Notification::maxAlarms * 4;
    for (int title = 0; title < titles; ++title)
        notification.notify(QString::number(title), first, QStringLiteral("icon"));
    QCOMPARE(settledNotifyCalls().size(), titles);

    // The most recent ones are still known; the oldest was let go.
    for (int title = titles - Notification::maxAlarms; title < titles; ++title)
        notification.notify(QString::number(title), first, QStringLiteral("icon"));
    QCOMPARE(settledNotifyCalls().size(), titles);
    notification.notify(QStringLiteral("0"), first, QStringLiteral("icon"));
    QCOMPARE(settledSent().last(), sent(0, QStringLiteral("0"), first));
}

void TestNotifications::servicesOffReachNothing()
{
    qputenv("KOVA_PHONE_SERVICES", "off");
    QWindow window;
    window.showMinimized();
    Notification notification;
    notification.notify(door, first, QStringLiteral("icon"));
    notification.notify(trunk, later, QStringLiteral("icon"));
    emitSignal(QStringLiteral("ActionInvoked"), QStringLiteral("us"),
               {1u, QStringLiteral("default")});
    QCOMPARE(settledNotifyCalls().size(), 0);
    QCOMPARE(window.windowState(), Qt::WindowMinimized);
}

QTEST_MAIN(TestNotifications)
#include "tst_notifications.moc"
