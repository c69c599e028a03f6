import QtQuick
import QtQuick.Controls

Page {
    id: _loginPage

    property int loginState: 0
    property bool passChanged: false
    property string username: ""
    readonly property bool isOffline: false
    property bool fingerEnabled: false
    readonly property bool isBiometricSupported: false

    signal success(bool registered)

    function clearPassword(): void {
    }

    visible: loginState !== 1
}
