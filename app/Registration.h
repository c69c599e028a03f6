#pragma once

// Makes the native classes known to the QML engine under their module names.
// Start-up and the QML test runner both call it, so tests see exactly what the app sees.
void registerKovaTypes();

class QQmlEngine;
// What an engine that runs the documents needs besides the types: network access whose
// abandoned requests let go of their connections.
void setUpEngine(QQmlEngine *engine);
