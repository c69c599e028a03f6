#include "MySettings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJSEngine>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <limits>
#include <memory>

#include <sys/stat.h>

namespace {

constexpr QFileDevice::Permissions looseBits = QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                               QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                               QFileDevice::ReadOther | QFileDevice::WriteOther |
                                               QFileDevice::ExeOther;

QByteArray everyByte()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    return bytes;
}

QMetaMethod notifySignal(const QObject &object, const char *property)
{
    const QMetaObject *meta = object.metaObject();
    return meta->property(meta->indexOfProperty(property)).notifySignal();
}

} // namespace

class TestMySettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void defaultsWithoutFile();
    void roundTrip_data();
    void roundTrip();
    void equalValueWritesNothing_data();
    void equalValueWritesNothing();
    void emptyTextClearsByteArray_data();
    void emptyTextClearsByteArray();
    void scriptAccess();
    void ownerOnlyFile_data();
    void ownerOnlyFile();

private:
    QString filePath() const { return m_configDir + QStringLiteral("/kovaapp.ini"); }
    void useConfigDir(const QString &dir);

    std::unique_ptr<QTemporaryDir> m_tempDir;
    QString m_configDir;
};

void TestMySettings::initTestCase()
{
    // A restrictive umask would hide files created readable by others.
    ::umask(022);
}

void TestMySettings::init()
{
    m_tempDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tempDir->isValid());
    useConfigDir(m_tempDir->path());
}

void TestMySettings::cleanup()
{
    qunsetenv("XDG_CONFIG_HOME");
    m_tempDir.reset();
}

void TestMySettings::useConfigDir(const QString &dir)
{
    m_configDir = dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir));
}

void TestMySettings::defaultsWithoutFile()
{
    {
        MySettings settings;
        QCOMPARE(settings.imei(), quint64(0));
        QVERIFY(settings.deviceSimNumber().isEmpty());
        QVERIFY(settings.lastUserCrypt().isEmpty());
        QVERIFY(settings.lastPasswordCrypt().isEmpty());
        QVERIFY(settings.lastOwnerName().isEmpty());
        QVERIFY(settings.lastOwnerLastname().isEmpty());
        QVERIFY(settings.lastVehicleModel().isEmpty());
        QCoreApplication::processEvents();
    }
    QVERIFY(!QFile::exists(filePath()));
}

void TestMySettings::roundTrip_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("15-digit imei") << QByteArray("imei") << QVariant(quint64(358000000000001));
    QTest::newRow("largest imei") << QByteArray("imei")
                                  << QVariant(std::numeric_limits<quint64>::max());
    QTest::newRow("sim number") << QByteArray("deviceSimNumber") << QVariant("+989121234567");
    QTest::newRow("crypt with zero and high bytes")
        << QByteArray("lastUserCrypt") << QVariant(QByteArray("\x00\xff\x80k\x00\x7f\xfe", 7));
    QTest::newRow("crypt of every byte")
        << QByteArray("lastPasswordCrypt") << QVariant(everyByte());
    QTest::newRow("persian name") << QByteArray("lastOwnerName") << QVariant("علی رضا");
    QTest::newRow("text with comma") << QByteArray("lastOwnerLastname") << QVariant("Karimi, Jr");
    QTest::newRow("text like ini syntax")
        << QByteArray("lastVehicleModel") << QVariant("@ByteArray(x) = ; \"q\" [g]\n");
}

// Two stores on one file: what the first saves from the event loop, the second reads at start.
void TestMySettings::roundTrip()
{
    QFETCH(QByteArray, property);
    QFETCH(QVariant, value);

    MySettings writer;
    QSignalSpy changed(&writer, notifySignal(writer, property));
    QVERIFY(writer.setProperty(property, value));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first(), value);
    QCOMPARE(writer.property(property), value);
    QCoreApplication::processEvents();

    MySettings reader;
    QCOMPARE(reader.property(property), value);
}

void TestMySettings::equalValueWritesNothing_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("stored");

    QTest::newRow("imei 0 on a fresh store") << QByteArray("imei") << QVariant(quint64(0)) << false;
    QTest::newRow("empty crypt on a fresh store")
        << QByteArray("lastUserCrypt") << QVariant(QByteArray()) << false;
    QTest::newRow("empty text on a fresh store")
        << QByteArray("lastOwnerName") << QVariant(QString()) << false;
    QTest::newRow("same imei") << QByteArray("imei") << QVariant(quint64(358000000000001)) << true;
    QTest::newRow("same crypt") << QByteArray("lastPasswordCrypt")
                                << QVariant(QByteArray("\x00\x01\xff", 3)) << true;
    QTest::newRow("same text") << QByteArray("deviceSimNumber") << QVariant("09121234567") << true;
}

