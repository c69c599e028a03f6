import QtQuick
import QtQuick.Controls
import QtPositioning
import QtTest
import smsManager
import kova.tools
import "qrc:/"
import "qrc:/qmlItems"

// Stands in for the main window: the alarm page reaches these ids from its context.
Item {
    id: _mainWindow

    property var currentDevice: ({
            "simNumber": "09121112233"
        })
    property int basePixelSize: 14
    property real basePixelSizeFactor: 1

    width: 450
    height: 700

    FontLoader {
        id: _font
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

        property string text
        property int shownCount: 0

        function show(text: string, timeout: int): void {
            _mainTooltip.text = text;
            shownCount += 1;
        }
    }

    DeviceSettings_Alarms {
        id: _page

        anchors.fill: parent
        geofenceCoords: [QtPositioning.coordinate(35, 51), QtPositioning.coordinate(35, 52), QtPositioning.coordinate(36, 52),
            QtPositioning.coordinate(36, 51), QtPositioning.coordinate(35.5, 50.5), QtPositioning.coordinate(35.5, 52.5),
            QtPositioning.coordinate(36.5, 51.5), QtPositioning.coordinate(34.5, 51.5)]
        geofenceInOut: 2
    }

    Component {
        id: _editComponent

        AlarmTypeEdit {
            width: 440
            timeout: 100
        }
    }

    TestCase {
        id: _testCase

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

        // Brings a row into view and leaves it in "edit".
        function editRow(objectName: string): Item {
            const row = part(_page, objectName);
            const scroll = part(_page, "_scrollArea");
            scroll.contentY = Math.max(0, Math.min(row.y, scroll.contentHeight - scroll.height));
            click(row, "_editButton");
            compare(row.state, "edit");
            return row;
        }

        function setBoxes(row: Item, call: bool, sms: bool): void {
            part(row, "_editCall").checked = call;
            part(row, "_editSms").checked = sms;
        }

        function init(): void {
            _carCommands.sent = [];
            part(_page, "_scrollArea").contentY = 0;
            _mainTooltip.shownCount = 0;
            _page.reportNumber1 = "";
            _page.reportNumber2 = "";
            _page.doorAlarmType = 0;
            _page.overSpeed = 0;
            _page.shockSensitivity = 0;
            _page.shakeAlarmType = 0;
            _page.overSpeedAlarmType = 0;
            for (const name of ["_shockRow", "_doorRow", "_geofenceRow", "_overSpeedRow", "_carryingRow"])
                part(_page, name).state = "idle";
            // A closing hint still covers the row under it until it has faded out.
            for (const name of ["_reportNumber1", "_reportNumber2"]) {
                const field = part(_page, name);
                field.state = "idle";
                tryCompare(part(field, "_infoPopup"), "visible", false);
            }
        }

        // Each row of the table: the steps taken, then the state and what shows.
        function test_editStates_data() {
            return [
                { "tag": "at rest", "steps": [], "state": "idle", "shown": true, "edited": false, "editable": false, "buttons": false, "progress": false, "requests": [] },
                { "tag": "edit", "steps": ["_editButton"], "state": "edit", "shown": false, "edited": true, "editable": true, "buttons": true, "progress": false, "requests": [] },
                { "tag": "cancel", "steps": ["_editButton", "_cancelButton"], "state": "idle", "shown": true, "edited": false, "editable": false, "buttons": false, "progress": false, "requests": [] },
                { "tag": "apply", "steps": ["_editButton", "_applyButton"], "state": "busy", "shown": false, "edited": true, "editable": false, "buttons": false, "progress": true, "requests": [3] },
                { "tag": "new type reported", "steps": ["_editButton", "_applyButton", "report"], "state": "idle", "shown": true, "edited": false, "editable": false, "buttons": false, "progress": false, "requests": [3] },
                { "tag": "new extra value", "steps": ["_editButton", "_applyButton", "extra"], "state": "idle", "shown": true, "edited": false, "editable": false, "buttons": false, "progress": false, "requests": [3] },
                { "tag": "extra value while editing", "steps": ["_editButton", "extra"], "state": "edit", "shown": false, "edited": true, "editable": true, "buttons": true, "progress": false, "requests": [] },
                { "tag": "new type while editing", "steps": ["_editButton", "report"], "state": "idle", "shown": true, "edited": false, "editable": false, "buttons": false, "progress": false, "requests": [] },
                { "tag": "timed out", "steps": ["_editButton", "_applyButton", "wait"], "state": "idle", "shown": true, "edited": false, "editable": false, "buttons": false, "progress": false, "requests": [3] }
            ];
        }

        // At rest the reported choice reads as plainly as an active box, and a click changes nothing.
        function test_shownChoiceTakesNoClicks() {
            const edit = createTemporaryObject(_editComponent, _mainWindow, { "reportType": 2, "extraValue": 10 });
            _requestSpy.target = edit;
            _requestSpy.clear();
            for (const [name, checked] of [["_shownSms", true], ["_shownCall", false]]) {
                const box = part(edit, name);
                verify(box.enabled, name);
                mouseClick(box);
                compare(box.checked, checked, name);
            }
            compare(edit.state, "idle");
            compare(_requestSpy.count, 0);
        }

        function test_editStates(data) {
            const edit = createTemporaryObject(_editComponent, _mainWindow, { "reportType": 3, "extraValue": 10 });
            _requestSpy.target = edit;
            _requestSpy.clear();
            for (const step of data.steps) {
                if (step === "report")
                    edit.reportType = 1;
                else if (step === "extra")
                    edit.extraValue = 20;
                else if (step === "wait")
                    tryCompare(edit, "state", "idle");
                else
                    click(edit, step);
            }
            compare(edit.state, data.state);
            compare(part(edit, "_shownCall").visible, data.shown);
            compare(part(edit, "_editCall").visible, data.edited);
            compare(part(edit, "_editCall").enabled, data.editable);
            compare(part(edit, "_applyButton").visible, data.buttons);
            compare(part(edit, "_cancelButton").visible, data.buttons);
            compare(part(edit, "_editButton").visible, data.state === "idle");
            compare(part(edit, "_progress").visible, data.progress);
            compare(_requestSpy.signalArguments.map(args => args[0]), data.requests);
        }

        // The edited boxes start from the reported type.
        function test_editStartsFromReport_data() {
            return [
                { "tag": "none", "type": 0, "call": false, "sms": false },
                { "tag": "call", "type": 1, "call": true, "sms": false },
                { "tag": "sms", "type": 2, "call": false, "sms": true },
                { "tag": "both", "type": 3, "call": true, "sms": true }
            ];
        }

        function test_editStartsFromReport(data) {
            const edit = createTemporaryObject(_editComponent, _mainWindow, { "reportType": data.type });
            compare(part(edit, "_shownCall").checked, data.call);
            compare(part(edit, "_shownSms").checked, data.sms);
            part(edit, "_editCall").checked = !data.call;
            click(edit, "_editButton");
            compare(part(edit, "_editCall").checked, data.call);
            compare(part(edit, "_editSms").checked, data.sms);
        }

        function test_alarmFrames_data() {
            return [
                { "tag": "doors sms", "row": "_doorRow", "call": false, "sms": true, "frame": "[oribel,23,2]}]" },
                { "tag": "doors both", "row": "_doorRow", "call": true, "sms": true, "frame": "[oribel,23,3]}]" },
                { "tag": "doors none", "row": "_doorRow", "call": false, "sms": false, "frame": "[oribel,23,0]}]" },
                { "tag": "doors call", "row": "_doorRow", "call": true, "sms": false, "frame": "[oribel,23,1]}]" },
                { "tag": "trunk", "row": "_trunkRow", "call": true, "sms": false, "frame": "[oribel,26,1]}]" },
                { "tag": "ignition", "row": "_switchRow", "call": false, "sms": true, "frame": "[oribel,24,2]}]" },
                { "tag": "crane", "row": "_carryingRow", "call": true, "sms": true, "frame": "[oribel,28,3]}]" },
                { "tag": "battery", "row": "_powerRow", "call": false, "sms": true, "frame": "[oribel,27,2]}]" }
            ];
        }

        function test_alarmFrames(data) {
            const row = editRow(data.row);
            setBoxes(row, data.call, data.sms);
            click(row, "_applyButton");
            compare(row.state, "busy");
            compare(_carCommands.sent, [["09121112233", data.frame]]);
        }

        // Whenever a row is not being edited its extra control shows the reported value.
        function test_extraValueShowsReportAtRest_data() {
            const table = [];
            for (const row of [{ "name": "speed", "row": "_overSpeedRow", "control": "_speedBox", "page": "overSpeed", "reported": 80, "edited": 120, "other": 90 },
                               { "name": "shock", "row": "_shockRow", "control": "_shockSlider", "page": "shockSensitivity", "reported": 2, "edited": 5, "other": 3 }]) {
                table.push(Object.assign({ "tag": row.name + " cancelled", "end": "cancel", "shown": row.reported }, row));
                table.push(Object.assign({ "tag": row.name + " timed out", "end": "timeout", "shown": row.reported }, row));
                table.push(Object.assign({ "tag": row.name + " reported otherwise", "end": "report", "shown": row.other }, row));
            }
            return table;
        }

        function test_extraValueShowsReportAtRest(data) {
            _page[data.page] = data.reported;
            const row = editRow(data.row);
            row.timeout = 200;
            part(_page, data.control).value = data.edited;
            if (data.end === "cancel") {
                click(row, "_cancelButton");
            } else {
                click(row, "_applyButton");
                compare(part(_page, data.control).value, data.edited);
                if (data.end === "report")
                    _page[data.page] = data.other;
            }
            tryCompare(row, "state", "idle", 2000);
            compare(part(_page, data.control).value, data.shown);
            row.timeout = 30000;
        }

        // The geofence row's own map covers the page: back from it, the row is still being edited.
        // Hidden for any other reason, the row is at rest.
        function test_geofenceRowKeptWhileItsMapIsOpen_data() {
            return [
                { "tag": "its map", "map": true, "state": "edit" },
                { "tag": "another page", "map": false, "state": "idle" }
            ];
        }

        function test_geofenceRowKeptWhileItsMapIsOpen(data) {
            const row = editRow("_geofenceRow");
            if (data.map)
                click(row, "_geofenceMapButton");
            _page.visible = false;
            _page.visible = true;
            compare(row.state, data.state);
        }

        // Without the car's SIM number nothing leaves, the owner is told, and the row does not wait.
        function test_unknownSimNumber_data() {
            return [
                { "tag": "doors", "row": "_doorRow" },
                { "tag": "geofence, two frames", "row": "_geofenceRow" },
                { "tag": "speed", "row": "_overSpeedRow" }
            ];
        }

        function test_unknownSimNumber(data) {
            const device = _mainWindow.currentDevice;
            _mainWindow.currentDevice = { "simNumber": "" };
            const row = editRow(data.row);
            click(row, "_applyButton");
            _mainWindow.currentDevice = device;
            compare(row.state, "idle");
            compare(_carCommands.sent, []);
            compare(_mainTooltip.text, _carCommands.unknownSimText);
            compare(_mainTooltip.shownCount, 1);
        }

        function test_extraValueFrames_data() {
            return [
                { "tag": "shock", "row": "_shockRow", "control": "_shockSlider", "value": 4, "frame": "[oribel,33,4,2]}]" },
                { "tag": "speed", "row": "_overSpeedRow", "control": "_speedBox", "value": 120, "frame": "[oribel,22,120,2]}]" }
            ];
        }

        // Only the extra value changes; the row settles when the device reports it.
        function test_extraValueFrames(data) {
            const row = editRow(data.row);
            setBoxes(row, false, false);
            part(row, "_editSms").checked = true;
            part(_page, data.control).value = data.value;
            click(row, "_applyButton");
            compare(_carCommands.sent, [["09121112233", data.frame]]);
            compare(row.state, "busy");
            _page.shakeAlarmType = 0;
            compare(row.state, "busy");
            if (data.row === "_shockRow")
                _page.shockSensitivity = data.value;
            else
                _page.overSpeed = data.value;
            compare(row.state, "idle");
        }

        function test_reportedExtraValue_data() {
            return [
                { "tag": "shock at rest", "row": "_shockRow", "control": "_shockSlider", "property": "shockSensitivity", "value": 3, "edit": false, "shown": 3 },
                { "tag": "shock while edited", "row": "_shockRow", "control": "_shockSlider", "property": "shockSensitivity", "value": 3, "edit": true, "shown": 1 },
                { "tag": "speed at rest", "row": "_overSpeedRow", "control": "_speedBox", "property": "overSpeed", "value": 90, "edit": false, "shown": 90 },
                { "tag": "speed while edited", "row": "_overSpeedRow", "control": "_speedBox", "property": "overSpeed", "value": 90, "edit": true, "shown": 1 }
            ];
        }

        function test_reportedExtraValue(data) {
            const control = part(_page, data.control);
            control.value = 1;
            if (data.edit)
                editRow(data.row);
            _page[data.property] = data.value;
            compare(control.value, data.shown);
            compare(control.enabled, data.edit);
        }

        function test_reportNumbers_data() {
            return [
                { "tag": "first edited", "field": "_reportNumber1", "shown1": "", "shown2": "09350000000", "typed": "09121234567", "frame": "[oribel,11,09121234567,09350000000]}]" },
                { "tag": "first emptied", "field": "_reportNumber1", "shown1": "0912", "shown2": "09350000000", "typed": "", "frame": "[oribel,11,x,09350000000]}]" },
                { "tag": "second edited, first none", "field": "_reportNumber2", "shown1": "", "shown2": "", "typed": "+989121234567", "frame": "[oribel,11,x,+989121234567]}]" },
                { "tag": "persian digits", "field": "_reportNumber2", "shown1": "0912", "shown2": "", "typed": "۰۹۱۲۳۴۵", "frame": "[oribel,11,0912,0912345]}]" },
                { "tag": "surrounding blanks", "field": "_reportNumber1", "shown1": "", "shown2": "", "typed": " 0912 ", "frame": "[oribel,11,0912,x]}]" }
            ];
        }

        function test_reportNumbers(data) {
            _page.reportNumber1 = data.shown1;
            _page.reportNumber2 = data.shown2;
            const field = part(_page, data.field);
            click(field, "_editButton");
            field.editText = data.typed;
            click(field, "_applyButton");
            compare(_carCommands.sent, [["09121112233", data.frame]]);
            compare(field.state, "busy");
            compare(_mainTooltip.shownCount, 0);
        }

        // A refused number sends nothing, says why and stays open for correction.
        function test_refusedNumbers_data() {
            return [
                { "tag": "comma", "typed": "0912,1" },
                { "tag": "bracket", "typed": "0912]" },
                { "tag": "letters", "typed": "abc" },
                { "tag": "dash", "typed": "0912-123" },
                { "tag": "plus inside", "typed": "98+912" },
                { "tag": "two pluses", "typed": "++98" },
                { "tag": "plus alone", "typed": "+" },
                { "tag": "inner blank", "typed": "0912 123" }
            ];
        }

        function test_refusedNumbers(data) {
            const field = part(_page, "_reportNumber1");
            click(field, "_editButton");
            field.editText = data.typed;
            click(field, "_applyButton");
            compare(_carCommands.sent, []);
            compare(field.state, "edit");
            compare(_mainTooltip.shownCount, 1);
            compare(_mainTooltip.text, "شماره تلفن فقط از ارقام و یک + در ابتدای آن تشکیل می‌شود.");
        }

        function test_reportNumberHint(): void {
            const field = part(_page, "_reportNumber1");
            click(field, "_editButton");
            field.editText = "0912";
            compare(field.infoTitle, "شماره \"0912\" جهت دریافت هشدارها تنظیم می‌شود");
            compare(field.infoText, "آیا اطمینان دارید؟");
        }

        // The alarm type goes first, then the zone with its mode.
        function test_geofence(): void {
            const row = editRow("_geofenceRow");
            verify(part(row, "_geofenceMapButton").enabled);
            verify(part(row, "_geofenceModeButton").enabled);
            setBoxes(row, true, false);
            click(row, "_applyButton");
            compare(_carCommands.sent.length, 2);
            compare(_carCommands.sent[0], ["09121112233", "[oribel,19,1]}]"]);
            compare(_carCommands.sent[1][1], _deviceCommands.createGeofencePacket(_page.geofenceCoords, 2));
            verify(!part(row, "_geofenceMapButton").enabled);
        }

        function test_geofenceButtons_data() {
            return [
                { "tag": "map", "button": "_geofenceMapButton", "signal": "editGeofence" },
                { "tag": "mode", "button": "_geofenceModeButton", "signal": "chooseGeofenceMode" }
            ];
        }

        function test_geofenceButtons(data) {
            _buttonSpy.target = _page;
            _buttonSpy.signalName = data.signal;
            _buttonSpy.clear();
            const row = editRow("_geofenceRow");
            click(row, data.button);
            compare(_buttonSpy.count, 1);
        }

        // The numbers under the shock slider stay clear of its track at every text step.
        function test_sliderNumbersUnderTheTrack_data() {
            return [
                { "tag": "default text", "size": 14 },
                { "tag": "largest text", "size": Math.round(14 * 1.4) }
            ];
        }

        function test_sliderNumbersUnderTheTrack(data) {
            _mainWindow.basePixelSize = data.size;
            const slider = createTemporaryObject(_sliderComponent, _mainWindow);
            const track = slider.background.mapToItem(slider, 0, 0, slider.background.width, slider.background.height);
            const handleBottom = slider.handle.mapToItem(slider, 0, slider.handle.height).y;
            for (let step = 0; step <= 5; ++step) {
                const number = findChild(slider, "_sliderNumber" + step);
                verify(number, "number " + step);
                const top = number.mapToItem(slider, 0, 0).y;
                verify(top >= Math.max(track.y + track.height, handleBottom), "number " + step + " at " + top);
                verify(top + number.height <= slider.height);
            }
            _mainWindow.basePixelSize = 14;
        }

        name: "Alarms"
        when: windowShown

        Component {
            id: _sliderComponent

            SensitivitySlider {
                width: 250
            }
        }

        SignalSpy {
            id: _requestSpy

            signalName: "editRequest"
        }

        SignalSpy {
            id: _buttonSpy
        }
    }
}
