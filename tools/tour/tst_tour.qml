import QtQuick
import QtTest
import globals
import "qrc:/"

// Walks the app through its screens against the development server and saves a screenshot of
// each in the folder named by KOVA_SCREENSHOT_DIR.
TestCase {
    id: _tour

    property var window: null

    function findNamed(name: string): var {
        const found = findChild(_tour.window, name);
        verify(found, name);
        return found;
    }

    // The window's root item holds the pages, the tool bars and the pop-ups.
    function shoot(name: string): void {
        wait(400); // let transitions finish
        const root = _tour.window.contentItem.parent;
        waitForRendering(root);
        const path = testEnvironment.screenshotDir + "/" + name + ".png";
        grabImage(root).save(path); // throws when the file cannot be written
        console.log("screenshot:", path);
    }

    name: "Tour"

    function initTestCase(): void {
        verify(testEnvironment.screenshotDir.length > 0, "KOVA_SCREENSHOT_DIR is not set");
        const component = Qt.createComponent("qrc:/main.qml");
        compare(component.status, Component.Ready, component.errorString());
        _tour.window = component.createObject(null, {
            "width": 420,
            "height": 760
        });
        tryVerify(() => _tour.window.visible, 10000);
    }

    function test_1_login(): void {
        shoot("01-login");
    }

    function test_2_help(): void {
        const help = findNamed("_helpTip");
        help.open();
        tryVerify(() => help.opened, 3000);
        shoot("02-login-help");
        help.close();
        tryVerify(() => !help.visible, 3000);
    }

    function test_3_forgottenPassword(): void {
        const popup = findNamed("_forgetPopup");
        popup.open();
        tryVerify(() => popup.opened, 3000);
        shoot("03-forgotten-password");
        popup.close();
        tryVerify(() => !popup.visible, 3000);
    }

    function test_4_dashboard(): void {
        findNamed("_offlineCheck").checked = false;
        findNamed("_userField").text = "358000000000001";
        findNamed("_passwordField").text = "582901";
        mouseClick(findNamed("_loginButton"));
        tryCompare(_tour.window, "currentOperation", Globals.CarControl_Operation, 15000);
        tryVerify(() => _tour.window.currentStatus !== undefined && _tour.window.currentLocation !== undefined, 15000);
        wait(3000); // map tiles
        shoot("04-dashboard");
    }

    // Yesterday's trips from the server, summed up in the statistics popup over the map.
    function test_5_tripStatistics(): void {
        findNamed("_mainStackView").push(findNamed("_map"));
        _tour.window.currentOperation = Globals.Debriefing_Operation;
        const end = new Date();
        end.setHours(0, 0, 0, 0);
        const start = new Date(end.getTime() - 86400000);
        findNamed("_liveData").server.getDebriefingPath(_tour.window.currentDevice.imei, start, end);
        tryVerify(() => _tour.window.pathsAdvanceInfo.length > 0, 15000);
        const popup = findNamed("_path_AdvanceInfo_popup");
        popup.open();
        tryVerify(() => popup.opened, 3000);
        shoot("05-trip-statistics");
        popup.close();
        tryVerify(() => !popup.visible, 3000);
    }

    function test_6_exitConfirmation(): void {
        const dialog = findNamed("_closeDialog");
        dialog.open();
        tryVerify(() => dialog.opened, 3000);
        shoot("06-exit-confirmation");
        dialog.close();
    }

    // A notice as the server sends it: checked content, a link opened only by the popup.
    function test_7_serverNotice(): void {
        const notice = findNamed("_serverMessage");
        notice.title = "خبر";
        notice.qmlCode = "import QtQuick\nimport QtQuick.Controls\nLabel {\n    padding: 10\n    wrapMode: Text.WordWrap\n"
                + "    text: \"نسخه تازه برنامه آماده است. <a href='https://example.org'>دریافت</a>\"\n}\n";
        notice.open();
        tryVerify(() => notice.opened && notice.adjustItem !== null, 3000);
        shoot("07-server-notice");
        notice.close();
    }

    // Live tracking as the owner opens it: a click on the dashboard's map.
    function test_8_liveTracking(): void {
        const stack = findNamed("_mainStackView");
        stack.pop(findNamed("_dashboard"));
        _tour.window.currentOperation = Globals.CarControl_Operation;
        tryCompare(stack, "busy", false, 5000);
        mouseClick(findNamed("_miniMap"));
        tryCompare(stack, "busy", false, 5000);
        wait(3000); // tiles
        shoot("08-live-tracking");
    }

    // The dashboard's small map has the same buttons: these are the main map's.
    function onMap(name: string): var {
        const found = findChild(findNamed("_map"), name);
        verify(found, name);
        return found;
    }

    function test_9a_panelExpanded(): void {
        mouseClick(findNamed("_expandButton"));
        shoot("09-live-values");
        mouseClick(findNamed("_expandButton"));
    }

    function test_9b_mapTypes(): void {
        mouseClick(onMap("_layersButton"));
        const popup = onMap("_mapTypePopup");
        tryVerify(() => popup.opened, 3000);
        shoot("10-map-types");
        mouseClick(findChild(popup.contentItem, "_mapTypeTile1"));
        tryVerify(() => !popup.visible, 3000);
        wait(3000); // tiles
        shoot("11-satellite");
        mouseClick(onMap("_layersButton"));
        tryVerify(() => popup.opened, 3000);
        mouseClick(findChild(popup.contentItem, "_mapTypeTile0"));
    }

    function test_9c_geofence(): void {
        const stack = findNamed("_mainStackView");
        stack.pop(findNamed("_dashboard"));
        _tour.window.currentOperation = Globals.CarControl_Operation;
        tryVerify(() => findNamed("_liveData").server.geofencePolygonLoaded, 15000);
        _tour.window.currentOperation = Globals.Settings_Operation;
        _tour.window.currentOperation = Globals.GeoFence_Operation;
        tryCompare(stack, "busy", false, 5000);
        wait(3000); // tiles
        shoot("12-geofence");
        mouseClick(findNamed("_btnGefenceOnCenter"));
        shoot("13-geofence-centred");
    }

    function test_9d_mapSettings(): void {
        const stack = findNamed("_mainStackView");
        _tour.window.back();
        tryCompare(stack, "busy", false, 5000);
        stack.push(findNamed("_mapSettingPage"));
        tryCompare(stack, "busy", false, 5000);
        shoot("14-map-settings");
    }

    // The smallest window the app allows, on the dashboard and in live tracking: a window of
    // its own, as on a small phone.
    function test_9e_narrowWindow(): void {
        _tour.window.destroy();
        wait(50);
        _tour.window = Qt.createComponent("qrc:/main.qml").createObject(null);
        tryVerify(() => _tour.window.visible, 10000);
        _tour.window.showNormal();
        _tour.window.width = 350;
        _tour.window.height = 560;
        waitForRendering(_tour.window.contentItem);
        findNamed("_offlineCheck").checked = false;
        findNamed("_userField").text = "358000000000001";
        findNamed("_passwordField").text = "582901";
        mouseClick(findNamed("_loginButton"));
        tryCompare(_tour.window, "currentOperation", Globals.CarControl_Operation, 15000);
        const stack = findNamed("_mainStackView");
        tryCompare(stack, "busy", false, 5000);
        tryVerify(() => _tour.window.currentStatus !== undefined && _tour.window.currentLocation !== undefined, 15000);
        wait(2000); // tiles
        shoot("15-dashboard-narrow");
        mouseClick(findNamed("_miniMap"));
        tryCompare(stack, "busy", false, 5000);
        mouseClick(findNamed("_expandButton"));
        wait(2000); // tiles
        shoot("16-live-tracking-narrow");
    }
}
