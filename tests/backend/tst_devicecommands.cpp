#include "DeviceCommands.h"

#include <QGeoCoordinate>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTest>
#include <QtEndian>

#include <memory>

namespace {

QVariant coordinate(double lat, double lon)
{
    return QVariant::fromValue(QGeoCoordinate(lat, lon));
}

// The Base64 block between "[oribel,18,N," and "]}]", decoded to its signed 32-bit values.
QList<qint32> geofenceValues(const QString &frame)
{
    const qsizetype start = frame.indexOf(QLatin1Char(','), QStringLiteral("[oribel,18,").size());
    const QByteArray block = frame.mid(start + 1, frame.size() - start - 4).toLatin1();
    const QByteArray raw = QByteArray::fromBase64(block);
    QList<qint32> values;
    for (qsizetype at = 0; at + 4 <= raw.size(); at += 4)
        values.append(qFromLittleEndian<qint32>(raw.constData() + at));
    return values;
}

} // namespace

class TstDeviceCommands : public QObject
{
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void phoneNumbersRefused_data();
    void phoneNumbersRefused();
    void geofenceEightPoints();
    void geofenceScaling_data();
    void geofenceScaling();
    void geofenceSkipsInvalidElements();
    void callableFromDocuments();

private:
    DeviceCommands commands;
};

void TstDeviceCommands::frames_data()
{
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QString>("expected");

    const DeviceCommands &c = commands;
    QTest::newRow("reboot") << c.createRebootPacket() << "[oribel,0]}]";
    QTest::newRow("factory reset") << c.createResetToFactoryPacket() << "[oribel,1]}]";
    QTest::newRow("clear data") << c.createClearAllDataPacket() << "[oribel,2]}]";
    QTest::newRow("report numbers")
        << c.createReportNumberPacket("+989121234567", "x") << "[oribel,11,+989121234567,x]}]";
    QTest::newRow("report numbers, empty kept empty")
        << c.createReportNumberPacket("09121234567", "") << "[oribel,11,09121234567,]}]";
    QTest::newRow("output on") << c.createDigitalOutputPacket(3, true) << "[oribel,14,3,1]}]";
    QTest::newRow("output off") << c.createDigitalOutputPacket(3, false) << "[oribel,14,3,0]}]";
    QTest::newRow("output byte unsigned")
        << c.createDigitalOutputPacket(255, true) << "[oribel,14,255,1]}]";
    QTest::newRow("report numbers, both empty")
        << c.createReportNumberPacket("", "x") << "[oribel,11,,x]}]";
    QTest::newRow("listen, empty slots")
        << c.createListenUsersPacket("+989121234567", "", "x") << "[oribel,15,+989121234567,,x]}]";
    QTest::newRow("listen with blanks")
        << c.createListenUsersPacket("09121234567", " ", " ") << "[oribel,15,09121234567, , ]}]";
    QTest::newRow("geofence alarm") << c.createGeofenceAlarmTypePacket(2) << "[oribel,19,2]}]";
    QTest::newRow("over speed") << c.createOverSpeedPacket(120, 3) << "[oribel,22,120,3]}]";
    QTest::newRow("negative speed") << c.createOverSpeedPacket(-5, 0) << "[oribel,22,-5,0]}]";
    QTest::newRow("door alarm") << c.createDoorAlarmPacket(1) << "[oribel,23,1]}]";
    QTest::newRow("switch alarm") << c.createCarSwitchAlarmPacket(3) << "[oribel,24,3]}]";
    QTest::newRow("all pins") << c.createDigitalOutput_AllPinPacket(0, 1, 65535)
                              << "[oribel,25,0,1,65535]}]";
    QTest::newRow("trunk alarm") << c.createTrunkAlarmPacket(0) << "[oribel,26,0]}]";
    QTest::newRow("power alarm") << c.createPowerDissconnectAlarmPacket(200) << "[oribel,27,200]}]";
    QTest::newRow("geofence, no points") << c.createGeofencePacket({}, 2) << "[oribel,18,2,]}]";
    QTest::newRow("geofence, negative mode")
        << c.createGeofencePacket({}, -1) << "[oribel,18,-1,]}]";
}

void TstDeviceCommands::frames()
{
    QFETCH(QString, frame);
    QFETCH(QString, expected);
    QCOMPARE(frame, expected);
}

void TstDeviceCommands::phoneNumbersRefused_data()
{
    QTest::addColumn<QString>("number");

    QTest::newRow("second frame") << "0912]}][oribel,1";
    QTest::newRow("extra field") << "0912,1";
    QTest::newRow("newline") << "0912\n123";
    QTest::newRow("carriage return") << "0912\r";
    QTest::newRow("opening bracket") << "[0912";
    QTest::newRow("letters") << "0912abc";
    QTest::newRow("plus inside") << "0912+34";
    QTest::newRow("plus alone") << "+";
    QTest::newRow("persian digits") << QStringLiteral("۰۹۱۲");
    QTest::newRow("two blanks") << "  ";
}

