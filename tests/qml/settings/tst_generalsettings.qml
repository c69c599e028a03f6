import QtQuick
import QtTest
import smsManager
import kova.testing
import kova.tools
import "qrc:/"

// Stands in for the main window: the general settings page reaches these ids from its context.
Item {
    id: _mainWindow

    readonly property string interfacePath: "/kova/appInterface.php"
    property var currentDevice: ({})
    property int basePixelSize: 14
    property real basePixelSizeFactor: 1

    width: 420
    // Tall enough for the whole page: clicks land only on what the window shows.
    height: 900

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

        property string text
        property int shownCount: 0

        function show(text: string, timeout: int): void {
            _mainTooltip.text = text;
            shownCount += 1;
        }
    }

    DeviceSettings_Global {
        id: _page

        anchors.fill: parent
        device: _mainWindow.currentDevice
    }

    Component {
        id: _infoComponent

        DeviceSettings_DeviceInfo {
            width: 350
            height: 400
        }
    }

    TestCase {
        id: _testCase

        readonly property string carSim: "09121112233"

        function part(control: var, objectName: string): var {
            const found = findChild(control, objectName);
            verify(found, objectName);
            return found;
        }

        function click(control: var, objectName: string): void {
            waitForRendering(control);
            const target = part(control, objectName);
            verify(target.visible && target.enabled, objectName);
            mouseClick(target);
        }

        function reply(object: var): void {
            _peer.setReply(_mainWindow.interfacePath, {
                "body": _tools.xcrypt(JSON.stringify(object))
            });
        }

        function sentRequests(): var {
            return _peer.requests.map(request => JSON.parse(_tools.fromUtf8(_tools.xcrypt(request.body))));
        }

        name: "GeneralSettings"
        when: _peer.listening

        function init(): void {
            _mainWindow.currentDevice = {
                "imei": "358000000000001",
                "simNumber": carSim
            };
            _page.forceUnlockNumber1 = 1;
            _page.forceUnlockNumber2 = 1;
            const box = part(_page, "_emergencyBox");
            box.state = "idle";
            box.timeout = 30000;
            part(_page, "_ussdField").text = "";
            const simField = part(_page, "_simNumberField");
            simField.state = "idle";
            // A closing hint still covers the row under it until it has faded out.
            tryCompare(part(simField, "_infoPopup"), "visible", false);
            _carCommands.sent = [];
            _smsManager.simSlot = 0;
            _mainTooltip.text = "";
            _mainTooltip.shownCount = 0;
            _peer.clearRequests();
        }

        // The code goes between quotes as typed, Persian digits latinised; anything that could
        // end the quotes or the frame never leaves, and the user is told why.
        function test_ussd_data() {
            const rule = "کد USSD فقط از ارقام و نشانه‌های * و # و + تشکیل می‌شود.";
            return [
                { "tag": "balance", "typed": "*140#", "frame": "[oribel,16,at+cusd=1,\"*140#\"]}]" },
                { "tag": "Persian digits", "typed": "*۱۴۱*۱#", "frame": "[oribel,16,at+cusd=1,\"*141*1#\"]}]" },
                { "tag": "plus and blanks around", "typed": " *555*+98# ", "frame": "[oribel,16,at+cusd=1,\"*555*+98#\"]}]" },
                { "tag": "empty", "typed": "", "refused": rule },
                { "tag": "quote", "typed": "*140#\",\"1", "refused": rule },
                { "tag": "comma", "typed": "*140,1#", "refused": rule },
                { "tag": "terminator", "typed": "*140#]}]", "refused": rule },
                { "tag": "letters", "typed": "*14a#", "refused": rule },
                { "tag": "inner blank", "typed": "*140 #", "refused": rule }
            ];
        }

        function test_ussd(data) {
            part(_page, "_ussdField").text = data.typed;
            click(_page, "_ussdButton");
            const button = part(_page, "_ussdButton");
            if (data.refused) {
                compare(_carCommands.sent, []);
                compare(_mainTooltip.text, data.refused);
                verify(button.enabled);
                return;
            }
            compare(_carCommands.sent, [[carSim, data.frame]]);
            compare(_mainTooltip.shownCount, 0);
            verify(!button.enabled);
            verify(part(_page, "_ussdBusy").visible);
            tryVerify(() => button.enabled, 5000);
            verify(!part(_page, "_ussdBusy").visible);
        }

        // What the box sends, and does and shows when the device reports its code, by the box's
        // state. The box is edited to 2 and 5.
        function test_reportedDigits_data() {
            return [
                { "tag": "busy, new code reported", "steps": ["edit", "apply"], "report": [3, 4], "state": "idle", "shown": [3, 4] },
                { "tag": "busy, one digit changed", "steps": ["edit", "apply"], "report": [1, 5], "state": "idle", "shown": [1, 5] },
                { "tag": "busy, same code reported", "steps": ["edit", "apply"], "report": [1, 1], "state": "busy", "shown": [1, 1] },
                { "tag": "editing keeps the typed code", "steps": ["edit"], "report": [3, 4], "state": "edit", "shown": [2, 5] },
                { "tag": "cancel shows the report", "steps": ["edit", "report", "cancel"], "report": [3, 4], "state": "idle", "shown": [3, 4] },
                { "tag": "at rest", "steps": [], "report": [4, 2], "state": "idle", "shown": [4, 2] },
                { "tag": "timed out", "steps": ["edit", "apply", "wait"], "report": [1, 1], "state": "idle", "shown": [1, 1] }
            ];
        }

        function test_reportedDigits(data) {
            const box = part(_page, "_emergencyBox");
            box.timeout = 200;
            const first = part(_page, "_firstDigit");
            const second = part(_page, "_secondDigit");
            const report = () => {
                _page.forceUnlockNumber1 = data.report[0];
                _page.forceUnlockNumber2 = data.report[1];
            };
            let reported = false;
            for (const step of data.steps) {
                if (step === "edit") {
                    click(box, "_editButton");
                    first.value = 2;
                    second.value = 5;
                } else if (step === "apply") {
                    click(box, "_applyButton");
                } else if (step === "cancel") {
                    click(box, "_cancelButton");
                } else if (step === "report") {
                    report();
                    reported = true;
                } else {
                    tryCompare(box, "state", "idle");
                }
            }
            if (!reported)
                report();
            compare(box.state, data.state);
            compare(_carCommands.sent, data.steps.includes("apply") ? [[carSim, "[oribel,34,2,5]}]"]] : []);
            compare([first.value, second.value], data.shown);
            compare(first.enabled, data.state === "edit");
        }

        // A short press only explains; a full hold sends the frame once per hold and names the
        // SIM slot it left from, counted from 1.
        function test_holdButtons_data() {
            const table = [];
            const buttons = [
                { "name": "reboot", "button": "_rebootButton", "frame": "[oribel,0]}]",
                  "sent": "دستور ریست کردن دستگاه از سیم‌کارت ", "hint": "برای ریست کردن دستگاه دکمه را 2 ثانیه نگه دارید." },
                { "name": "factory reset", "button": "_factoryResetButton", "frame": "[oribel,1]}]",
                  "sent": "دستور بازگشت به تنظیمات کارخانه از سیم‌کارت ", "hint": "برای بازگشت به تنظیمات کارخانه دکمه را 2 ثانیه نگه دارید." },
                { "name": "erase", "button": "_eraseButton", "frame": "[oribel,2]}]",
                  "sent": "دستور فرمت حافظه دستگاه از سیم‌کارت ", "hint": "برای فرمت حافظه دستگاه دکمه را 2 ثانیه نگه دارید." }
            ];
            for (const b of buttons) {
                table.push({ "tag": b.name + " released early", "button": b.button, "holds": 1, "slot": 0, "early": true,
                             "frames": [], "shown": b.hint });
                table.push({ "tag": b.name + " held", "button": b.button, "holds": 1, "slot": 0, "early": false,
                             "frames": [b.frame], "shown": b.sent + "1 ارسال شد" });
            }
            table.push({ "tag": "reboot held twice from the second SIM", "button": "_rebootButton", "holds": 2, "slot": 1,
                         "early": false, "frames": ["[oribel,0]}]", "[oribel,0]}]"], "shown": buttons[0].sent + "2 ارسال شد" });
            // Nothing is said to be sent that could not leave.
            for (const b of buttons)
                table.push({ "tag": b.name + " held, car's SIM number unknown", "button": b.button, "holds": 1, "slot": 0,
                             "early": false, "sim": "", "frames": [], "shown": "شماره سیم‌کارت دستگاه مشخص نیست؛ دستوری ارسال نشد" });
            return table;
        }

        function test_holdButtons(data) {
            _smsManager.simSlot = data.slot;
            if (data.sim !== undefined)
                _mainWindow.currentDevice = { "imei": _mainWindow.currentDevice.imei, "simNumber": data.sim };
            const button = part(_page, data.button);
            waitForRendering(button);
            for (let i = 0; i < data.holds; ++i) {
                mousePress(button);
                if (data.early)
                    wait(1000);
                else
                    tryVerify(() => _mainTooltip.shownCount === i + 1, 5000);
                mouseRelease(button);
            }
            compare(_carCommands.sent, data.frames.map(frame => [carSim, frame]));
            compare(_mainTooltip.text, data.shown);
            compare(_mainTooltip.shownCount, data.holds);
        }

        // A refusal shows the server's reason at once; an acceptance shows the stored number
        // and gives it to the device record that the frames are sent to.
        function test_simNumber_data() {
            return [
                { "tag": "accepted", "reply": { "isValid": true, "simNumber": "09127654321" }, "typed": "۰۹۱۲۷۶۵۴۳۲۱",
                  "sent": "09127654321", "shown": "09127654321", "tooltip": "" },
                { "tag": "refused", "reply": { "isValid": false, "errorText": "این شماره برای دستگاه دیگری ثبت شده است" }, "typed": "09120000000",
                  "sent": "09120000000", "shown": carSim, "tooltip": "این شماره برای دستگاه دیگری ثبت شده است" }
            ];
        }

        function test_simNumber(data) {
            reply(data.reply);
            const field = part(_page, "_simNumberField");
            compare(field.text, carSim);
            click(field, "_editButton");
            field.editText = data.typed;
            click(field, "_applyButton");
            tryCompare(field, "state", "idle");
            compare(sentRequests(), [{ "command": "setDeviceSimNumber", "imei": "358000000000001", "simNumber": data.sent }]);
            compare(field.text, data.shown);
            compare(_mainWindow.currentDevice.simNumber, data.shown);
            compare(_mainTooltip.text, data.tooltip);
        }

        function test_deviceInfo_data() {
            return [
                { "tag": "reported", "imei": "358000000000001", "version": "1.4.2", "operator": 2, "firstUse": "2023-05-01",
                  "shown": ["358000000000001", "Kova_Plus", "1.4.2", "همراه اول", "1402-02-11"] },
                { "tag": "nothing known", "imei": "", "version": "", "operator": undefined, "firstUse": "",
                  "shown": ["", "", "", "نامشخص", ""] }
            ];
        }

        function test_deviceInfo(data) {
            const page = createTemporaryObject(_infoComponent, _mainWindow, {
                "imei": data.imei,
                "firmwareVersion": data.version,
                "mobileOperator": data.operator,
                "deviceFirstUse": data.firstUse
            });
            const names = ["_serial", "_modelName", "_firmwareVersion", "_operatorName", "_installationDate"];
            compare(names.map(name => part(page, name).text), data.shown);
            verify(part(page, "_serial").visible);
        }
    }
}
