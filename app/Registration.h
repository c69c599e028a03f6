#pragma once

// Makes the native classes known to the QML engine under their module names.
// Start-up and the QML test runner both call it, so tests see exactly what the app sees.
void registerKovaTypes();
