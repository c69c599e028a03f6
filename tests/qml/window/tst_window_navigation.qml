import QtQuick
import QtTest
import globals

// Page stack, operations and back steps of the main window.
TestCase {
    id: _testCase

    property var window: null
    property var stack: null

    name: "WindowNavigation"

    // The alarm and share pages are made the first time they are asked for.
    function page(objectName) {
        if (objectName === "_deviceSettings_Alarms")
            return findChild(window, "_settingsPages").page("Menu_Alarms");
        if (objectName === "_shareLocation")
            return findChild(window, "_shareLocationLoader").page();
        return findChild(window, objectName);
    }

    // Login page, dashboard, then whatever pages are given, with the operation they stand for.
    function buildStack(pages, operation) {
        stack.lock = true;
        stack.pop(null, 1);
        for (const name of pages)
            stack.push(page(name), {}, 1);
        window.currentOperation = operation;
        stack.lock = false;
    }

    function init() {
        window = Qt.createComponent("qrc:/main.qml").createObject(null);
        verify(window);
        stack = page("_mainStackView");
        verify(stack);
    }

    function cleanup() {
        window.destroy();
        window = null;
    }

    // No dialler here (the phone services are off): each way to call shows the number to copy.
    function test_callWithoutDialler_data() {
        return [
            { "tag": "header's call button", "number": "09121112233", "call": () => findChild(window, "_btnCallToDevice").clicked() },
            { "tag": "footer's listen-in", "number": "09121112233", "call": () => window.footer.listenClicked() },
            { "tag": "a support number", "number": "02100000000", "call": () => findChild(window, "_settingsPages").page("Menu_Support").callRequested("02100000000") },
            { "tag": "no number on record", "number": "", "call": () => window.footer.listenClicked() }
        ];
    }

    function test_callWithoutDialler(data) {
        window.loginResponse = { "devices": [{ "imei": 358000000000001, "simNumber": data.number === "" ? "" : "09121112233" }] };
        data.call();
        const popup = page("_phoneCall");
        tryCompare(popup, "opened", true);
        compare(popup.number, data.number);
        compare(findChild(popup.contentItem, "_callNumber").visible, data.number !== "");
        const copy = findChild(popup.contentItem, "_copyNumberButton");
        compare(copy.visible, data.number !== "");
        if (data.number !== "") {
            mouseClick(copy);
            compare(copy.text, "کپی شد");
        }
        mouseClick(findChild(popup.contentItem, "_closeCallButton"));
        tryCompare(popup, "visible", false);
    }

    function test_operationPushes_data() {
        return [
            { "tag": "live tracking pushes the map", "locked": false, "onTop": false, "operation": Globals.LiveTracking_Operation, "top": "_map", "depth": 3 },
            { "tag": "live tracking, map already on top", "locked": false, "onTop": true, "operation": Globals.LiveTracking_Operation, "top": "_map", "depth": 3 },
            { "tag": "live tracking while locked", "locked": true, "onTop": false, "operation": Globals.LiveTracking_Operation, "top": "_dashboard", "depth": 2 },
            { "tag": "trip report pushes the map", "locked": false, "onTop": false, "operation": Globals.Debriefing_Operation, "top": "_map", "depth": 3 },
            { "tag": "geofence, map already on top", "locked": false, "onTop": true, "operation": Globals.GeoFence_Operation, "top": "_map", "depth": 3 },
            { "tag": "settings pushes the menu", "locked": false, "onTop": false, "operation": Globals.Settings_Operation, "top": "_settingsMenu", "depth": 3 },
            { "tag": "settings while locked", "locked": true, "onTop": false, "operation": Globals.Settings_Operation, "top": "_dashboard", "depth": 2 },
            { "tag": "car control pushes nothing", "locked": false, "onTop": false, "operation": Globals.CarControl_Operation, "top": "_dashboard", "depth": 2 }
        ];
    }

    function test_operationPushes(data) {
        buildStack(data.onTop ? ["_dashboard", "_map"] : ["_dashboard"], Globals.NewLoginSetting_Operation);
        stack.lock = data.locked;
        window.currentOperation = data.operation;
        stack.lock = false;
        compare(stack.depth, data.depth);
        compare(stack.currentItem, page(data.top));
    }

    function test_geofenceReleasesLockAndReloads() {
        buildStack(["_dashboard", "_settingsMenu"], Globals.Settings_Operation);
        window.currentOperation = Globals.LiveTracking_Operation;
        compare(page("_lockStateItem").state, "car");
        window.currentOperation = Globals.GeoFence_Operation;
        compare(page("_lockStateItem").state, "");
        compare(stack.currentItem, page("_map"));
    }

    function test_backButton_data() {
        return [
            { "tag": "map over dashboard", "pages": ["_dashboard", "_map"], "operation": Globals.LiveTracking_Operation, "after": Globals.CarControl_Operation, "depth": 2 },
            { "tag": "share page over map", "pages": ["_dashboard", "_map", "_shareLocation"], "operation": Globals.ShareLocation_Operation, "after": Globals.LiveTracking_Operation, "depth": 3 },
            { "tag": "geofence map over settings page", "pages": ["_dashboard", "_settingsMenu", "_deviceSettings_Alarms", "_map"], "operation": Globals.GeoFence_Operation, "after": Globals.Settings_Operation, "depth": 4 },
            { "tag": "settings page over menu", "pages": ["_dashboard", "_settingsMenu", "_deviceSettings_Alarms"], "operation": Globals.Settings_Operation, "after": Globals.Settings_Operation, "depth": 3 }
        ];
    }

    function test_backButton(data) {
        buildStack(data.pages, data.operation);
        window.back();
        compare(window.currentOperation, data.after);
        compare(stack.depth, data.depth);
        verify(!stack.lock);
    }

    function test_escapeKey_data() {
        return [
            { "tag": "depth 2", "pages": ["_dashboard"], "operation": Globals.CarControl_Operation, "after": Globals.Login_Operation, "depth": 1 },
            { "tag": "depth 3", "pages": ["_dashboard", "_map"], "operation": Globals.LiveTracking_Operation, "after": Globals.CarControl_Operation, "depth": 2 },
            { "tag": "depth 4 from sharing", "pages": ["_dashboard", "_map", "_shareLocation"], "operation": Globals.ShareLocation_Operation, "after": Globals.LiveTracking_Operation, "depth": 3 },
            { "tag": "depth 4 settings page", "pages": ["_dashboard", "_settingsMenu", "_deviceSettings_Alarms"], "operation": Globals.Settings_Operation, "after": Globals.Settings_Operation, "depth": 3 },
            { "tag": "depth 5 geofence", "pages": ["_dashboard", "_settingsMenu", "_deviceSettings_Alarms", "_map"], "operation": Globals.GeoFence_Operation, "after": Globals.Settings_Operation, "depth": 4 }
        ];
    }

    function test_escapeKey(data) {
        buildStack(data.pages, data.operation);
        page("_loginPage").loginState = 2;
        window.escapeStep();
        compare(window.currentOperation, data.after);
        compare(stack.depth, data.depth);
        if (data.depth === 1)
            compare(page("_loginPage").loginState, 0);
        verify(!page("_closeDialog").opened);
    }

    // Back on the login page after a session, a password that is not remembered is gone.
    function test_leavingClearsAPasswordNotRemembered_data() {
        return [
            { "tag": "logout", "step": "logout" },
            { "tag": "back key", "step": "escapeStep" },
            { "tag": "a change that needs a new login", "step": "returnToLogin" }
        ];
    }

    function test_leavingClearsAPasswordNotRemembered(data) {
        const login = page("_loginPage");
        findChild(login, "_rememberMe").checked = false;
        findChild(login, "_passwordField").text = "582901";
        buildStack(["_dashboard"], Globals.CarControl_Operation);
        login.loginState = 1;
        window[data.step]();
        compare(stack.depth, 1);
        compare(findChild(login, "_passwordField").text, "");
    }

    // While the server cannot be reached the warning takes its own room above the pages, and
    // gives it back when the server answers.
    function test_offlineWarningCoversNothing() {
        const warning = page("_offlineWarning");
        const ping = page("_serverPing");
        for (const online of [false, true]) {
            ping.isOnline = online;
            compare(warning.visible, !online);
            compare(stack.y, online ? 0 : warning.height);
            verify(online || warning.height > 10);
            compare(stack.y + stack.height, window.contentItem.height);
        }
    }

    function test_escapeOnLoginAsksBeforeQuitting() {
        compare(stack.depth, 1);
        window.escapeStep();
        tryVerify(() => page("_closeDialog").opened);
        compare(stack.depth, 1);
        compare(window.currentOperation, Globals.Login_Operation);
    }

    // An open popup takes Esc first and closes; the pages and the operation stay as they were.
    function test_escapeClosesAnOpenPopupFirst_data() {
        return [
            { "tag": "server notice on the dashboard", "popup": "_serverMessage", "pages": ["_dashboard"], "operation": Globals.CarControl_Operation },
            { "tag": "trip statistics over the map", "popup": "_path_AdvanceInfo_popup", "pages": ["_dashboard", "_map"], "operation": Globals.Debriefing_Operation },
            { "tag": "map types over the map", "popup": "_mapTypePopup", "owner": "_map", "pages": ["_dashboard", "_map"], "operation": Globals.LiveTracking_Operation },
            { "tag": "exit confirmation on the login page", "popup": "_closeDialog", "pages": [], "operation": Globals.Login_Operation },
            { "tag": "forgotten password on the login page", "popup": "_forgetPopup", "pages": [], "operation": Globals.Login_Operation },
            { "tag": "login help", "popup": "_helpTip", "owner": "_loginPage", "pages": [], "operation": Globals.Login_Operation }
        ];
    }

    function test_escapeClosesAnOpenPopupFirst(data) {
        window.visible = true;
        window.requestActivate();
        tryVerify(() => window.active);
        buildStack(data.pages, data.operation);
        // The popup of the page named as its owner; the dashboard's small map has one too.
        const popup = data.owner ? findChild(page(data.owner), data.popup) : page(data.popup);
        popup.open();
        tryVerify(() => popup.opened);
        keyClick(Qt.Key_Escape);
        tryVerify(() => !popup.visible);
        compare(stack.depth, data.pages.length + 1);
        compare(window.currentOperation, data.operation);
        verify(!page("_closeDialog").visible);

        // With nothing open, the next press takes the back step.
        keyClick(Qt.Key_Escape);
        if (data.pages.length === 0)
            tryVerify(() => page("_closeDialog").opened);
        else
            tryCompare(stack, "depth", data.pages.length);
    }

    function test_settingsMenuRouting_data() {
        return [
            { "tag": "general", "index": 0, "top": "_deviceSettings_Global" },
            { "tag": "alarms", "index": 1, "top": "_deviceSettings_Alarms" },
            { "tag": "listen-in", "index": 2, "top": "_deviceSettings_Listen" },
            { "tag": "command history, the last entry", "index": 6, "top": "_commandHistoryPage" },
            { "tag": "below the menu", "index": -1, "top": "_settingsMenu" },
            { "tag": "past the shown menu", "index": 7, "top": "_settingsMenu" }
        ];
    }

    // The window's own menu: no root login and no second SIM here, so seven entries.
    function test_settingsMenuRouting(data) {
        buildStack(["_dashboard", "_settingsMenu"], Globals.Settings_Operation);
        page("_settingsMenu").itemSelected(data.index);
        compare(stack.currentItem, page(data.top));
    }

    function test_deviceChoice_data() {
        return [
            { "tag": "stored index kept", "stored": 1, "count": 2, "chosen": 1 },
            { "tag": "stored index equal to the length", "stored": 2, "count": 2, "chosen": 0 },
            { "tag": "stored index beyond the list", "stored": 5, "count": 2, "chosen": 0 },
            { "tag": "no devices", "stored": 1, "count": -1, "chosen": 0 }
        ];
    }

    function test_deviceChoice(data) {
        // The stored index follows the window's own.
        window.currentDeviceIndex = data.stored;
        const devices = [];
        for (let i = 0; i < data.count; ++i)
            devices.push({ "imei": 100 + i, "simNumber": "0912000000" + i });
        window.loginResponse = data.count < 0 ? { "isValid": true } : { "isValid": true, "devices": devices };
        compare(window.currentDeviceIndex, data.chosen);
        if (data.count < 0)
            compare(window.currentDevice, {});
        else
            compare(window.currentDevice.imei, 100 + data.chosen);
    }

    function test_exitFromFooterReturnsToLogin() {
        buildStack(["_dashboard"], Globals.CarControl_Operation);
        page("_loginPage").loginState = 2;
        window.logout();
        compare(stack.depth, 1);
        compare(window.currentOperation, Globals.Login_Operation);
        compare(page("_loginPage").loginState, 0);
    }
}
