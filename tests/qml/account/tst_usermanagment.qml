import QtQuick
import QtTest
import mySettings
import kova.testing
import kova.tools
import "qrc:/"

// Stands in for the main window: the page reaches these ids from its context.
Item {
    id: _mainWindow

    readonly property string interfacePath: "/kova/appInterface.php"
    property var loginResponse: ({
            "username": "358000000000042",
            "aliasUsername": "maryam"
        })
    property int basePixelSize: 14
    property real basePixelSizeFactor: 1
    property int returnedToLogin: 0

    function returnToLogin(): void {
        returnedToLogin += 1;
    }

    width: 400
    height: 700

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
    }

    QtObject {
        id: _mainTooltip

        property string text

        function show(text: string, timeout: int): void {
            _mainTooltip.text = text;
        }
    }

    Component {
        id: _pageComponent

        UserManagmentSettingPage {
            anchors.fill: parent
            loginUsername: "maryam"
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

        function createPage(): var {
            return createTemporaryObject(_pageComponent, _mainWindow);
        }

        function child(parentItem: var, name: string): var {
            const found = findChild(parentItem, name);
            verify(found, name);
            return found;
        }

        function typePasswords(page: var, current: string, next: string, repeat: string): void {
            page.curentPass = current;
            page.newPass = next;
            page.newPass2 = repeat;
        }

        function storeLogin(): void {
            MySettings.lastUserCrypt = _tools.xcrypt("maryam");
            MySettings.lastPasswordCrypt = _tools.xcrypt(_tools.hashPass("582901"));
        }

        name: "UserManagmentSettingPage"
        when: _peer.listening

        function init() {
            _peer.clearRequests();
            _mainWindow.returnedToLogin = 0;
            _mainTooltip.text = "";
            storeLogin();
        }

        // The checks run in order on the plain texts; the first failing one is shown.
        function test_passwordChecks_data() {
            return [
                { "tag": "all empty", "typed": ["", "", ""], "shown": "همه فیلدها پر شود." },
                { "tag": "no repeat", "typed": ["582901", "abc123", ""], "shown": "همه فیلدها پر شود." },
                { "tag": "no current", "typed": ["", "abc123", "abc123"], "shown": "همه فیلدها پر شود." },
                { "tag": "one character differs", "typed": ["582901", "abc123", "abc124"],
                  "shown": "دو پسورد با هم مطابقت ندارد." },
                { "tag": "mismatch and same as current", "typed": ["582901", "582901", "582900"],
                  "shown": "دو پسورد با هم مطابقت ندارد." },
                { "tag": "same as current", "typed": ["582901", "582901", "582901"],
                  "shown": "پسورد جدید باید با قبل متفاوت باشد." }
            ];
        }

        function test_passwordChecks(data) {
            const page = createPage();
            typePasswords(page, data.typed[0], data.typed[1], data.typed[2]);
            mouseClick(child(page, "_changePasswordButton"));
            compare(_mainTooltip.text, data.shown);
            compare(child(page, "_changePasswordButton").state, "ready");
            wait(50);
            compare(_peer.requestCount, 0);
        }

        function test_passwordReplies_data() {
            return [
                { "tag": "accepted", "reply": { "isValid": true }, "loggedOut": true,
                  "shown": "پسورد با موفقیت تغییر کرد\nلطفا دوباره وارد شوید" },
                { "tag": "refused", "reply": { "isValid": false, "errorText": "رمز عبور جاری اشتباه است" },
                  "loggedOut": false, "shown": "رمز عبور جاری اشتباه است" },
                { "tag": "malformed", "reply": { "valid": true }, "loggedOut": false,
                  "shown": "پاسخ سرور نامعتبر است!" }
            ];
        }

        function test_passwordReplies(data) {
            const page = createPage();
            const spy = createTemporaryObject(_spyComponent, _testCase, { "target": page, "signalName": "passwordChanged" });
            reply(data.reply);
            typePasswords(page, "582901", "abc123", "abc123");
            mouseClick(child(page, "_changePasswordButton"));
            tryCompare(child(page, "_changePasswordButton"), "state", "ready");
            compare(_peer.requestCount, 1);
            compare(sentRequest(0), {
                "command": "changePassword",
                "username": "maryam",
                "currentHashPass": hashText("582901"),
                "newHashPass": hashText("abc123")
            });
            compare(_mainTooltip.text, data.shown);
            compare(spy.count, data.loggedOut ? 1 : 0);
            compare(_mainWindow.returnedToLogin, data.loggedOut ? 1 : 0);
            compare(MySettings.lastUserCrypt.byteLength === 0, data.loggedOut);
            compare(MySettings.lastPasswordCrypt.byteLength === 0, data.loggedOut);
        }

        function test_fieldsEmptiedWhenShown() {
            const page = createPage();
            typePasswords(page, "a", "b", "c");
            page.visible = false;
            page.visible = true;
            compare([page.curentPass, page.newPass, page.newPass2], ["", "", ""]);
        }

        function test_fingerprintSectionOnlyWhereSupported_data() {
            return [{ "tag": "supported", "supported": true }, { "tag": "not supported", "supported": false }];
        }

        function test_fingerprintSectionOnlyWhereSupported(data) {
            const page = createPage();
            page.isBiometricSupported = data.supported;
            compare(child(page, "_fingerCheck").visible, data.supported);
        }

        // Offline and fingerprint login follow the new name.
        function test_aliasChangeUpdatesStoredUser() {
            const page = createPage();
            reply({ "isValid": true, "errorCode": 0 });
            const field = child(page, "_accountAliasField");
            field.state = "edit";
            field.editText = "sara";
            mouseClick(child(field, "_applyButton"));
            tryCompare(field, "text", "sara");
            compare(_tools.fromUtf8(_tools.xcrypt(MySettings.lastUserCrypt)), "sara");
        }
    }
}
