#include "DataChannel.h"
#include "Store.h"

#include <QRandomGenerator>
#include <QTest>
#include <QtEndian>

using namespace devserver;

// The records are checked against bytes written out by hand from the record layouts, so a
// misreading of a layout cannot hide behind a shared encoder.
class TestDataChannel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void location_data();
    void location();
    void locationWithoutPositions();
    void trip();
    void tripWithoutPoints();
    void settings();
    void settingsOfWrongSize();
    void malformed_data();
    void malformed();
    void fuzz();

private:
    static QByteArray locationRequest(quint64 imei);
    static QByteArray tripRequest(quint64 imei, quint32 from, quint32 to);
    static QByteArray settingsRequest(quint64 imei);

    static constexpr quint64 imei = 358000000000001;
    static constexpr quint64 silentImei = 358000000000002; // known, never reported
    Store *m_store = nullptr;
};

QByteArray TestDataChannel::locationRequest(quint64 imei)
{
    QByteArray request(10, '\0');
    request[0] = 1;
    request[1] = 1;
    qToLittleEndian<quint64>(imei, request.data() + 2);
    return request;
}

QByteArray TestDataChannel::tripRequest(quint64 imei, quint32 from, quint32 to)
{
    QByteArray request(17, '\0');
    request[0] = 2;
    qToLittleEndian<quint64>(imei, request.data() + 1);
    qToLittleEndian<quint32>(from, request.data() + 9);
    qToLittleEndian<quint32>(to, request.data() + 13);
    return request;
}

QByteArray TestDataChannel::settingsRequest(quint64 imei)
{
    QByteArray request(9, '\0');
    request[0] = 4;
    qToLittleEndian<quint64>(imei, request.data() + 1);
    return request;
}

void TestDataChannel::init()
{
    m_store = new Store;
    QVERIFY(m_store->open(QStringLiteral(":memory:")));
    Device car;
    car.imei = imei;
    car.simNumber = QStringLiteral("09120000001");
    car.registered = true;
    m_store->addDevice(car);
    Device silent;
    silent.imei = silentImei;
    silent.simNumber = QStringLiteral("09120000002");
    m_store->addDevice(silent);
}

void TestDataChannel::cleanup()
{
    delete m_store;
    m_store = nullptr;
}

void TestDataChannel::location_data()
{
    QTest::addColumn<qint64>("time");
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<double>("alt");
    QTest::addColumn<double>("course");
    QTest::addColumn<double>("speed");
    QTest::addColumn<int>("accuracy");
    QTest::addColumn<QByteArray>("expected");

    // type | time | lat ×1e7 | lon ×1e7 | (alt+1000)×1000 | course×100 | speed×1e4 | acc | 1.4.2
    QTest::newRow("whole values")
        << qint64(1700000000) << 35.6 << 51.4 << 0.0 << 360.0 << 0.0 << 0
        << QByteArray::fromHex("01 00f15365 00213815 8004a31e 40420f a08c 000000 00 010402");
    QTest::newRow("rounded to nearest")
        << qint64(1700000000) << 36.30000004 << 59.60000006 << 12.3456 << 90.556 << 13.88886 << 97
        << QByteArray::fromHex("01 00f15365 c0f0a215 013d8623 7a720f 6023 891e02 61 010402");
    QTest::newRow("below every field")
        << qint64(-5) << -10.0 << -0.5 << -1500.0 << -1.0 << 2000.0 << 300
        << QByteArray::fromHex("01 00000000 00000000 00000000 000000 0000 ffffff ff 010402");
    QTest::newRow("above every field")
        << qint64(1700000000) << 500.0 << 500.0 << 20000.0 << 700.0 << 0.0 << -3
        << QByteArray::fromHex("01 00f15365 ffffffff ffffffff ffffff ffff 000000 00 010402");
}

void TestDataChannel::location()
{
    QFETCH(qint64, time);
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(double, alt);
    QFETCH(double, course);
    QFETCH(double, speed);
    QFETCH(int, accuracy);
    QFETCH(QByteArray, expected);
    QCOMPARE(expected.size(), 25);

    // An older point too: the record must carry the latest one.
    m_store->addPositions(imei, {Position{time - 100, 1, 2, 3, 4, 5, 6},
                                 Position{time, lat, lon, alt, course, speed, accuracy}});
    DataChannel channel(*m_store);
    QCOMPARE(channel.handle(locationRequest(imei)).toHex(), expected.toHex());
}

void TestDataChannel::locationWithoutPositions()
{
    DataChannel channel(*m_store);
    QCOMPARE(channel.handle(locationRequest(silentImei)), QByteArray());
}

void TestDataChannel::trip()
{
    m_store->addPositions(imei, {
                                    Position{1699990000, 36.0, 59.0, 0, 0, 0, 50},
                                    Position{1700000000, 36.3, 59.6, 450, 0, 10, 90},
                                    Position{1700000010, 36.301, 59.6, 451.5, 90, 12.5, 85},
                                    Position{1700000020, 36.302, 59.601, 449, 180, 0, 80},
                                    Position{1700000100, 36.4, 59.7, 0, 0, 0, 50},
                                });
    DataChannel channel(*m_store);
    // Both ends of the interval count.
    const QByteArray reply = channel.handle(tripRequest(imei, 1700000000, 1700000020));
    // type | count | then per point: time | lat | lon | alt | course | speed | accuracy
    const QByteArray expected =
        QByteArray::fromHex("02 03000000"
                            " 00f15365 c0f0a215 003d8623 102016 0000 a08601 5a"
                            " 0af15365 d017a315 003d8623 ec2516 2823 48e801 55"
                            " 14f15365 e03ea315 10648623 281c16 5046 000000 50");
    QCOMPARE(expected.size(), 5 + 3 * 21);
    QCOMPARE(reply.toHex(), expected.toHex());
}

