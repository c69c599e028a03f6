#pragma once

#include <QString>

// Whether the phone's own services (modem, notifications, location, fingerprint, dialler) are
// asked at all, and the name the app gives itself when it asks them.
namespace PhoneServices {

// False when KOVA_PHONE_SERVICES is "off": every service keeps its fixed desktop answer, so
// screenshots and tests do not depend on what the machine runs.
bool enabled();

// The desktop-entry id: the installed .desktop file's name without ".desktop", and the id the
// notification server and the location service know the app by.
QString desktopId();

} // namespace PhoneServices
