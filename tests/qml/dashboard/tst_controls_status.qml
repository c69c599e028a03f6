import QtQuick
import QtTest
import "qrc:/qmlItems"

TestCase {
    id: _testCase

    // What the window gives every control.
    property int basePixelSize: 16
    property real basePixelSizeFactor: 1

    function imageOf(widget: Item): Item {
        return findChild(widget, "_image");
    }

    function init(): void {
        failOnWarning(/.?/);
    }

    name: "StatusWidgets"
    visible: true
    width: 300
    height: 300
    when: windowShown

    FontLoader {
        id: _font
    }

    Component {
        id: _blinkComponent

        BlinkImage {
            width: 30
            height: 30
            blinkInterval: 50
            source: "qrc:/graphics/gsmSQ_2.svg"
        }
    }

    Component {
        id: _battryComponent

        Battry {
            width: 30
            height: 30
        }
    }

    Component {
        id: _gsmComponent

        GsmSignalItem {
            width: 30
            height: 30
        }
    }

    Component {
        id: _gpsComponent

        GpsSignalItem {
            width: 30
            height: 30
        }
    }

    Component {
        id: _simComponent

        SimChargeItem {
            width: 30
            height: 30
        }
    }

    function test_blinkTogglesAndStopsVisible(): void {
        const blink = createTemporaryObject(_blinkComponent, _testCase);
        const image = imageOf(blink);
        verify(image.visible);
        blink.blink = true;
        tryCompare(image, "visible", false);
        tryCompare(image, "visible", true);
        // Switched off in the hidden phase: shown at once, and it stays so.
        tryCompare(image, "visible", false);
        blink.blink = false;
        compare(image.visible, true);
        wait(150);
        compare(image.visible, true);
    }

    function test_battryInUse_data() {
        return [
            { tag: "0 %", percent: 0, image: "battery-0.png" },
            { tag: "10 %", percent: 10, image: "battery-0.png" },
            { tag: "11 %", percent: 11, image: "battery-20.png" },
            { tag: "20 %", percent: 20, image: "battery-20.png" },
            { tag: "21 %", percent: 21, image: "battery-40.png" },
            { tag: "80 %", percent: 80, image: "battery-80.png" },
            { tag: "81 %", percent: 81, image: "battery-100.png" },
            { tag: "100 %", percent: 100, image: "battery-100.png" },
            { tag: "out of range high", percent: 250, image: "battery-100.png" },
            { tag: "out of range low", percent: -5, image: "battery-0.png" }
        ];
    }

    function test_battryInUse(data) {
        const battry = createTemporaryObject(_battryComponent, _testCase, { percent: data.percent });
        const blink = findChild(battry, "_blinkImage");
        compare(String(blink.source), "qrc:/graphics/" + data.image);
        verify(blink.blink);
    }

    function test_battryCharging(): void {
        const battry = createTemporaryObject(_battryComponent, _testCase, { percent: 30 });
        const blink = findChild(battry, "_blinkImage");
        battry.state = "charging";
        verify(!blink.blink);
        compare(String(blink.source), "qrc:/graphics/battery-20.png");
        for (const step of [40, 60, 80, 100, 20, 40])
            tryCompare(blink, "source", Qt.url("qrc:/graphics/battery-" + step + ".png"), 1000);
        verify(!blink.blink);
    }

    function test_battryFullAndBackToUse(): void {
        const battry = createTemporaryObject(_battryComponent, _testCase, { percent: 30 });
        const blink = findChild(battry, "_blinkImage");
        battry.state = "full";
        compare(String(blink.source), "qrc:/graphics/battery-100.png");
        verify(!blink.blink);
        battry.state = "use";
        compare(String(blink.source), "qrc:/graphics/battery-40.png");
        verify(blink.blink);
    }

    function test_signalLevels_data() {
        const rows = [
            { value: 0, level: 0, blinks: true },
            { value: 19, level: 0, blinks: true },
            { value: 20, level: 1, blinks: false },
            { value: 39, level: 1, blinks: false },
            { value: 40, level: 2, blinks: false },
            { value: 60, level: 3, blinks: false },
            { value: 79, level: 3, blinks: false },
            { value: 80, level: 4, blinks: false },
            { value: 100, level: 4, blinks: false },
            { value: 255, level: 4, blinks: false },
            { value: -3, level: 0, blinks: true }
        ];
        const table = [];
        for (const row of rows) {
            table.push({ tag: "gsm " + row.value, component: _gsmComponent, prefix: "gsmSQ_", value: row.value, level: row.level, blinks: row.blinks });
            table.push({ tag: "gps " + row.value, component: _gpsComponent, prefix: "gpsSQ_", value: row.value, level: row.level, blinks: row.blinks });
        }
        return table;
    }

    function test_signalLevels(data) {
        const widget = createTemporaryObject(data.component, _testCase, { value: data.value });
        compare(String(widget.source), "qrc:/graphics/" + data.prefix + data.level + ".svg");
        compare(widget.blink, data.blinks);
    }

    function test_simCharge_data() {
        return [
            { tag: "none", value: 0, state: "LC", image: "simCharge-red.svg", blinks: true },
            { tag: "499", value: 499, state: "LC", image: "simCharge-red.svg", blinks: true },
            { tag: "500", value: 500, state: "MC", image: "simCharge-yellow.svg", blinks: false },
            { tag: "9999", value: 9999, state: "MC", image: "simCharge-yellow.svg", blinks: false },
            { tag: "10000", value: 10000, state: "HC", image: "simCharge-green.svg", blinks: false },
            { tag: "65534", value: 65534, state: "HC", image: "simCharge-green.svg", blinks: false },
            { tag: "unknown", value: 65535, state: "UnKnown", image: "simCharge-yellow.svg", blinks: false }
        ];
    }

    function test_simCharge(data) {
        const widget = createTemporaryObject(_simComponent, _testCase, { value: data.value });
        compare(widget.state, data.state);
        compare(String(widget.source), "qrc:/graphics/" + data.image);
        compare(widget.blink, data.blinks);
    }

    function test_simChargeStopsBlinkingWhenCreditArrives(): void {
        const widget = createTemporaryObject(_simComponent, _testCase, { value: 100 });
        verify(widget.blink);
        widget.value = 20000;
        verify(!widget.blink);
        compare(imageOf(widget).visible, true);
    }
}
