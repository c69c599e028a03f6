import QtQuick
import QtQuick.Controls.Material
import kova

// Fingerprint login button: a click starts the platform's fingerprint check.
ToolButton {
    id: _fingerButton

    // Asked once: the platform's answer does not change while the app runs.
    readonly property bool isBiometricSupported: _biometricAuth.isBiometricSupported()

    signal success
    signal fail

    function auth(): void {
        _biometricAuth.auth();
    }

    icon.source: "qrc:/graphics/fingerPrint.svg"
    icon.width: 80
    icon.height: 80
    // Starts white; the pulse below owns the colour from then on.
    icon.color: "white"
    onClicked: auth()

    // A slow pulse invites the touch.
    SequentialAnimation {
        loops: Animation.Infinite
        running: _fingerButton.visible

        ColorAnimation {
            target: _fingerButton
            property: "icon.color"
            to: "#40517f"
            duration: 1200
        }
        ColorAnimation {
            target: _fingerButton
            property: "icon.color"
            to: "lightblue"
            duration: 200
        }
    }

    Biometric {
        id: _biometricAuth

        onAuthSuccess: _fingerButton.success()
        onAuthError: _fingerButton.fail()
    }
}