// Every slot of both builders refuses the number, whatever the other slots hold.
void TstDeviceCommands::phoneNumbersRefused()
{
    QFETCH(QString, number);
    const QString good = QStringLiteral("09121234567");

    QCOMPARE(commands.createReportNumberPacket(number, good), QString());
    QCOMPARE(commands.createReportNumberPacket(good, number), QString());
    QCOMPARE(commands.createListenUsersPacket(number, good, good), QString());
    QCOMPARE(commands.createListenUsersPacket(good, number, good), QString());
    QCOMPARE(commands.createListenUsersPacket(good, good, number), QString());
}

void TstDeviceCommands::geofenceEightPoints()
{
    // Steps of 1/8 degree are exact in binary, so every scaled value is known exactly.
    QVariantList points;
    for (int i = 0; i < 8; ++i)
        points.append(coordinate(35 + i * 0.125, 51 - i * 0.125));

    const QString frame = commands.createGeofencePacket(points, 2);
    QVERIFY(frame.startsWith(QStringLiteral("[oribel,18,2,")));
    QVERIFY(frame.endsWith(QStringLiteral("]}]")));
    const QString block = frame.mid(13, frame.size() - 16);
    QCOMPARE(block.size(), 88);
    QVERIFY(block.endsWith(QStringLiteral("==")));

    QList<qint32> expected;
    for (int i = 0; i < 8; ++i)
        expected << 350000000 + i * 1250000 << 510000000 - i * 1250000;
    QCOMPARE(geofenceValues(frame), expected);
}

void TstDeviceCommands::geofenceScaling_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<qint32>("scaledLat");
    QTest::addColumn<qint32>("scaledLon");

    QTest::newRow("Tehran") << 35.6892 << 51.389 << 356892000 << 513890000;
    // 35.000004 * 1e7 is just below 350000040 in double precision: truncated, not rounded.
    QTest::newRow("truncated") << 35.000004 << 51.0 << 350000039 << 510000000;
    QTest::newRow("negative toward zero") << -33.8688 << -151.2093 << -338688000 << -1512093000;
    QTest::newRow("extremes") << 90.0 << -180.0 << 900000000 << -1800000000;
}

void TstDeviceCommands::geofenceScaling()
{
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(qint32, scaledLat);
    QFETCH(qint32, scaledLon);

    const QList<qint32> values =
        geofenceValues(commands.createGeofencePacket({coordinate(lat, lon)}, 1));
    QCOMPARE(values, (QList<qint32>{scaledLat, scaledLon}));
}

void TstDeviceCommands::geofenceSkipsInvalidElements()
{
    const QVariantList points{coordinate(10, 20),
                              QVariant(),
                              QVariant(QStringLiteral("35.7,51.4")),
                              QVariant::fromValue(QGeoCoordinate()),
                              coordinate(91, 0),
                              QVariant::fromValue(QGeoCoordinate(qQNaN(), 5)),
                              coordinate(-10, -20)};
    QCOMPARE(geofenceValues(commands.createGeofencePacket(points, 3)),
             (QList<qint32>{100000000, 200000000, -100000000, -200000000}));
}

// The documents pass JavaScript numbers and arrays of coordinate values.
void TstDeviceCommands::callableFromDocuments()
{
    QQmlEngine engine;
    engine.rootContext()->setContextProperty(QStringLiteral("commands"), &commands);
    QQmlComponent component(&engine);
    component.setData(R"(
        import QtQml
        import QtPositioning
        QtObject {
            property string output: commands.createDigitalOutputPacket(3, true)
            property string speed: commands.createOverSpeedPacket(120, 3)
            property string fence: commands.createGeofencePacket(
                [QtPositioning.coordinate(35.6892, 51.389), QtPositioning.coordinate(-1, 2)], 2)
        }
    )",
                      QUrl());
    std::unique_ptr<QObject> object(component.create());
    QVERIFY2(object, qPrintable(component.errorString()));
    QCOMPARE(object->property("output").toString(), QStringLiteral("[oribel,14,3,1]}]"));
    QCOMPARE(object->property("speed").toString(), QStringLiteral("[oribel,22,120,3]}]"));
    QCOMPARE(geofenceValues(object->property("fence").toString()),
             (QList<qint32>{356892000, 513890000, -10000000, 20000000}));
}

QTEST_GUILESS_MAIN(TstDeviceCommands)
#include "tst_devicecommands.moc"
