#pragma once

#include <QByteArray>

// AES-128 in counter mode where the whole 16-byte counter block is one 128-bit big-endian
// number. The keystream is XORed over the data, so the same call enciphers and deciphers.
namespace Xcrypt {

// Any key and initial counter block; both must be 16 bytes, otherwise the result is empty.
// Empty data gives empty output.
QByteArray aes128Ctr(const QByteArray &key, const QByteArray &counter, const QByteArray &data);

// The cipher under the pair shared with the tracking server. Every call starts again from the
// initial counter block.
QByteArray xcrypt(const QByteArray &data);

} // namespace Xcrypt
