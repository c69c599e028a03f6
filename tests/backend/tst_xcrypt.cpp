#include "BuildConfig.h"
#include "Xcrypt.h"

#include <QTest>
#include <QtEndian>

#include <openssl/evp.h>

namespace {

QByteArray hex(const char *digits)
{
    return QByteArray::fromHex(digits);
}

// One AES-128 block, encrypted independently of the CTR code under test.
QByteArray ecbBlock(const QByteArray &key, const QByteArray &block)
{
    EVP_CIPHER_CTX *ctx = EVP_CIPHER_CTX_new();
    QByteArray out(32, '\0');
    int written = 0;
    EVP_EncryptInit_ex(ctx, EVP_aes_128_ecb(), nullptr,
                       reinterpret_cast<const unsigned char *>(key.constData()), nullptr);
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    EVP_EncryptUpdate(ctx, reinterpret_cast<unsigned char *>(out.data()), &written,
                      reinterpret_cast<const unsigned char *>(block.constData()), 16);
    EVP_CIPHER_CTX_free(ctx);
    return out.left(written);
}

QByteArray halvesToBlock(quint64 high, quint64 low)
{
    QByteArray block(16, '\0');
    qToBigEndian(high, block.data());
    qToBigEndian(low, block.data() + 8);
    return block;
}

// The counter block plus n, as 128-bit big-endian arithmetic on the two halves.
QByteArray counterPlus(quint64 high, quint64 low, quint64 n)
{
    const quint64 sum = low + n;
    return halvesToBlock(sum < low ? high + 1 : high, sum);
}

QByteArray patterned(int size)
{
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i)
        data[i] = char(i * 37 + 11);
    return data;
}

const QByteArray developmentKey = hex("7c1de904a65bf238910ec7632ad48f15");

} // namespace

class TstXcrypt : public QObject
{
    Q_OBJECT

private slots:
    void nistVectors_data();
    void nistVectors();
    void counterCarriesAcrossWholeBlock_data();
    void counterCarriesAcrossWholeBlock();
    void rejectsBadKeyOrCounter_data();
    void rejectsBadKeyOrCounter();
    void fixedPairKeepsLengthAndInverts_data();
    void fixedPairKeepsLengthAndInverts();
    void fixedPairKeystreamFromCounterBlock();
    void fixedPairRestartsCounterOnEveryCall();
};

// NIST SP 800-38A F.5.1 / F.5.2 (CTR-AES128), whole and in pieces.
void TstXcrypt::nistVectors_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray plain = hex("6bc1bee22e409f96e93d7e117393172a"
                                 "ae2d8a571e03ac9c9eb76fac45af8e51"
                                 "30c81c46a35ce411e5fbc1191a0a52ef"
                                 "f69f2445df4f9b17ad2b417be66c3710");
    const QByteArray cipher = hex("874d6191b620e3261bef6864990db6ce"
                                  "9806f66b7970fdff8617187bb9fffdff"
                                  "5ae4df3edbd5d35e5b4f09020db03eab"
                                  "1e031dda2fbe03d1792170a0f3009cee");

    QTest::newRow("encrypt four blocks") << plain << cipher;
    QTest::newRow("decrypt four blocks") << cipher << plain;
    QTest::newRow("first block") << plain.left(16) << cipher.left(16);
    QTest::newRow("five bytes") << plain.left(5) << cipher.left(5);
    QTest::newRow("block and a half") << plain.left(24) << cipher.left(24);
    QTest::newRow("last block short") << plain.left(63) << cipher.left(63);
}

void TstXcrypt::nistVectors()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    QCOMPARE(Xcrypt::aes128Ctr(hex("2b7e151628aed2a6abf7158809cf4f3c"),
                               hex("f0f1f2f3f4f5f6f7f8f9fafbfcfdfeff"), input),
             expected);
}

