#include "Store.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace devserver;

class TstStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newFileIsEmpty();
    void unwritablePathFails();
    void accountsSurviveReopen();
    void loginNameMatchesUserNameOrAlias();
    void aliasTaken_data();
    void aliasTaken();
    void passwordDigestChange();
    void nameIsStoredLiterally_data();
    void nameIsStoredLiterally();
    void devicesAndLinks();
    void deviceBySimNumber_data();
    void deviceBySimNumber();
    void recordsKeepEveryByte_data();
    void recordsKeepEveryByte();
    void eventsRaiseAndClear();
    void positionRanges_data();
    void positionRanges();
    void lastPositionAndReplacedTime();
    void manyPositionsInOneCall();
    void shareTokens();
    void configFrames();
    void smsIdsIncrease();

private:
    // Closes the store and opens the same file again, as a server restart does.
    void reopen();
    std::unique_ptr<Store> store;
    std::unique_ptr<QTemporaryDir> dir;
};

namespace {

Account login(const QString &username, const QString &digest = QStringLiteral("digest"))
{
    Account account;
    account.username = username;
    account.passwordDigest = digest;
    return account;
}

Device device(quint64 imei, const QString &sim)
{
    Device d;
    d.imei = imei;
    d.simNumber = sim;
    return d;
}

Position at(qint64 time)
{
    Position p;
    p.time = time;
    p.lat = 36.3 + time * 1e-6;
    p.lon = 59.6;
    p.alt = 1000.5;
    p.course = 90;
    p.speed = 12.25;
    p.accuracy = 4;
    return p;
}

QList<qint64> times(const QList<Position> &positions)
{
    QList<qint64> result;
    for (const Position &p : positions)
        result.append(p.time);
    return result;
}

} // namespace

void TstStore::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    store = std::make_unique<Store>();
    QVERIFY2(store->open(dir->filePath(QStringLiteral("kova.sqlite"))),
             qPrintable(store->lastError()));
}

void TstStore::cleanup()
{
    store.reset();
    dir.reset();
}

void TstStore::reopen()
{
    store.reset();
    store = std::make_unique<Store>();
    QVERIFY2(store->open(dir->filePath(QStringLiteral("kova.sqlite"))),
             qPrintable(store->lastError()));
}

void TstStore::newFileIsEmpty()
{
    QVERIFY(store->isEmpty());
    QVERIFY(store->addAccount(login(QStringLiteral("a"))) > 0);
    reopen();
    QVERIFY(!store->isEmpty());
}

void TstStore::unwritablePathFails()
{
    Store other;
    QVERIFY(!other.open(dir->filePath(QStringLiteral("missing/folder/kova.sqlite"))));
    QVERIFY(!other.lastError().isEmpty());
    QVERIFY(other.isEmpty());
    QVERIFY(!other.accountByLoginName(QStringLiteral("a")));
}

void TstStore::accountsSurviveReopen()
{
    Account root = login(QStringLiteral("root"), QStringLiteral("xMpCOKC5I4INzFCab3WEmw=="));
    root.root = true;
    const qint64 id = store->addAccount(root);
    QVERIFY(id > 0);
    QCOMPARE(store->addAccount(login(QStringLiteral("root"))), 0); // user names are unique
    QCOMPARE(store->addAccount(login(QString())), 0);
    reopen();
    const std::optional<Account> found = store->account(id);
    QVERIFY(found);
    QCOMPARE(found->username, QStringLiteral("root"));
    QCOMPARE(found->passwordDigest, QStringLiteral("xMpCOKC5I4INzFCab3WEmw=="));
    QVERIFY(found->root);
    QVERIFY(found->alias.isEmpty());
    QVERIFY(!store->account(id + 1));
}

void TstStore::loginNameMatchesUserNameOrAlias()
{
    const qint64 id = store->addAccount(login(QStringLiteral("358000000000001")));
    QVERIFY(store->setAlias(id, QStringLiteral("ali")));
    reopen();
    QCOMPARE(store->accountByLoginName(QStringLiteral("ali"))->id, id);
    QCOMPARE(store->accountByLoginName(QStringLiteral("358000000000001"))->id, id);
    QCOMPARE(store->account(id)->alias, QStringLiteral("ali"));
    QVERIFY(!store->accountByLoginName(QStringLiteral("Ali")));
    QVERIFY(!store->accountByLoginName(QString()));
}

