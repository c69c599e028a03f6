import QtQuick
import QtTest
import globals

// The alarm settings of the real app against the development server, used as a person would:
// the settings button, the menu's alarm entry, a row edited and applied; the car applies the
// frame and the row settles on what the car then reports.
SystemTestCase {
    id: _testCase

    // Logs the owner in and opens the settings menu's entry `index` as a finger would.
    function openMenuEntry(index: int, pageName: string): var {
        loggedInOwner();
        mouseClick(buttonWithText(_testCase.window.footer, "تنظیمات"));
        compare(_testCase.window.currentOperation, Globals.Settings_Operation);
        const stack = findNamed("_mainStackView");
        tryCompare(stack, "busy", false, 5000);
        const list = findChild(findNamed("_settingsMenu"), "_list");
        waitForRendering(list);
        mouseClick(findChild(list.itemAtIndex(index), "_rowArea"));
        tryCompare(stack, "busy", false, 5000);
        const page = findNamed(pageName);
        compare(stack.currentItem, page);
        return page;
    }

    function openAlarms(): var {
        const page = openMenuEntry(1, "_deviceSettings_Alarms");
        // The first report of the device's settings has reached the page.
        tryVerify(() => _testCase.window._deviceSettings.doorAlarmType !== undefined, 15000);
        return page;
    }

    function click(item: Item, name: string): void {
        const target = findChild(item, name);
        verify(target, name);
        waitForRendering(item);
        verify(target.visible && target.enabled, name);
        mouseClick(target);
    }

    // Waits for `count` more settings replies to reach the window.
    function waitForSettings(count: int): void {
        const spy = createTemporaryObject(_spyComponent, _testCase, {
            "target": _testCase.window,
            "signalName": "_deviceSettingsChanged"
        });
        for (let i = 0; i < count; ++i)
            spy.wait(10000);
    }

    name: "Settings"

    function cleanup(): void {
        closeWindow();
    }

    function test_doorRowSettlesOnTheReport() {
        const page = openAlarms();
        const row = findChild(page, "_doorRow");
        const before = page.doorAlarmType;
        const wanted = before === 3 ? 2 : 3;
        const sent = receivedFrames().length;
        click(row, "_editButton");
        findChild(row, "_editCall").checked = (wanted & 1) !== 0;
        findChild(row, "_editSms").checked = (wanted & 2) !== 0;
        click(row, "_applyButton");
        compare(row.state, "busy");
        tryVerify(() => receivedNext(sent, "[oribel,23," + wanted + "]}]"), 10000, "the car received the frame");
        tryCompare(row, "state", "idle", 15000);
        compare(page.doorAlarmType, wanted);
        verify(findChild(row, "_shownCall").checked === ((wanted & 1) !== 0));
    }

    // The same type again changes nothing the car reports: the row waits for its time-out.
    function test_unchangedReportWaitsForTheTimeout() {
        const page = openAlarms();
        const row = findChild(page, "_trunkRow");
        row.timeout = 8000;
        const sent = receivedFrames().length;
        click(row, "_editButton");
        click(row, "_applyButton");
        tryVerify(() => receivedNext(sent, "[oribel,26," + page.trunkAlarmType + "]}]"), 10000, "the car received the frame");
        waitForSettings(1);
        compare(row.state, "busy");
        tryCompare(row, "state", "idle", 15000);
    }

    // The zone row sends its alarm type first, then the zone with its mode.
    function test_geofenceRowSendsTwoFramesInOrder() {
        const page = openAlarms();
        const row = findChild(page, "_geofenceRow");
        findNamed("_scrollArea").contentY = row.y;
        const sent = receivedFrames().length;
        click(row, "_editButton");
        findChild(row, "_editCall").checked = true;
        findChild(row, "_editSms").checked = true;
        click(row, "_applyButton");
        tryVerify(() => receivedFrames().length >= sent + 2, 10000, "the car received both frames");
        const frames = receivedFrames();
        compare(frames[sent], "[oribel,19,3]}]");
        verify(frames[sent + 1].startsWith("[oribel,18," + page.geofenceInOut + ","), frames[sent + 1]);
        tryCompare(page, "geoFenceAlarmType", 3, 15000);
    }

    // A step chosen on the appearance page is the step of the next start; the default comes back last.
    function test_textSizeStepSurvivesARestart() {
        let page = openMenuEntry(4, "_deviceSettings_Appearance");
        mouseClick(findChild(page, "_step2"));
        compare(_testCase.window.basePixelSizeFactorIndex, 2);
        const largePixelSize = _testCase.window.basePixelSize;
        closeWindow();

        page = openMenuEntry(4, "_deviceSettings_Appearance");
        compare(_testCase.window.basePixelSizeFactorIndex, 2);
        compare(_testCase.window.basePixelSize, largePixelSize);
        verify(findChild(page, "_step2").checked);
        mouseClick(findChild(page, "_step1"));
        compare(_testCase.window.basePixelSizeFactorIndex, 1);
    }

    Component {
        id: _spyComponent

        SignalSpy {}
    }
}
