import QtQuick
import QtTest
import globals
import kova.testing
import kova.tools
import "qrc:/"

// Stands in for the main window: the page reaches these ids from its context.
Item {
    id: _mainWindow

    readonly property string interfacePath: "/kova/appInterface.php"
    property var loginResponse: ({})
    readonly property var devices: loginResponse.devices
    readonly property var currentDevice: devices ? (devices[0] ?? {}) : ({})
    property int basePixelSize: 14
    property real basePixelSizeFactor: 1
    property int returnedToLogin: 0

    function returnToLogin(): void {
        returnedToLogin += 1;
    }

    width: 400
    // Tall enough for the whole form: clicks land only on what the window shows.
    height: 1400

    FontLoader {
        id: _font
    }

    TestHttpServer {
        id: _peer
    }

    Tools {
        id: _tools
    }

    DeviceCommands {
        id: _deviceCommands
    }

    QtObject {
        id: _server

        property string appInterfaceUrl: _peer.url + _mainWindow.interfacePath
    }

    QtObject {
        id: _mainTooltip

        property string text
        property int shownCount: 0

        function show(text: string, timeout: int): void {
            _mainTooltip.text = text;
            shownCount += 1;
        }
    }

    Component {
        id: _pageComponent

        NewLoginSettingPage {
            anchors.fill: parent
        }
    }

    Component {
        id: _spyComponent

        SignalSpy {}
    }

    TestCase {
        id: _testCase

        readonly property string requiredText: "پر کردن فیلدهای ستاره‌دار الزامیست"
        readonly property string phoneRule: "شماره تلفن فقط از ارقام و یک + در ابتدای آن تشکیل می‌شود."

        function reply(object: var): void {
            _peer.setReply(_mainWindow.interfacePath, {
                "body": _tools.xcrypt(JSON.stringify(object))
            });
        }

        function sent(): var {
            return _peer.requests.map(request => JSON.parse(_tools.fromUtf8(_tools.xcrypt(request.body))));
        }

        function sentCommand(command: string): var {
            return sent().filter(request => request.command === command);
        }

        function login(registered: bool): void {
            _mainWindow.loginResponse = {
                "username": "358000000000042",
                "aliasUsername": "maryam",
                "devices": [{
                        "imei": "358000000000042",
                        "simNumber": "09121112233",
                        "registered": registered,
                        "ownerName": "مریم",
                        "ownerLastname": "کریمی",
                        "ownerPhoneNumber": "09350001122",
                        "vehicleModel": "سمند"
                    }]
            };
        }

        function createPage(): var {
            return createTemporaryObject(_pageComponent, _mainWindow);
        }

        function child(parentItem: var, name: string): var {
            const found = findChild(parentItem, name);
            verify(found, name);
            return found;
        }

        function applySimNumber(page: var, typed: string): void {
            const field = child(page, "_simField");
            field.state = "edit";
            field.editText = typed;
            mouseClick(child(field, "_applyButton"));
        }

        function save(page: var): void {
            const button = child(page, "_setupSaveButton");
            verify(button.enabled);
            mouseClick(button);
        }

        name: "NewLoginSettingPage"
        when: _peer.listening

        function init() {
            _peer.clearRequests();
            reply({ "isValid": true });
            login(false);
            _mainWindow.returnedToLogin = 0;
            _mainTooltip.text = "";
            _mainTooltip.shownCount = 0;
        }

        // Each starred value missing alone stops the save before anything is sent.
        function test_requiredFields_data() {
            return [
                { "tag": "SIM number typed but not confirmed", "field": "_simField", "typed": "09121112233" },
                { "tag": "second user name", "field": "_aliasField" },
                { "tag": "first name", "field": "_nameField" },
                { "tag": "last name", "field": "_lastNameField" },
                { "tag": "contact phone", "field": "_phoneField" },
                { "tag": "car model", "field": "_modelField" },
                { "tag": "blank car model", "field": "_modelField", "blank": "   " }
            ];
        }

        function test_requiredFields(data) {
            const page = createPage();
            const field = child(page, data.field);
            field.text = data.blank ?? "";
            if (data.typed !== undefined) {
                field.state = "edit";
                field.editText = data.typed;
            }
            save(page);
            compare(_mainTooltip.text, requiredText);
            compare(child(page, "_setupSaveButton").state, "ready");
            wait(50);
            compare(_peer.requestCount, 0);
        }

        function test_saveFlags_data() {
            return [
                { "tag": "unregistered device", "registered": false, "earlierSave": false,
                  "requests": 4, "returns": true, "shown": "اطلاعات شما ثبت شد. لطفا مجددا وارد شوید." },
                { "tag": "registered device", "registered": true, "earlierSave": false,
                  "requests": 2, "returns": false, "shown": "اطلاعات شما ثبت شد." },
                { "tag": "registered device after a complete save", "registered": true, "earlierSave": true,
                  "requests": 2, "returns": true, "shown": "اطلاعات شما ثبت شد. لطفا مجددا وارد شوید." }
            ];
        }

        function test_saveFlags(data) {
            login(data.registered);
            const page = createPage();
            page.configListenNumberResult = data.earlierSave;
            page.configReportNumberResult = data.earlierSave;
            save(page);
            tryCompare(_peer, "requestCount", data.requests);
            tryVerify(() => page.ownerResult && page.vehicleResult);
            compare(page.configListenNumberResult, data.returns);
            compare(page.configReportNumberResult, data.returns);
            compare(page.result, data.returns);
            compare(_mainWindow.returnedToLogin, data.returns ? 1 : 0);
            compare(child(page, "_setupSaveButton").state, "ready");
            compare(_mainTooltip.text, data.shown);
            compare(_mainTooltip.shownCount, 1);
        }

        // A new save clears the owner and car flags first: it must not return on the old ones.
        function test_saveAgainWaitsForNewReplies() {
            const page = createPage();
            page.ownerResult = true;
            page.vehicleResult = true;
            page.configListenNumberResult = true;
            page.configReportNumberResult = true;
            _mainWindow.returnedToLogin = 0;
            reply({ "isValid": false, "errorText": "مدل نامعتبر" });
            save(page);
            compare(page.result, false);
            tryCompare(_mainTooltip, "text", "مدل نامعتبر");
            compare(_mainWindow.returnedToLogin, 0);
        }

        function test_persianDigitsLatinised() {
            const page = createPage();
            child(page, "_phoneField").text = "۰۹۱۲۳۴۵۶۷۸۹";
            save(page);
            tryCompare(_peer, "requestCount", 4);
            compare(sentCommand("setOwnerInfo")[0].phoneNumber, "09123456789");
            const frames = sentCommand("addDeviceConfig").map(request => request.configCommand).sort();
            compare(frames, [_deviceCommands.createListenUsersPacket("09123456789", " ", " "),
                             _deviceCommands.createReportNumberPacket("09123456789", "x")].sort());
        }

        // Frames cannot escape anything: only digits with one leading "+" may reach one.
        function test_refusedPhoneNumbers_data() {
            return ["0912-345-6789", "0912 345 6789", "98+9123456789", "++989123456789", "0912,3456789",
                    "09123456789]", "0912345678x", "+"].map(text => ({ "tag": text, "typed": text }));
        }

        function test_refusedPhoneNumbers(data) {
            const page = createPage();
            child(page, "_phoneField").text = data.typed;
            save(page);
            compare(_mainTooltip.text, phoneRule);
            compare(child(page, "_setupSaveButton").state, "ready");
            applySimNumber(page, data.typed);
            compare(_mainTooltip.text, phoneRule);
            compare(child(page, "_simField").state, "edit");
            wait(50);
            compare(_peer.requestCount, 0);
        }

        function test_acceptedPhoneNumbers_data() {
            return [
                { "tag": "local", "typed": "09123456789", "sent": "09123456789" },
                { "tag": "country prefix", "typed": "+989123456789", "sent": "+989123456789" },
                { "tag": "Persian digits", "typed": "+۹۸۹۱۲۳۴۵۶۷۸۹", "sent": "+989123456789" }
            ];
        }

        function test_acceptedPhoneNumbers(data) {
            const page = createPage();
            const spy = createTemporaryObject(_spyComponent, _testCase, { "target": page, "signalName": "registered" });
            reply({ "isValid": true, "simNumber": data.sent });
            applySimNumber(page, data.typed);
            tryCompare(_peer, "requestCount", 1);
            compare(sentCommand("setDeviceSimNumber")[0].simNumber, data.sent);
            const field = child(page, "_simField");
            tryCompare(field, "state", "idle");
            compare(field.text, data.sent);
            compare(_mainWindow.currentDevice.simNumber, data.sent);
            compare(spy.count, 1);
        }

        // The server's reason shows at once, and the field does not spin until its time-out.
        function test_refusedSimNumber() {
            const page = createPage();
            reply({ "isValid": false, "errorText": "این شماره سیم‌کارت برای دستگاه دیگری ثبت شده است" });
            applySimNumber(page, "09120000000");
            const field = child(page, "_simField");
            tryCompare(field, "state", "idle");
            compare(_mainTooltip.text, "این شماره سیم‌کارت برای دستگاه دیگری ثبت شده است");
            compare(field.text, "09121112233");
        }

        function test_aliasReplies_data() {
            return [
                { "tag": "accepted", "reply": { "isValid": true, "errorCode": 0 }, "shown": "",
                  "alias": "sara" },
                { "tag": "taken", "reply": { "isValid": false, "errorCode": 1, "errorText": "x" },
                  "shown": "این نام کاربری وجود دارد. لطفا نام کاربری دیگری برگزینید.", "alias": "maryam" },
                { "tag": "other refusal", "reply": { "isValid": false, "errorCode": 2, "errorText": "نام نامعتبر" },
                  "shown": "نام نامعتبر", "alias": "maryam" }
            ];
        }

        function test_aliasReplies(data) {
            const page = createPage();
            const field = child(page, "_aliasField");
            compare(field.text, "maryam");
            reply(data.reply);
            field.state = "edit";
            field.editText = "sara";
            mouseClick(child(field, "_applyButton"));
            tryCompare(field, "state", "idle");
            compare(sentCommand("setAliasUsername")[0].username, "358000000000042");
            compare(field.text, data.alias);
            compare(_mainWindow.loginResponse.aliasUsername, data.alias);
            compare(_mainTooltip.text, data.shown);
        }
    }
}