void TstStore::aliasTaken_data()
{
    QTest::addColumn<QString>("alias");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("free name") << "sara" << true;
    QTest::newRow("another's user name") << "other" << false;
    QTest::newRow("another's alias") << "taken" << false;
    QTest::newRow("own user name") << "mine" << true;
    QTest::newRow("own alias again") << "first" << true;
    QTest::newRow("cleared") << "" << true;
}

void TstStore::aliasTaken()
{
    QFETCH(QString, alias);
    QFETCH(bool, accepted);

    const qint64 mine = store->addAccount(login(QStringLiteral("mine")));
    const qint64 other = store->addAccount(login(QStringLiteral("other")));
    QVERIFY(store->setAlias(mine, QStringLiteral("first")));
    QVERIFY(store->setAlias(other, QStringLiteral("taken")));

    QCOMPARE(store->setAlias(mine, alias), accepted);
    reopen();
    QCOMPARE(store->account(mine)->alias, accepted ? alias : QStringLiteral("first"));
    QCOMPARE(store->account(other)->alias, QStringLiteral("taken"));
    if (!alias.isEmpty())
        QCOMPARE(store->accountByLoginName(alias)->id, accepted ? mine : other);
}

void TstStore::passwordDigestChange()
{
    const qint64 id = store->addAccount(login(QStringLiteral("u"), QStringLiteral("old")));
    store->setPasswordDigest(id, QStringLiteral("new"));
    reopen();
    QCOMPARE(store->account(id)->passwordDigest, QStringLiteral("new"));
}

void TstStore::nameIsStoredLiterally_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("quote and drop") << "x'); DROP TABLE accounts; --";
    QTest::newRow("always true") << "' OR '1'='1";
    QTest::newRow("persian") << "علی رضایی";
}

void TstStore::nameIsStoredLiterally()
{
    QFETCH(QString, name);

    const qint64 plain = store->addAccount(login(QStringLiteral("plain")));
    const qint64 id = store->addAccount(login(name));
    QVERIFY(id > 0);
    QVERIFY(store->setAlias(plain, name + QStringLiteral("2")));
    reopen();
    QCOMPARE(store->accountByLoginName(name)->username, name);
    QCOMPARE(store->accountByLoginName(name + QStringLiteral("2"))->id, plain);
    QVERIFY(!store->accountByLoginName(QStringLiteral("nobody")));
    QVERIFY(store->account(plain));
}

void TstStore::devicesAndLinks()
{
    Device owned = device(358000000000001, QStringLiteral("09120000001"));
    owned.registered = true;
    owned.ownerName = QStringLiteral("علی");
    owned.vehiclePlaque = QStringLiteral("۱۲ ب ۳۴۵");
    owned.firstUse = QDate(2024, 3, 20);
    store->addDevice(owned);
    store->addDevice(device(358000000000002, QStringLiteral("09120000002")));
    const qint64 owner = store->addAccount(login(QStringLiteral("owner")));
    const qint64 root = store->addAccount(login(QStringLiteral("root")));
    store->linkDevice(owner, owned.imei);
    store->linkDevice(owner, owned.imei); // a second link changes nothing
    store->linkDevice(root, 358000000000002);
    store->linkDevice(root, owned.imei);
    reopen();

    const std::optional<Device> found = store->device(owned.imei);
    QVERIFY(found);
    QVERIFY(found->registered);
    QCOMPARE(found->ownerName, owned.ownerName);
    QCOMPARE(found->vehiclePlaque, owned.vehiclePlaque);
    QCOMPARE(found->firstUse, owned.firstUse);
    QVERIFY(!store->device(358000000000009));

    QCOMPARE(store->devicesOf(owner).size(), 1);
    QCOMPARE(store->devicesOf(root).size(), 2);
    QCOMPARE(store->devicesOf(root).first().imei, owned.imei);
    QCOMPARE(store->allDevices().size(), 2);
    QVERIFY(store->devicesOf(root + 10).isEmpty());

    Device changed = *found;
    changed.registered = false;
    changed.vehicleColor = QStringLiteral("سفید");
    store->updateDevice(changed);
    store->updateDevice(device(358000000000009, QString())); // unknown: not added
    reopen();
    QCOMPARE(store->device(owned.imei)->vehicleColor, QStringLiteral("سفید"));
    QVERIFY(!store->device(owned.imei)->registered);
    QCOMPARE(store->allDevices().size(), 2);
}

void TstStore::deviceBySimNumber_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<quint64>("imei");

    QTest::newRow("as stored") << "09120000001" << quint64(358000000000001);
    QTest::newRow("international") << "+989120000002" << quint64(358000000000002);
    QTest::newRow("without zero") << "9120000001" << quint64(358000000000001);
    QTest::newRow("persian digits") << "۰۹۱۲۰۰۰۰۰۰۲" << quint64(358000000000002);
    QTest::newRow("other number") << "09120000003" << quint64(0);
    QTest::newRow("short tail") << "0001" << quint64(0);
    QTest::newRow("empty") << "" << quint64(0);
}

