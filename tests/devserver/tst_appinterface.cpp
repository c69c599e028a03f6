#include "AppInterface.h"
#include "BodyCipher.h"
#include "DeviceSettings.h"
#include "DeviceStatus.h"
#include "NoticeChecker.h"
#include "Store.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <algorithm>
#include <memory>

using namespace devserver;

namespace {

constexpr quint64 ownerImei = 358000000000001ULL;
constexpr quint64 newImei = 358000000000002ULL;
constexpr quint64 rootOnlyImei = 358000000000003ULL;

QString digest(const QString &password)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(password.toLatin1(), QCryptographicHash::Md5).toBase64());
}

QJsonObject parse(const char *json)
{
    return QJsonDocument::fromJson(QByteArray(json)).object();
}

bool hasPersianLetter(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x0600 && c.unicode() <= 0x06FF)
            return true;
    }
    return false;
}

} // namespace

class TestAppInterface : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void refusals_data();
    void refusals();
    void wireBodies_data();
    void wireBodies();
    void wireRoundTrip();

    void appOpen_data();
    void appOpen();
    void appOpenNoticeCompiles();

    void login_data();
    void login();
    void loginDeviceRecord();

    void getStatusReportsAndClearsEvents();
    void getStatusWithoutEvents();

    void forgetPasswordResetsToDefault_data();
    void forgetPasswordResetsToDefault();

    void aliasSetAndTaken();
    void changePasswordByAlias();

    void registrationNeedsOwnerAndVehicle();
    void addDeviceConfigAppliesFrame();
    void setDeviceSimNumber();

    void createShareToken_data();
    void createShareToken();
    void shareTokenLifecycle();
    void expiredShareTokenReportedOnce();

private:
    QJsonObject send(const QJsonObject &request) { return m_interface->handleCommand(request); }
    QJsonObject loginAs(const QString &name, const QString &password);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Store> m_store;
    std::unique_ptr<AppInterface> m_interface;
    QDateTime m_now;
    qint64 m_ownerAccount = 0;
    qint64 m_newAccount = 0;
};

void TestAppInterface::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_now = QDateTime(QDate(2024, 3, 10), QTime(12, 0), QTimeZone::UTC);
    m_store = std::make_unique<Store>();
    QVERIFY2(m_store->open(m_dir->filePath(QStringLiteral("store.sqlite"))),
             qPrintable(m_store->lastError()));
    m_interface = std::make_unique<AppInterface>(*m_store, [this] { return m_now; });

    Device owned;
    owned.imei = ownerImei;
    owned.simNumber = QStringLiteral("09120000001");
    owned.registered = true;
    owned.ownerName = QStringLiteral("علی");
    owned.ownerLastname = QStringLiteral("رضایی");
    owned.ownerPhoneNumber = QStringLiteral("09151234567");
    owned.ownerMeliCode = QStringLiteral("0912345678");
    owned.vehicleCompany = QStringLiteral("ایران خودرو");
    owned.vehicleModel = QStringLiteral("سمند");
    owned.vehicleColor = QStringLiteral("سفید");
    owned.vehiclePlaque = QStringLiteral("12ب345-36");
    owned.firstUse = QDate(2023, 5, 1);
    m_store->addDevice(owned);

    Device fresh;
    fresh.imei = newImei;
    fresh.simNumber = QStringLiteral("09120000002");
    m_store->addDevice(fresh);

    Device third;
    third.imei = rootOnlyImei;
    third.simNumber = QStringLiteral("09120000003");
    third.registered = true;
    third.vehicleModel = QStringLiteral("پژو");
    m_store->addDevice(third);

    Account owner;
    owner.username = QStringLiteral("358000000000001");
    owner.passwordDigest = digest(QStringLiteral("582901"));
    m_ownerAccount = m_store->addAccount(owner);
    m_store->linkDevice(m_ownerAccount, ownerImei);

    Account newcomer;
    newcomer.username = QStringLiteral("358000000000002");
    newcomer.passwordDigest = digest(QStringLiteral("582901"));
    m_newAccount = m_store->addAccount(newcomer);
    m_store->linkDevice(m_newAccount, newImei);

    Account root;
    root.username = QStringLiteral("root");
    root.passwordDigest = digest(QStringLiteral("582901"));
    root.root = true;
    const qint64 rootAccount = m_store->addAccount(root);
    for (quint64 imei : {ownerImei, newImei, rootOnlyImei})
        m_store->linkDevice(rootAccount, imei);

    Account lonely;
    lonely.username = QStringLiteral("lonely");
    lonely.passwordDigest = digest(QStringLiteral("582901"));
    m_store->addAccount(lonely);
}

