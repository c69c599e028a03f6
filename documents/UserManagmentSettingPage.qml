import QtQuick
import QtQuick.Controls

// Account management: password, user name and the fingerprint switch.
Page {
    property bool fingerEnabled: false
    property bool isBiometricSupported: false

    signal passwordChanged
}
