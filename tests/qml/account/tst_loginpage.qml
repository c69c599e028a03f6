import QtQuick
import QtQuick.Controls
import QtCore
import QtTest
import globals
import mySettings
import kova.testing
import kova.tools
import "qrc:/"

// Stands in for the main window: the page reaches these ids from its context.
Item {
    id: _mainWindow

    readonly property string interfacePath: "/kova/appInterface.php"
    property string title: "سامانه رهگیری خودرو"
    property int currentOperation: Globals.Login_Operation
    property var loginResponse: ({})
    readonly property var devices: loginResponse.devices
    property int currentDeviceIndex: 0
    readonly property var currentDevice: devices ? (devices[currentDeviceIndex] ?? {}) : ({})
    property bool mobilePlatform: false
    property int basePixelSize: 14
    property real basePixelSizeFactor: 1

    width: 400
    height: 700

    function newLoginPage(): Item {
        return _newLoginSettingPage;
    }

    FontLoader {
        id: _font
    }

    TestHttpServer {
        id: _peer
    }

    Tools {
        id: _tools
    }

    QtObject {
        id: _server

        property string appInterfaceUrl: _peer.url + _mainWindow.interfacePath
        property var settingsAsked: []

        function getSettings(imei: var): void {
            settingsAsked = settingsAsked.concat([imei]);
        }
    }

    // Records what the page shows.
    QtObject {
        id: _mainTooltip

        property string text
        property int timeout
        property int shownCount: 0

        function show(text: string, timeout: int): void {
            _mainTooltip.timeout = timeout;
            _mainTooltip.text = text;
            shownCount += 1;
        }
    }

    QtObject {
        id: _serverMessage

        property string title
        property string qmlCode
        property int openCount: 0

        function open(): void {
            openCount += 1;
        }
    }

    QtObject {
        id: _mainStackView

        property var pushed: []

        function push(item: var): void {
            pushed = pushed.concat([item]);
        }
    }

    Item {
        id: _dashboard
    }

    Item {
        id: _newLoginSettingPage
    }

    Settings {
        id: _pageSettings
    }

    Component {
        id: _pageComponent

        LoginPage {
            anchors.fill: parent
        }
    }

    Component {
        id: _spyComponent

        SignalSpy {}
    }

    TestCase {
        id: _testCase

        function reply(object: var): void {
            _peer.setReply(_mainWindow.interfacePath, {
                "body": _tools.xcrypt(JSON.stringify(object))
            });
        }

        function sentRequest(index: int): var {
            return JSON.parse(_tools.fromUtf8(_tools.xcrypt(_peer.requests[index].body)));
        }

        function hashText(password: string): string {
            return _tools.toBase64(_tools.hashPass(password));
        }

        function storeLogin(user: string, password: string): void {
            MySettings.lastUserCrypt = _tools.xcrypt(user);
            MySettings.lastPasswordCrypt = _tools.xcrypt(_tools.hashPass(password));
            MySettings.deviceSimNumber = "09120000001";
            MySettings.imei = 358000000000001;
            MySettings.lastOwnerName = "علی";
            MySettings.lastOwnerLastname = "رضایی";
            MySettings.lastVehicleModel = "پژو";
        }

        function createPage(): LoginPage {
            return createTemporaryObject(_pageComponent, _mainWindow);
        }

        // In the narrowest window, at every text step, the row under the login button stays
        // inside the page: it takes two lines when one is too short.
        function test_optionsStayInTheWindow_data() {
            return [
                { "tag": "default text", "size": 14 },
                { "tag": "largest text", "size": Math.round(14 * 1.4) }
            ];
        }

        function test_optionsStayInTheWindow(data) {
            _mainWindow.width = 350;
            _mainWindow.basePixelSize = data.size;
            const page = createPage();
            const names = ["_rememberMe", "_offlineCheck", "_forgotButton"];
            for (const name of names) {
                const item = findChild(page, name);
                tryVerify(() => item.width > 0);
                waitForItemPolished(item.parent);
                const box = item.mapToItem(page, 0, 0, item.width, item.height);
                verify(box.x >= 0 && box.x + box.width <= page.width, name + " spans " + box.x + " to " + (box.x + box.width));
            }
            _mainWindow.width = 400;
            _mainWindow.basePixelSize = 14;
        }

        function child(page: Item, name: string): var {
            const found = findChild(page, name);
            verify(found, name);
            return found;
        }

        function typeCredentials(page: Item, user: string, password: string): void {
            page.username = user;
            child(page, "_passwordField").text = password;
        }

        function clickLogin(page: Item): void {
            const button = child(page, "_loginButton");
            verify(button.enabled);
            mouseClick(button);
        }

        function device(registered: bool): var {
            return {
                "imei": "358000000000042",
                "simNumber": "09121112233",
                "registered": registered,
                "ownerName": "مریم",
                "ownerLastname": "کریمی",
                "vehicleModel": "سمند"
            };
        }

        name: "LoginPage"
        when: _peer.listening

        function init() {
            _peer.clearRequests();
            _pageSettings.setValue("rememberMe", false);
            _pageSettings.setValue("username", "");
            _pageSettings.setValue("password", "");
            _pageSettings.setValue("fingerEnabled", false);
            storeLogin("", "");
            MySettings.lastPasswordCrypt = "";
            _mainWindow.currentOperation = Globals.Login_Operation;
            _mainWindow.loginResponse = {};
            _mainWindow.mobilePlatform = false;
            _mainStackView.pushed = [];
            _server.settingsAsked = [];
            _mainTooltip.text = "";
            _mainTooltip.shownCount = 0;
            _serverMessage.openCount = 0;
        }

        function test_onlineLogin_data() {
            return [
                {
                    "tag": "registered",
                    "registered": true,
                    "rootLogin": false,
                    "operation": Globals.CarControl_Operation,
                    "page": _dashboard
                },
                {
                    "tag": "unregistered",
                    "registered": false,
                    "rootLogin": false,
                    "operation": Globals.NewLoginSetting_Operation,
                    "page": _newLoginSettingPage
                },
                {
                    "tag": "unregistered root",
                    "registered": false,
                    "rootLogin": true,
                    "operation": Globals.CarControl_Operation,
                    "page": _dashboard
                }
            ];
        }

        function test_onlineLogin(data) {
            reply({
                "isValid": true,
                "rootLogin": data.rootLogin,
                "devices": [device(data.registered)]
            });
            const page = createPage();
            const success = createTemporaryObject(_spyComponent, _testCase, {
                "target": page,
                "signalName": "success"
            });
            typeCredentials(page, "user42", "582901");
            clickLogin(page);
            compare(page.loginState, 2);
            tryCompare(page, "loginState", 1);

            const sent = sentRequest(0);
            compare(sent.command, "login");
            compare(sent.username, "user42");
            compare(sent.password, hashText("582901"));

            compare(_mainWindow.currentOperation, data.operation);
            compare(_mainStackView.pushed, [data.page]);
            compare(_server.settingsAsked.length, 1);
            compare(String(_server.settingsAsked[0]), "358000000000042");
            compare(success.count, 1);
            compare(success.signalArguments[0][0], data.registered);

            compare(_tools.fromUtf8(_tools.xcrypt(MySettings.lastUserCrypt)), "user42");
            compare(_tools.toBase64(_tools.xcrypt(MySettings.lastPasswordCrypt)), hashText("582901"));
            compare(String(MySettings.imei), "358000000000042");
            compare(MySettings.deviceSimNumber, "09121112233");
            compare(MySettings.lastOwnerName, "مریم");
            compare(MySettings.lastOwnerLastname, "کریمی");
            compare(MySettings.lastVehicleModel, "سمند");
            // The hash is kept even without remember-me.
            compare(_tools.toBase64(_pageSettings.value("password")), hashText("582901"));
            compare(_serverMessage.openCount, 0);
        }

        function test_serverNoticeOpens() {
            reply({
                "isValid": true,
                "devices": [device(true)],
                "message": "import QtQuick; Item {}",
                "messageTitle": "خبر"
            });
            const page = createPage();
            typeCredentials(page, "user42", "582901");
            clickLogin(page);
            tryCompare(_serverMessage, "openCount", 1);
            compare(_serverMessage.title, "خبر");
            compare(_serverMessage.qmlCode, "import QtQuick; Item {}");
        }

        function test_refusedLoginShowsServerText() {
            reply({
                "isValid": false,
                "errorText": "رمز عبور اشتباه است"
            });
            const page = createPage();
            typeCredentials(page, "user42", "wrong");
            clickLogin(page);
            tryCompare(_mainTooltip, "shownCount", 1);
            compare(_mainTooltip.text, "رمز عبور اشتباه است");
            compare(_mainTooltip.timeout, 3000);
            compare(page.loginState, 0);
            compare(_mainStackView.pushed, []);
            compare(_tools.toBase64(MySettings.lastUserCrypt), "");
        }

        // Whatever a broken or hostile server answers, the page comes back to rest with a clear
        // message and stores nothing. Each reply is tried four times: after the third call the
        // engine runs the login functions compiled, where a throw would bring the process down.
        function test_malformedReplyReturnsToStart_data() {
            return [
                { "tag": "serial number abc", "body": _tools.xcrypt('{"isValid":true,"devices":[{"imei":"abc","registered":true}]}') },
                { "tag": "isValid as the text false", "body": _tools.xcrypt('{"isValid":"false","devices":[{"imei":1}]}') },
                { "tag": "devices missing", "body": _tools.xcrypt('{"isValid":true}') },
                { "tag": "devices a text", "body": _tools.xcrypt('{"isValid":true,"devices":"x"}') },
                { "tag": "errorText an object", "body": _tools.xcrypt('{"isValid":false,"errorText":{}}') },
                { "tag": "not enciphered", "body": '{"isValid":true,"devices":[{"imei":1}]}' },
                { "tag": "truncated", "body": _tools.xcrypt('{"isValid":true,"devi') },
                { "tag": "empty", "body": "" },
                { "tag": "JSON null", "body": _tools.xcrypt("null") },
                { "tag": "server error", "body": "oops", "status": 500, "text": "خطای سرور (HTTP 500)" }
            ];
        }

        function test_malformedReplyReturnsToStart(data) {
            _peer.setReply(_mainWindow.interfacePath, {
                "status": data.status ?? 200,
                "body": data.body
            });
            const page = createPage();
            typeCredentials(page, "user42", "582901");
            for (let attempt = 1; attempt <= 4; ++attempt) {
                clickLogin(page);
                tryCompare(page, "loginState", 0);
                tryCompare(_mainTooltip, "shownCount", attempt);
                compare(_mainTooltip.text, data.text ?? "پاسخ سرور نامعتبر است!");
            }
            compare(_mainWindow.currentOperation, Globals.Login_Operation);
            compare(_mainStackView.pushed, []);
            compare(_server.settingsAsked, []);
            compare(_tools.toBase64(MySettings.lastUserCrypt), "");
            compare(String(MySettings.imei), "358000000000001");
        }

        function test_transportErrorReturnsToStart() {
            _peer.setReply(_mainWindow.interfacePath, {
                "drop": true
            });
            const page = createPage();
            typeCredentials(page, "user42", "582901");
            clickLogin(page);
            tryCompare(page, "loginState", 0);
            compare(_mainTooltip.shownCount, 1);
            verify(_mainTooltip.text.length > 0);
        }

        function test_offlineLogin_data() {
            return [
                {
                    "tag": "stored credentials",
                    "stored": true,
                    "user": "user42",
                    "password": "582901",
                    "accepted": true
                },
                {
                    "tag": "wrong password",
                    "stored": true,
                    "user": "user42",
                    "password": "582902",
                    "accepted": false
                },
                {
                    "tag": "wrong user",
                    "stored": true,
                    "user": "user43",
                    "password": "582901",
                    "accepted": false
                },
                {
                    "tag": "nothing stored",
                    "stored": false,
                    "user": "user42",
                    "password": "582901",
                    "accepted": false
                }
            ];
        }

        function test_offlineLogin(data) {
            if (data.stored)
                storeLogin("user42", "582901");
            const page = createPage();
            mouseClick(child(page, "_offlineCheck"));
            verify(page.isOffline);
            typeCredentials(page, data.user, data.password);
            clickLogin(page);
            compare(_peer.requestCount, 0);
            compare(_server.settingsAsked, []);
            if (data.accepted) {
                compare(page.loginState, 1);
                compare(_mainWindow.currentOperation, Globals.CarControl_Operation);
                compare(_mainStackView.pushed, [_dashboard]);
                compare(_mainWindow.loginResponse.devices.length, 1);
                compare(_mainWindow.currentDevice.simNumber, "09120000001");
                compare(String(_mainWindow.currentDevice.imei), "358000000000001");
                compare(_mainWindow.currentDevice.ownerName, "علی");
                compare(_mainWindow.currentDevice.vehicleModel, "پژو");
                compare(_mainWindow.currentDevice.registered, undefined);
            } else {
                compare(page.loginState, 0);
                compare(_mainTooltip.text, "نام کاربری یا کلمه عبور اشتباه است!");
                compare(_mainTooltip.timeout, 3000);
                compare(_mainStackView.pushed, []);
            }
        }

        function test_rememberMeMask() {
            _pageSettings.setValue("rememberMe", true);
            _pageSettings.setValue("username", "user42");
            _pageSettings.setValue("password", _tools.hashPass("582901"));
            reply({
                "isValid": false,
                "errorText": "x"
            });
            const page = createPage();
            const field = child(page, "_passwordField");
            compare(page.username, "user42");
            compare(field.text, "**********");
            verify(!page.passChanged);

            clickLogin(page);
            tryCompare(_peer, "requestCount", 1);
            compare(sentRequest(0).password, hashText("582901"));
            tryCompare(page, "loginState", 0);

            // Typing, even the same password, hashes the field again.
            field.text = "newpass";
            verify(page.passChanged);
            clickLogin(page);
            tryCompare(_peer, "requestCount", 2);
            compare(sentRequest(1).password, hashText("newpass"));
            compare(_tools.toBase64(_pageSettings.value("password")), hashText("newpass"));
        }

        function test_uncheckingRememberMeForgetsTheHash() {
            _pageSettings.setValue("rememberMe", true);
            _pageSettings.setValue("password", _tools.hashPass("582901"));
            const page = createPage();
            compare(child(page, "_passwordField").text, "**********");
            mouseClick(child(page, "_rememberMe"));
            compare(child(page, "_passwordField").text, "");
            compare(_tools.toBase64(_pageSettings.value("password", "")), "");
        }

        function test_maskNeedsRememberMe() {
            _pageSettings.setValue("rememberMe", false);
            _pageSettings.setValue("password", _tools.hashPass("582901"));
            const page = createPage();
            compare(child(page, "_passwordField").text, "");
        }

        function test_fingerButtonVisibility_data() {
            return [
                {
                    "tag": "same user",
                    "stored": "user42",
                    "typed": "user42",
                    "enabled": true,
                    "visible": true
                },
                {
                    "tag": "other user",
                    "stored": "user42",
                    "typed": "user4",
                    "enabled": true,
                    "visible": false
                },
                {
                    "tag": "switched off",
                    "stored": "user42",
                    "typed": "user42",
                    "enabled": false,
                    "visible": false
                },
                {
                    "tag": "nothing stored",
                    "stored": "",
                    "typed": "",
                    "enabled": true,
                    "visible": false
                }
            ];
        }

        function test_fingerButtonVisibility(data) {
            storeLogin(data.stored, "582901");
            const page = createPage();
            page.fingerEnabled = data.enabled;
            page.username = data.typed;
            compare(child(page, "_fingerButton").visible, data.visible);
            verify(!page.isBiometricSupported);
        }

        function test_fingerLoginKeepsStoredCredentials() {
            storeLogin("user42", "582901");
            reply({
                "isValid": true,
                "devices": [device(true)]
            });
            const page = createPage();
            page.fingerEnabled = true;
            page.username = "user42";
            child(page, "_fingerButton").success();
            tryCompare(page, "loginState", 1);
            compare(sentRequest(0).password, hashText("582901"));
            compare(MySettings.deviceSimNumber, "09120000001");
            compare(MySettings.lastOwnerName, "علی");
        }

        function test_forgetPassword() {
            reply({
                "isValid": false,
                "errorText": "اطلاعات نادرست"
            });
            const page = createPage();
            const popup = child(page, "_forgetPopup");
            popup.open();
            tryVerify(() => popup.opened);
            popup.recover();
            tryCompare(_mainTooltip, "shownCount", 1);
            compare(sentRequest(0).command, "forgetPassword");
            compare(_mainTooltip.text, "اطلاعات نادرست");
            compare(_mainTooltip.timeout, 5000);
            verify(popup.visible);

            reply({
                "isValid": true
            });
            popup.recover();
            tryCompare(_mainTooltip, "shownCount", 2);
            compare(_mainTooltip.text, "رمز شما با موفقیت تغییر کرد");
            tryCompare(popup, "visible", false);
        }
    }
}
