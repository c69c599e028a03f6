#pragma once

#include <QString>

// Keeps a settings file that holds credential material readable by its owner only. QSettings
// saves through a temporary file that inherits the permissions of the file it replaces, so
// making (or tightening) the file before writes keeps every saved version owner-only from its
// first byte. With `create` false a missing file is left missing.
void restrictToOwner(const QString &path, bool create);