void TstStore::deviceBySimNumber()
{
    QFETCH(QString, number);
    QFETCH(quint64, imei);

    store->addDevice(device(358000000000001, QStringLiteral("09120000001")));
    store->addDevice(device(358000000000002, QStringLiteral("+98 912 000 0002")));
    store->addDevice(device(358000000000004, QString()));
    QVERIFY(store->device(358000000000004)); // a device without a number is still kept
    const std::optional<Device> found = store->deviceBySimNumber(number);
    QCOMPARE(found ? found->imei : quint64(0), imei);
}

void TstStore::recordsKeepEveryByte_data()
{
    QTest::addColumn<QByteArray>("record");

    QTest::newRow("zeros") << QByteArray(552, '\0');
    QTest::newRow("all ones") << QByteArray(12, '\xFF');
    QByteArray mixed;
    for (int i = 0; i < 552; ++i)
        mixed.append(char(i % 256));
    QTest::newRow("every value") << mixed;
}

void TstStore::recordsKeepEveryByte()
{
    QFETCH(QByteArray, record);

    const quint64 imei = 358000000000001;
    QVERIFY(store->settingsRecord(imei).isEmpty());
    QVERIFY(store->statusRecord(imei).isEmpty());
    store->setSettingsRecord(imei, record);
    store->setStatusRecord(imei, QByteArray(12, '\x01'));
    reopen();
    QCOMPARE(store->settingsRecord(imei), record);
    store->setStatusRecord(imei, record);
    QCOMPARE(store->settingsRecord(imei), record); // status does not touch settings
    reopen();
    QCOMPARE(store->statusRecord(imei), record);
    QVERIFY(store->settingsRecord(imei + 1).isEmpty());
}

void TstStore::eventsRaiseAndClear()
{
    const quint64 imei = 358000000000001;
    const quint64 other = 358000000000002;
    store->setStatusRecord(imei, QByteArray(12, '\x01'));
    QCOMPARE(store->events(imei).bits, 0u);
    store->raiseEvent(imei, 1, 1000);
    store->raiseEvent(imei, 256, 1100);
    store->raiseEvent(imei, 1, 1200); // again: the latest time counts
    store->raiseEvent(other, 8, 900); // no state row yet
    store->raiseEvent(imei, 0, 1300);
    reopen();
    DeviceEvents events = store->events(imei);
    QCOMPARE(events.bits, 257u);
    QCOMPARE(events.times.size(), 2);
    QCOMPARE(events.times.value(1), 1200);
    QCOMPARE(events.times.value(256), 1100);
    QCOMPARE(store->events(other).bits, 8u);
    QCOMPARE(store->statusRecord(imei), QByteArray(12, '\x01'));

    store->clearEvents(imei);
    reopen();
    events = store->events(imei);
    QCOMPARE(events.bits, 0u);
    QVERIFY(events.times.isEmpty());
    QCOMPARE(store->events(other).times.value(8), 900);
    store->raiseEvent(imei, 2, 1400);
    QCOMPARE(store->events(imei).times.keys(), QList<quint32>{2});
}

void TstStore::positionRanges_data()
{
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("to");
    QTest::addColumn<QList<qint64>>("expected");

    QTest::newRow("inclusive both ends")
        << qint64(1010) << qint64(1030) << QList<qint64>{1010, 1020, 1030};
    QTest::newRow("between points") << qint64(1011) << qint64(1019) << QList<qint64>{};
    QTest::newRow("one instant") << qint64(1040) << qint64(1040) << QList<qint64>{1040};
    QTest::newRow("everything") << qint64(0) << qint64(5000)
                                << QList<qint64>{1000, 1010, 1020, 1030, 1040};
    QTest::newRow("reversed") << qint64(1040) << qint64(1000) << QList<qint64>{};
}

void TstStore::positionRanges()
{
    QFETCH(qint64, from);
    QFETCH(qint64, to);
    QFETCH(QList<qint64>, expected);

    // Given out of order and in two calls; read back in time order.
    store->addPositions(358000000000001, {at(1030), at(1000), at(1040)});
    store->addPositions(358000000000001, {at(1020), at(1010)});
    store->addPositions(358000000000002, {at(1015)});
    reopen();
    const QList<Position> found = store->positions(358000000000001, from, to);
    QCOMPARE(times(found), expected);
    if (!found.isEmpty()) {
        const Position &first = found.first();
        const Position expectedFirst = at(first.time);
        QCOMPARE(first.lat, expectedFirst.lat);
        QCOMPARE(first.alt, 1000.5);
        QCOMPARE(first.course, 90.0);
        QCOMPARE(first.speed, 12.25);
        QCOMPARE(first.accuracy, 4);
    }
}

