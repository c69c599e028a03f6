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
        _activedSpy.clear();
        _rejectSpy.clear();
    }

    name: "RoundDelayButton"
    visible: true
    width: 200
    height: 200
    when: windowShown

    FontLoader {
        id: _font
    }

    RoundDelayButton {
        id: _button

        x: 50
        y: 50
        width: 50
        height: 50
    }

    SignalSpy {
        id: _activedSpy

        target: _button
        signalName: "actived"
    }

    SignalSpy {
        id: _rejectSpy

        target: _button
        signalName: "reject"
    }

    function test_hold_data() {
        return [
            { tag: "400 ms held 380", delay: 400, held: 380, actived: 0, reject: 1 },
            { tag: "400 ms held 40", delay: 400, held: 40, actived: 0, reject: 1 },
            { tag: "400 ms held 600", delay: 400, held: 600, actived: 1, reject: 0 },
            { tag: "2000 ms held 1900", delay: 2000, held: 1900, actived: 0, reject: 1 },
            { tag: "2000 ms held 2200", delay: 2000, held: 2200, actived: 1, reject: 0 }
        ];
    }

    function test_hold(data) {
        _button.delay = data.delay;
        mousePress(_button);
        wait(data.held);
        compare(_rejectSpy.count, 0);
        compare(_activedSpy.count, data.actived);
        mouseRelease(_button);
        compare(_activedSpy.count, data.actived);
        compare(_rejectSpy.count, data.reject);
        compare(_button.percent, 0);
        // Nothing fires later either.
        wait(data.delay - data.held + 100);
        compare(_activedSpy.count, data.actived);
    }

    function test_ringGrowsWhileHeld(): void {
        _button.delay = 400;
        compare(_button.percent, 0);
        mousePress(_button);
        tryVerify(() => _button.percent > 0.2 && _button.percent < 1, 400);
        tryCompare(_button, "percent", 1, 1000);
        mouseRelease(_button);
        compare(_button.percent, 0);
        compare(_activedSpy.count, 1);
        compare(_rejectSpy.count, 0);
    }

    function test_ringIsDrawnOnlyWhileHeld(): void {
        _button.delay = 400;
        _button.icon.source = "";
        _button.gradientColor1 = "black";
        _button.gradientColor2 = "black";
        mousePress(_button);
        wait(500);
        // The ring is open at the bottom: green at the left edge, not at the bottom centre.
        let image = grabImage(_button);
        const left = image.pixel(2, 25);
        verify(left.g > 0.8 && left.r < 0.2, "ring at the left edge: " + left);
        const bottom = image.pixel(25, 47);
        verify(bottom.g < 0.5, "gap at the bottom: " + bottom);
        mouseRelease(_button);
        wait(50);
        image = grabImage(_button);
        verify(image.pixel(2, 25).g < 0.5);
        _button.icon.source = "qrc:/graphics/checkmark.png";
        _button.gradientColor1 = "#39538a";
        _button.gradientColor2 = "#071136";
    }
}
