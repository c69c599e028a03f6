#include "BodyCipher.h"

#include <QTest>

#include <openssl/evp.h>

using namespace devserver;

namespace {

// One AES-128 block through OpenSSL's plain block mode, to build expected keystreams.
QByteArray encryptBlock(const QByteArray &key, const QByteArray &block)
{
    EVP_CIPHER_CTX *context = EVP_CIPHER_CTX_new();
    QByteArray out(32, '\0');
    int written = 0;
    EVP_EncryptInit_ex(context, EVP_aes_128_ecb(), nullptr,
                       reinterpret_cast<const uchar *>(key.constData()), nullptr);
    EVP_CIPHER_CTX_set_padding(context, 0);
    EVP_EncryptUpdate(context, reinterpret_cast<uchar *>(out.data()), &written,
                      reinterpret_cast<const uchar *>(block.constData()), int(block.size()));
    EVP_CIPHER_CTX_free(context);
    out.truncate(written);
    return out;
}

QByteArray xorBytes(const QByteArray &a, const QByteArray &b)
{
    QByteArray out(a.size(), '\0');
    for (qsizetype i = 0; i < a.size(); ++i)
        out[i] = char(a.at(i) ^ b.at(i));
    return out;
}

const QByteArray bodyKey = QByteArray::fromHex("7c1de904a65bf238910ec7632ad48f15");

} // namespace

class TestBodyCipher : public QObject
{
    Q_OBJECT

private slots:
    void publishedVectors_data();
    void publishedVectors();
    void wrongKeyOrCounterSize_data();
    void wrongKeyOrCounterSize();
    void involution_data();
    void involution();
    void counterRestartsOnEveryBody();
    void counterCarriesAcrossTheLowHalf();
};

void TestBodyCipher::publishedVectors_data()
{
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("cipher");

    // NIST SP 800-38A, F.5.1 (CTR-AES128.Encrypt), one row per prefix so a partial last block
    // is covered too.
    const QByteArray plain = QByteArray::fromHex("6bc1bee22e409f96e93d7e117393172a"
                                                 "ae2d8a571e03ac9c9eb76fac45af8e51"
                                                 "30c81c46a35ce411e5fbc1191a0a52ef"
                                                 "f69f2445df4f9b17ad2b417be66c3710");
    const QByteArray cipher = QByteArray::fromHex("874d6191b620e3261bef6864990db6ce"
                                                  "9806f66b7970fdff8617187bb9fffdff"
                                                  "5ae4df3edbd5d35e5b4f09020db03eab"
                                                  "1e031dda2fbe03d1792170a0f3009cee");
    for (int length : {1, 15, 16, 17, 33, 64})
        QTest::addRow("%d bytes", length) << plain.left(length) << cipher.left(length);
}

void TestBodyCipher::publishedVectors()
{
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, cipher);
    const QByteArray key = QByteArray::fromHex("2b7e151628aed2a6abf7158809cf4f3c");
    const QByteArray counter = QByteArray::fromHex("f0f1f2f3f4f5f6f7f8f9fafbfcfdfeff");
    QCOMPARE(BodyCipher::counterMode(key, counter, plain).toHex(), cipher.toHex());
    QCOMPARE(BodyCipher::counterMode(key, counter, cipher).toHex(), plain.toHex());
}

void TestBodyCipher::wrongKeyOrCounterSize_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("counter");
    QTest::newRow("short key") << QByteArray(15, 'k') << QByteArray(16, 'c');
    QTest::newRow("long key") << QByteArray(17, 'k') << QByteArray(16, 'c');
    QTest::newRow("short counter") << QByteArray(16, 'k') << QByteArray(8, 'c');
    QTest::newRow("empty both") << QByteArray() << QByteArray();
}

void TestBodyCipher::wrongKeyOrCounterSize()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, counter);
    QVERIFY(BodyCipher::counterMode(key, counter, QByteArray("some body")).isEmpty());
}

void TestBodyCipher::involution_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one byte") << QByteArray("{");
    QTest::newRow("15 bytes") << QByteArray(15, 'a');
    QTest::newRow("16 bytes") << QByteArray(16, '\0');
    QTest::newRow("17 bytes") << QByteArray(17, '\xff');
    QTest::newRow("33 bytes") << QByteArray(33, 'z');
    QTest::newRow("persian json")
        << QStringLiteral("{\"errorText\":\"نام کاربری یا کلمه عبور اشتباه است!\"}").toUtf8();
}

void TestBodyCipher::involution()
{
    QFETCH(QByteArray, body);
    const QByteArray enciphered = BodyCipher::apply(body);
    QCOMPARE(enciphered.size(), body.size());
    if (body.size() >= 16)
        QVERIFY(enciphered != body);
    QCOMPARE(BodyCipher::apply(enciphered), body);
}

void TestBodyCipher::counterRestartsOnEveryBody()
{
    const QByteArray first = BodyCipher::apply(QByteArray(20, 'a') + "first");
    const QByteArray second = BodyCipher::apply(QByteArray(20, 'a') + "other text");
    QCOMPARE(first.left(20), second.left(20));
    QCOMPARE(BodyCipher::apply(QByteArray(20, 'a')), first.left(20));
}

void TestBodyCipher::counterCarriesAcrossTheLowHalf()
{
    // The initial block ends in ...fffffffffffffffe: the third block's counter carries into the
    // high half, which a counter confined to the low 64 bits would not do.
    const QByteArray keystream =
        encryptBlock(bodyKey, QByteArray::fromHex("e3580b9f46c17a2dfffffffffffffffe")) +
        encryptBlock(bodyKey, QByteArray::fromHex("e3580b9f46c17a2dffffffffffffffff")) +
        encryptBlock(bodyKey, QByteArray::fromHex("e3580b9f46c17a2e0000000000000000"));
    QCOMPARE(keystream.size(), 48);

    QByteArray body(48, '\0');
    for (int i = 0; i < body.size(); ++i)
        body[i] = char(i * 7 + 3);
    QCOMPARE(BodyCipher::apply(body).toHex(), xorBytes(body, keystream).toHex());
}

QTEST_APPLESS_MAIN(TestBodyCipher)
#include "tst_bodycipher.moc"