void TestAppInterface::cleanup()
{
    m_interface.reset();
    m_store.reset();
    m_dir.reset();
}

QJsonObject TestAppInterface::loginAs(const QString &name, const QString &password)
{
    return send(QJsonObject{{QStringLiteral("command"), QStringLiteral("login")},
                            {QStringLiteral("username"), name},
                            {QStringLiteral("password"), digest(password)}});
}

void TestAppInterface::refusals_data()
{
    QTest::addColumn<QJsonObject>("request");
    QTest::addColumn<QString>("errorText"); // empty: any Persian text

    const QString wrongLogin = QStringLiteral("نام کاربری یا کلمه عبور اشتباه است!");
    const QString good = digest(QStringLiteral("582901"));
    const QString other = digest(QStringLiteral("111111"));
    auto row = [](const char *name, QJsonObject request, const QString &text = QString()) {
        QTest::newRow(name) << request << text;
    };

    row("no command", parse(R"({"username":"root"})"));
    row("command not a text", parse(R"({"command":5})"));
    row("unknown command", parse(R"({"command":"reboot"})"));
    row("empty object", QJsonObject());

    row("login wrong password",
        QJsonObject{{"command", "login"}, {"username", "358000000000001"}, {"password", other}},
        wrongLogin);
    row("login unknown user",
        QJsonObject{{"command", "login"}, {"username", "nobody"}, {"password", good}}, wrongLogin);
    row("login digest not base64",
        QJsonObject{{"command", "login"}, {"username", "root"}, {"password", "582901"}},
        wrongLogin);
    row("login password missing", parse(R"({"command":"login","username":"root"})"));
    row("login password a number",
        parse(R"({"command":"login","username":"root","password":582901})"));
    row("login username an array",
        QJsonObject{{"command", "login"}, {"username", QJsonArray{"root"}}, {"password", good}});
    row("login account without devices",
        QJsonObject{{"command", "login"}, {"username", "lonely"}, {"password", good}});

    row("getStatus unknown device", parse(R"({"command":"getStatus","imei":358000000000009})"));
    row("getStatus imei missing", parse(R"({"command":"getStatus"})"));
    row("getStatus imei bool", parse(R"({"command":"getStatus","imei":true})"));
    row("getStatus imei fraction", parse(R"({"command":"getStatus","imei":358000000000001.5})"));
    row("getStatus imei negative", parse(R"({"command":"getStatus","imei":-358000000000001})"));
    row("getStatus imei letters", parse(R"({"command":"getStatus","imei":"35800000000000a"})"));
    row("getStatus imei object", parse(R"({"command":"getStatus","imei":{}})"));

    row("forgetPassword wrong sim", parse(R"({"command":"forgetPassword","imei":"358000000000001",
                  "deviceSimNumber":"09129999999","ownerMobileNumber":"09151234567"})"));
    row("forgetPassword wrong mobile",
        parse(R"({"command":"forgetPassword","imei":"358000000000001",
                  "deviceSimNumber":"09120000001","ownerMobileNumber":"09150000000"})"));
    row("forgetPassword short numbers",
        parse(R"({"command":"forgetPassword","imei":"358000000000001",
                  "deviceSimNumber":"0000001","ownerMobileNumber":"1234567"})"));
    row("forgetPassword no owner phone on record",
        parse(R"({"command":"forgetPassword","imei":"358000000000002",
                  "deviceSimNumber":"09120000002","ownerMobileNumber":""})"));
    row("forgetPassword mobile a number",
        parse(R"({"command":"forgetPassword","imei":"358000000000001",
                  "deviceSimNumber":"09120000001","ownerMobileNumber":9151234567})"));

    row("setOwnerInfo missing phone",
        parse(R"({"command":"setOwnerInfo","imei":358000000000001,"name":"a","lastName":"b",
                  "meliCode":""})"));
    row("setOwnerInfo empty name",
        parse(R"({"command":"setOwnerInfo","imei":358000000000001,"name":" ","lastName":"b",
                  "meliCode":"","phoneNumber":"09151234567"})"));
    row("setOwnerInfo phone with letters",
        parse(R"({"command":"setOwnerInfo","imei":358000000000001,"name":"a","lastName":"b",
                  "meliCode":"","phoneNumber":"0915abc4567"})"));
    row("setOwnerInfo unknown device",
        parse(R"({"command":"setOwnerInfo","imei":1,"name":"a","lastName":"b",
                  "meliCode":"","phoneNumber":"09151234567"})"));
    row("setVehicleInfo empty model",
        parse(R"({"command":"setVehicleInfo","imei":358000000000001,"company":"x","model":"",
                  "color":"","plaque":""})"));
    row("setVehicleInfo plaque a number",
        parse(R"({"command":"setVehicleInfo","imei":358000000000001,"company":"x","model":"m",
                  "color":"","plaque":12})"));
    row("addDeviceConfig not a frame",
        parse(R"({"command":"addDeviceConfig","imei":358000000000001,"configCommand":"hello"})"));
    row("addDeviceConfig frame missing",
        parse(R"({"command":"addDeviceConfig","imei":358000000000001})"));
    row("setDeviceSimNumber letters",
        parse(R"({"command":"setDeviceSimNumber","imei":358000000000001,"simNumber":"0912abc"})"));
    row("setDeviceSimNumber too short",
        parse(R"({"command":"setDeviceSimNumber","imei":358000000000001,"simNumber":"0912"})"));
    row("setDeviceSimNumber of another device",
        parse(R"({"command":"setDeviceSimNumber","imei":358000000000001,
                  "simNumber":"+989120000002"})"));

    row("setAliasUsername unknown user",
        parse(R"({"command":"setAliasUsername","aliasUsername":"ali","username":"nobody"})"));
    row("setAliasUsername with a blank",
        parse(R"({"command":"setAliasUsername","aliasUsername":"a li",
                  "username":"358000000000001"})"));
    row("setAliasUsername empty",
        parse(R"({"command":"setAliasUsername","aliasUsername":"","username":"358000000000001"})"));

    row("changePassword wrong current", QJsonObject{{"command", "changePassword"},
                                                    {"username", "358000000000001"},
                                                    {"currentHashPass", other},
                                                    {"newHashPass", other}});
    row("changePassword new digest too short", QJsonObject{{"command", "changePassword"},
                                                           {"username", "358000000000001"},
                                                           {"currentHashPass", good},
                                                           {"newHashPass", "AAAA"}});
    row("changePassword unknown user", QJsonObject{{"command", "changePassword"},
                                                   {"username", "nobody"},
                                                   {"currentHashPass", good},
                                                   {"newHashPass", other}});
    row("changePassword new digest missing", QJsonObject{{"command", "changePassword"},
                                                         {"username", "358000000000001"},
                                                         {"currentHashPass", good}});

    const char *create = R"({"command":"createShareToken","IMEI":358000000000001,
                             "authToken":"%1","password":"470385",
                             "expireTimeValue":%2,"expireTimeUnit":%3})";
    auto share = [create](const char *token, const char *value, const char *unit) {
        return QJsonDocument::fromJson(
                   QString::fromLatin1(create)
                       .arg(QLatin1String(token), QLatin1String(value), QLatin1String(unit))
                       .toLatin1())
            .object();
    };
    row("createShareToken 25 hours", share("abc", "25", "0"));
    row("createShareToken 0 hours", share("abc", "0", "0"));
    row("createShareToken 8 days", share("abc", "8", "1"));
    row("createShareToken unit 2", share("abc", "1", "2"));
    row("createShareToken value fraction", share("abc", "1.5", "0"));
    row("createShareToken value bool", share("abc", "true", "0"));
    row("createShareToken token with blank", share("a b", "1", "0"));
    row("createShareToken empty token", share("", "1", "0"));
    row("createShareToken lower-case imei key",
        parse(R"({"command":"createShareToken","imei":358000000000001,"authToken":"abc",
                  "password":"1","expireTimeValue":1,"expireTimeUnit":0})"));
    row("getShareToken unknown device", parse(R"({"command":"getShareToken","IMEI":42})"));
    row("dropShareToken imei missing", parse(R"({"command":"dropShareToken"})"));
}

