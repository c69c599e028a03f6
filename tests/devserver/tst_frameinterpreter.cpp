#include "FrameInterpreter.h"

#include <QMap>
#include <QTest>
#include <QtEndian>

using namespace devserver;

using Effect = FrameInterpreter::Effect;
using Patches = QMap<int, QByteArray>; // payload offset -> the bytes expected there

Q_DECLARE_METATYPE(Effect)

namespace {

// A text field of the payload as it must read: the text, then zeros to its width.
QByteArray field(const char *text, int width)
{
    QByteArray bytes(text);
    bytes.resize(width, '\0');
    return bytes;
}

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// The device before each frame: some values away from the factory ones, so that both setting
// and clearing show.
DeviceSettings startSettings()
{
    DeviceSettings s = DeviceSettings::factoryDefaults();
    s.sw2 = 1;
    s.sendRate = 300;
    s.reportCenter1 = QStringLiteral("09350000000");
    return s;
}

DeviceStatus startStatus()
{
    DeviceStatus status;
    status.gsmSignal = 20;
    status.gpsSignal = 9;
    return status;
}

// Eight fence corners as the app sends them: signed 32-bit little-endian degrees × 1e7.
QString fenceBlock(const QList<QPair<qint32, qint32>> &corners)
{
    QByteArray bytes;
    for (const auto &[lat, lon] : corners) {
        char pair[8];
        qToLittleEndian(lat, pair);
        qToLittleEndian(lon, pair + 4);
        bytes.append(pair, 8);
    }
    return QString::fromLatin1(bytes.toBase64());
}

const QList<QPair<qint32, qint32>> octagon = {
    {363100000, 596000000}, {363070000, 596070000}, {363000000, 596100000}, {362930000, 596070000},
    {362900000, 596000000}, {362930000, 595930000}, {363000000, 595900000}, {363070000, 595930000},
};

} // namespace

class TestFrameInterpreter : public QObject
{
    Q_OBJECT

private slots:
    void obeys_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<Effect>("effect");
        QTest::addColumn<Patches>("patches");

