#include "Xcrypt.h"

#include "BuildConfig.h"

#include <QtEndian>

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <limits>
#include <memory>

namespace {

constexpr qsizetype blockSize = 16;

// EVP takes int lengths; larger inputs go through in pieces, which CTR chains seamlessly.
constexpr qsizetype maxChunk = std::numeric_limits<int>::max() / blockSize * blockSize;

struct CipherContextFree
{
    void operator()(EVP_CIPHER_CTX *ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree>;

const unsigned char *bytes(const QByteArray &array)
{
    return reinterpret_cast<const unsigned char *>(array.constData());
}

// The pair lives in the binary as separate halves and is only put together for a call.
QByteArray blockFromHalves(quint64 high, quint64 low)
{
    QByteArray block(blockSize, Qt::Uninitialized);
    qToBigEndian(high, block.data());
    qToBigEndian(low, block.data() + 8);
    return block;
}

void wipe(QByteArray &secret)
{
    OPENSSL_cleanse(secret.data(), size_t(secret.size()));
}

} // namespace

namespace Xcrypt {

QByteArray aes128Ctr(const QByteArray &key, const QByteArray &counter, const QByteArray &data)
{
    if (data.isEmpty() || key.size() != blockSize || counter.size() != blockSize)
        return {};

    // OpenSSL's CTR mode counts with the full 16-byte block, carrying across all 128 bits.
    CipherContext ctx(EVP_CIPHER_CTX_new());
    if (!ctx ||
        EVP_EncryptInit_ex(ctx.get(), EVP_aes_128_ctr(), nullptr, bytes(key), bytes(counter)) != 1)
        return {};

    QByteArray out(data.size(), Qt::Uninitialized);
    auto *dst = reinterpret_cast<unsigned char *>(out.data());
    for (qsizetype done = 0; done < data.size();) {
        const int chunk = int(qMin(maxChunk, data.size() - done));
        int written = 0;
        if (EVP_EncryptUpdate(ctx.get(), dst + done, &written, bytes(data) + done, chunk) != 1 ||
            written != chunk)
            return {};
        done += chunk;
    }
    return out;
}

QByteArray xcrypt(const QByteArray &data)
{
    if (data.isEmpty())
        return {};
    QByteArray key = blockFromHalves(BuildConfig::xcryptKeyHigh, BuildConfig::xcryptKeyLow);
    QByteArray counter =
        blockFromHalves(BuildConfig::xcryptCounterHigh, BuildConfig::xcryptCounterLow);
    const QByteArray out = aes128Ctr(key, counter, data);
    wipe(key);
    wipe(counter);
    return out;
}

} // namespace Xcrypt
