import QtQuick
import QtTest
import globals

// The route-to-car button of live tracking on a desktop, where the location service never comes
// on: the user is asked to switch it on, and 5 s after agreeing is told that GPS is off.
TestCase {
    id: _testCase

    property var window: null

    function named(objectName: string): var {
        const found = findChild(_testCase.window, objectName);
        verify(found, objectName);
        return found;
    }

    function startRouting(): void {
        _testCase.window.currentOperation = Globals.LiveTracking_Operation;
        const route = named("_btnMyRoute");
        tryVerify(() => route.visible);
        route.clicked();
        verify(route.checked);
        compare(named("_lockStateItem").state, "me");
    }

    name: "WindowGps"

    function init(): void {
        _testCase.window = Qt.createComponent("qrc:/main.qml").createObject(null);
        verify(_testCase.window);
    }

    function cleanup(): void {
        _testCase.window.destroy();
        _testCase.window = null;
    }

    function test_agreeingLeavesRoutingOnceGpsStaysOff(): void {
        startRouting();
        named("_gpsMessageDialog").okClicked();
        // Still routing while the platform is given its 5 s.
        wait(4000);
        verify(named("_btnMyRoute").checked);
        tryVerify(() => !named("_btnMyRoute").checked, 3000);
        compare(named("_lockStateItem").state, "car");
        compare(named("_mainTooltip").text, "جیپیاس خاموش است");
    }

    function test_cancellingLeavesRoutingAtOnce(): void {
        startRouting();
        named("_gpsMessageDialog").cancelClicked();
        verify(!named("_btnMyRoute").checked);
        compare(named("_lockStateItem").state, "car");
    }
}
