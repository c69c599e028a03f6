import QtQuick
import QtTest
import globals
import kova.tools
import "qrc:/"

// Log-in, the dashboard and the car's switches.
SystemTestCase {
    id: _testCase

    name: "App"

    function cleanup(): void {
        closeWindow();
    }

    function test_ownerReachesTheDashboardWithLiveData() {
        loggedInOwner();
        const stack = findNamed("_mainStackView");
        compare(stack.depth, 2);
        compare(stack.currentItem, findNamed("_dashboard"));
        tryVerify(() => _testCase.window.currentLocation !== undefined
                  && _testCase.window.currentLocation.lat > 36, 15000);
        tryVerify(() => _testCase.window.currentStatus !== undefined
                  && Object.keys(_testCase.window.currentStatus).length === 10, 15000);
    }

    function test_wrongPasswordShowsTheServersText() {
        openWindow();
        logIn("358000000000001", "000000");
        const tooltip = findNamed("_mainTooltip");
        tryCompare(tooltip, "text", "نام کاربری یا کلمه عبور اشتباه است!", 10000);
        verify(tooltip.visible);
        compare(_testCase.window.currentOperation, Globals.Login_Operation);
    }

    function test_rememberedPasswordIsSentAsTheStoredHash() {
        openWindow();
        findNamed("_rememberMe").checked = true;
        logIn("358000000000001", "582901");
        tryCompare(_testCase.window, "currentOperation", Globals.CarControl_Operation, 15000);
        _testCase.window.destroy();
        _testCase.window = null;
        wait(50);

        openWindow();
        const password = findNamed("_passwordField");
        compare(password.text, "**********");
        compare(findNamed("_userField").text, "358000000000001");
        mouseClick(findNamed("_loginButton"));
        tryCompare(_testCase.window, "currentOperation", Globals.CarControl_Operation, 15000);
    }

    function test_escapeOnTheLoginPageAsksBeforeLeaving() {
        openWindow();
        _testCase.window.requestActivate();
        keyClick(Qt.Key_Escape);
        tryVerify(() => findNamed("_closeDialog").opened, 5000);
    }

    function test_powerCutNeedsAFullHoldAndShowsOnceApplied() {
        loggedInOwner();
        const dashboard = findNamed("_dashboard");
        tryCompare(dashboard, "carOnState", false, 15000);
        const offLabel = findNamed("_offLabel");
        const colourBefore = String(offLabel.color);
        const framesBefore = receivedFrames().length;

        hold(findNamed("_powerCutButton"), 1500);
        wait(1500);
        compare(receivedFrames().length, framesBefore, "a 1.5 s hold sends nothing");

        hold(findNamed("_powerCutButton"), 2200);
        tryVerify(() => receivedNext(framesBefore, "[oribel,14,3,1]}]"), 10000);
        tryCompare(dashboard, "carOnState", true, 15000);
        verify(String(offLabel.color) !== colourBefore);

        hold(findNamed("_powerConnectButton"), 2200);
        tryCompare(dashboard, "carOnState", false, 15000);
        compare(String(offLabel.color), colourBefore);
    }

    function test_alarmSwitchWaitsForTheCar() {
        loggedInOwner();
        const dashboard = findNamed("_dashboard");
        const alarm = findNamed("_alarmSwitch");
        tryVerify(() => alarm.state === "on" || alarm.state === "off", 15000);
        const wasOn = alarm.state === "on";
        const framesBefore = receivedFrames().length;

        mouseClick(alarm);
        compare(alarm.state, "busy");
        const frame = wasOn ? "[oribel,30,0]}]" : "[oribel,30,1]}]";
        tryVerify(() => receivedNext(framesBefore, frame), 10000);
        tryCompare(alarm, "state", wasOn ? "off" : "on", 15000);
        compare(dashboard.multiAlarm, !wasOn);
    }
}