void TstStore::lastPositionAndReplacedTime()
{
    const quint64 imei = 358000000000001;
    QVERIFY(!store->lastPosition(imei));
    store->addPositions(imei, {at(2000), at(1000)});
    Position moved = at(2000);
    moved.lat = 36.5;
    store->addPositions(imei, {moved});
    store->addPositions(imei, {});
    reopen();
    QCOMPARE(store->lastPosition(imei)->time, 2000);
    QCOMPARE(store->lastPosition(imei)->lat, 36.5);
    QCOMPARE(store->positions(imei, 0, 3000).size(), 2);
}

void TstStore::manyPositionsInOneCall()
{
    // A week of points every 10 s goes in as one transaction.
    QList<Position> week;
    for (qint64 t = 0; t < 7 * 86400; t += 10)
        week.append(at(1'700'000'000 + t));
    store->addPositions(358000000000001, week);
    reopen();
    const QList<Position> found = store->positions(358000000000001, 0, 2'000'000'000);
    QCOMPARE(found.size(), week.size());
    QCOMPARE(found.last().time, week.last().time);
}

void TstStore::shareTokens()
{
    const quint64 imei = 358000000000001;
    QVERIFY(!store->shareToken(imei));
    store->setShareToken(imei, ShareToken{QStringLiteral("tok1"), QStringLiteral("470385"), 100});
    store->setShareToken(imei, ShareToken{QStringLiteral("tok2"), QStringLiteral("pw"), 200});
    store->setShareToken(imei + 1, ShareToken{QStringLiteral("other"), QString(), 300});
    reopen();
    const std::optional<ShareToken> token = store->shareToken(imei);
    QVERIFY(token);
    QCOMPARE(token->token, QStringLiteral("tok2"));
    QCOMPARE(token->password, QStringLiteral("pw"));
    QCOMPARE(token->expiry, 200);
    store->dropShareToken(imei);
    reopen();
    QVERIFY(!store->shareToken(imei));
    QCOMPARE(store->shareToken(imei + 1)->token, QStringLiteral("other"));
}

void TstStore::configFrames()
{
    const quint64 imei = 358000000000001;
    store->recordConfigFrame(imei, QStringLiteral("[oribel,11,+989121234567,x]}]"),
                             QStringLiteral("server"), 10);
    store->recordConfigFrame(imei + 1, QStringLiteral("[oribel,0]}]"), QStringLiteral("sms"), 11);
    store->recordConfigFrame(imei, QStringLiteral("[oribel,12,x,x,x]}]"), QStringLiteral("sms"),
                             12);
    reopen();
    const QStringList expected{QStringLiteral("[oribel,11,+989121234567,x]}]"),
                               QStringLiteral("[oribel,12,x,x,x]}]")};
    QCOMPARE(store->configFrames(imei), expected);
    QVERIFY(store->configFrames(imei + 2).isEmpty());
}

void TstStore::smsIdsIncrease()
{
    const qint64 first =
        store->addSms(SmsMessage{0, QStringLiteral("09120000001"), QStringLiteral("09151234567"),
                                 QStringLiteral("{\"lat\":36.3}"), 50});
    reopen();
    const qint64 second = store->addSms(SmsMessage{
        0, QStringLiteral("09120000002"), QStringLiteral("0915"), QStringLiteral("b"), 60});
    QVERIFY(first > 0);
    QVERIFY(second > first);

    QList<SmsMessage> all = store->smsAfter(0);
    QCOMPARE(all.size(), 2);
    QCOMPARE(all.first().id, first);
    QCOMPARE(all.first().from, QStringLiteral("09120000001"));
    QCOMPARE(all.first().to, QStringLiteral("09151234567"));
    QCOMPARE(all.first().text, QStringLiteral("{\"lat\":36.3}"));
    QCOMPARE(all.first().time, 50);
    QCOMPARE(store->smsAfter(first).size(), 1);
    QCOMPARE(store->smsAfter(first).first().id, second);
    QVERIFY(store->smsAfter(second).isEmpty());
}

QTEST_GUILESS_MAIN(TstStore)
#include "tst_store.moc"