void TestMySettings::equalValueWritesNothing()
{
    QFETCH(QByteArray, property);
    QFETCH(QVariant, value);
    QFETCH(bool, stored);

    const QDateTime past = QDateTime::currentDateTimeUtc().addDays(-2);
    if (stored) {
        {
            MySettings first;
            first.setProperty(property, value);
        }
        QFile file(filePath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(past, QFileDevice::FileModificationTime));
    }
    QByteArray contentBefore;
    if (QFile file(filePath()); file.open(QIODevice::ReadOnly))
        contentBefore = file.readAll();

    {
        MySettings settings;
        QSignalSpy changed(&settings, notifySignal(settings, property));
        QVERIFY(settings.setProperty(property, value));
        QCoreApplication::processEvents();
        QCOMPARE(changed.count(), 0);
    }

    QCOMPARE(QFile::exists(filePath()), stored);
    if (stored) {
        QFile file(filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), contentBefore);
        QCOMPARE(QFileInfo(filePath()).lastModified(QTimeZone::UTC).toSecsSinceEpoch(),
                 past.toSecsSinceEpoch());
    }
}

void TestMySettings::emptyTextClearsByteArray_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("empty");

    QTest::newRow("user, empty text") << QByteArray("lastUserCrypt") << QVariant(QString(""));
    QTest::newRow("user, empty buffer") << QByteArray("lastUserCrypt") << QVariant(QByteArray());
    QTest::newRow("password, empty text")
        << QByteArray("lastPasswordCrypt") << QVariant(QStringLiteral(""));
}

// A new password clears the remembered credentials with an empty text from the documents.
void TestMySettings::emptyTextClearsByteArray()
{
    QFETCH(QByteArray, property);
    QFETCH(QVariant, empty);

    {
        MySettings settings;
        QVERIFY(settings.setProperty(property, QByteArray("\x9c\x00\x41", 3)));
        QSignalSpy changed(&settings, notifySignal(settings, property));
        QVERIFY(settings.setProperty(property, empty));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().typeId(), QMetaType::QByteArray);
        QVERIFY(changed.first().first().toByteArray().isEmpty());
        QVERIFY(settings.property(property).toByteArray().isEmpty());
    }
    MySettings next;
    QVERIFY(next.property(property).toByteArray().isEmpty());
}

// What the script engine hands over: ArrayBuffers and texts in, an exact IMEI number out.
void TestMySettings::scriptAccess()
{
    MySettings settings;
    settings.setImei(358000000000001);
    QJSEngine::setObjectOwnership(&settings, QJSEngine::CppOwnership);
    QJSEngine engine;
    engine.globalObject().setProperty(QStringLiteral("store"), engine.newQObject(&settings));

    QCOMPARE(engine.evaluate(QStringLiteral("store.imei === 358000000000001")).toBool(), true);

    QSignalSpy userChanged(&settings, &MySettings::lastUserCryptChanged);
    QJSValue result = engine.evaluate(
        QStringLiteral("store.lastUserCrypt = new Uint8Array([0, 255, 128]).buffer"));
    QVERIFY2(!result.isError(), qPrintable(result.toString()));
    QCOMPARE(settings.lastUserCrypt(), QByteArray("\x00\xff\x80", 3));

    result = engine.evaluate(QStringLiteral("store.lastUserCrypt = ''"));
    QVERIFY2(!result.isError(), qPrintable(result.toString()));
    QVERIFY(settings.lastUserCrypt().isEmpty());
    QCOMPARE(userChanged.count(), 2);
    QVERIFY(userChanged.last().first().toByteArray().isEmpty());
}

void TestMySettings::ownerOnlyFile_data()
{
    QTest::addColumn<QString>("subdir");
    QTest::addColumn<bool>("looseFileBefore");

    QTest::newRow("new file") << QString() << false;
    QTest::newRow("config folder missing") << QStringLiteral("/a/b") << false;
    QTest::newRow("file readable by all") << QString() << true;
}

void TestMySettings::ownerOnlyFile()
{
    QFETCH(QString, subdir);
    QFETCH(bool, looseFileBefore);

    useConfigDir(m_tempDir->path() + subdir);
    if (looseFileBefore) {
        QFile file(filePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("imei=5\n");
        file.close();
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ReadGroup |
                                    QFileDevice::ReadOther));
    }

    auto settings = std::make_unique<MySettings>();
    settings->setLastUserCrypt(QByteArray("\x01\x02", 2));
    QCoreApplication::processEvents();
    QVERIFY(QFile::exists(filePath()));
    QCOMPARE(QFileInfo(filePath()).permissions() & looseBits, QFileDevice::Permissions());

    // Later saves replace the file; the replacement stays owner-only.
    settings->setLastPasswordCrypt(QByteArray("\x03", 1));
    settings->setDeviceSimNumber(QStringLiteral("09120000000"));
    settings.reset();
    const QFileDevice::Permissions permissions = QFileInfo(filePath()).permissions();
    QCOMPARE(permissions & looseBits, QFileDevice::Permissions());
    QVERIFY(permissions & QFileDevice::ReadOwner);
    QVERIFY(permissions & QFileDevice::WriteOwner);

    MySettings reader;
    QCOMPARE(reader.imei(), quint64(looseFileBefore ? 5 : 0));
    QCOMPARE(reader.lastUserCrypt(), QByteArray("\x01\x02", 2));
    QCOMPARE(reader.lastPasswordCrypt(), QByteArray("\x03", 1));
    QCOMPARE(reader.deviceSimNumber(), QStringLiteral("09120000000"));
}

QTEST_GUILESS_MAIN(TestMySettings)
#include "tst_mysettings.moc"
