#include "BodyCipher.h"

#include <QtEndian>

#include <openssl/evp.h>

#include <array>
#include <memory>

namespace devserver {

namespace {

constexpr int blockSize = 16;

// Each 16-byte value is kept as two 64-bit halves and assembled on use, so neither appears
// whole in the binary.
QByteArray fromHalves(quint64 high, quint64 low)
{
    std::array<uchar, blockSize> bytes{};
    qToBigEndian(high, bytes.data());
    qToBigEndian(low, bytes.data() + 8);
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), blockSize);
}

QByteArray bodyKey()
{
    return fromHalves(0x7c1de904a65bf238ULL, 0x910ec7632ad48f15ULL);
}

QByteArray bodyInitialCounter()
{
    return fromHalves(0xe3580b9f46c17a2dULL, 0xfffffffffffffffeULL);
}

struct CipherContextFree
{
    void operator()(EVP_CIPHER_CTX *context) const { EVP_CIPHER_CTX_free(context); }
};

} // namespace

namespace BodyCipher {

QByteArray apply(const QByteArray &data)
{
    return counterMode(bodyKey(), bodyInitialCounter(), data);
}

QByteArray counterMode(const QByteArray &key, const QByteArray &initialCounter,
                       const QByteArray &data)
{
    if (key.size() != blockSize || initialCounter.size() != blockSize)
        return {};
    if (data.isEmpty())
        return {};

    // OpenSSL's counter mode carries across all sixteen bytes, which is exactly the whole-block
    // counter the bodies use.
    std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree> context(EVP_CIPHER_CTX_new());
    if (!context)
        return {};
    const auto *keyBytes = reinterpret_cast<const uchar *>(key.constData());
    const auto *counterBytes = reinterpret_cast<const uchar *>(initialCounter.constData());
    if (EVP_EncryptInit_ex(context.get(), EVP_aes_128_ctr(), nullptr, keyBytes, counterBytes) != 1)
        return {};

    QByteArray out(data.size(), Qt::Uninitialized);
    auto *outBytes = reinterpret_cast<uchar *>(out.data());
    const auto *inBytes = reinterpret_cast<const uchar *>(data.constData());
    int written = 0;
    if (EVP_EncryptUpdate(context.get(), outBytes, &written, inBytes, int(data.size())) != 1)
        return {};
    int tail = 0;
    if (EVP_EncryptFinal_ex(context.get(), outBytes + written, &tail) != 1)
        return {};
    out.truncate(written + tail);
    return out;
}

} // namespace BodyCipher

} // namespace devserver
