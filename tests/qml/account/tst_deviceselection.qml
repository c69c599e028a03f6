import QtQuick
import QtTest
import kova.testing
import "qrc:/"

// Stands in for the main window: the pages reach these ids from its context.
Item {
    id: _mainWindow

    property int currentDeviceIndex: 0
    property var appConfigs: ({})
    property int basePixelSize: 14
    property real basePixelSizeFactor: 1

    width: 400
    height: 700

    FontLoader {
        id: _font
    }

    QtObject {
        id: _smsManager

        property int simSlot: -1
        property bool isDualSim: false
    }

    Component {
        id: _listComponent

        DeviceSelectionPage {
            anchors.fill: parent
        }
    }

    Component {
        id: _supportComponent

        Support {
            anchors.fill: parent
        }
    }

    Component {
        id: _simCardsComponent

        SimCards {
            width: 300
            height: 40
        }
    }

    Component {
        id: _spyComponent

        SignalSpy {}
    }

    TestCase {
        id: _testCase

        function device(n: int): var {
            return {
                "imei": "35800000000000" + n,
                "simNumber": "0912000000" + n,
                "vehicleModel": "سمند",
                "vehicleColor": "سفید",
                "vehiclePlaque": "12ب345-6" + n
            };
        }

        function rowOf(list: var, index: int): var {
            list.positionViewAtIndex(index, ListView.Beginning);
            const row = list.itemAtIndex(index);
            verify(row, "row " + index);
            return row;
        }

        function child(parentItem: var, name: string): var {
            const found = findChild(parentItem, name);
            verify(found, name);
            return found;
        }

        name: "DeviceSelection"
        when: windowShown

        function init() {
            _mainWindow.currentDeviceIndex = 0;
        }

        // Only the current car has the check mark and the lighter background; underlines only
        // when there is more than one car to tell apart.
        function test_deviceRows_data() {
            return [
                { "tag": "one device", "count": 1, "current": 0 },
                { "tag": "two devices, first current", "count": 2, "current": 0 },
                { "tag": "three devices, third current", "count": 3, "current": 2 }
            ];
        }

        function test_deviceRows(data) {
            const devices = [];
            for (let n = 1; n <= data.count; ++n)
                devices.push(device(n));
            _mainWindow.currentDeviceIndex = data.current;
            const list = createTemporaryObject(_listComponent, _mainWindow, { "model": devices });
            compare(list.count, data.count);
            for (let i = 0; i < data.count; ++i) {
                const row = rowOf(list, i);
                const isCurrent = i === data.current;
                compare(child(row, "_checkMark").visible, isCurrent, "check mark of " + i);
                compare(child(row, "_underline").visible, data.count > 1, "underline of " + i);
                verify(Qt.colorEqual(row.color, isCurrent ? Qt.rgba(1, 1, 1, 0.1) : "transparent"), "background of " + i);
                compare(child(row, "_carLine").text, "خودرو: سمند سفید   پلاک: 12ب345-6" + (i + 1));
                compare(child(row, "_simLine").text, "شماره سیم‌کارت: 0912000000" + (i + 1));
                compare(child(row, "_imeiLine").text, "IMEI: 35800000000000" + (i + 1));
            }
        }

        function test_missingFieldsShowEmpty() {
            const list = createTemporaryObject(_listComponent, _mainWindow, { "model": [{ "imei": 1 }] });
            const row = rowOf(list, 0);
            compare(child(row, "_carLine").text, "خودرو:  " + "   پلاک: ");
            compare(child(row, "_simLine").text, "شماره سیم‌کارت: ");
        }

        function test_clickChoosesRow() {
            const list = createTemporaryObject(_listComponent, _mainWindow, { "model": [device(1), device(2)] });
            const spy = createTemporaryObject(_spyComponent, _testCase, { "target": list, "signalName": "deviceChosen" });
            mouseClick(rowOf(list, 1));
            compare(spy.count, 1);
            compare(spy.signalArguments[0][0], 1);
        }

        function test_supportRows_data() {
            return [
                { "tag": "none", "configs": {}, "numbers": [] },
                { "tag": "empty", "configs": { "support_tels": "" }, "numbers": [] },
                { "tag": "one", "configs": { "support_tels": "02112345678" }, "numbers": ["02112345678"] },
                { "tag": "two", "configs": { "support_tels": "02112345678;09121234567" },
                  "numbers": ["02112345678", "09121234567"] },
                { "tag": "trailing separator", "configs": { "support_tels": "02112345678; " },
                  "numbers": ["02112345678"] }
            ];
        }

        function test_supportRows(data) {
            _mainWindow.appConfigs = data.configs;
            const page = createTemporaryObject(_supportComponent, _mainWindow);
            const spy = createTemporaryObject(_spyComponent, _testCase, { "target": page, "signalName": "callRequested" });
            compare(page.numbers, data.numbers);
            const rows = child(page, "_supportRows");
            compare(rows.count, data.numbers.length);
            // Each button calls its own number.
            for (let i = 0; i < rows.count; ++i) {
                mouseClick(child(rows.itemAt(i), "_callButton"));
                compare(spy.signalArguments[i][0], data.numbers[i]);
            }
        }

        // Off Android a stored second slot goes back to the first, and the SMS service follows.
        function test_simSlotOnCreation_data() {
            return [
                { "tag": "stored 0", "stored": 0 },
                { "tag": "stored 1", "stored": 1 }
            ];
        }

        function test_simSlotOnCreation(data) {
            const first = createTemporaryObject(_simCardsComponent, _mainWindow);
            first.simSlot = data.stored;
            first.destroy();
            wait(0);
            const chooser = createTemporaryObject(_simCardsComponent, _mainWindow);
            compare(chooser.simSlot, 0);
            compare(_smsManager.simSlot, 0);
            mouseClick(child(chooser, "_sim2"));
            compare(_smsManager.simSlot, 1);
            verify(child(chooser, "_sim2").highlighted);
            verify(!child(chooser, "_sim1").highlighted);
        }
    }
}
