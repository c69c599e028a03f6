#pragma once

// Prepares the running process as the app needs it, after the application object exists and
// before any document loads: identity, owner-only page settings, the TLS default. The QML test
// runner calls it too, so tests run in the same process state as the app.
void setUpProcess();
