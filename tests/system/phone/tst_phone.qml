import QtQuick
import QtTest
import QtPositioning
import globals
import kova.testing
import "../online"

// The real window with the phone's own services, each a double on the private bus: the SIM the
// owner chose sends the commands, the car's answers come in as SMS, standing alarms notify once,
// the location service places the phone for the route, and a finger logs the owner in.
SystemTestCase {
    id: _testCase

    readonly property string modemManager: "org.freedesktop.ModemManager1"
    readonly property string secondModem: "/sys/devices/usb1/1-2"
    readonly property string ownerSim: "09120000001"

    function cleanup(): void {
        closeWindow();
    }

    // With KOVA_SCREENSHOT_DIR set, the window as it is now, for a person to look at.
    function screenshot(name: string): void {
        if (testEnvironment.screenshotDir.length === 0)
            return;
        wait(400); // transitions end
        waitForRendering(_testCase.window.contentItem);
        grabImage(_testCase.window.contentItem.parent).save(testEnvironment.screenshotDir + "/" + name + ".png");
    }

    // A list a double answered, as arrays all the way down; a failed call fails the test.
    function list(reply: var): var {
        verify(reply !== undefined && reply.error === undefined, JSON.stringify(reply));
        return Array.from(reply, entry => typeof entry === "object" && entry.length !== undefined ? list(entry) : entry);
    }

    // (Device, number, text) of every SMS the modems sent, oldest first.
    function sentByModems(): var {
        return list(_bus.control(true, modemManager, "/org/freedesktop/ModemManager1", "GetSent"));
    }

    function notifyCalls(): var {
        const calls = list(_bus.control(false, "org.freedesktop.Notifications", "/org/freedesktop/Notifications", "GetMethodCalls", ["Notify"]));
        return calls.map(call => call[1]);
    }

    function openSettingsMenu(): var {
        mouseClick(buttonWithText(_testCase.window.footer, "تنظیمات"));
        compare(_testCase.window.currentOperation, Globals.Settings_Operation);
        tryCompare(findNamed("_mainStackView"), "busy", false, 5000);
        const list = findChild(findNamed("_settingsMenu"), "_list");
        waitForRendering(list);
        return list;
    }

    // Two modems make a dual-SIM phone: the menu offers the SIM choice, in a row of its own size,
    // and the choice holds in the next session from the first command on.
    function test_commandsLeaveThroughTheChosenSim() {
        loggedInOwner();
        const list = openSettingsMenu();
        const menu = findNamed("_settingsMenu");
        let simRow = null;
        for (let i = 0; i < list.count; ++i) {
            if (menu.entryName(i) === "Menu_SimCards")
                simRow = list.itemAtIndex(i);
        }
        verify(simRow, "the SIM entry shows with two modems");
        const second = findChild(simRow, "_sim2");
        verify(second);
        verify(second.height > 10, "the chooser has its row's height, not 1 px");
        const corner = second.mapToItem(simRow, 0, 0);
        verify(corner.x >= 0 && corner.x + second.width <= simRow.width, "the buttons lie inside the row");
        mouseClick(second);
        verify(second.highlighted);
        screenshot("settings-dual-sim");
        closeWindow();

        loggedInOwner();
        const dashboard = findNamed("_dashboard");
        tryCompare(dashboard, "carOnState", false, 15000);
        const framesBefore = receivedFrames().length;
        const sentBefore = sentByModems().length;
        hold(findNamed("_powerCutButton"), 2200);
        tryVerify(() => sentByModems().length > sentBefore, 10000);
        compare(sentByModems()[sentBefore], [secondModem, ownerSim, "[oribel,14,3,1]}]"]);
        tryVerify(() => receivedNext(framesBefore, "[oribel,14,3,1]}]"), 10000, "the car got it");
        tryCompare(dashboard, "carOnState", true, 15000);

        hold(findNamed("_powerConnectButton"), 2200);
        tryCompare(dashboard, "carOnState", false, 15000);
    }

    // Offline, the car's position and state come back by SMS through the modem and fill the
    // window's status, which the dashboard shows.
    function test_offlineAnswerArrivesBySms() {
        loggedInOwner(); // stores the credentials the offline login stands on
        closeWindow();

        openWindow();
        findNamed("_offlineCheck").checked = true;
        logIn("358000000000001", "582901");
        tryCompare(_testCase.window, "currentOperation", Globals.CarControl_Operation, 15000);
        tryCompare(findNamed("_mainStackView"), "busy", false, 5000);
        openLiveTracking(); // the offline request sits in the map's tool bar
        const offline = findNamed("_btnGetOffline");
        tryVerify(() => offline.visible && offline.width > 0, 5000, "the offline request is offered");
        waitForRendering(offline);
        const sentBefore = sentByModems().length;
        _testCase.window.currentStatus = {};

        mouseClick(offline);
        compare(offline.state, "busy");
        tryVerify(() => sentByModems().length > sentBefore, 10000);
        compare(sentByModems()[sentBefore].slice(1), [ownerSim, "[oribel,55]}]"]);
        tryCompare(offline, "state", "ready", 15000);
        verify(_testCase.window.currentStatus.battryPercent !== undefined, "the answer's status shows");
        const location = _testCase.window.currentLocation;
        verify(Math.abs(location.lat - 36.3) < 0.1 && Math.abs(location.lon - 59.6) < 0.1, JSON.stringify(location));
        findNamed("_offlineCheck").checked = false;
    }

    // The window repeats each standing alarm on every status reply; the notification server
    // sees each alarm once, and a newer time of one of them replaces its bubble.
    function test_standingAlarmsNotifyOnce() {
        loggedInOwner();
        const liveData = findNamed("_liveData");
        const before = notifyCalls().length;
        const reply = {
            "isValid": true,
            "events": 1 | 8,
            "doorTime": 1742538600,
            "powerDisconnectTime": 1742538660
        };
        for (let i = 0; i < 5; ++i) {
            liveData.handleStatusReply(reply);
            wait(100);
        }
        tryVerify(() => notifyCalls().length >= before + 2, 5000);
        wait(500);
        let calls = notifyCalls().slice(before);
        compare(calls.length, 2, JSON.stringify(calls));
        // Notify(app_name, replaces_id, app_icon, summary, body, actions, hints, timeout)
        compare(calls.map(call => call[3]).sort(), ["هشدار باز شدن درب‌ها", "هشدار قطع برق خودرو (سرقت باطری)"].sort());
        compare(calls[0][1], 0);
        compare(calls[1][1], 0);

        reply.doorTime = 1742538900;
        liveData.handleStatusReply(reply);
        liveData.handleStatusReply(reply);
        tryVerify(() => notifyCalls().length === before + 3, 5000);
        wait(500);
        calls = notifyCalls().slice(before);
        compare(calls.length, 3);
        compare(calls[2][3], "هشدار باز شدن درب‌ها");
        verify(calls[2][1] > 0, "the door alarm's bubble is replaced in place");
    }

    // With the location service's fix the route button walks from where the phone is.
    function test_routeStartsAtTheLocationServicesFix() {
        const fix = _bus.control(true, "org.freedesktop.GeoClue2", "/org/freedesktop/GeoClue2/Manager", "SetLocation", [36.3, 59.599, 10.0]);
        verify(typeof fix === "string", JSON.stringify(fix));
        loggedInOwner();
        tryVerify(() => _testCase.window.currentLocation !== undefined, 15000);
        const map = openLiveTracking();
        const routeButton = findNamed("_btnMyRoute");
        mouseClick(routeButton);
        if (!map.enableRouting) {
            // GPS was found off before the fix arrived: the dialog turns it on.
            const dialog = findNamed("_gpsMessageDialog");
            tryVerify(() => dialog.opened, 3000);
            mouseClick(findNamed("_gpsOkButton"));
        }
        tryVerify(() => map.enableRouting, 10000, "the location service gives positions, so routing starts");
        tryVerify(() => map.myCoordinateIsValid, 10000);
        const line = map.myRouteToCarMapItem;
        tryVerify(() => line.path.length > 1, 15000, "a route is drawn");
        const phone = QtPositioning.coordinate(36.3, 59.599);
        verify(line.path[0].distanceTo(phone) < 1, "the route starts at the service's fix");
        verify(line.path[line.path.length - 1].distanceTo(_testCase.window.carCoord) < 1);
        mouseClick(routeButton);
    }

    // The reader has the owner's finger: after one login with the password, a touch logs in, and
    // the reader is let go.
    function test_fingerLogsTheOwnerIn() {
        const fprint = "net.reactivated.Fprint";
        const manager = "/net/reactivated/Fprint/Manager";
        loggedInOwner();
        closeWindow();

        openWindow();
        const finger = findNamed("_fingerButton");
        tryVerify(() => finger.visible, 5000, "the fingerprint login is offered");
        screenshot("login-fingerprint");
        _bus.control(true, fprint, manager, "SetNextVerification", ["no-match"]);
        mouseClick(finger);
        wait(1000);
        compare(_testCase.window.currentOperation, Globals.Login_Operation, "another finger opens nothing");
        tryVerify(() => _bus.control(true, fprint, manager, "IsClaimed") === false, 5000, "the reader is released");

        _bus.control(true, fprint, manager, "SetNextVerification", ["match"]);
        mouseClick(finger);
        tryCompare(_testCase.window, "currentOperation", Globals.CarControl_Operation, 15000);
        verify(!_bus.control(true, fprint, manager, "IsClaimed"), "the reader is released");
    }

    BusProbe {
        id: _bus
    }
}