void TestAppInterface::refusals()
{
    QFETCH(QJsonObject, request);
    QFETCH(QString, errorText);

    const QByteArray settingsBefore = m_store->settingsRecord(ownerImei);
    const QJsonObject reply = send(request);
    QCOMPARE(reply.value("isValid"), QJsonValue(false));
    QVERIFY(reply.value("errorText").isString());
    QVERIFY2(hasPersianLetter(reply.value("errorText").toString()),
             qPrintable(reply.value("errorText").toString()));
    if (!errorText.isEmpty())
        QCOMPARE(reply.value("errorText").toString(), errorText);

    // Nothing a refused request names has changed.
    QCOMPARE(loginAs("358000000000001", "582901").value("isValid"), QJsonValue(true));
    const std::optional<Device> owned = m_store->device(ownerImei);
    QVERIFY(owned);
    QCOMPARE(owned->simNumber, QStringLiteral("09120000001"));
    QCOMPARE(owned->ownerName, QStringLiteral("علی"));
    QCOMPARE(owned->ownerPhoneNumber, QStringLiteral("09151234567"));
    QCOMPARE(owned->vehicleModel, QStringLiteral("سمند"));
    QCOMPARE(m_store->settingsRecord(ownerImei), settingsBefore);
    QVERIFY(!m_store->shareToken(ownerImei));
    QVERIFY(!m_store->accountByLoginName("ali"));
}

