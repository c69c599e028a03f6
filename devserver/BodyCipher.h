#pragma once

#include <QByteArray>

namespace devserver {

// The cipher of app-interface bodies, the server's side of it: AES-128 in counter mode with the
// whole 16-byte block as a big-endian counter, restarting from the initial block on every body.
// Enciphering and deciphering are the same operation.
namespace BodyCipher {

QByteArray apply(const QByteArray &data);

// The same mode under any 16-byte key and initial counter block; an empty result when either
// has the wrong size. Kept apart so the mode itself can be checked against published vectors.
QByteArray counterMode(const QByteArray &key, const QByteArray &initialCounter,
                       const QByteArray &data);

} // namespace BodyCipher

} // namespace devserver
