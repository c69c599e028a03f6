#include "PeakMemory.h"
#include "Tools.h"

#include <QClipboard>
#include <QCryptographicHash>
#include <QGeoCoordinate>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QTest>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray data;
    for (int value : values)
        data.append(char(value));
    return data;
}

QVariantMap statusMap(std::initializer_list<int> values)
{
    static const char *const keys[] = {"door",      "trunk",    "carSwitch", "powerDetect",
                                       "charging",  "carring",  "simCharge", "battryPercent",
                                       "gsmSignal", "gpsSignal"};
    QVariantMap map;
    int i = 0;
    for (int value : values)
        map.insert(QLatin1String(keys[i++]), value);
    return map;
}

} // namespace

class TstTools : public QObject
{
    Q_OBJECT

private slots:
    void version();
    void hashPass_data();
    void hashPass();
    void digestAsBase64();
    void ftomBase64_data();
    void ftomBase64();
    void utf8RoundTrip();
    void base95Values_data();
    void base95Values();
    void base95RoundTrip_data();
    void base95RoundTrip();
    void base95Reading_data();
    void base95Reading();
    void parsStatus_data();
    void parsStatus();
    void parsStatusRefusesLongText_data();
    void parsStatusRefusesLongText();
    void urlSplit_data();
    void urlSplit();
    void generateAccessToken();
    void copyToClipboard();
    void getPolygonBoundingRect_data();
    void getPolygonBoundingRect();
    void callableFromDocuments_data();
    void callableFromDocuments();

private:
    Tools tools;
};

void TstTools::version()
{
    QCOMPARE(tools.version(), QStringLiteral("4.2.0"));
    QCOMPARE(tools.version_major(), 4);
    QCOMPARE(tools.version_minor(), 2);
    QCOMPARE(tools.version_patch(), 0);
}

void TstTools::hashPass_data()
{
    QTest::addColumn<QString>("pass");
    QTest::addColumn<QByteArray>("digestHex");

    QTest::newRow("empty") << QString() << QByteArray("d41d8cd98f00b204e9800998ecf8427e");
    QTest::newRow("ascii") << QStringLiteral("abc")
                           << QByteArray("900150983cd24fb0d6963f7d28e17f72");
    // Latin-1 bytes, not UTF-8: "é" hashes as the single byte E9.
    QTest::newRow("latin-1 accent")
        << QStringLiteral("caf\u00e9")
        << QCryptographicHash::hash(QByteArray("caf\xe9"), QCryptographicHash::Md5).toHex();
    QTest::newRow("persian letters as question marks")
        << QStringLiteral("\u0631\u0645\u0632")
        << QCryptographicHash::hash(QByteArray("???"), QCryptographicHash::Md5).toHex();
}

void TstTools::hashPass()
{
    QFETCH(QString, pass);
    QFETCH(QByteArray, digestHex);
    const QByteArray digest = tools.hashPass(pass);
    QCOMPARE(digest.size(), 16);
    QCOMPARE(digest.toHex(), digestHex);
}

void TstTools::digestAsBase64()
{
    const QString text = tools.toBase64(tools.hashPass(QStringLiteral("secret")));
    QCOMPARE(text.size(), 24);
    QVERIFY(text.endsWith(QStringLiteral("==")));
    QCOMPARE(tools.ftomBase64(text), tools.hashPass(QStringLiteral("secret")));
}

void TstTools::ftomBase64_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("plain") << QStringLiteral("aGVsbG8=") << QByteArray("hello");
    QTest::newRow("blank inserted") << QStringLiteral("aGVs bG8=") << QByteArray("hello");
    QTest::newRow("line breaks") << QStringLiteral("aGVs\nbG8=\n") << QByteArray("hello");
    QTest::newRow("foreign characters")
        << QStringLiteral("aG\u00e9Vs\u0628bG8=") << QByteArray("hello");
    QTest::newRow("no padding") << QStringLiteral("aGVsbG8") << QByteArray("hello");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TstTools::ftomBase64()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(tools.ftomBase64(text), expected);
}

void TstTools::utf8RoundTrip()
{
    const QString text = QStringLiteral("ka\u0631\u0645z \u00e9");
    QCOMPARE(tools.toUtf8(text), text.toUtf8());
    QCOMPARE(tools.fromUtf8(tools.toUtf8(text)), text);
}

void TstTools::base95Values_data()
{
    QTest::addColumn<quint32>("number");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("zero") << 0u << QByteArray("     ");
    QTest::newRow("one") << 1u << QByteArray("!    ");
    QTest::newRow("95") << 95u << QByteArray(" !   ");
    QTest::newRow("95^4") << 81450625u << QByteArray("    !");
    QTest::newRow("largest") << 4294967295u << bytes({32 + 5, 32 + 62, 32 + 41, 32 + 69, 32 + 52});
}

