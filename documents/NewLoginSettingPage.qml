import QtQuick.Controls

// First-login setup of owner, car and device; reports when the device is registered.
Page {
    signal registered
}
