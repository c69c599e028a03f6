import QtQuick
import QtTest
import globals
import mySettings

// The general device settings of the real app against the development server, used as a person
// would: the menu's first entry, the emergency code edited and applied until the car reports it,
// the device's SIM number changed on the server and back, a USSD code and a restart sent to the
// car. Whatever a test changes on the shared server it puts back; the factory reset and the
// erase, which cannot be put back, go to the fleet car that no later test uses.
SystemTestCase {
    id: _testCase

    readonly property string ownerSim: "09120000001"
    readonly property real fleetImei: 358000000000003

    function openGeneral(): var {
        loggedInOwner();
        return openGeneralOfCurrentCar();
    }

    function openGeneralOfCurrentCar(): var {
        mouseClick(buttonWithText(_testCase.window.footer, "تنظیمات"));
        compare(_testCase.window.currentOperation, Globals.Settings_Operation);
        const stack = findNamed("_mainStackView");
        tryCompare(stack, "busy", false, 5000);
        const list = findChild(findNamed("_settingsMenu"), "_list");
        waitForRendering(list);
        mouseClick(findChild(list.itemAtIndex(0), "_rowArea"));
        tryCompare(stack, "busy", false, 5000);
        const page = findNamed("_deviceSettings_Global");
        compare(stack.currentItem, page);
        // The first report of the device's settings has reached the page.
        tryVerify(() => _testCase.window._deviceSettings.forceUnlockNumber1 !== undefined, 15000);
        return page;
    }

    function click(item: Item, name: string): void {
        const target = findChild(item, name);
        verify(target, name);
        waitForRendering(item);
        verify(target.visible && target.enabled, name);
        mouseClick(target);
    }

    // Scrolls the page until `item` is in view.
    function reveal(page: Item, item: Item): void {
        const scroll = findChild(page, "_scrollArea");
        const y = item.mapToItem(scroll.contentItem, 0, 0).y;
        scroll.contentY = Math.max(0, Math.min(y - 20, scroll.contentHeight - scroll.height));
        waitForRendering(page);
    }

    // Edits and applies the emergency code; returns the frame count before it left.
    function applyCode(page: Item, first: int, second: int): int {
        const box = findChild(page, "_emergencyBox");
        const sent = receivedFrames().length;
        click(box, "_editButton");
        findChild(page, "_firstDigit").value = first;
        findChild(page, "_secondDigit").value = second;
        click(box, "_applyButton");
        compare(box.state, "busy");
        tryVerify(() => receivedNext(sent, "[oribel,34," + first + "," + second + "]}]"), 10000, "the car received the frame");
        return sent;
    }

    function waitForSettings(count: int): void {
        const spy = createTemporaryObject(_spyComponent, _testCase, {
            "target": _testCase.window,
            "signalName": "_deviceSettingsChanged"
        });
        for (let i = 0; i < count; ++i)
            spy.wait(10000);
    }

    function applySimNumber(field: Item, typed: string): void {
        click(field, "_editButton");
        findChild(field, "_editField").text = typed;
        click(field, "_applyButton");
        compare(field.state, "busy");
    }

    name: "General"

    function cleanup(): void {
        closeWindow();
    }

    function test_emergencyCodeSettlesOnTheReport() {
        const page = openGeneral();
        const box = findChild(page, "_emergencyBox");
        const before = [page.forceUnlockNumber1, page.forceUnlockNumber2];
        const wanted = [before[0] % 5 + 1, before[1] % 5 + 1];
        applyCode(page, wanted[0], wanted[1]);
        tryCompare(box, "state", "idle", 15000);
        compare([findChild(page, "_firstDigit").value, findChild(page, "_secondDigit").value], wanted);
        applyCode(page, before[0], before[1]);
        tryCompare(box, "state", "idle", 15000);
        compare([page.forceUnlockNumber1, page.forceUnlockNumber2], before);
    }

    // The same code again changes nothing the car reports: the box waits for its time-out.
    function test_unchangedCodeWaitsForTheTimeout() {
        const page = openGeneral();
        const box = findChild(page, "_emergencyBox");
        box.timeout = 8000;
        applyCode(page, page.forceUnlockNumber1, page.forceUnlockNumber2);
        waitForSettings(1);
        compare(box.state, "busy");
        tryCompare(box, "state", "idle", 15000);
    }

    // The server keeps the new number, refuses another car's, and takes the old one back.
    function test_simNumberThroughTheServer() {
        const page = openGeneral();
        const field = findChild(page, "_simNumberField");
        let listReads = 0;
        const countRead = () => ++listReads;
        findNamed("_settingsPages").page("DeviceSelection").modelChanged.connect(countRead);
        compare(field.text, ownerSim);
        applySimNumber(field, "09120000091");
        tryCompare(field, "state", "idle", 10000);
        compare(field.text, "09120000091");
        compare(_testCase.window.currentDevice.simNumber, "09120000091");
        // Stored for the next offline login, and the list of devices reads its records again.
        compare(MySettings.deviceSimNumber, "09120000091");
        compare(findNamed("_settingsPages").page("DeviceSelection").model[0].simNumber, "09120000091");
        compare(listReads, 1);
        // Another car's number: refused at once with the server's reason, well before the time-out.
        applySimNumber(field, "09120000003");
        tryCompare(field, "state", "idle", 10000);
        compare(findNamed("_mainTooltip").text, "این شماره سیم‌کارت برای دستگاه دیگری ثبت شده است.");
        compare(field.text, "09120000091");
        applySimNumber(field, ownerSim);
        tryCompare(field, "text", ownerSim, 10000);
        compare(field.state, "idle");
        compare(_testCase.window.currentDevice.simNumber, ownerSim);
        compare(MySettings.deviceSimNumber, ownerSim);
        findNamed("_settingsPages").page("DeviceSelection").modelChanged.disconnect(countRead);
    }

    function test_ussdCodeReachesTheCar() {
        const page = openGeneral();
        const sent = receivedFrames().length;
        const field = findChild(page, "_ussdField");
        mouseClick(field);
        for (const key of "*140#")
            keyClick(key);
        compare(field.text, "*140#");
        click(page, "_ussdButton");
        verify(!findChild(page, "_ussdButton").enabled);
        tryVerify(() => receivedNext(sent, "[oribel,16,at+cusd=1,\"*140#\"]}]"), 10000, "the car received the code");
        tryVerify(() => findChild(page, "_ussdButton").enabled, 5000);
    }

    // A short press sends nothing; a full hold restarts the car from the SIM in use.
    function test_restartByHolding() {
        const page = openGeneral();
        const button = findChild(page, "_rebootButton");
        reveal(page, button);
        const tooltip = findNamed("_mainTooltip");
        const sent = receivedFrames().length;
        hold(button, 800);
        compare(tooltip.text, "برای ریست کردن دستگاه دکمه را 2 ثانیه نگه دارید.");
        hold(button, 2500);
        compare(tooltip.text, "دستور ریست کردن دستگاه از سیم‌کارت 1 ارسال شد");
        tryVerify(() => receivedFrames().length > sent, 10000, "the car received a frame");
        compare(receivedFrames().slice(sent), ["[oribel,0]}]"]);
    }

    // The root login's third car: both commands leave after a full hold and reach that car.
    function test_factoryResetAndEraseReachTheFleetCar() {
        openWindow();
        logIn("root", "582901");
        tryCompare(_testCase.window, "currentOperation", Globals.CarControl_Operation, 15000);
        tryCompare(findNamed("_mainStackView"), "busy", false, 5000);
        _testCase.window.currentDeviceIndex = 2;
        compare(Number(_testCase.window.currentDevice.imei), fleetImei);
        const page = openGeneralOfCurrentCar();
        const tooltip = findNamed("_mainTooltip");
        const sent = receivedFramesOf(fleetImei).length;
        const reset = findChild(page, "_factoryResetButton");
        reveal(page, reset);
        hold(reset, 2500);
        compare(tooltip.text, "دستور بازگشت به تنظیمات کارخانه از سیم‌کارت 1 ارسال شد");
        tryVerify(() => receivedFramesOf(fleetImei).length > sent, 10000, "the car received the reset");
        // The message lies over the lower buttons while it shows.
        tooltip.close();
        tryCompare(tooltip, "visible", false);
        const erase = findChild(page, "_eraseButton");
        reveal(page, erase);
        hold(erase, 2500);
        compare(tooltip.text, "دستور فرمت حافظه دستگاه از سیم‌کارت 1 ارسال شد");
        tryVerify(() => receivedFramesOf(fleetImei).length > sent + 1, 10000, "the car received the erase");
        compare(receivedFramesOf(fleetImei).slice(sent), ["[oribel,1]}]", "[oribel,2]}]"]);
    }

    Component {
        id: _spyComponent

        SignalSpy {}
    }
}
