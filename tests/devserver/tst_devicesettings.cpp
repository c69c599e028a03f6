#include "DeviceSettings.h"
#include "DeviceStatus.h"

#include <QTest>

using namespace devserver;

Q_DECLARE_METATYPE(DeviceSettings)

// The expected bytes below are written out by hand from the record layouts, so a shifted or
// mis-sized field shows up as a mismatch.
class TestDeviceSettings : public QObject
{
    Q_OBJECT

private:
    static DeviceSettings distinctive()
    {
        DeviceSettings s;
        s.gsmConfiged = -2;
        s.password = QStringLiteral("pw");
        s.serverUrlAddress = QStringLiteral("host");
        s.serverUrlPath = QStringLiteral("/p");
        s.serverUrlPort = 0x1234;
        s.reportCenter1 = QStringLiteral("0912");
        s.reportCenter2 = QStringLiteral("x");
        s.sendRate = 0x0102;
        s.expireTime = 0x0A0B0C0D;
        s.activeDays = 7;
        s.disable = 8;
        s.logResolation = 0x2710;
        s.listenUsers1 = QStringLiteral("1");
        s.listenUsers2 = QStringLiteral(" ");
        s.listenUsers3 = QStringLiteral("3");
        s.geoFencePolygon = {QGeoCoordinate(36.3, 59.6), QGeoCoordinate(-12.5, 100.25)};
        s.geoFenceInOut = 3;
        s.simChargeCommand = QStringLiteral("*140#");
        s.simChargeSearchKeyword = QStringLiteral("ریال");
        s.sw1 = 11;
        s.sw2 = 12;
        s.sw3 = 13;
        s.tamper = 14;
        s.autoLock = 15;
        s.overSpeed = 0x03E8;
        s.multiAlarm = 16;
        s.shockSensitivity = 17;
        s.geoFenceAlarmType = 18;
        s.overSpeedAlarmType = 19;
        s.doorAlarmType = 20;
        s.trunkAlarmType = 21;
        s.switchAlarmType = 22;
        s.powerDisconnectAlarmType = 23;
        s.carryingAlarmType = 24;
        s.shockAlertType = 25;
        s.otaUrlAddress = QStringLiteral("ota");
        s.otaUrlPath = QStringLiteral("/o");
        s.otaUrlPort = 0xBEEF;
        s.otaApn = QStringLiteral("apn");
        s.updateAvailable = 26;
        s.appLength = 0x11223344;
        s.cryptoKey = QByteArray::fromHex("000102030405060708090a0b0c0d0e0f");
        s.mobileOperator = 2;
        s.forceUnlockNumber1 = 3;
        s.forceUnlockNumber2 = 2;
        s.stored = -1;
        return s;
    }

private slots:
    void payloadFields_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        const auto hex = [](const char *text) { return QByteArray::fromHex(text); };
        QTest::newRow("gsmConfiged") << 0 << hex("fe");
        QTest::newRow("password") << 1 << QByteArray("pw\0", 3);
        QTest::newRow("serverUrlAddress") << 16 << QByteArray("host\0", 5);
        QTest::newRow("serverUrlPath") << 66 << QByteArray("/p\0", 3);
        QTest::newRow("serverUrlPort") << 116 << hex("3412");
        QTest::newRow("reportCenter1") << 118 << QByteArray("0912\0", 5);
        QTest::newRow("reportCenter2") << 133 << QByteArray("x\0", 2);
        QTest::newRow("sendRate, reserved") << 148 << hex("02010000");
        QTest::newRow("expireTime") << 152 << hex("0d0c0b0a");
        QTest::newRow("activeDays, disable") << 156 << hex("0708");
        QTest::newRow("logResolation") << 158 << hex("1027");
        QTest::newRow("listen users")
            << 160 << hex("31") + QByteArray(14, 0) + hex("20") + QByteArray(14, 0) + hex("33");
        QTest::newRow("fence point 1") << 208 << hex("6666666666264240cdcccccccccc4d40");
        QTest::newRow("fence point 2") << 224 << hex("00000000000029c00000000000105940");
        QTest::newRow("fence closed by point 1") << 240 << hex("6666666666264240cdcccccccccc4d40");
        QTest::newRow("fence point 9") << 336 << hex("6666666666264240cdcccccccccc4d40");
        QTest::newRow("geoFenceInOut") << 352 << hex("03");
        QTest::newRow("simChargeCommand") << 353 << QByteArray("*140#\0", 6);
        QTest::newRow("simChargeSearchKeyword") << 368 << hex("d8b1db8cd8a7d98400");
        QTest::newRow("sw1 to autoLock") << 383 << hex("0b0c0d0e0f");
        QTest::newRow("overSpeed") << 388 << hex("e803");
        QTest::newRow("multiAlarm to shockAlertType, then otaUrlAddress")
            << 390 << hex("101112131415161718196f");
        QTest::newRow("otaUrlAddress") << 400 << QByteArray("ota\0", 4);
        QTest::newRow("otaUrlPath") << 450 << QByteArray("/o\0", 3);
        QTest::newRow("otaUrlPort") << 500 << hex("efbe");
        QTest::newRow("otaApn") << 502 << QByteArray("apn\0", 4);
        QTest::newRow("updateAvailable, reserved, appLength") << 522 << hex("1a0044332211");
        QTest::newRow("cryptoKey") << 528 << hex("000102030405060708090a0b0c0d0e0f");
        QTest::newRow("mobileOperator, forceUnlock, stored, reserved")
            << 544 << hex("0223ff0000000000");
    }
    void payloadFields()
    {
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        const QByteArray payload = distinctive().toPayload();
        QCOMPARE(payload.size(), 552);
        QCOMPARE(payload.mid(offset, bytes.size()).toHex(), bytes.toHex());
    }

    void decodesHandBuiltPayload()
    {
        QByteArray payload(552, '\0');
        payload[0] = char(0xFF);
        payload.replace(1, 6, "123456");
        payload.replace(148, 2, QByteArray::fromHex("2c01"));
        payload.replace(208, 16, QByteArray::fromHex("6666666666264240cdcccccccccc4d40"));
        payload[385] = 1;
        payload.replace(388, 2, QByteArray::fromHex("7800"));
        payload.replace(528, 16, QByteArray(16, char(0xAB)));
        payload[545] = 0x23;
        // A text that fills its whole field has no terminator and is read to the field's end.
        payload.replace(118, 15, "123456789012345");
        payload[133] = 'y';

        const DeviceSettings s = DeviceSettings::fromPayload(payload);
        QCOMPARE(s.gsmConfiged, qint8(-1));
        QCOMPARE(s.password, QStringLiteral("123456"));
        QCOMPARE(s.sendRate, quint16(300));
        QCOMPARE(s.sw3, quint8(1));
        QCOMPARE(s.overSpeed, quint16(120));
        QCOMPARE(s.cryptoKey, QByteArray(16, char(0xAB)));
        QCOMPARE(s.forceUnlockNumber1, quint8(3));
        QCOMPARE(s.forceUnlockNumber2, quint8(2));
        QCOMPARE(s.reportCenter1, QStringLiteral("123456789012345"));
        QCOMPARE(s.reportCenter2, QStringLiteral("y"));
        QCOMPARE(s.geoFencePolygon.size(), 9);
        QCOMPARE(s.geoFencePolygon.first(), QGeoCoordinate(36.3, 59.6));
        QCOMPARE(s.geoFencePolygon.at(1), QGeoCoordinate(0, 0));
    }

    void textTruncation_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("field"); // the 15 bytes of the password field
        QTest::newRow("fits with terminator")
            << QStringLiteral("12345678901234") << QByteArray("12345678901234\0", 15);
        QTest::newRow("fills the field exactly")
            << QStringLiteral("123456789012345") << QByteArray("123456789012345");
        QTest::newRow("one too long")
            << QStringLiteral("1234567890123456") << QByteArray("123456789012345");
        // Two-byte letters: the eighth would straddle the field's end.
        QTest::newRow("cut before a split letter")
            << QStringLiteral("ریالریال") << QByteArray::fromHex("d8b1db8cd8a7d984d8b1db8cd8a700");
        // "€" takes three bytes: 13 ASCII bytes leave room for two only.
        QTest::newRow("cut before a three-byte letter")
            << QStringLiteral("1234567890123€") << QByteArray("1234567890123\0\0", 15);
    }
    void textTruncation()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, field);
        DeviceSettings s;
        s.password = text;
        const QByteArray payload = s.toPayload();
        QCOMPARE(payload.mid(1, 15).toHex(), field.toHex());
        QCOMPARE(payload.at(16), '\0'); // the next field is untouched
        QVERIFY(text.startsWith(DeviceSettings::fromPayload(payload).password));
    }

    void emptyFenceLeavesZeros()
    {
        DeviceSettings s;
        s.geoFencePolygon.clear();
        QCOMPARE(s.toPayload().mid(208, 144), QByteArray(144, '\0'));
    }

    void roundTrip_data()
    {
        QTest::addColumn<DeviceSettings>("settings");
        QTest::newRow("factory defaults") << DeviceSettings::factoryDefaults();
        DeviceSettings full = distinctive();
        while (full.geoFencePolygon.size() < 9)
            full.geoFencePolygon.append(QGeoCoordinate(36.0 + full.geoFencePolygon.size(), 59.5));
        QTest::newRow("every field set") << full;
    }
    void roundTrip()
    {
        QFETCH(DeviceSettings, settings);
        const QByteArray payload = settings.toPayload();
        const DeviceSettings back = DeviceSettings::fromPayload(payload);
        QCOMPARE(back.toPayload(), payload);
        QCOMPARE(back.password, settings.password);
        QCOMPARE(back.simChargeSearchKeyword, settings.simChargeSearchKeyword);
        QCOMPARE(back.geoFencePolygon, settings.geoFencePolygon);
        QCOMPARE(back.cryptoKey, settings.cryptoKey);
        QCOMPARE(back.forceUnlockNumber2, settings.forceUnlockNumber2);
    }

    void factoryDefaultsAreUsable()
    {
        const DeviceSettings s = DeviceSettings::factoryDefaults();
        QCOMPARE(s.sendRate, quint16(60));
        QCOMPARE(s.logResolation, quint16(30));
        QCOMPARE(s.reportCenter1, QStringLiteral("x"));
        QCOMPARE(s.listenUsers1, QStringLiteral(" "));
        QCOMPARE(s.geoFencePolygon.size(), 9);
        QCOMPARE(s.geoFencePolygon.last(), s.geoFencePolygon.first());
        const QGeoCoordinate centre(36.30, 59.60);
        for (const QGeoCoordinate &point : s.geoFencePolygon)
            QVERIFY(centre.distanceTo(point) > 100 && centre.distanceTo(point) < 10000);
        QCOMPARE(s.serverUrlPort, quint16(5050));
        QCOMPARE(s.cryptoKey.size(), 16);
        QCOMPARE(s.toPayload().at(545), char(0x11));
    }

    void wrongPayloadSizeGivesDefaults_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("empty") << 0;
        QTest::newRow("short") << 551;
        QTest::newRow("long") << 553;
    }
    void wrongPayloadSizeGivesDefaults()
    {
        QFETCH(int, size);
        const QByteArray payload(size, char(0x7F));
        QCOMPARE(DeviceSettings::fromPayload(payload).toPayload(),
                 DeviceSettings::factoryDefaults().toPayload());
    }

    void statusRecord_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QList<int>>("fields"); // door … gpsSignal
        QTest::newRow("zeros") << QByteArray(12, '\0') << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("little-endian words") << QByteArray::fromHex("0102030405063412640014c8")
                                             << QList<int>{1, 2, 3, 4, 5, 6, 0x1234, 100, 20, 200};
        QTest::newRow("no credit reading, battery 256")
            << QByteArray::fromHex("010100010100ffff00010a03")
            << QList<int>{1, 1, 0, 1, 1, 0, 65535, 256, 10, 3};
    }
    void statusRecord()
    {
        QFETCH(QByteArray, record);
        QFETCH(QList<int>, fields);
        const DeviceStatus s = DeviceStatus::fromRecord(record);
        const QList<int> decoded = {s.door,      s.trunk,    s.carSwitch, s.powerDetect,
                                    s.charging,  s.carring,  s.simCharge, s.battryPercent,
                                    s.gsmSignal, s.gpsSignal};
        QCOMPARE(decoded, fields);
        QCOMPARE(s.toRecord().toHex(), record.toHex());
    }

    void statusRecordOfWrongSizeGivesDefaults()
    {
        const DeviceStatus s = DeviceStatus::fromRecord(QByteArray(11, char(0x55)));
        QCOMPARE(s.toRecord(), DeviceStatus().toRecord());
    }
};

QTEST_GUILESS_MAIN(TestDeviceSettings)
#include "tst_devicesettings.moc"
