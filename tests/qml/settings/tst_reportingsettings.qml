import QtQuick
import QtTest
import smsManager
import kova.tools
import "qrc:/"

// Stands in for the main window: the server, sending and listen-in pages reach these ids from
// their context.
Item {
    id: _mainWindow

    property var currentDevice: ({
            "simNumber": "09121112233"
        })
    property int basePixelSize: 14
    property real basePixelSizeFactor: 1

    width: 1200
    height: 600

    FontLoader {
        id: _font
    }

    Tools {
        id: _tools
    }

    DeviceCommands {
        id: _deviceCommands
    }

    SmsManager {
        id: _smsManager
    }

    // Records the frames that leave for the car.
    CarCommands {
        id: _carCommands

        property var sent: []

        smsManager: _smsManager
        device: _mainWindow.currentDevice
        onFrameSent: (simNumber, frame) => sent = sent.concat([[simNumber, frame]])
    }

    QtObject {
        id: _mainTooltip

        property var shown: []

        function show(text: string, timeout: int): void {
            shown = shown.concat([[text, timeout]]);
        }
    }

    Row {
        DeviceSettings_Server {
            id: _serverPage

            width: 400
            height: 600
        }

        DeviceSettings_Sending {
            id: _sendingPage

            width: 400
            height: 600
        }

        DeviceSettings_Listen {
            id: _listenPage

            width: 400
            height: 600
        }
    }

    Component {
        id: _serverPageComponent

        DeviceSettings_Server {}
    }

    TestCase {
        id: _testCase

        readonly property var formatMessage: [["فرمت آدرس درست نیست\nدوباره تلاش کنید", 3000]]
        readonly property var phoneMessage: [["شماره تلفن فقط از ارقام و یک + در ابتدای آن تشکیل می‌شود.", 5000]]

        function part(control: Item, objectName: string): var {
            const found = findChild(control, objectName);
            verify(found, objectName);
            return found;
        }

        function click(control: Item, objectName: string): void {
            waitForRendering(control);
            const target = part(control, objectName);
            verify(target.visible && target.enabled, objectName);
            mouseClick(target);
        }

        // Edits the field as a user would and applies the typed text.
        function apply(field: Item, typed: string): void {
            click(field, "_editButton");
            compare(field.state, "edit");
            field.editText = typed;
            click(field, "_applyButton");
        }

        function init(): void {
            _carCommands.sent = [];
            _mainTooltip.shown = [];
            const fields = [part(_serverPage, "_serverField"), part(_sendingPage, "_rateField"), part(_sendingPage, "_distanceField")];
            for (const name of ["_listenField1", "_listenField2", "_listenField3"])
                fields.push(part(_listenPage, name));
            // A closing hint still covers the field under it until it has faded out.
            for (const field of fields) {
                field.state = "idle";
                tryCompare(part(field, "_infoPopup"), "visible", false);
            }
        }

        function test_serverAddress_data() {
            return [
                { "tag": "name and path", "typed": "http://track.example.com:8080/kova", "frame": "[oribel,12,track.example.com,/kova,8080]}]" },
                { "tag": "address, deep path", "typed": "https://10.0.0.5:443/a/b.php", "frame": "[oribel,12,10.0.0.5,/a/b.php,443]}]" },
                { "tag": "no scheme", "typed": "//track.example.com:5050/", "frame": "[oribel,12,track.example.com,/,5050]}]" },
                { "tag": "upper-case host", "typed": "http://Track.Example.COM:80/x", "frame": "[oribel,12,track.example.com,/x,80]}]" },
                { "tag": "empty", "typed": "", "frame": "" },
                { "tag": "no //", "typed": "track.example.com:8080/kova", "frame": "" },
                { "tag": "no port", "typed": "http://track.example.com/kova", "frame": "" },
                { "tag": "port 0", "typed": "http://track.example.com:0/kova", "frame": "" },
                { "tag": "port too large", "typed": "http://track.example.com:70000/kova", "frame": "" },
                { "tag": "empty path", "typed": "http://track.example.com:8080", "frame": "" },
                { "tag": "comma in host", "typed": "http://track,example.com:8080/kova", "frame": "" },
                { "tag": "bracket in host", "typed": "http://track]example.com:8080/kova", "frame": "" },
                { "tag": "comma in path", "typed": "http://track.example.com:8080/a,b", "frame": "" },
                { "tag": "bracket in path", "typed": "http://track.example.com:8080/a]}]", "frame": "" },
                { "tag": "escaped comma in path", "typed": "http://track.example.com:8080/a%2Cb", "frame": "" },
                { "tag": "opening bracket in path", "typed": "http://track.example.com:8080/[a", "frame": "" },
                { "tag": "brace in path", "typed": "http://track.example.com:8080/a}b", "frame": "" },
                { "tag": "blank in path", "typed": "http://track.example.com:8080/a b", "frame": "" },
                { "tag": "persian path", "typed": "http://track.example.com:8080/مسیر", "frame": "" }
            ];
        }

        // A sent address leaves the editor busy; a refused one says why and stays open.
        function test_serverAddress(data) {
            const field = part(_serverPage, "_serverField");
            apply(field, data.typed);
            compare(_carCommands.sent, data.frame === "" ? [] : [["09121112233", data.frame]]);
            compare(_mainTooltip.shown, data.frame === "" ? formatMessage : []);
            compare(field.state, data.frame === "" ? "edit" : "busy");
        }

        function test_serverEditStartsFromShown(): void {
            const page = createTemporaryObject(_serverPageComponent, _mainWindow, { "serverUrl": "127.0.0.1:5050/kova" });
            compare(part(page, "_serverField").editText, "127.0.0.1:5050/kova");
        }

        // The edited value with the other as shown, send rate first.
        function test_sending_data() {
            return [
                { "tag": "rate", "field": "_rateField", "rate": "60", "distance": "50", "typed": "120", "frame": "[oribel,13,120,50]}]" },
                { "tag": "distance", "field": "_distanceField", "rate": "600", "distance": "30", "typed": "200", "frame": "[oribel,13,600,200]}]" },
                { "tag": "persian digits", "field": "_rateField", "rate": "60", "distance": "50", "typed": "۱۲۰", "frame": "[oribel,13,120,50]}]" },
                { "tag": "range ends", "field": "_distanceField", "rate": "3600", "distance": "50", "typed": "10000", "frame": "[oribel,13,3600,10000]}]" },
                { "tag": "rate still typed", "field": "_rateField", "rate": "60", "distance": "50", "typed": "6", "message": "عدد وارد شده خارج از محدوده مجاز است" },
                { "tag": "distance too far", "field": "_distanceField", "rate": "60", "distance": "50", "typed": "10001", "message": "عدد وارد شده خارج از محدوده مجاز است" },
                { "tag": "group separator", "field": "_rateField", "rate": "60", "distance": "50", "typed": "1,200", "message": "عدد وارد شده خارج از محدوده مجاز است" },
                { "tag": "empty", "field": "_distanceField", "rate": "60", "distance": "50", "typed": "", "message": "عدد وارد شده خارج از محدوده مجاز است" },
                { "tag": "distance not reported", "field": "_rateField", "rate": "60", "distance": "", "typed": "120", "message": "تنظیمات دستگاه هنوز دریافت نشده است" },
                { "tag": "reported distance out of range", "field": "_rateField", "rate": "60", "distance": "5", "typed": "120",
                  "message": "فاصله نقاط گزارش‌شده از دستگاه (5) خارج از محدوده مجاز (30~10000) است؛ هر دو مقدار با هم ارسال می‌شوند" },
                { "tag": "reported rate out of range", "field": "_distanceField", "rate": "7200", "distance": "50", "typed": "100",
                  "message": "نرخ ارسال گزارش‌شده از دستگاه (7200) خارج از محدوده مجاز (60~3600) است؛ هر دو مقدار با هم ارسال می‌شوند" }
            ];
        }

        function test_sending(data) {
            _sendingPage.sendRate = data.rate;
            _sendingPage.logResolation = data.distance;
            const field = part(_sendingPage, data.field);
            apply(field, data.typed);
            compare(_carCommands.sent, data.frame ? [["09121112233", data.frame]] : []);
            compare(_mainTooltip.shown, data.message ? [[data.message, 3000]] : []);
            compare(field.state, data.frame ? "busy" : "edit");
        }

        // Editor N's text with the other two as shown, a blank for each empty one.
        function test_listen_data() {
            return [
                { "tag": "second emptied", "shown": ["09121111111", "09122222222", "09123333333"], "edited": 2, "typed": "", "frame": "[oribel,15,09121111111, ,09123333333]}]" },
                { "tag": "first set, others none", "shown": [" ", " ", " "], "edited": 1, "typed": "+989121234567", "frame": "[oribel,15,+989121234567, , ]}]" },
                { "tag": "persian digits", "shown": ["0912", " ", "0935"], "edited": 3, "typed": "۰۹۱۲۳۴۵", "frame": "[oribel,15,0912, ,0912345]}]" },
                { "tag": "arabic digits, blanks around", "shown": [" ", "0935", " "], "edited": 1, "typed": " ٠٩١٢ ", "frame": "[oribel,15,0912,0935, ]}]" },
                { "tag": "letters", "shown": ["0912", " ", " "], "edited": 2, "typed": "abc" },
                { "tag": "comma", "shown": ["0912", " ", " "], "edited": 2, "typed": "0912,1" },
                { "tag": "bracket", "shown": ["0912", " ", " "], "edited": 3, "typed": "0912]}]" },
                { "tag": "dash", "shown": [" ", " ", " "], "edited": 1, "typed": "0912-123" },
                { "tag": "plus inside", "shown": [" ", " ", " "], "edited": 1, "typed": "98+912" }
            ];
        }

        function test_listen(data) {
            _listenPage.listenUser1 = data.shown[0];
            _listenPage.listenUser2 = data.shown[1];
            _listenPage.listenUser3 = data.shown[2];
            const field = part(_listenPage, "_listenField" + data.edited);
            apply(field, data.typed);
            compare(_carCommands.sent, data.frame ? [["09121112233", data.frame]] : []);
            compare(_mainTooltip.shown, data.frame ? [] : phoneMessage);
            compare(field.state, data.frame ? "busy" : "edit");
        }

        function test_listenShownAndHint(): void {
            _listenPage.listenUser1 = " ";
            _listenPage.listenUser2 = "0935";
            compare(part(_listenPage, "_listenField1").text, "");
            compare(part(_listenPage, "_listenField2").text, "0935");
            const field = part(_listenPage, "_listenField3");
            click(field, "_editButton");
            field.editText = "0912";
            compare(field.infoTitle, "تغییر مجوز شنود شماره سوم");
            compare(field.infoText, "شماره \"0912\" مجاز به شنود می‌شود\nآیا اطمینان دارید؟");
        }

        // One report carries all three numbers: only a changed one settles its editor, and an
        // editor being edited keeps the user's text.
        function test_listenSettlesOnItsOwnReport(): void {
            _listenPage.listenUser1 = "0912";
            _listenPage.listenUser2 = "0935";
            const first = part(_listenPage, "_listenField1");
            const second = part(_listenPage, "_listenField2");
            click(second, "_editButton");
            second.editText = "0936";
            apply(first, "0913");
            compare(first.state, "busy");
            _listenPage.listenUser1 = "0912";
            compare(first.state, "busy");
            _listenPage.listenUser1 = "0913";
            compare(first.state, "idle");
            compare(second.state, "edit");
            compare(second.editText, "0936");
        }

        name: "ReportingSettings"
        when: windowShown
    }
}
