import QtQuick
import QtTest
import globals
import "qrc:/"

// The window with no server to reach, after the online run stored the owner's credentials:
// the offline login stands on the stored values alone.
TestCase {
    id: _testCase

    property var window: null

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
        findNamed("_userField").text = "358000000000001";
        findNamed("_passwordField").text = data.password;
        mouseClick(findNamed("_loginButton"));
        if (data.operation === Globals.Login_Operation) {
            tryCompare(findNamed("_mainTooltip"), "text", "نام کاربری یا کلمه عبور اشتباه است!", 5000);
            compare(_testCase.window.currentOperation, Globals.Login_Operation);
            return;
        }
        tryCompare(_testCase.window, "currentOperation", data.operation, 5000);
        compare(_testCase.window.currentDevice.simNumber, "09120000001");
        compare(findNamed("_mainStackView").depth, 2);
    }
}