void TestAppInterface::wireBodies_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one byte") << QByteArray("{");
    QTest::newRow("garbage") << QByteArray("\x01\x02\xff\xfe garbage that is not enciphered", 35);
    QTest::newRow("plain json, not enciphered") << QByteArray(R"({"command":"appOpen"})");
    QTest::newRow("enciphered text") << BodyCipher::apply("hello, server");
    QTest::newRow("enciphered array") << BodyCipher::apply(R"([{"command":"appOpen"}])");
    QTest::newRow("enciphered number") << BodyCipher::apply("42");
    QTest::newRow("enciphered truncated object") << BodyCipher::apply(R"({"command":"app)");
    QTest::newRow("enciphered invalid utf-8") << BodyCipher::apply("{\"command\":\"\xff\xfe\"}");
}

void TestAppInterface::wireBodies()
{
    QFETCH(QByteArray, body);
    const QByteArray answer = m_interface->handle(body);
    QJsonParseError error;
    const QJsonDocument reply = QJsonDocument::fromJson(BodyCipher::apply(answer), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QVERIFY(reply.isObject());
    QCOMPARE(reply.object().value("isValid"), QJsonValue(false));
    QVERIFY(hasPersianLetter(reply.object().value("errorText").toString()));
}

void TestAppInterface::wireRoundTrip()
{
    const QByteArray request = QJsonDocument(QJsonObject{{"command", "login"},
                                                         {"username", "358000000000001"},
                                                         {"password", digest("582901")}})
                                   .toJson(QJsonDocument::Compact);
    const QByteArray answer = m_interface->handle(BodyCipher::apply(request));
    QVERIFY(!answer.startsWith('{'));
    const QJsonObject reply = QJsonDocument::fromJson(BodyCipher::apply(answer)).object();
    QCOMPARE(reply.value("isValid"), QJsonValue(true));
    QCOMPARE(reply.value("devices").toArray().size(), 1);
}

void TestAppInterface::appOpen_data()
{
    QTest::addColumn<QString>("trackingUrl");
    QTest::addColumn<bool>("notice");
    QTest::newRow("no tracking page") << QString() << false;
    QTest::newRow("tracking page") << QStringLiteral("http://127.0.0.1:18080/tracking/") << false;
    QTest::newRow("with notice") << QString() << true;
}

void TestAppInterface::appOpen()
{
    QFETCH(QString, trackingUrl);
    QFETCH(bool, notice);
    m_interface->setTrackingUrl(trackingUrl);
    m_interface->setNoticeShown(notice);
    const QJsonObject reply = send(parse(R"({"command":"appOpen","appName":"KovaApp","os":"linux",
                                             "appVersion":"4.2.0","version_major":4,
                                             "version_minor":2,"version_patch":0})"));
    QCOMPARE(reply.value("isValid"), QJsonValue(true));
    QCOMPARE(hasPersianLetter(reply.value("title").toString()), notice);
    QCOMPARE(reply.contains("message"), notice);
    const QJsonObject configs = reply.value("appConfigs").toObject();
    QCOMPARE(configs.value("support_tels").toString().split(u';'),
             QStringList({"05138000000", "09150000000"}));
    QCOMPARE(configs.contains("trackingurl"), !trackingUrl.isEmpty());
    if (!trackingUrl.isEmpty())
        QCOMPARE(configs.value("trackingurl").toString(), trackingUrl);
}

void TestAppInterface::appOpenNoticeCompiles()
{
    m_interface->setNoticeShown(true);
    const QString source = send(QJsonObject{{"command", "appOpen"}}).value("message").toString();
    QVERIFY(!source.isEmpty());
    QCOMPARE(NoticeChecker::refusal(source), QString());
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData(source.toUtf8(), QUrl());
    QVERIFY2(component.isReady(), qPrintable(component.errorString()));
    std::unique_ptr<QObject> notice(component.create());
    QVERIFY(notice);
    QVERIFY(hasPersianLetter(notice->property("text").toString()));
}

void TestAppInterface::login_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("root");
    QTest::addColumn<QList<double>>("imeis");

    QTest::newRow("owner") << "358000000000001" << false << QList<double>{358000000000001.0};
    QTest::newRow("unregistered") << "358000000000002" << false << QList<double>{358000000000002.0};
    QTest::newRow("root sees all three")
        << "root" << true << QList<double>{358000000000001.0, 358000000000002.0, 358000000000003.0};
}