        QTest::newRow("0 restart") << "[oribel,0]}]" << Effect::Restart << Patches{};
        QTest::newRow("2 erase memory") << "[oribel,2]}]" << Effect::Applied << Patches{};
        QTest::newRow("11 report numbers")
            << "[oribel,11,09121234567,x]}]" << Effect::Applied
            << Patches{{118, field("09121234567", 15)}, {133, field("x", 15)}};
        QTest::newRow("11 second number with +")
            << "[oribel,11,x,+98912123456789]}]" << Effect::Applied
            << Patches{{118, field("x", 15)}, {133, field("+98912123456789", 15)}};
        QTest::newRow("12 server") << "[oribel,12,track.example,/api/v2,8443]}]" << Effect::Applied
                                   << Patches{{16, field("track.example", 50)},
                                              {66, field("/api/v2", 50)},
                                              {116, hex("fb20")}};
        QTest::newRow("12 short host clears the old one")
            << "[oribel,12,a.b,/,65535]}]" << Effect::Applied
            << Patches{{16, field("a.b", 50)}, {66, field("/", 50)}, {116, hex("ffff")}};
        QTest::newRow("13 sending") << "[oribel,13,120,50]}]" << Effect::Applied
                                    << Patches{{148, hex("7800")}, {158, hex("3200")}};
        QTest::newRow("13 upper limits") << "[oribel,13,3600,10000]}]" << Effect::Applied
                                         << Patches{{148, hex("100e")}, {158, hex("1027")}};
        QTest::newRow("13 lower limits") << "[oribel,13,60,30]}]" << Effect::Applied
                                         << Patches{{148, hex("3c00")}, {158, hex("1e00")}};
        QTest::newRow("14 output 1 on")
            << "[oribel,14,1,1]}]" << Effect::Applied << Patches{{383, hex("01")}};
        QTest::newRow("14 output 2 off")
            << "[oribel,14,2,0]}]" << Effect::Applied << Patches{{384, hex("00")}};
        QTest::newRow("14 cut power")
            << "[oribel,14,3,1]}]" << Effect::Applied << Patches{{385, hex("01")}};
        QTest::newRow("15 listen users, blank slot")
            << "[oribel,15,0912, ,+98915]}]" << Effect::Applied
            << Patches{{160, field("0912", 15)}, {175, field(" ", 15)}, {190, field("+98915", 15)}};
        QTest::newRow("16 USSD") << "[oribel,16,at+cusd=1,\"*140#\"]}]" << Effect::Applied
                                 << Patches{};
        QTest::newRow("19 geofence alarm")
            << "[oribel,19,3]}]" << Effect::Applied << Patches{{392, hex("03")}};
        QTest::newRow("22 over-speed") << "[oribel,22,120,3]}]" << Effect::Applied
                                       << Patches{{388, hex("7800")}, {393, hex("03")}};
        QTest::newRow("22 top speed")
            << "[oribel,22,1000,0]}]" << Effect::Applied << Patches{{388, hex("e803")}};
        QTest::newRow("23 door") << "[oribel,23,2]}]" << Effect::Applied
                                 << Patches{{394, hex("02")}};
        QTest::newRow("24 switch")
            << "[oribel,24,1]}]" << Effect::Applied << Patches{{396, hex("01")}};
        QTest::newRow("25 all outputs")
            << "[oribel,25,0,1,65535]}]" << Effect::Applied << Patches{{383, hex("000101")}};
        QTest::newRow("26 trunk") << "[oribel,26,3]}]" << Effect::Applied
                                  << Patches{{395, hex("03")}};
        QTest::newRow("27 power disconnect")
            << "[oribel,27,2]}]" << Effect::Applied << Patches{{397, hex("02")}};
        QTest::newRow("28 carrying")
            << "[oribel,28,1]}]" << Effect::Applied << Patches{{398, hex("01")}};
        QTest::newRow("30 anti-theft on")
            << "[oribel,30,1]}]" << Effect::Applied << Patches{{390, hex("01")}};
        QTest::newRow("33 shock") << "[oribel,33,5,2]}]" << Effect::Applied
                                  << Patches{{391, hex("05")}, {399, hex("02")}};
        QTest::newRow("34 emergency code")
            << "[oribel,34,3,2]}]" << Effect::Applied << Patches{{545, hex("23")}};
        QTest::newRow("55 answer") << "[oribel,55]}]" << Effect::Answer55 << Patches{};
    }
    void obeys()
    {
        QFETCH(QString, frame);
        QFETCH(Effect, effect);
        QFETCH(Patches, patches);
        DeviceSettings settings = startSettings();
        DeviceStatus status = startStatus();
        QByteArray expected = settings.toPayload();
        for (auto it = patches.cbegin(); it != patches.cend(); ++it)
            expected.replace(it.key(), it.value().size(), it.value());

        const FrameInterpreter::Result result = FrameInterpreter::apply(frame, settings, status);
        QCOMPARE(result.effect, effect);
        QCOMPARE(settings.toPayload().toHex(), expected.toHex());
        QCOMPARE(result.erasesMemory, frame == QLatin1String("[oribel,2]}]"));
    }

    void restartDropsSignals_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<bool>("restarts");
        QTest::newRow("restart") << "[oribel,0]}]" << true;
        QTest::newRow("factory reset") << "[oribel,1]}]" << true;
        QTest::newRow("other frame") << "[oribel,14,3,1]}]" << false;
    }
    void restartDropsSignals()
    {
        QFETCH(QString, frame);
        QFETCH(bool, restarts);
        DeviceSettings settings = startSettings();
        DeviceStatus status = startStatus();
        FrameInterpreter::apply(frame, settings, status);
        DeviceStatus expected = startStatus();
        if (restarts)
            expected.gsmSignal = expected.gpsSignal = 0;
        QCOMPARE(status.toRecord().toHex(), expected.toRecord().toHex());
    }

    void factoryReset()
    {
        DeviceSettings settings = startSettings();
        settings.cryptoKey = QByteArray(16, 'k');
        settings.geoFencePolygon.clear();
        DeviceStatus status = startStatus();
        const auto result =
            FrameInterpreter::apply(QStringLiteral("[oribel,1]}]"), settings, status);
        QCOMPARE(result.effect, Effect::Applied);
        QCOMPARE(settings.toPayload(), DeviceSettings::factoryDefaults().toPayload());
    }

    void ussdCode()
    {
        DeviceSettings settings = startSettings();
        DeviceStatus status = startStatus();
        const auto result = FrameInterpreter::apply(
            QStringLiteral("[oribel,16,at+cusd=1,\"*555*4*3#\"]}]"), settings, status);
        QCOMPARE(result.ussdCode, QStringLiteral("*555*4*3#"));
        QVERIFY(FrameInterpreter::apply(QStringLiteral("[oribel,13,60,30]}]"), settings, status)
                    .ussdCode.isEmpty());
    }

    void geofence_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("in") << 1;
        QTest::newRow("out") << 2;
        QTest::newRow("both") << 3;
    }
    void geofence()
    {
        QFETCH(int, mode);
        DeviceSettings settings = startSettings();
        DeviceStatus status = startStatus();
        const QString frame =
            QStringLiteral("[oribel,18,%1,%2]}]").arg(mode).arg(fenceBlock(octagon));
        const auto result = FrameInterpreter::apply(frame, settings, status);
        QCOMPARE(result.effect, Effect::Applied);
        QCOMPARE(settings.geoFenceInOut, quint8(mode));
        QCOMPARE(settings.geoFencePolygon.size(), 9);
        for (int i = 0; i < 9; ++i) {
            const auto &[lat, lon] = octagon.at(i % 8);
            QCOMPARE(settings.geoFencePolygon.at(i).latitude(), lat / 1e7);
            QCOMPARE(settings.geoFencePolygon.at(i).longitude(), lon / 1e7);
        }
        // The third corner's latitude, 36.3, as the third point's double.
        QCOMPARE(settings.toPayload().mid(208 + 2 * 16, 8).toHex(), QByteArray("6666666666264240"));
    }

    void ignores_data()
    {
        QTest::addColumn<QString>("frame");
        const QString fence = fenceBlock(octagon);
        const QString sevenCorners = fenceBlock(octagon.mid(0, 7));
        QList<QPair<qint32, qint32>> farNorth = octagon;
        farNorth[3].first = 910000000;

        const QList<QPair<const char *, QString>> rows = {
            {"empty", ""},
            {"no terminator", "[oribel,14,3,1]"},
            {"half a terminator", "[oribel,14,3,1]}"},
            {"blank before code", "[oribel, 14,3,1]}]"},
            {"blank before argument", "[oribel,14, 3,1]}]"},
            {"blank after argument", "[oribel,14,3,1 ]}]"},
            {"blank after terminator", "[oribel,14,3,1]}] "},
            {"text after terminator", "[oribel,14,3,1]}]ok"},
            {"two frames", "[oribel,14,3,1]}][oribel,0]}]"},
            {"text before frame", "x[oribel,0]}]"},
            {"wrong word", "[Oribel,0]}]"},
            {"no comma after word", "[oribel]}]"},
            {"no code", "[oribel,]}]"},
            {"code with leading zero", "[oribel,014,3,1]}]"},
            {"unknown code", "[oribel,99]}]"},
            {"unknown small code", "[oribel,3]}]"},
            {"negative code", "[oribel,-14,3,1]}]"},
            {"newline", "[oribel,14,3,1]}]\n"},
            {"non-ASCII digits", "[oribel,11,۰۹۱۲,x]}]"},
            {"non-ASCII letter", "[oribel,14,3,1]}]é"},
            {"non-numeric", "[oribel,14,a,1]}]"},
            {"junk after number", "[oribel,14,3,1x]}]"},
            {"leading zero", "[oribel,14,03,1]}]"},
            {"plus sign", "[oribel,14,+3,1]}]"},
            {"decimal point", "[oribel,13,60.0,30]}]"},
            {"huge number", "[oribel,13,99999999999999999999,30]}]"},
            {"port 0", "[oribel,14,0,1]}]"},
            {"port 4", "[oribel,14,4,1]}]"},
            {"flag 2", "[oribel,14,3,2]}]"},
            {"too few arguments", "[oribel,14,3]}]"},
            {"too many arguments", "[oribel,14,3,1,1]}]"},
            {"argument to restart", "[oribel,0,1]}]"},
            {"empty argument to 55", "[oribel,55,]}]"},
            {"send rate 59", "[oribel,13,59,50]}]"},
            {"send rate 3601", "[oribel,13,3601,50]}]"},
            {"resolution 29", "[oribel,13,120,29]}]"},
            {"resolution 10001", "[oribel,13,120,10001]}]"},
            {"speed 1001", "[oribel,22,1001,0]}]"},
            {"speed -5", "[oribel,22,-5,0]}]"},
            {"speed alarm type 4", "[oribel,22,120,4]}]"},
            {"door alarm type 4", "[oribel,23,4]}]"},
            {"geofence alarm type -1", "[oribel,19,-1]}]"},
            {"carrying alarm empty", "[oribel,28,]}]"},
            {"multiAlarm 2", "[oribel,30,2]}]"},
            {"shock sensitivity 6", "[oribel,33,6,1]}]"},
            {"emergency digit 0", "[oribel,34,0,2]}]"},
            {"emergency digit 6", "[oribel,34,3,6]}]"},
            {"all outputs 65536", "[oribel,25,0,1,65536]}]"},
            {"server port 0", "[oribel,12,host,/p,0]}]"},
            {"server port 65536", "[oribel,12,host,/p,65536]}]"},
            {"server path without slash", "[oribel,12,host,p,80]}]"},
            {"server without host", "[oribel,12,,/p,80]}]"},
            {"server host too long", "[oribel,12," + QString(51, 'h') + ",/p,80]}]"},
            {"report number with letters", "[oribel,11,abc,x]}]"},
            {"empty report number", "[oribel,11,,x]}]"},
            {"report number too long", "[oribel,11,1234567890123456,x]}]"},
            {"listen slot with two blanks", "[oribel,15,1,  ,3]}]"},
            {"listen users, two only", "[oribel,15,1,2]}]"},
            {"USSD without quotes", "[oribel,16,at+cusd=1,*140#]}]"},
            {"USSD with another command", "[oribel,16,at+cusd=2,\"*140#\"]}]"},
            {"USSD with letters", "[oribel,16,at+cusd=1,\"*14a#\"]}]"},
            {"geofence without block", "[oribel,18,2,]}]"},
            {"geofence mode 0", "[oribel,18,0," + fence + "]}]"},
            {"geofence mode 4", "[oribel,18,4," + fence + "]}]"},
            {"geofence not Base64", "[oribel,18,2,@@@@" + fence.mid(4) + "]}]"},
            {"geofence without padding", "[oribel,18,2," + fence.chopped(2) + "]}]"},
            {"geofence of seven corners", "[oribel,18,2," + sevenCorners + "]}]"},
            {"geofence beyond the pole", "[oribel,18,2," + fenceBlock(farNorth) + "]}]"},
        };
        for (const auto &[name, frame] : rows)
            QTest::newRow(name) << frame;
    }
    void ignores()
    {
        QFETCH(QString, frame);
        DeviceSettings settings = startSettings();
        DeviceStatus status = startStatus();
        const FrameInterpreter::Result result = FrameInterpreter::apply(frame, settings, status);
        QCOMPARE(result.effect, Effect::Ignored);
        QVERIFY(!result.reason.isEmpty());
        QVERIFY(!result.erasesMemory);
        QCOMPARE(settings.toPayload(), startSettings().toPayload());
        QCOMPARE(status.toRecord(), startStatus().toRecord());
    }
};

QTEST_GUILESS_MAIN(TestFrameInterpreter)
#include "tst_frameinterpreter.moc"
