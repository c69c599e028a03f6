import QtQuick
import QtTest
import globals

// The route-to-car button of live tracking on a desktop, where the location service never comes
// on: the user is asked to switch it on, and 5 s after agreeing is told that GPS is off;
// declining leaves routing and locks the map on the car.
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
    when: windowShown

    function init(): void {
        _testCase.window = Qt.createComponent("qrc:/main.qml").createObject(null);
        verify(_testCase.window);
    }

    function cleanup(): void {
        _testCase.window.destroy();
        _testCase.window = null;
    }

    // The question is the window's own dialog, whatever the platform offers.
    function question(): var {
        const dialog = named("_gpsMessageDialog");
        tryVerify(() => dialog.opened, 3000, "the question is shown");
        compare(dialog.title, "روشن کردن جی\u200cپی\u200cاس");
        compare(named("_gpsReason").text, "برای مسیریابی نیاز به فعال کردن جی\u200cپی\u200cاس می\u200cباشد!");
        return dialog;
    }

    function test_agreeingLeavesRoutingOnceGpsStaysOff(): void {
        startRouting();
        const dialog = question();
        mouseClick(named("_gpsOkButton"));
        tryVerify(() => !dialog.visible, 3000);
        // Still routing while the platform is given its 5 s.
        wait(4000);
        verify(named("_btnMyRoute").checked);
        tryVerify(() => !named("_btnMyRoute").checked, 3000);
        compare(named("_lockStateItem").state, "car");
        compare(named("_mainTooltip").text, "جی‌پی‌اس خاموش است");
    }

    function test_declining_data() {
        return [
            { "tag": "cancel", "key": 0 },
            { "tag": "escape", "key": Qt.Key_Escape }
        ];
    }

    function test_declining(data): void {
        startRouting();
        const dialog = question();
        if (data.key)
            keyClick(data.key);
        else
            mouseClick(named("_gpsCancelButton"));
        tryVerify(() => !dialog.visible, 3000);
        verify(!named("_btnMyRoute").checked);
        compare(named("_lockStateItem").state, "car");
        compare(_testCase.window.currentOperation, Globals.LiveTracking_Operation, "the map stays open");
    }
}