void TestAppInterface::login()
{
    QFETCH(QString, name);
    QFETCH(bool, root);
    QFETCH(QList<double>, imeis);

    const QJsonObject reply = loginAs(name, "582901");
    QCOMPARE(reply.value("isValid"), QJsonValue(true));
    QCOMPARE(reply.value("rootLogin"), QJsonValue(root));
    QCOMPARE(reply.value("username").toString(), name);
    QCOMPARE(reply.value("aliasUsername").toString(), QString());
    QCOMPARE(reply.value("message"), QJsonValue(QString()));
    QCOMPARE(reply.value("messageTitle"), QJsonValue(QString()));
    QList<double> got;
    for (const QJsonValue &device : reply.value("devices").toArray()) {
        QVERIFY(device.toObject().value("imei").isDouble());
        got.append(device.toObject().value("imei").toDouble());
    }
    std::sort(got.begin(), got.end());
    QCOMPARE(got, imeis);
}

void TestAppInterface::loginDeviceRecord()
{
    const QJsonObject reply = loginAs("358000000000001", "582901");
    const QJsonObject device = reply.value("devices").toArray().at(0).toObject();
    QCOMPARE(quint64(device.value("imei").toDouble()), ownerImei);
    QCOMPARE(device.value("simNumber").toString(), QStringLiteral("09120000001"));
    QCOMPARE(device.value("registered"), QJsonValue(true));
    QCOMPARE(device.value("ownerId").toInteger(), m_ownerAccount);
    QCOMPARE(device.value("ownerName").toString(), QStringLiteral("علی"));
    QCOMPARE(device.value("ownerLastname").toString(), QStringLiteral("رضایی"));
    QCOMPARE(device.value("ownerPhoneNumber").toString(), QStringLiteral("09151234567"));
    QCOMPARE(device.value("ownerMeliCode").toString(), QStringLiteral("0912345678"));
    QCOMPARE(device.value("vehicleCpmpany").toString(), QStringLiteral("ایران خودرو"));
    QCOMPARE(device.value("vehicleModel").toString(), QStringLiteral("سمند"));
    QCOMPARE(device.value("vehicleColor").toString(), QStringLiteral("سفید"));
    QCOMPARE(device.value("vehiclePlaque").toString(), QStringLiteral("12ب345-36"));
    QCOMPARE(device.value("deviceFirstUse").toString(), QStringLiteral("2023-05-01"));
    // The wire text keeps every digit of the IMEI.
    QVERIFY(QJsonDocument(device).toJson(QJsonDocument::Compact).contains("358000000000001"));
}