void TstTools::base95Values()
{
    QFETCH(quint32, number);
    QFETCH(QByteArray, text);
    QCOMPARE(tools.int32ToBase95(number), text);
    QCOMPARE(tools.base95ToInt32(text), number);
}

void TstTools::base95RoundTrip_data()
{
    QTest::addColumn<quint32>("number");
    for (quint32 n : {2u, 94u, 96u, 9024u, 857375u, 123456789u, 2147483648u, 4294967294u})
        QTest::addRow("%u", n) << n;
}

void TstTools::base95RoundTrip()
{
    QFETCH(quint32, number);
    const QByteArray text = tools.int32ToBase95(number);
    QCOMPARE(text.size(), 5);
    QCOMPARE(tools.base95ToInt32(text), number);
}

void TstTools::base95Reading_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<quint32>("number");

    QTest::newRow("five tildes wrap") << QByteArray("~~~~~") << 3442842078u;
    QTest::newRow("only five read") << QByteArray("!    !!!") << 1u;
    QTest::newRow("short text, missing digits zero") << QByteArray("!!") << 96u;
    QTest::newRow("empty") << QByteArray() << 0u;
    // Below the alphabet: digit -1. Byte 0x80 read as signed: -128 - 32 = -160.
    QTest::newRow("control character") << QByteArray("\x1f    ") << 4294967295u;
    QTest::newRow("high byte is negative") << bytes({0x80, 32, 32, 32, 32}) << quint32(-160);
}

void TstTools::base95Reading()
{
    QFETCH(QByteArray, text);
    QFETCH(quint32, number);
    QCOMPARE(tools.base95ToInt32(text), number);
}

void TstTools::parsStatus_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QVariantMap>("expected");

    QTest::newRow("all zero") << QByteArray(12, '\0') << statusMap({0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    QTest::newRow("each field") << bytes({1, 2, 3, 4, 5, 6, 0x34, 0x12, 0x78, 0x56, 9, 10})
                                << statusMap({1, 2, 3, 4, 5, 6, 0x1234, 0x5678, 9, 10});
    QTest::newRow("no sim reading") << bytes({1, 1, 0, 1, 0, 0, 255, 255, 80, 0, 3, 4})
                                    << statusMap({1, 1, 0, 1, 0, 0, 65535, 80, 3, 4});
    QTest::newRow("battery 100") << bytes({0, 0, 0, 0, 0, 0, 0, 0, 100, 0, 0, 0})
                                 << statusMap({0, 0, 0, 0, 0, 0, 0, 100, 0, 0});
    QTest::newRow("battery little-endian 256") << bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0})
                                               << statusMap({0, 0, 0, 0, 0, 0, 0, 256, 0, 0});
    QTest::newRow("high byte unsigned") << bytes({200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 200, 255})
                                        << statusMap({200, 0, 0, 0, 0, 0, 0, 0, 200, 255});
    QTest::newRow("longer record, first 12 bytes")
        << QByteArray(12, '\x01') + "extra" << statusMap({1, 1, 1, 1, 1, 1, 257, 257, 1, 1});
    QTest::newRow("short record") << QByteArray(11, '\x01') << QVariantMap();
    QTest::newRow("empty") << QByteArray() << QVariantMap();
}

void TstTools::parsStatus()
{
    QFETCH(QByteArray, record);
    QFETCH(QVariantMap, expected);
    const QVariantMap status = tools.parsStatus(record.toBase64());
    QCOMPARE(status, expected);
    for (const QVariant &value : status)
        QCOMPARE(value.metaType(), QMetaType::fromType<int>());
}

void TstTools::parsStatusRefusesLongText_data()
{
    QTest::addColumn<qsizetype>("tail");

    // A good record followed by more Base64 text, as a broken server might send it.
    QTest::newRow("one record too many") << qsizetype(64);
    QTest::newRow("50 MB") << qsizetype(50) * 1024 * 1024;
}

void TstTools::parsStatusRefusesLongText()
{
    QFETCH(qsizetype, tail);
    QByteArray text = QByteArray(12, '\x01').toBase64();
    text.append(tail, 'A');

    const qint64 baseline = peakMemoryKiB();
    QVERIFY(baseline > 0);
    const QVariantMap status = tools.parsStatus(text);
    // Refused unread: decoding 50 MB of text would take tens of MB more.
    if (peakMemoryIsTheCodes)
        QCOMPARE_LT(peakMemoryKiB() - baseline, 4 * 1024);
    QCOMPARE(status, QVariantMap());
}

