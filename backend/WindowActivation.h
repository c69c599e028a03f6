#pragma once

#include <QString>

namespace WindowActivation {

// Brings the app's shown windows to the front, out of minimised but still maximised or full
// screen if they were, and asks for the focus. A Wayland compositor grants the focus only with
// an activation token, which Qt reads from XDG_ACTIVATION_TOKEN; an empty token leaves that
// variable as it is. Without a QGuiApplication there are no windows and nothing happens.
void bringForward(const QString &activationToken);

} // namespace WindowActivation