void TestAppInterface::getStatusReportsAndClearsEvents()
{
    DeviceStatus status;
    status.door = 0;
    status.carSwitch = 1;
    status.battryPercent = 87;
    status.simCharge = 12345;
    m_store->setStatusRecord(ownerImei, status.toRecord());
    m_store->raiseEvent(ownerImei, 1, 1710000000);
    m_store->raiseEvent(ownerImei, 8, 1710000100);
    m_store->raiseEvent(ownerImei, 256, 1710000200);

    const QJsonObject request = parse(R"({"command":"getStatus","imei":358000000000001})");
    const QJsonObject reply = send(request);
    QCOMPARE(reply.value("isValid"), QJsonValue(true));
    QCOMPARE(QByteArray::fromBase64(reply.value("status").toString().toLatin1()),
             status.toRecord());
    QCOMPARE(reply.value("events").toInteger(), 1 + 8 + 256);
    QCOMPARE(reply.value("doorTime").toInteger(), 1710000000);
    QCOMPARE(reply.value("powerDisconnectTime").toInteger(), 1710000100);
    QCOMPARE(reply.value("shockTime").toInteger(), 1710000200);
    QVERIFY(!reply.contains("trunkTime"));

    const QJsonObject again = send(request);
    QCOMPARE(again.value("isValid"), QJsonValue(true));
    QCOMPARE(again.value("events").toInteger(), 0);
    QVERIFY(!again.contains("doorTime"));
    QCOMPARE(again.value("status"), reply.value("status"));
}

void TestAppInterface::getStatusWithoutEvents()
{
    // The imei as typed text is read like the number.
    const QJsonObject reply = send(parse(R"({"command":"getStatus","imei":"358000000000002"})"));
    QCOMPARE(reply.value("isValid"), QJsonValue(true));
    QCOMPARE(QByteArray::fromBase64(reply.value("status").toString().toLatin1()).size(),
             DeviceStatus::recordSize);
    QCOMPARE(reply.value("events").toInteger(), 0);
}

void TestAppInterface::forgetPasswordResetsToDefault_data()
{
    QTest::addColumn<QString>("imei");
    QTest::addColumn<QString>("sim");
    QTest::addColumn<QString>("mobile");
    QTest::newRow("as stored") << "358000000000001"
                               << "09120000001"
                               << "09151234567";
    QTest::newRow("country prefix") << "358000000000001"
                                    << "+989120000001"
                                    << "00989151234567";
    QTest::newRow("persian digits") << "۳۵۸۰۰۰۰۰۰۰۰۰۰۰۱"
                                    << "۰۹۱۲۰۰۰۰۰۰۱"
                                    << "۰۹۱۵۱۲۳۴۵۶۷";
}

void TestAppInterface::forgetPasswordResetsToDefault()
{
    QFETCH(QString, imei);
    QFETCH(QString, sim);
    QFETCH(QString, mobile);
    m_store->setPasswordDigest(m_ownerAccount, digest("forgotten"));
    QCOMPARE(loginAs("358000000000001", "582901").value("isValid"), QJsonValue(false));

    const QJsonObject reply = send(QJsonObject{{"command", "forgetPassword"},
                                               {"imei", imei},
                                               {"deviceSimNumber", sim},
                                               {"ownerMobileNumber", mobile}});
    QCOMPARE(reply.value("isValid"), QJsonValue(true));
    QCOMPARE(loginAs("358000000000001", "582901").value("isValid"), QJsonValue(true));
    QCOMPARE(loginAs("358000000000001", "forgotten").value("isValid"), QJsonValue(false));
}

void TestAppInterface::aliasSetAndTaken()
{
    const QJsonObject set = send(parse(R"({"command":"setAliasUsername","aliasUsername":"ali",
                                           "username":"358000000000001"})"));
    QCOMPARE(set.value("isValid"), QJsonValue(true));
    QCOMPARE(set.value("errorCode").toInt(-1), 0);
    const QJsonObject byAlias = loginAs("ali", "582901");
    QCOMPARE(byAlias.value("isValid"), QJsonValue(true));
    QCOMPARE(byAlias.value("username").toString(), QStringLiteral("358000000000001"));
    QCOMPARE(byAlias.value("aliasUsername").toString(), QStringLiteral("ali"));

    for (const char *taken : {"ali", "root"}) {
        const QJsonObject reply = send(QJsonObject{{"command", "setAliasUsername"},
                                                   {"aliasUsername", taken},
                                                   {"username", "358000000000002"}});
        QCOMPARE(reply.value("isValid"), QJsonValue(false));
        QCOMPARE(reply.value("errorCode").toInt(-1), 1);
        QVERIFY(hasPersianLetter(reply.value("errorText").toString()));
    }
    QCOMPARE(m_store->account(m_newAccount)->alias, QString());
    QCOMPARE(loginAs("ali", "582901").value("username").toString(),
             QStringLiteral("358000000000001"));
}