void TstTools::urlSplit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("path");

    QTest::newRow("scheme, host, port, path")
        << "http://tracking.example.com:8080/device/in" << true << "tracking.example.com" << 8080
        << "/device/in";
    QTest::newRow("no port") << "https://tracking.example.com/in" << true << "tracking.example.com"
                             << -1 << "/in";
    QTest::newRow("no path") << "http://10.0.0.7:5000" << true << "10.0.0.7" << 5000 << "";
    QTest::newRow("no authority") << "tracking.example.com:8080/in" << true << "" << -1
                                  << "8080/in";
    QTest::newRow("percent escapes decoded")
        << "http://tracking.example.com:81/a%20b/%D9%85" << true << "tracking.example.com" << 81
        << QStringLiteral("/a b/\u0645");
    // Qt keeps the parts it could read; the page goes by `valid` first.
    QTest::newRow("port out of range")
        << "http://tracking.example.com:99999/in" << false << "tracking.example.com" << -1 << "/in";
    QTest::newRow("empty") << "" << false << "" << -1 << "";
}

void TstTools::urlSplit()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, path);

    const QVariantMap parts = tools.urlSplit(QUrl(text));
    QCOMPARE(parts.size(), 4);
    QCOMPARE(parts.value("valid").toBool(), valid);
    QCOMPARE(parts.value("host").toString(), host);
    QCOMPARE(parts.value("port").toInt(), port);
    QCOMPARE(parts.value("path").toString(), path);
}

void TstTools::generateAccessToken()
{
    static const QRegularExpression lowerHex(QStringLiteral("^[0-9a-f]{64}$"));
    const QString first = tools.generateAccessToken();
    const QString second = tools.generateAccessToken();
    QVERIFY2(lowerHex.match(first).hasMatch(), qPrintable(first));
    QVERIFY2(lowerHex.match(second).hasMatch(), qPrintable(second));
    QVERIFY(first != second);
}

void TstTools::copyToClipboard()
{
    tools.copyToClipboard(QStringLiteral("https://tracking.example/?imei=1"));
    QCOMPARE(QGuiApplication::clipboard()->text(QClipboard::Clipboard),
             QStringLiteral("https://tracking.example/?imei=1"));
}

void TstTools::getPolygonBoundingRect_data()
{
    QTest::addColumn<QVariantList>("coords");
    QTest::addColumn<QGeoRectangle>("expected");

    const auto at = [](double lat, double lon) {
        return QVariant::fromValue(QGeoCoordinate(lat, lon));
    };
    QTest::newRow("triangle") << QVariantList{at(35.7, 51.3), at(35.6, 51.5), at(35.8, 51.4)}
                              << QGeoRectangle(QGeoCoordinate(35.8, 51.3),
                                               QGeoCoordinate(35.6, 51.5));
    QTest::newRow("invalid elements ignored")
        << QVariantList{at(10, 20), QVariant(QStringLiteral("x")), QVariant(), at(12, 25)}
        << QGeoRectangle(QGeoCoordinate(12, 20), QGeoCoordinate(10, 25));
    QTest::newRow("empty") << QVariantList() << QGeoRectangle();
}

void TstTools::getPolygonBoundingRect()
{
    QFETCH(QVariantList, coords);
    QFETCH(QGeoRectangle, expected);
    const QGeoRectangle rect = tools.getPolygonBoundingRect(coords);
    QCOMPARE(rect.isValid(), expected.isValid());
    if (expected.isValid()) {
        QCOMPARE(rect.topLeft(), expected.topLeft());
        QCOMPARE(rect.bottomRight(), expected.bottomRight());
    }
}

// Documents pass text where bytes or a URL are expected and read results as script values.
void TstTools::callableFromDocuments_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");

    QTest::newRow("url from text") << "var u = tools.urlSplit('http://h.example:81/in');"
                                      "[u.valid, u.host, u.port, u.path].join('|')"
                                   << "true|h.example|81|/in";
    QTest::newRow("status from text") << "var s = tools.parsStatus('AQAAAAAA//9kAAMA');"
                                         "[s.door, s.simCharge, s.battryPercent, s.gsmSignal]"
                                         ".join('|')"
                                      << "1|65535|100|3";
    QTest::newRow("xcrypt text and back")
        << "JSON.parse(tools.fromUtf8(tools.xcrypt(tools.xcrypt('{\"command\":\"login\"}'))))"
           ".command"
        << "login";
    QTest::newRow("digest as Base64") << "tools.toBase64(tools.hashPass(''))"
                                      << "1B2M2Y8AsgTpgAmY7PhCfg==";
}

void TstTools::callableFromDocuments()
{
    QFETCH(QString, expression);
    QFETCH(QString, expected);

    QQmlEngine engine;
    engine.globalObject().setProperty(QStringLiteral("tools"),
                                      engine.newQObject(new Tools(&engine)));
    const QJSValue result = engine.evaluate(expression);
    QVERIFY2(!result.isError(), qPrintable(result.toString()));
    QCOMPARE(result.toString(), expected);
}

int main(int argc, char **argv)
{
    // The clipboard needs a GUI application; run without a display unless one is chosen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TstTools test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tools.moc"