void TestDataChannel::tripWithoutPoints()
{
    m_store->addPositions(imei, {Position{1700000000, 36.3, 59.6, 0, 0, 0, 90}});
    DataChannel channel(*m_store);
    QCOMPARE(channel.handle(tripRequest(imei, 1700000001, 1700086400)), QByteArray(1, 4));
    QCOMPARE(channel.handle(tripRequest(silentImei, 0, 0xFFFFFFFF)), QByteArray(1, 4));
    // An interval that ends before it starts holds nothing either.
    QCOMPARE(channel.handle(tripRequest(imei, 1700000001, 1699999999)), QByteArray(1, 4));
}

void TestDataChannel::settings()
{
    QByteArray payload(552, '\0');
    for (int i = 0; i < payload.size(); ++i)
        payload[i] = char((i * 7 + 3) & 0xFF);
    m_store->setSettingsRecord(imei, payload);
    DataChannel channel(*m_store);
    const QByteArray reply = channel.handle(settingsRequest(imei));
    QCOMPARE(reply.size(), 553);
    QCOMPARE(quint8(reply.at(0)), quint8(4));
    QCOMPARE(reply.mid(1), payload);
}

void TestDataChannel::settingsOfWrongSize()
{
    DataChannel channel(*m_store);
    QCOMPARE(channel.handle(settingsRequest(silentImei)), QByteArray()); // none stored
    m_store->setSettingsRecord(imei, QByteArray(551, 'x'));
    QCOMPARE(channel.handle(settingsRequest(imei)), QByteArray());
}

void TestDataChannel::malformed_data()
{
    QTest::addColumn<QByteArray>("request");

    const quint64 unknown = 358000000000099;
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("type byte only") << QByteArray(1, 1);
    QTest::newRow("type 1, 9 bytes") << locationRequest(imei).left(9);
    QTest::newRow("type 1, 11 bytes") << locationRequest(imei) + '\0';
    QTest::newRow("type 2, 16 bytes") << tripRequest(imei, 0, 0xFFFFFFFF).left(16);
    QTest::newRow("type 2, 18 bytes") << tripRequest(imei, 0, 0xFFFFFFFF) + '\0';
    QTest::newRow("type 4, 10 bytes") << settingsRequest(imei) + '\0';
    QTest::newRow("type 4, 8 bytes") << settingsRequest(imei).left(8);
    QByteArray typeThree = locationRequest(imei);
    typeThree[0] = 3;
    QTest::newRow("type 3") << typeThree;
    QByteArray typeZero = settingsRequest(imei);
    typeZero[0] = 0;
    QTest::newRow("type 0") << typeZero;
    QTest::newRow("type 1, unknown IMEI") << locationRequest(unknown);
    QTest::newRow("type 2, unknown IMEI") << tripRequest(unknown, 0, 0xFFFFFFFF);
    QTest::newRow("type 4, unknown IMEI") << settingsRequest(unknown);
}

void TestDataChannel::malformed()
{
    QFETCH(QByteArray, request);
    m_store->addPositions(imei, {Position{1700000000, 36.3, 59.6, 0, 0, 0, 90}});
    m_store->setSettingsRecord(imei, QByteArray(552, '\0'));
    DataChannel channel(*m_store);
    QCOMPARE(channel.handle(request), QByteArray());
}

void TestDataChannel::fuzz()
{
    m_store->addPositions(imei, {Position{1700000000, 36.3, 59.6, 0, 0, 0, 90}});
    m_store->setSettingsRecord(imei, QByteArray(552, '\0'));
    DataChannel channel(*m_store);
    QRandomGenerator random(2024);
    const quint8 types[] = {0, 1, 2, 3, 4, 255};
    for (int i = 0; i < 1000; ++i) {
        QByteArray request(random.bounded(0, 25), '\0');
        for (char &byte : request)
            byte = char(random.bounded(256));
        if (!request.isEmpty())
            request[0] = char(types[random.bounded(6)]);
        // Half the long enough bodies name the known car, to reach the encoders too.
        if (request.size() >= 10 && random.bounded(2) == 0)
            qToLittleEndian<quint64>(imei, request.data() + (quint8(request[0]) == 1 ? 2 : 1));

        const QByteArray reply = channel.handle(request);
        if (reply.isEmpty() || reply == QByteArray(1, 4))
            continue;
        const quint8 type = quint8(reply.at(0));
        QCOMPARE(type, quint8(request.at(0)));
        if (type == 1)
            QCOMPARE(reply.size(), 25);
        else if (type == 4)
            QCOMPARE(reply.size(), 553);
        else
            QCOMPARE(reply.size(), 5 + 21 * qFromLittleEndian<quint32>(reply.constData() + 1));
    }
}

QTEST_GUILESS_MAIN(TestDataChannel)
#include "tst_datachannel.moc"
