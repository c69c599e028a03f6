import QtQuick
import QtTest
import globals
import kova.tools
import mySettings
import "qrc:/"

// The window with no server to reach, after the online run stored its last login (every seeded
// account has the password 582901): the offline login stands on the stored values alone.
TestCase {
    id: _testCase

    property var window: null

    readonly property string storedUser: _tools.fromUtf8(_tools.xcrypt(MySettings.lastUserCrypt))

    function findNamed(name: string): var {
        const found = findChild(_testCase.window, name);
        verify(found, name);
        return found;
    }

    function init(): void {
        const component = Qt.createComponent("qrc:/main.qml");
        compare(component.status, Component.Ready, component.errorString());
        _testCase.window = component.createObject(null, {
            "width": 420,
            "height": 760
        });
        tryVerify(() => _testCase.window.visible, 10000);
        waitForRendering(_testCase.window.contentItem);
    }

    function cleanup(): void {
        _testCase.window.destroy();
        _testCase.window = null;
        wait(50);
    }

    name: "OfflineLogin"

    function test_offlineLogin_data() {
        return [
            {
                "tag": "stored credentials",
                "password": "582901",
                "operation": Globals.CarControl_Operation
            },
            {
                "tag": "wrong password",
                "password": "582900",
                "operation": Globals.Login_Operation
            }
        ];
    }

    function test_offlineLogin(data) {
        findNamed("_offlineCheck").checked = true;
        findNamed("_rememberMe").checked = false;
        verify(_testCase.storedUser.length > 0, "the online run stored no login");
        findNamed("_userField").text = _testCase.storedUser;
        findNamed("_passwordField").text = data.password;
        mouseClick(findNamed("_loginButton"));
        if (data.operation === Globals.Login_Operation) {
            tryCompare(findNamed("_mainTooltip"), "text", "نام کاربری یا کلمه عبور اشتباه است!", 5000);
            compare(_testCase.window.currentOperation, Globals.Login_Operation);
            return;
        }
        tryCompare(_testCase.window, "currentOperation", data.operation, 5000);
        compare(_testCase.window.currentDevice.simNumber, MySettings.deviceSimNumber);
        compare(String(_testCase.window.currentDevice.imei), String(MySettings.imei));
        compare(findNamed("_mainStackView").depth, 2);
    }

    Tools {
        id: _tools
    }
}
