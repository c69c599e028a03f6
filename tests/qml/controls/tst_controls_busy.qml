import QtQuick
import QtTest
import "qrc:/qmlItems"

TestCase {
    id: _testCase

    // What the window gives every control.
    property int basePixelSize: 16
    property real basePixelSizeFactor: 1

    function init(): void {
        failOnWarning(/.?/);
    }

    function part(control: Item, objectName: string): var {
        const found = findChild(control, objectName);
        verify(found, objectName);
        return found;
    }

    function spyOn(target: var, signalName: string): void {
        _spy.target = null;
        _spy.signalName = signalName;
        _spy.target = target;
        _spy.clear();
    }

    // The button row lays out the buttons that have just appeared on the next polish.
    function clickFieldButton(field: Item, objectName: string): void {
        waitForItemPolished(part(field, "_buttons"));
        mouseClick(part(field, objectName));
    }

    function createField(properties: var): Item {
        const field = createTemporaryObject(_fieldComponent, _testCase, properties);
        return field;
    }

    name: "BusyControls"
    visible: true
    width: 400
    height: 400
    when: windowShown

    FontLoader {
        id: _font
    }

    Component {
        id: _fieldComponent

        BusyTextField {
            x: 20
            y: 20
            width: 300
            placeholderText: "شماره"
            timeout: 200
        }
    }

    Component {
        id: _switchComponent

        BusyButton {
            x: 20
            y: 20
            timeOut: 200
        }
    }

    Component {
        id: _pushComponent

        BusyPushbotton {
            x: 20
            y: 20
            text: "ارسال"
            timeout: 200
        }
    }

    Component {
        id: _roundComponent

        RoundBusyBotton {
            x: 20
            y: 20
            width: 50
            height: 50
            timeout: 200
        }
    }

    Component {
        id: _holdComponent

        RoundDelayBusyButton {
            x: 20
            y: 20
            width: 50
            height: 50
            delay: 100
            timeout: 200
            onIconSource: "qrc:/graphics/power.svg"
            offIconSource: "qrc:/graphics/powerDisconnect.svg"
            onIconColor: "#00ff00"
            offIconColor: "#ff0000"
            onText: "روشن"
            offText: "خاموش"
        }
    }

    Component {
        id: _hostedFieldComponent

        // The field inside a parent that may mirror its children, as the window does.
        Item {
            property bool mirrored
            readonly property BusyTextField field: _hostedField

            width: 400
            height: 100
            LayoutMirroring.enabled: mirrored
            LayoutMirroring.childrenInherit: true

            BusyTextField {
                id: _hostedField

                x: 20
                y: 20
                width: 300
                text: "12"
            }
        }
    }

    SignalSpy {
        id: _spy
    }

    // BusyTextField

    function test_fieldEditCancelApply(): void {
        const field = createField({ text: "12" });
        compare(field.state, "idle");
        verify(part(field, "_displayField").visible);
        verify(!part(field, "_editField").visible);
        spyOn(field, "editRequest");

        clickFieldButton(field, "_editButton");
        compare(field.state, "edit");
        compare(field.editText, "12");
        verify(part(field, "_editField").activeFocus);
        verify(part(field, "_cancelButton").visible);
        verify(!part(field, "_editButton").visible);

        field.editText = "99";
        clickFieldButton(field, "_cancelButton");
        compare(field.state, "idle");
        compare(field.text, "12");
        compare(_spy.count, 0);

        clickFieldButton(field, "_editButton");
        compare(field.editText, "12");
        field.editText = "34";
        clickFieldButton(field, "_applyButton");
        compare(field.state, "busy");
        compare(_spy.count, 1);
        compare(field.editText, "34");
        verify(!part(field, "_editField").enabled);
        verify(part(field, "_progress").visible);
        verify(!part(field, "_applyButton").visible && !part(field, "_editButton").visible);

        field.text = "34";
        compare(field.state, "idle");
        compare(part(field, "_displayField").text, "34");
        verify(!part(field, "_progress").visible);
    }

    function test_fieldConfirmingTheSameValueWaitsForTheTimeOut(): void {
        const field = createField({ text: "12" });
        clickFieldButton(field, "_editButton");
        clickFieldButton(field, "_applyButton");
        compare(field.state, "busy");
        field.text = "12";
        compare(field.state, "busy");
        tryCompare(field, "state", "idle", 1000);
    }

    function test_fieldHiddenReturnsToIdle_data() {
        return [
            { tag: "editing", apply: false },
            { tag: "busy", apply: true }
        ];
    }

    function test_fieldHiddenReturnsToIdle(data) {
        const field = createField({ text: "12", timeout: 30000 });
        clickFieldButton(field, "_editButton");
        if (data.apply)
            clickFieldButton(field, "_applyButton");
        field.visible = false;
        field.visible = true;
        compare(field.state, "idle");
        verify(part(field, "_displayField").visible);
        verify(part(field, "_editButton").visible);
    }

    function test_fieldInfoPopup_data() {
        return [
            { tag: "both texts", infoTitle: "راهنما", infoText: "فقط عدد", shown: true },
            { tag: "no title", infoTitle: "", infoText: "فقط عدد", shown: false },
            { tag: "no text", infoTitle: "راهنما", infoText: "", shown: false }
        ];
    }

    function test_fieldInfoPopup(data) {
        const field = createField({ text: "12", infoTitle: data.infoTitle, infoText: data.infoText });
        const popup = part(field, "_infoPopup");
        verify(!popup.visible);
        clickFieldButton(field, "_editButton");
        tryCompare(popup, "visible", data.shown);
        clickFieldButton(field, "_applyButton");
        tryCompare(popup, "visible", false);
    }

    // The field's own title, not those of the text inputs inside it.
    function fieldTitle(field: Item): var {
        const title = field.children.find(child => child.objectName === "_floatingTitle");
        verify(title);
        return title;
    }

    function test_fieldTitleFloats_data() {
        const longTitle = "شماره موبایل اول جهت دریافت هشدارها و پیامها";
        return [
            { tag: "idle empty", text: "", later: "", edit: false, state: "center", title: "شماره" },
            { tag: "idle with value", text: "5", later: "", edit: false, state: "topRight", title: "شماره" },
            { tag: "value arrives", text: "", later: "5", edit: false, state: "topRight", title: "شماره" },
            { tag: "editing empty", text: "", later: "", edit: true, state: "topRight", title: "شماره" },
            { tag: "long, empty", text: "", later: "", edit: false, state: "center", title: longTitle },
            { tag: "long, value arrives", text: "", later: "5", edit: false, state: "topRight", title: longTitle }
        ];
    }

    function test_fieldTitleFloats(data) {
        const field = createField({ text: data.text, placeholderText: data.title });
        field.text = data.later || data.text;
        if (data.edit)
            clickFieldButton(field, "_editButton");
        const title = fieldTitle(field);
        compare(title.state, data.state);
        waitForItemPolished(part(field, "_buttons"));
        tryVerify(() => title.width > 0, 1000, "the title has a width");
        if (data.state === "topRight") {
            tryVerify(() => !title.truncated && title.x + title.width === field.width, 1000, "a raised title is whole");
        } else {
            // A centred title stays clear of the buttons at the right end, eliding if it must.
            tryVerify(() => title.x + title.width <= field.width - part(field, "_buttons").width + 0.5, 1000);
            verify(title.x >= 0);
        }
    }

    // At every text step the raised title lies above the text, the cursor and the buttons' icons.
    function test_raisedTitleClearOfTextAndButtons_data() {
        return [
            { tag: "default text", size: 16 },
            { tag: "largest text", size: Math.round(16 * 1.4) }
        ];
    }

    function test_raisedTitleClearOfTextAndButtons(data) {
        _testCase.basePixelSize = data.size;
        const field = createField({ text: "09121234567", placeholderText: "شماره موبایل اول جهت دریافت هشدارها" });
        clickFieldButton(field, "_editButton");
        const title = fieldTitle(field);
        compare(title.state, "topRight");
        const edit = part(field, "_editField");
        waitForItemPolished(part(field, "_buttons"));
        const titleBottom = title.mapToItem(field, 0, title.height).y;
        const cursor = edit.mapToItem(field, edit.cursorRectangle.x, edit.cursorRectangle.y);
        verify(titleBottom <= cursor.y, "title ends at " + titleBottom + ", the cursor starts at " + cursor.y);
        for (const name of ["_cancelButton", "_applyButton"]) {
            const button = part(field, name);
            const iconTop = button.mapToItem(field, 0, (button.height - button.icon.height) / 2).y;
            verify(titleBottom <= iconTop, name + "'s icon starts at " + iconTop + ", the title ends at " + titleBottom);
        }
        _testCase.basePixelSize = 16;
    }

    function test_fieldButtonsAtTheRightEnd_data() {
        return [
            { tag: "idle", mirrored: false, edit: false, buttons: ["_editButton"] },
            { tag: "idle, mirrored", mirrored: true, edit: false, buttons: ["_editButton"] },
            { tag: "editing", mirrored: false, edit: true, buttons: ["_cancelButton", "_applyButton"] },
            { tag: "editing, mirrored", mirrored: true, edit: true, buttons: ["_cancelButton", "_applyButton"] }
        ];
    }

    function test_fieldButtonsAtTheRightEnd(data) {
        const host = createTemporaryObject(_hostedFieldComponent, _testCase, { mirrored: data.mirrored });
        const field = host.field;
        if (data.edit)
            clickFieldButton(field, "_editButton");
        waitForItemPolished(part(field, "_buttons"));
        let left = field.width;
        let right = 0;
        for (const name of data.buttons) {
            const button = part(field, name);
            verify(button.visible, name);
            compare(button.width, 45);
            compare(button.height, 45);
            const box = button.mapToItem(field, 0, 0, button.width, button.height);
            left = Math.min(left, box.x);
            right = Math.max(right, box.x + box.width);
        }
        compare(right, field.width);
        compare(left, field.width - 45 * data.buttons.length);
    }

    // BusyButton

    function test_switchAsksAndFollowsThePeer_data() {
        return [
            { tag: "switch on", from: "off", request: 1, confirmed: "on" },
            { tag: "switch off", from: "on", request: 0, confirmed: "off" }
        ];
    }

    function test_switchAsksAndFollowsThePeer(data) {
        const control = createTemporaryObject(_switchComponent, _testCase, { state: data.from, timeOut: 30000 });
        compare(control.checked, data.from === "on");
        spyOn(control, "request");
        mouseClick(control);
        compare(control.state, "busy");
        compare(control.lastState, data.from);
        verify(!control.enabled);
        verify(part(control, "_busyIndicator").visible);
        compare(_spy.count, 1);
        compare(_spy.signalArguments[0][0], data.request);

        mouseClick(control);
        compare(_spy.count, 1);

        control.state = data.confirmed;
        verify(control.enabled);
        compare(control.checked, data.confirmed === "on");
        verify(!part(control, "_busyIndicator").visible);
    }

    function test_switchSpringsBackAfterTheTimeOut(): void {
        const control = createTemporaryObject(_switchComponent, _testCase);
        compare(control.timeOut, 200);
        mouseClick(control);
        compare(control.state, "busy");
        tryCompare(control, "state", "off", 1000);
        compare(control.checked, false);
        verify(control.enabled);
    }

    // BusyPushbotton and RoundBusyBotton

    function test_buttonBusyUntilReady_data() {
        return [
            { tag: "push", component: _pushComponent, indicator: "_progress" },
            { tag: "round", component: _roundComponent, indicator: "_busyIndicator" }
        ];
    }

    function test_buttonBusyUntilReady(data) {
        const button = createTemporaryObject(data.component, _testCase, { timeout: 30000 });
        let stateSeenByScreen = "";
        button.clicked.connect(() => stateSeenByScreen = button.state);
        compare(button.state, "ready");
        verify(!part(button, data.indicator).visible);
        mouseClick(button);
        compare(stateSeenByScreen, "busy");
        verify(!button.enabled);
        verify(part(button, data.indicator).visible);
        button.state = "ready";
        verify(button.enabled);
        verify(!part(button, data.indicator).visible);
    }

    function test_buttonTimeOut_data() {
        return [
            { tag: "push", component: _pushComponent },
            { tag: "round", component: _roundComponent }
        ];
    }

    function test_buttonTimeOut(data) {
        const button = createTemporaryObject(data.component, _testCase);
        mouseClick(button);
        compare(button.state, "busy");
        tryCompare(button, "state", "ready", 1000);
    }

    // All five

    function test_timeOutDefaultsToHalfAMinute_data() {
        return [
            { tag: "BusyTextField", type: "BusyTextField", property: "timeout" },
            { tag: "BusyButton", type: "BusyButton", property: "timeOut" },
            { tag: "BusyPushbotton", type: "BusyPushbotton", property: "timeout" },
            { tag: "RoundBusyBotton", type: "RoundBusyBotton", property: "timeout" },
            { tag: "RoundDelayBusyButton", type: "RoundDelayBusyButton", property: "timeout" }
        ];
    }

    function test_timeOutDefaultsToHalfAMinute(data) {
        const control = createTemporaryQmlObject("import \"qrc:/qmlItems\"; " + data.type + " {}", _testCase);
        compare(control[data.property], 30000);
    }

    // RoundDelayBusyButton

    function hold(button: Item, ms: int): void {
        mousePress(button);
        wait(ms);
        mouseRelease(button);
    }

    function test_holdButtonWaitsForConfirmation_data() {
        return [
            { tag: "confirmed on", confirm: true, state: "on", icon: "power.svg", color: "#00ff00", caption: "روشن" },
            { tag: "confirmed off", confirm: false, state: "busy", icon: "powerDisconnect.svg", color: "#ff0000", caption: "خاموش" }
        ];
    }

    function test_holdButtonWaitsForConfirmation(data) {
        const button = createTemporaryObject(_holdComponent, _testCase, { timeout: 30000 });
        compare(button.state, "off");
        hold(button, 250);
        compare(button.state, "busy");
        verify(!button.enabled);
        verify(part(button, "_busyIndicator").visible);
        // Busy keeps the look of the confirmed (off) state.
        compare(String(button.icon.source), "qrc:/graphics/powerDisconnect.svg");
        button.onState = data.confirm;
        compare(button.state, data.state);
        compare(String(button.icon.source), "qrc:/graphics/" + data.icon);
        compare(button.icon.color, Qt.color(data.color));
        compare(part(button, "_caption").text, data.caption);
    }

    function test_holdButtonTimeOutShowsTheConfirmedLook(): void {
        const button = createTemporaryObject(_holdComponent, _testCase, { onState: true });
        compare(button.state, "on");
        hold(button, 250);
        compare(button.state, "busy");
        compare(String(button.icon.source), "qrc:/graphics/power.svg");
        tryCompare(button, "state", "on", 1000);
        verify(button.enabled);
        verify(!part(button, "_busyIndicator").visible);
    }

    function test_holdButtonShortHoldStaysAtRest(): void {
        const button = createTemporaryObject(_holdComponent, _testCase, { delay: 400 });
        hold(button, 100);
        compare(button.state, "off");
        verify(button.enabled);
    }
}