void TestAppInterface::changePasswordByAlias()
{
    QVERIFY(m_store->setAlias(m_ownerAccount, "ali"));
    const QJsonObject reply = send(QJsonObject{{"command", "changePassword"},
                                               {"username", "ali"},
                                               {"currentHashPass", digest("582901")},
                                               {"newHashPass", digest("new-secret")}});
    QCOMPARE(reply.value("isValid"), QJsonValue(true));
    QCOMPARE(loginAs("358000000000001", "582901").value("isValid"), QJsonValue(false));
    QCOMPARE(loginAs("358000000000001", "new-secret").value("isValid"), QJsonValue(true));
    QCOMPARE(loginAs("358000000000002", "582901").value("isValid"), QJsonValue(true));
}

void TestAppInterface::registrationNeedsOwnerAndVehicle()
{
    m_now = QDateTime(QDate(2024, 4, 2), QTime(8, 30), QTimeZone::UTC);
    const QJsonObject owner = send(parse(R"({"command":"setOwnerInfo","imei":358000000000002,
        "name":"مریم","lastName":"کاظمی","meliCode":"۰۰۱۲۳","phoneNumber":"۰۹۱۵۷۶۵۴۳۲۱"})"));
    QCOMPARE(owner.value("isValid"), QJsonValue(true));
    std::optional<Device> device = m_store->device(newImei);
    QCOMPARE(device->ownerName, QStringLiteral("مریم"));
    QCOMPARE(device->ownerPhoneNumber, QStringLiteral("09157654321"));
    QCOMPARE(device->ownerMeliCode, QStringLiteral("00123"));
    QVERIFY(!device->registered);

    const QJsonObject vehicle = send(parse(R"({"command":"setVehicleInfo","imei":358000000000002,
        "company":"سایپا","model":"تیبا","color":"مشکی","plaque":"11الف111"})"));
    QCOMPARE(vehicle.value("isValid"), QJsonValue(true));
    device = m_store->device(newImei);
    QCOMPARE(device->vehicleCompany, QStringLiteral("سایپا"));
    QCOMPARE(device->vehicleModel, QStringLiteral("تیبا"));
    QCOMPARE(device->vehiclePlaque, QStringLiteral("11الف111"));
    QVERIFY(device->registered);
    QCOMPARE(device->firstUse, QDate(2024, 4, 2));

    const QJsonObject device2 =
        loginAs("358000000000002", "582901").value("devices").toArray().at(0).toObject();
    QCOMPARE(device2.value("registered"), QJsonValue(true));
}

void TestAppInterface::addDeviceConfigAppliesFrame()
{
    const QJsonObject reply = send(parse(R"({"command":"addDeviceConfig","imei":358000000000002,
                                             "configCommand":"[oribel,11,09157654321,x]}]"})"));
    QCOMPARE(reply.value("isValid"), QJsonValue(true));
    QVERIFY(m_store->configFrames(newImei).contains("[oribel,11,09157654321,x]}]"));
    const DeviceSettings settings = DeviceSettings::fromPayload(m_store->settingsRecord(newImei));
    QCOMPARE(settings.reportCenter1, QStringLiteral("09157654321"));
    QCOMPARE(settings.reportCenter2, QStringLiteral("x"));
    // Another device's record is untouched.
    QCOMPARE(DeviceSettings::fromPayload(m_store->settingsRecord(ownerImei)).reportCenter1,
             DeviceSettings::fromPayload(QByteArray()).reportCenter1);
}

void TestAppInterface::setDeviceSimNumber()
{
    const QJsonObject reply = send(parse(R"({"command":"setDeviceSimNumber","imei":358000000000002,
                                             "simNumber":" ۰۹۱۲۳۳۳۴۴۵۵ "})"));
    QCOMPARE(reply.value("isValid"), QJsonValue(true));
    QCOMPARE(reply.value("simNumber").toString(), QStringLiteral("09123334455"));
    QCOMPARE(m_store->device(newImei)->simNumber, QStringLiteral("09123334455"));

    // A device may keep its own number, written another way.
    const QJsonObject same = send(parse(R"({"command":"setDeviceSimNumber","imei":358000000000001,
                                            "simNumber":"+989120000001"})"));
    QCOMPARE(same.value("isValid"), QJsonValue(true));
    QCOMPARE(same.value("simNumber").toString(), QStringLiteral("+989120000001"));
}