// Counters that only count in their low 32 or 64 bits fail the middle rows.
void TstXcrypt::counterCarriesAcrossWholeBlock_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("counter");
    QTest::addColumn<QList<QByteArray>>("blocks");

    const QByteArray nistKey = hex("2b7e151628aed2a6abf7158809cf4f3c");
    QTest::newRow("carry into bit 32")
        << nistKey << hex("000000000000000000000000ffffffff")
        << QList<QByteArray>{hex("000000000000000000000000ffffffff"),
                             hex("00000000000000000000000100000000")};
    QTest::newRow("carry into bit 64, development pair")
        << developmentKey << hex("e3580b9f46c17a2dfffffffffffffffe")
        << QList<QByteArray>{hex("e3580b9f46c17a2dfffffffffffffffe"),
                             hex("e3580b9f46c17a2dffffffffffffffff"),
                             hex("e3580b9f46c17a2e0000000000000000")};
    QTest::newRow("all ones wrap to zero")
        << nistKey << hex("ffffffffffffffffffffffffffffffff")
        << QList<QByteArray>{hex("ffffffffffffffffffffffffffffffff"),
                             hex("00000000000000000000000000000000")};
}

void TstXcrypt::counterCarriesAcrossWholeBlock()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, counter);
    QFETCH(QList<QByteArray>, blocks);

    const QByteArray keystream =
        Xcrypt::aes128Ctr(key, counter, QByteArray(blocks.size() * 16, '\0'));
    QCOMPARE(keystream.size(), blocks.size() * 16);
    for (int i = 0; i < blocks.size(); ++i)
        QCOMPARE(keystream.mid(i * 16, 16).toHex(), ecbBlock(key, blocks.at(i)).toHex());
}

void TstXcrypt::rejectsBadKeyOrCounter_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("counter");
    QTest::addColumn<QByteArray>("data");

    const QByteArray block(16, 'k');
    QTest::newRow("short key") << block.left(15) << block << QByteArray("abc");
    QTest::newRow("long key") << block + 'x' << block << QByteArray("abc");
    QTest::newRow("empty counter") << block << QByteArray() << QByteArray("abc");
    QTest::newRow("empty data") << block << block << QByteArray();
}

void TstXcrypt::rejectsBadKeyOrCounter()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, counter);
    QFETCH(QByteArray, data);
    QVERIFY(Xcrypt::aes128Ctr(key, counter, data).isEmpty());
}

void TstXcrypt::fixedPairKeepsLengthAndInverts_data()
{
    QTest::addColumn<QByteArray>("data");
    for (int size : {0, 1, 15, 16, 17, 33, 48})
        QTest::addRow("%d bytes", size) << patterned(size);
    QTest::newRow("JSON text") << QByteArray(R"({"command":"login","username":"نام"})");
}

void TstXcrypt::fixedPairKeepsLengthAndInverts()
{
    QFETCH(QByteArray, data);
    const QByteArray sealed = Xcrypt::xcrypt(data);
    QCOMPARE(sealed.size(), data.size());
    if (!data.isEmpty())
        QVERIFY(sealed != data);
    QCOMPARE(Xcrypt::xcrypt(sealed), data);
}

void TstXcrypt::fixedPairKeystreamFromCounterBlock()
{
    using namespace BuildConfig;
    const QByteArray key = halvesToBlock(xcryptKeyHigh, xcryptKeyLow);
    const QByteArray keystream = Xcrypt::xcrypt(QByteArray(48, '\0'));
    QCOMPARE(keystream.size(), 48);
    for (int i = 0; i < 3; ++i) {
        const QByteArray counter = counterPlus(xcryptCounterHigh, xcryptCounterLow, quint64(i));
        QCOMPARE(keystream.mid(i * 16, 16).toHex(), ecbBlock(key, counter).toHex());
    }
}

void TstXcrypt::fixedPairRestartsCounterOnEveryCall()
{
    const QByteArray first = patterned(16) + "first tail";
    const QByteArray second = patterned(16) + "another, longer tail";
    const QByteArray a = Xcrypt::xcrypt(first);
    const QByteArray b = Xcrypt::xcrypt(second);
    QCOMPARE(a.left(16), b.left(16));
    QVERIFY(a.mid(16, 10) != b.mid(16, 10));
    QCOMPARE(Xcrypt::xcrypt(first), a);
}

QTEST_GUILESS_MAIN(TstXcrypt)
#include "tst_xcrypt.moc"
