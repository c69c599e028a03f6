import QtQuick
import QtQuick.Controls
import QtPositioning
import QtTest
import smsManager
import globals
import kova.tools
import "qrc:/"

// Stands in for the main window: the page reaches these ids from its context.
Item {
    id: _mainWindow

    property int currentOperation: Globals.CarControl_Operation
    property var currentStatus
    property var currentLocation
    property var currentDevice: ({
            "simNumber": "09121112233",
            "imei": "358000000000042"
        })
    property var carCoord: QtPositioning.coordinate(35.7, 51.4)
    property int basePixelSize: 14
    property real basePixelSizeFactor: 1

    width: 450
    height: 800

    FontLoader {
        id: _font
    }

    FontLoader {
        id: _font_lato
    }

    DeviceCommands {
        id: _deviceCommands
    }

    QtObject {
        id: _server

        property string mapProvidersUrl: "http://127.0.0.1:9/map/"
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

    Component {
        id: _pageComponent

        Dashboard {
            anchors.fill: parent
        }
    }

    TestCase {
        id: _testCase

        function createPage(): Dashboard {
            const page = createTemporaryObject(_pageComponent, _mainWindow);
            // Layouts place the buttons only once polished.
            waitForRendering(page);
            return page;
        }

        function child(page: Item, name: string): var {
            const found = findChild(page, name);
            verify(found, name);
            return found;
        }

        function status(fields: var): var {
            return Object.assign({
                "door": false,
                "trunk": false,
                "carSwitch": false,
                "powerDetect": false,
                "charging": false,
                "simCharge": 0,
                "battryPercent": 0,
                "gsmSignal": 0
            }, fields);
        }

        function hold(button: Item, ms: int): void {
            mousePress(button);
            wait(ms);
            mouseRelease(button);
        }

        name: "Dashboard"
        when: windowShown

        function init() {
            _mainWindow.currentStatus = undefined;
            _mainWindow.currentLocation = undefined;
            _mainWindow.currentOperation = Globals.CarControl_Operation;
            _carCommands.sent = [];
            _smsManager.simSlot = 0;
            _mainTooltip.shownCount = 0;
            _mainTooltip.text = "";
        }

        function test_carGrid_data() {
            return [
                {
                    "tag": "no status",
                    "status": undefined,
                    "door": ["car_open_door.ico", "باز است"],
                    "trunk": ["trunk-open.ico", "باز است"],
                    "key": ["carKey_off.ico", "بسته است"]
                },
                {
                    "tag": "closed, switch on",
                    "status": {
                        "door": true,
                        "trunk": true,
                        "carSwitch": true
                    },
                    "door": ["car_close_door.ico", "بسته است"],
                    "trunk": ["trunk-close.ico", "بسته است"],
                    "key": ["carKey_on.ico", "باز است"]
                },
                {
                    "tag": "door open only",
                    "status": {
                        "trunk": true
                    },
                    "door": ["car_open_door.ico", "باز است"],
                    "trunk": ["trunk-close.ico", "بسته است"],
                    "key": ["carKey_off.ico", "بسته است"]
                }
            ];
        }

        function test_carGrid(data) {
            const page = createPage();
            _mainWindow.currentStatus = data.status === undefined ? undefined : status(data.status);
            const items = [["_doorImage", "_doorLabel", data.door], ["_trunkImage", "_trunkLabel", data.trunk], ["_switchImage", "_switchLabel", data.key]];
            for (const [imageName, labelName, expected] of items) {
                compare(String(child(page, imageName).source), "qrc:/graphics/" + expected[0]);
                const label = child(page, labelName);
                compare(label.text, expected[1]);
                compare(Qt.colorEqual(label.color, expected[1] === "باز است" ? Qt.rgba(0.8, 0.8, 0, 1) : "white"), true);
            }
        }

        function test_readings_data() {
            const none = "---";
            return [
                {
                    "tag": "nothing yet",
                    "status": undefined,
                    "location": undefined,
                    "speed": none,
                    "alt": none,
                    "sim": none,
                    "battery": none,
                    "gsm": none,
                    "gps": none,
                    "batteryState": "use"
                },
                {
                    "tag": "slow, on battery",
                    "status": {
                        "simCharge": 499,
                        "battryPercent": 57,
                        "gsmSignal": 19
                    },
                    "location": {
                        "speed": 0.4,
                        "alt": 7.6,
                        "accuracy": 80
                    },
                    "speed": "001",
                    "alt": "008",
                    "sim": "499",
                    "battery": "57",
                    "gsm": "19",
                    "gps": "80",
                    "batteryState": "use"
                },
                {
                    "tag": "charging, unknown credit",
                    "status": {
                        "simCharge": 65535,
                        "powerDetect": true,
                        "battryPercent": 30
                    },
                    "location": {
                        "speed": 1,
                        "alt": 1234,
                        "accuracy": 0
                    },
                    "speed": "004",
                    "alt": "1234",
                    "sim": none,
                    "battery": "Charge",
                    "gsm": "0",
                    "gps": "0",
                    "batteryState": "charging"
                },
                {
                    "tag": "full",
                    "status": {
                        "simCharge": 12000,
                        "powerDetect": true,
                        "charging": true
                    },
                    "location": undefined,
                    "speed": none,
                    "alt": none,
                    "sim": "12000",
                    "battery": "Full",
                    "gsm": "0",
                    "gps": none,
                    "batteryState": "full"
                }
            ];
        }

        function test_readings(data) {
            const page = createPage();
            _mainWindow.currentStatus = data.status === undefined ? undefined : status(data.status);
            _mainWindow.currentLocation = data.location === undefined ? undefined : Object.assign({
                "course": 0,
                "dateTime": new Date(2024, 2, 20, 8, 5, 9)
            }, data.location);
            compare(child(page, "_speedReading").value, data.speed);
            compare(child(page, "_altitudeReading").value, data.alt);
            compare(child(page, "_simReading").value, data.sim);
            compare(child(page, "_batteryReading").value, data.battery);
            compare(child(page, "_batteryReading").unitVisible, !(data.status?.powerDetect ?? false));
            compare(child(page, "_gsmReading").value, data.gsm);
            compare(child(page, "_gpsReading").value, data.gps);
            compare(child(page, "_battery").state, data.batteryState);
            compare(child(page, "_simChargeItem").value, data.status?.simCharge ?? 0);
            compare(child(page, "_gpsItem").value, data.location?.accuracy ?? 0);
        }

        function test_clock() {
            const page = createPage();
            compare(child(page, "_dateText").text, "--");
            compare(child(page, "_timeText").text, "--:--");
            _mainWindow.currentLocation = {
                "speed": 0,
                "alt": 0,
                "accuracy": 50,
                "course": 0,
                "dateTime": new Date(2024, 2, 20, 8, 5, 9)
            };
            compare(child(page, "_dateText").text, "1403-01-01");
            compare(child(page, "_timeText").text, "08:05");
            compare(child(page, "_secondsText").text, ":09");
            // A visible gap between the date's last digit and the hour, at the largest text too.
            for (const factor of [1, 1.4]) {
                _mainWindow.basePixelSize = Math.round(14 * factor);
                const date = child(page, "_dateText");
                // The row places its texts when it is next laid out.
                tryVerify(() => child(page, "_timeText").x - (date.x + date.contentWidth) >= _mainWindow.basePixelSize * 0.5, 1000);
            }
            _mainWindow.basePixelSize = 14;
        }

        // Which car and how old its position: words over the mini map, marked once stale.
        function test_carAndPositionAge() {
            const page = createPage();
            compare(child(page, "_carLine").text, "S/N:358000000000042");
            compare(child(page, "_positionAge").text, "");
            _mainWindow.currentLocation = { "speed": 0, "alt": 0, "accuracy": 50, "course": 0, "dateTime": new Date(Date.now() - 3 * 60000) };
            compare(child(page, "_positionAge").text, "۳ دقیقه پیش");
            verify(!child(page, "_positionAge").stale);
            _mainWindow.currentLocation = Object.assign({}, _mainWindow.currentLocation, { "dateTime": new Date(Date.now() - 11 * 60000) });
            compare(child(page, "_positionAge").text, "۱۱ دقیقه پیش (قدیمی)");
            verify(child(page, "_positionAge").stale);
            _mainWindow.currentDevice = Object.assign({ "vehicleModel": "Kova_Plus", "vehiclePlaque": "۱۲ ب ۳۴۵" }, _mainWindow.currentDevice);
            compare(child(page, "_carLine").text, "Kova_Plus · ۱۲ ب ۳۴۵");
            _mainWindow.currentDevice = { "simNumber": "09121112233", "imei": "358000000000042" };
            _mainWindow.currentLocation = undefined;
        }

        function test_powerButtons_data() {
            return [
                {
                    "tag": "cut held 2 s",
                    "button": "_powerCutButton",
                    "hold": 2150,
                    "slot": 0,
                    "frame": "[oribel,14,3,1]}]",
                    "text": "دستور خاموش کردن خودرو از سیم‌کارت 1 ارسال شد"
                },
                {
                    "tag": "cut from the second SIM",
                    "button": "_powerCutButton",
                    "hold": 2150,
                    "slot": 1,
                    "frame": "[oribel,14,3,1]}]",
                    "text": "دستور خاموش کردن خودرو از سیم‌کارت 2 ارسال شد"
                },
                {
                    "tag": "cut released at 1.5 s",
                    "button": "_powerCutButton",
                    "hold": 1500,
                    "slot": 0,
                    "frame": "",
                    "text": "برای خاموش شدن خودرو دکمه را 2 ثانیه نگه دارید."
                },
                {
                    "tag": "connect held 2 s",
                    "button": "_powerConnectButton",
                    "hold": 2150,
                    "slot": 0,
                    "frame": "[oribel,14,3,0]}]",
                    "text": "دستور وصل برق از سیم‌کارت 1 ارسال شد"
                },
                {
                    "tag": "connect released at 1.5 s",
                    "button": "_powerConnectButton",
                    "hold": 1500,
                    "slot": 0,
                    "frame": "",
                    "text": "برای وصل برق خودرو دکمه را 2 ثانیه نگه دارید."
                }
            ];
        }

        function test_powerButtons(data) {
            const page = createPage();
            _smsManager.simSlot = data.slot;
            hold(child(page, data.button), data.hold);
            if (data.frame === "")
                compare(_carCommands.sent, []);
            else
                compare(_carCommands.sent, [["09121112233", data.frame]]);
            compare(_mainTooltip.shownCount, 1);
            compare(_mainTooltip.text, data.text);
            compare(_mainTooltip.timeout, 3000);
        }

        function test_powerLabelsFollowCarOnState() {
            const page = createPage();
            const green = Qt.rgba(0, 1, 0, 1);
            verify(Qt.colorEqual(child(page, "_offLabel").color, green));
            verify(Qt.colorEqual(child(page, "_onLabel").color, "white"));
            page.carOnState = false;
            verify(Qt.colorEqual(child(page, "_offLabel").color, "white"));
            verify(Qt.colorEqual(child(page, "_onLabel").color, green));
        }

        function test_alarmSwitchSettlesOnMultiAlarm() {
            const page = createPage();
            const alarm = child(page, "_alarmSwitch");
            mouseClick(alarm);
            compare(alarm.state, "busy");
            compare(_carCommands.sent, [["09121112233", "[oribel,30,1]}]"]]);
            compare(_mainTooltip.text, "دستور فعال کردن هشدارهای دزدگیری (درب، کاپوت، سوئیچ) ارسال شد");
            compare(_mainTooltip.timeout, 5000);
            page.multiAlarm = true;
            compare(alarm.state, "on");

            mouseClick(alarm);
            compare(alarm.state, "busy");
            compare(_carCommands.sent[1], ["09121112233", "[oribel,30,0]}]"]);
            compare(_mainTooltip.text, "دستور خاموش کردن هشدارهای دزدگیری (درب، کاپوت، سوئیچ) ارسال شد");
            page.multiAlarm = false;
            compare(alarm.state, "off");
        }

        function test_mapClickOpensLiveTracking() {
            const page = createPage();
            const map = child(page, "_miniMap");
            verify(map.height >= 150);
            mouseClick(map);
            compare(_mainWindow.currentOperation, Globals.LiveTracking_Operation);
        }
    }
}
