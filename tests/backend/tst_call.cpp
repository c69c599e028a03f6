#include "Call.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QTest>
#include <QUrl>

namespace {

const QString noTelephony = QStringLiteral("CALL No Os Suport...");
const QString warning = QStringLiteral("warning");

// What was logged: debug lines by their text, warnings only as "warning" since their wording
// is free.
QStringList loggedLines;

void recordMessage(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    loggedLines.append(type == QtWarningMsg ? warning : text);
}

} // namespace

// Stands in for the dialler: records the tel: links it is given.
class Dialler : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened.append(url); }
};

class TestCall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void directCall_data();
    void directCall();
};

// Only the offscreen platform is sure never to start a program for a link nobody handles.
void TestCall::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
}

void TestCall::cleanup()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("tel"));
    qunsetenv("KOVA_PHONE_SERVICES");
}

void TestCall::directCall_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("servicesOn");
    QTest::addColumn<bool>("diallerThere");
    QTest::addColumn<QString>("openedPath"); // empty: nothing opened
    QTest::addColumn<QStringList>("logged");

    QTest::newRow("device sim") << "+989121234567" << true << true << "+989121234567"
                                << QStringList();
    QTest::newRow("local number") << "09121234567" << true << true << "09121234567"
                                  << QStringList();
    QTest::newRow("service code") << "*140#" << true << true << "*140#" << QStringList();
    QTest::newRow("code after plus") << "+98*1#2" << true << true << "+98*1#2" << QStringList();

    const QStringList refusals{
        "",           "+",       "*#",       "0912 123 4567", "0912-123",
        "+98+912",    "0912+",   "0912a",    "۰۹۱۲۱۲۳۴۵۶",    "09121234567\n",
        "0912;ext=1", "0912%23", "0912?x=1", "tel:0912"};
    for (const QString &number : refusals)
        QTest::addRow("refused %s", qPrintable(QString(number).replace('\n', "\\n")))
            << number << true << true << QString() << QStringList{warning};

    // The offscreen platform opens nothing and says so; then the desktop's line follows.
    QTest::newRow("no dialler") << "+989121234567" << true << false << QString()
                                << QStringList{warning, noTelephony};
    QTest::newRow("services off") << "+989121234567" << false << true << QString()
                                  << QStringList{noTelephony};
    QTest::newRow("services off, not a number")
        << "0912a" << false << true << QString() << QStringList{noTelephony};
}

void TestCall::directCall()
{
    QFETCH(QString, number);
    QFETCH(bool, servicesOn);
    QFETCH(bool, diallerThere);
    QFETCH(QString, openedPath);
    QFETCH(QStringList, logged);

    if (!servicesOn)
        qputenv("KOVA_PHONE_SERVICES", "off");
    Dialler dialler;
    if (diallerThere)
        QDesktopServices::setUrlHandler(QStringLiteral("tel"), &dialler, "open");
    Call call;

    loggedLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordMessage);
    bool placed = false;
    QVERIFY(QMetaObject::invokeMethod(&call, "directCall", Q_RETURN_ARG(bool, placed),
                                      Q_ARG(QString, number)));
    qInstallMessageHandler(previous);

    QCOMPARE(loggedLines, logged);
    QCOMPARE(placed, !openedPath.isEmpty());
    if (openedPath.isEmpty()) {
        QVERIFY(dialler.opened.isEmpty());
        return;
    }
    QCOMPARE(dialler.opened.size(), 1);
    const QUrl &url = dialler.opened.first();
    QCOMPARE(url.scheme(), QStringLiteral("tel"));
    QCOMPARE(url.path(), openedPath);
    QVERIFY(!url.hasFragment());
    // What the dialler reads: a # escaped, so it is not taken for the start of a fragment.
    QCOMPARE(url.toString(QUrl::FullyEncoded),
             QStringLiteral("tel:") + QString(openedPath).replace('#', "%23"));
}

QTEST_MAIN(TestCall)
#include "tst_call.moc"