void TestAppInterface::createShareToken_data()
{
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QJsonValue>("unit");
    QTest::addColumn<qint64>("seconds");
    QTest::newRow("1 hour") << QJsonValue(1) << QJsonValue(0) << qint64(3600);
    QTest::newRow("24 hours") << QJsonValue(24) << QJsonValue(0) << qint64(24 * 3600);
    QTest::newRow("1 day") << QJsonValue(1) << QJsonValue(1) << qint64(86400);
    QTest::newRow("7 days") << QJsonValue(7) << QJsonValue(1) << qint64(7 * 86400);
    QTest::newRow("3 days as text") << QJsonValue("3") << QJsonValue("1") << qint64(3 * 86400);
}

void TestAppInterface::createShareToken()
{
    QFETCH(QJsonValue, value);
    QFETCH(QJsonValue, unit);
    QFETCH(qint64, seconds);
    const QString token =
        QStringLiteral("9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08");
    const QJsonObject reply = send(QJsonObject{{"command", "createShareToken"},
                                               {"IMEI", double(ownerImei)},
                                               {"authToken", token},
                                               {"password", "470385"},
                                               {"expireTimeValue", value},
                                               {"expireTimeUnit", unit}});
    QCOMPARE(reply.value("isValid"), QJsonValue(true));
    QCOMPARE(reply.value("authToken").toString(), token);
    const qint64 expiryMs = (m_now.toSecsSinceEpoch() + seconds) * 1000;
    QCOMPARE(reply.value("expireTimestamp").toInteger(), expiryMs);
    QCOMPARE(m_store->shareToken(ownerImei)->password, QStringLiteral("470385"));
}

void TestAppInterface::shareTokenLifecycle()
{
    const QJsonObject get = parse(R"({"command":"getShareToken","IMEI":358000000000001})");
    const QJsonObject none = send(get);
    QCOMPARE(none.value("isValid"), QJsonValue(true));
    QVERIFY(!none.contains("authToken"));

    QCOMPARE(send(parse(R"({"command":"createShareToken","IMEI":358000000000001,
                            "authToken":"abc123","password":"","expireTimeValue":2,
                            "expireTimeUnit":0})"))
                 .value("isValid"),
             QJsonValue(true));
    m_now = m_now.addSecs(3600);
    const QJsonObject found = send(get);
    QCOMPARE(found.value("isValid"), QJsonValue(true));
    QCOMPARE(found.value("authToken").toString(), QStringLiteral("abc123"));
    QCOMPARE(found.value("expireTimestamp").toInteger(), (m_now.toSecsSinceEpoch() + 3600) * 1000);
    // Other devices have no link.
    QVERIFY(!send(parse(R"({"command":"getShareToken","IMEI":358000000000002})"))
                 .contains("authToken"));

    const QJsonObject dropped =
        send(parse(R"({"command":"dropShareToken","IMEI":358000000000001})"));
    QCOMPARE(dropped.value("isValid"), QJsonValue(true));
    QVERIFY(!dropped.contains("authToken"));
    const QJsonObject after = send(get);
    QCOMPARE(after.value("isValid"), QJsonValue(true));
    QVERIFY(!after.contains("authToken"));
}

void TestAppInterface::expiredShareTokenReportedOnce()
{
    QCOMPARE(send(parse(R"({"command":"createShareToken","IMEI":358000000000001,
                            "authToken":"abc123","password":"p","expireTimeValue":1,
                            "expireTimeUnit":0})"))
                 .value("isValid"),
             QJsonValue(true));
    m_now = m_now.addSecs(3600);
    const QJsonObject get = parse(R"({"command":"getShareToken","IMEI":358000000000001})");
    const QJsonObject expired = send(get);
    QCOMPARE(expired.value("isValid"), QJsonValue(false));
    QCOMPARE(expired.value("errorText").toString(),
             QStringLiteral("اعتبار لینک به پایان رسیده است."));
    QVERIFY(!expired.contains("authToken"));

    const QJsonObject next = send(get);
    QCOMPARE(next.value("isValid"), QJsonValue(true));
    QVERIFY(!next.contains("authToken"));
}

QTEST_MAIN(TestAppInterface)
#include "tst_appinterface.moc"
