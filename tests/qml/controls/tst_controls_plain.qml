import QtQuick
import QtQuick.Controls
import QtTest
import "qrc:/"
import "qrc:/qmlItems"

TestCase {
    id: _testCase

    // What the window gives every control.
    property int basePixelSize: 16
    property real basePixelSizeFactor: 1

    function init(): void {
        failOnWarning(/.?/);
    }

    function part(control: var, objectName: string): var {
        const found = findChild(control, objectName);
        verify(found, objectName);
        return found;
    }

    name: "PlainControls"
    visible: true
    width: 420
    height: 700
    when: windowShown
    LayoutMirroring.enabled: true
    LayoutMirroring.childrenInherit: true

    FontLoader {
        id: _font

        source: "qrc:/fonts/NotoSansArabic-Light.ttf"
    }

    Component {
        id: _comboComponent

        MyComboBox {
            model: ["10:37 ~ 10:46"]
        }
    }

    Component {
        id: _horizontalSeperator

        HorizontalSeperator {}
    }

    Component {
        id: _verticalSeperator

        VerticalSeperator {}
    }

    Component {
        id: _seperatorH

        Seperator_h {}
    }

    Component {
        id: _seperatorV

        Seperator_v {}
    }

    Component {
        id: _textFieldComponent

        MyTextField {
            width: 200
            title: "نام کاربری"
        }
    }

    Component {
        id: _spinBoxComponent

        MySpinBox {}
    }

    Component {
        id: _animatedComponent

        AnimatedLabel {
            width: 200
        }
    }

    Component {
        id: _messageComponent

        MessageBox {
            title: "خروج"
            text: "آیا می‌خواهید خارج شوید؟"
        }
    }

    Component {
        id: _menuComponent

        MyMenu {
            width: 300
            height: 300
            model: ListModel {
                ListElement {
                    icon: "qrc:/graphics/configuration.svg"
                    title: "تنظیمات"
                    detail: "تنظیمات دستگاه"
                    componentSource: ""
                }
                ListElement {
                    icon: "qrc:/graphics/share.svg"
                    title: "اشتراک"
                    detail: "اشتراک مکان خودرو"
                    componentSource: ""
                }
            }
        }
    }

    Component {
        id: _passwordComponent

        PasswordItem {
            width: 200
            title: "رمز عبور"
        }
    }

    Component {
        id: _mainTooltipComponent

        MainTooltip {}
    }

    SignalSpy {
        id: _spy
    }

    // A box narrower than its chosen entry shows the entry whole, in smaller type.
    function test_comboBoxFitsItsEntry_data() {
        return [
            { tag: "roomy", width: 200, shrunk: false },
            { tag: "narrow", width: 70, shrunk: true }
        ];
    }

    function test_comboBoxFitsItsEntry(data) {
        const box = createTemporaryObject(_comboComponent, _testCase, { width: data.width });
        const text = findChild(box, "_chosenText");
        verify(text);
        tryVerify(() => text.contentWidth > 0);
        verify(text.contentWidth <= text.width - text.leftPadding - text.rightPadding + 0.5, text.contentWidth + " in " + text.width);
        compare(text.fontInfo.pixelSize < box.font.pixelSize, data.shrunk);
    }

    function test_floatingTitle_data() {
        return [
            { tag: "empty", text: "", focus: false, state: "center", opacity: 0.6 },
            { tag: "empty with focus", text: "", focus: true, state: "center", opacity: 0.6 },
            { tag: "filled", text: "ali", focus: false, state: "topRight", opacity: 1 },
            { tag: "filled with focus", text: "ali", focus: true, state: "topRight", opacity: 1 }
        ];
    }

    function test_floatingTitle(data) {
        const field = createTemporaryObject(_textFieldComponent, _testCase, { text: data.text });
        if (data.focus)
            field.forceActiveFocus();
        compare(field.activeFocus, data.focus);
        const title = part(field, "_floatingTitle");
        compare(title.state, data.state);
        tryCompare(title, "opacity", data.opacity, 1000);
        if (data.state === "center") {
            tryCompare(title, "x", (field.width - title.width) / 2, 1000);
            compare(title.font.pixelSize, field.font.pixelSize);
        } else {
            tryCompare(title, "x", field.width - title.width, 1000);
            verify(title.y < 0);
            verify(title.font.pixelSize < field.font.pixelSize);
        }
    }

    function test_spinBoxRange_data() {
        return [
            { tag: "zero", value: 0, expected: 0 },
            { tag: "largest", value: 9999999, expected: 9999999 },
            { tag: "too large", value: 10000000, expected: 9999999 },
            { tag: "negative", value: -4, expected: 0 }
        ];
    }

    function test_spinBoxRange(data) {
        const spinBox = createTemporaryObject(_spinBoxComponent, _testCase);
        verify(spinBox.editable);
        spinBox.value = data.value;
        compare(spinBox.value, data.expected);
    }

    function test_animatedLabel_data() {
        return [
            { tag: "fits", text: "سلام", scrolls: false },
            { tag: "too wide", text: "این متن بسیار طولانی است و در برچسب جا نمی‌شود", scrolls: true }
        ];
    }

    function test_animatedLabel(data) {
        const label = createTemporaryObject(_animatedComponent, _testCase, { text: data.text });
        const first = part(label, "_first");
        const second = part(label, "_second");
        compare(second.visible, data.scrolls);
        if (data.scrolls) {
            tryVerify(() => first.x < 0, 1000);
            label.text = "سلام";
        }
        verify(!second.visible);
        compare(first.x, 0);
        wait(100);
        compare(first.x, 0);
    }

    // Hidden, a text too wide stops scrolling, and goes on once shown again.
    function test_animatedLabelRestsWhileHidden() {
        const label = createTemporaryObject(_animatedComponent, _testCase, { text: "این متن بسیار طولانی است و در برچسب جا نمی‌شود" });
        const first = part(label, "_first");
        tryVerify(() => first.x < 0, 1000);
        label.visible = false;
        const x = first.x;
        wait(100);
        compare(first.x, x);
        label.visible = true;
        tryVerify(() => first.x !== x, 1000);
    }

    function test_messageBox_data() {
        return [
            { tag: "yes", button: "_okButton", signalName: "ok" },
            { tag: "cancel", button: "_cancelButton", signalName: "close" }
        ];
    }

    function test_messageBox(data) {
        const box = createTemporaryObject(_messageComponent, _testCase);
        _spy.target = null;
        _spy.signalName = data.signalName;
        _spy.target = box;
        _spy.clear();
        box.open();
        tryCompare(box, "opened", true);
        mouseClick(part(box.contentItem, data.button));
        compare(_spy.count, 1);
        tryCompare(box, "visible", false);
    }

    function test_menuSelectsTheClickedRow(): void {
        const menu = createTemporaryObject(_menuComponent, _testCase);
        _spy.target = null;
        _spy.signalName = "itemSelected";
        _spy.target = menu;
        _spy.clear();
        const list = part(menu, "_list");
        waitForItemPolished(list);
        mouseClick(list, list.width / 2, 60 + 25);
        compare(_spy.count, 1);
        compare(_spy.signalArguments[0][0], 1);
    }

    function test_passwordEye(): void {
        const password = createTemporaryObject(_passwordComponent, _testCase, { text: "secret" });
        const field = part(password, "_field");
        const eye = part(password, "_eye");
        compare(field.echoMode, TextInput.Password);
        compare(String(eye.icon.source), "qrc:/graphics/hide-password.svg");
        // Not mirrored: the eye stays at the right end in the right-to-left window.
        waitForItemPolished(password);
        compare(eye.x + eye.width, password.width);
        mouseClick(eye);
        compare(field.echoMode, TextInput.Normal);
        compare(String(eye.icon.source), "qrc:/graphics/show-password.svg");
    }

    function test_passwordEyeLeavesTheTextItsRow_data() {
        return [
            { tag: "narrow", width: 150 },
            { tag: "wide", width: 380 }
        ];
    }

    function test_passwordEyeLeavesTheTextItsRow(data) {
        const password = createTemporaryObject(_passwordComponent, _testCase, { width: data.width });
        const field = part(password, "_field");
        const eye = part(password, "_eye");
        waitForItemPolished(password);
        verify(eye.width <= 40, "eye " + eye.width + " px wide");
        compare(eye.icon.width, 16);
        compare(eye.icon.height, 16);
        const textWidth = field.width - field.leftPadding - field.rightPadding;
        verify(textWidth >= password.width - 50, "text area " + textWidth + " of " + password.width);
        compare(eye.x + eye.width, password.width);
        compare(eye.y + eye.height, field.y + field.height);
    }

    // The eye lies over the field's end: its underline must look like the field's.
    function test_passwordUnderlineUnbroken_data() {
        return [
            { tag: "resting", focus: false, enabled: true },
            { tag: "focused", focus: true, enabled: true },
            { tag: "disabled", focus: false, enabled: false }
        ];
    }

    function test_passwordUnderlineUnbroken(data) {
        const password = createTemporaryObject(_passwordComponent, _testCase, { enabled: data.enabled });
        const field = part(password, "_field");
        const eye = part(password, "_eye");
        if (data.focus)
            field.forceActiveFocus();
        waitForItemPolished(password);
        const fieldLine = part(field.background, "_line");
        const eyeLine = part(eye.background, "_line");
        compare(eyeLine.height, fieldLine.height);
        verify(Qt.colorEqual(eyeLine.color, fieldLine.color), eyeLine.color + " against " + fieldLine.color);
        const eyeLineBox = eyeLine.mapToItem(password, 0, 0, eyeLine.width, eyeLine.height);
        const fieldLineBox = fieldLine.mapToItem(password, 0, 0, fieldLine.width, fieldLine.height);
        compare(eyeLineBox.y, fieldLineBox.y);
        compare(eyeLineBox.x, eye.x);
        compare(eyeLineBox.width, eye.width);
    }

    function test_mainTooltipShowsForItsTimeOut_data() {
        return [
            { tag: "first message", before: "", text: "ارسال شد", timeout: 150 },
            { tag: "over a long one", before: "در حال ارسال", text: "ارسال شد", timeout: 150 }
        ];
    }

    function test_mainTooltipShowsForItsTimeOut(data) {
        const tooltip = createTemporaryObject(_mainTooltipComponent, _testCase);
        compare(tooltip.timeout, 3000);
        if (data.before !== "")
            tooltip.show(data.before, 60000);
        tooltip.show(data.text, data.timeout);
        compare(tooltip.text, data.text);
        compare(tooltip.timeout, data.timeout);
        tryCompare(tooltip, "opened", true);
        tryCompare(tooltip, "visible", false, 2000);
    }

    // Each separator's line: its direction and the colour at the gradient's stops.
    function test_separators_data() {
        const faint = Qt.rgba(0.8, 0.8, 1, 0.8);
        const clear = Qt.rgba(0, 0, 0, 0);
        const white = Qt.rgba(1, 1, 1, 1);
        const red = Qt.rgba(1, 0, 0, 1);
        return [
            { "tag": "Seperator_h", "component": _seperatorH, "properties": {}, "vertical": false, "stops": [[0, clear], [0.5, faint], [0.5, faint], [1, clear]] },
            { "tag": "Seperator_v", "component": _seperatorV, "properties": {}, "vertical": true, "stops": [[0, clear], [0.5, faint], [0.5, faint], [1, clear]] },
            { "tag": "HorizontalSeperator", "component": _horizontalSeperator, "properties": {}, "vertical": false, "stops": [[0, clear], [0.3, white], [0.7, white], [1, clear]] },
            { "tag": "VerticalSeperator, no fading", "component": _verticalSeperator, "properties": { "color": red, "isGradian": false }, "vertical": true, "stops": [[0, red], [0.3, red], [0.7, red], [1, red]] }
        ];
    }

    function test_separators(data) {
        const separator = createTemporaryObject(data.component, _testCase, data.properties);
        const line = separator.children[0];
        compare(line.width === 1 || line.height === 1, true);
        compare(line.gradient.orientation, data.vertical ? Gradient.Vertical : Gradient.Horizontal);
        const stops = line.gradient.stops;
        compare(stops.length, data.stops.length);
        for (let i = 0; i < stops.length; ++i) {
            compare(stops[i].position, data.stops[i][0]);
            verify(Qt.colorEqual(stops[i].color, data.stops[i][1]), data.tag + " stop " + i + ": " + stops[i].color);
        }
    }
}
