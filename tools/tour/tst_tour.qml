import QtQuick
import QtTest
import QtPositioning
import globals
import "qrc:/"
import "../../tests/system/online"

// Walks the app through its screens against the development server and saves a screenshot of
// each in the folder named by KOVA_SCREENSHOT_DIR.
SystemTestCase {
    id: _tour

    function save(name: string): void {
        wait(400); // let transitions finish
        // The window's root item holds the pages, the tool bars and the pop-ups.
        const root = _tour.window.contentItem.parent;
        waitForRendering(root);
        const path = testEnvironment.screenshotDir + "/" + name + ".png";
        grabImage(root).save(path); // throws when the file cannot be written
        console.log("screenshot:", path);
    }

    // Each screen as the window opens (maximised), at a small phone's size, and there with the
    // largest text step.
    function shoot(name: string): void {
        save(name);
        _tour.window.showNormal();
        _tour.window.width = 350;
        _tour.window.height = 560;
        tryVerify(() => _tour.window.contentItem.width === 350, 3000);
        save(name + "-350x560");
        const step = _tour.window.basePixelSizeFactorIndex;
        _tour.window.basePixelSizeFactorIndex = _tour.window.basePixelSizeFactors.length - 1;
        save(name + "-350x560-largest-text");
        _tour.window.basePixelSizeFactorIndex = step;
        _tour.window.showMaximized();
        tryVerify(() => _tour.window.contentItem.width > 350, 3000);
    }

    name: "Tour"

    function initTestCase(): void {
        verify(testEnvironment.screenshotDir.length > 0, "KOVA_SCREENSHOT_DIR is not set");
        openWindow();
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

    // What the car did with a command, told at once: the power cut it obeyed, then the alarm
    // switch it was made to ignore, given up on sooner than in use.
    function test_4b_commandMessages(): void {
        const tooltip = findNamed("_mainTooltip");
        const follower = findNamed("_liveData").carCommands.follower;
        hold(findNamed("_powerCutButton"), 2200);
        tryVerify(() => tooltip.visible && tooltip.text.startsWith("خودرو برق را قطع کرد"), 15000);
        shoot("04a-command-done");
        hold(findNamed("_powerConnectButton"), 2200);
        tryVerify(() => tooltip.visible && tooltip.text.startsWith("خودرو برق را وصل کرد"), 15000);
        refuse("30");
        follower.settingTimeout = 4000;
        mouseClick(findNamed("_alarmSwitch"));
        tryVerify(() => tooltip.visible && tooltip.text === follower.noAnswerText, 15000);
        shoot("04b-command-no-answer");
        follower.settingTimeout = 30000;
        refuse("");
        tooltip.close();
    }

    // Listen-in with no dialler on this machine: the number to call from another phone.
    function test_4c_callWithoutDialler(): void {
        mouseClick(buttonWithText(_tour.window.footer, "شنود"));
        const call = findNamed("_phoneCall");
        tryVerify(() => call.opened, 3000);
        shoot("04c-call-without-dialler");
        call.close();
        tryVerify(() => !call.visible, 3000);
    }

    // Yesterday's trips from the server, summed up in the statistics popup over the map.
    function test_5_tripStatistics(): void {
        findNamed("_mainStackView").push(findNamed("_map"));
        _tour.window.currentOperation = Globals.Debriefing_Operation;
        mouseClick(findNamed("_previousDay"));
        shoot("05-trip-day");
        mouseClick(findNamed("_loadButton"));
        tryCompare(findNamed("_debriefingDialog"), "state", "run", 30000);
        wait(2000); // map tiles
        shoot("05a-trips");
        const popup = findNamed("_path_AdvanceInfo_popup");
        popup.open();
        tryVerify(() => popup.opened, 3000);
        shoot("05b-trip-statistics");
        popup.close();
        tryVerify(() => !popup.visible, 3000);
    }

    // The list of trips, one trip replayed, and the day picker.
    function test_5c_tripPlayback(): void {
        const trips = findNamed("_tripChooser");
        mouseClick(trips);
        tryVerify(() => trips.popup.opened, 3000);
        shoot("05c-trip-list");
        trips.popup.close();
        tryVerify(() => !trips.popup.visible, 3000);
        choose(trips, 1);
        wait(2000);
        shoot("05d-trip-playback");
        findNamed("_stopButton").clicked();
        mouseClick(findNamed("_dateButton"));
        tryVerify(() => findNamed("_datePopup").opened, 3000);
        shoot("05f-trip-date");
        findNamed("_debriefingDialog").closePopups();
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

    // Live tracking as the owner opens it: a click on the dashboard's map; the phone walks
    // (an NMEA log) and the route to the car is drawn.
    function test_8_liveTracking(): void {
        const stack = findNamed("_mainStackView");
        stack.pop(findNamed("_dashboard"));
        _tour.window.currentOperation = Globals.CarControl_Operation;
        tryCompare(stack, "busy", false, 5000);
        mouseClick(findNamed("_miniMap"));
        tryCompare(stack, "busy", false, 5000);
        mouseClick(findNamed("_btnMyRoute"));
        const line = onMap("_routeLine");
        tryVerify(() => line.path.length > 1, 15000);
        // Free the view from the walking phone to show the whole walk, the car at its end.
        findNamed("_lockStateItem").state = "";
        findNamed("_map").fitToCoords(line.path);
        wait(3000); // tiles
        const first = line.path.map(point => QtPositioning.coordinate(point.latitude, point.longitude));
        shoot("08-live-tracking");

        // The car drives off after two minutes parked at most; the route follows it. Far enough
        // to see at this scale, in a view that holds the first route too.
        const end = first[first.length - 1];
        tryVerify(() => line.path[line.path.length - 1].distanceTo(end) > 1500, 600000, "the route follows the car");
        findNamed("_map").fitToCoords(line.path.concat(first));
        wait(3000); // tiles
        save("08a-route-after-the-car-moved");
    }

    // The question when the route is asked for with GPS off, and the map after it is declined.
    function test_8b_gpsQuestion(): void {
        const question = findNamed("_gpsMessageDialog");
        question.ask();
        tryVerify(() => question.opened, 3000);
        shoot("08b-gps-question");
        mouseClick(findNamed("_gpsCancelButton"));
        tryVerify(() => !question.visible, 3000);
        compare(findNamed("_lockStateItem").state, "car");
        wait(1000);
        save("08c-gps-question-declined");
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

    // The share page without a link, then with the link the server registered.
    function test_9c_share(): void {
        const stack = findNamed("_mainStackView");
        mouseClick(findNamed("_btnShare"));
        tryCompare(_tour.window, "currentOperation", Globals.ShareLocation_Operation, 3000);
        tryCompare(stack, "busy", false, 5000);
        wait(1000);
        shoot("12-share-create");
        mouseClick(findNamed("_createLinkButton"));
        tryVerify(() => findNamed("_linkView").visible, 10000);
        shoot("13-share-link");
        // As a link made on another phone shows: its password is not known here.
        const page = findNamed("_shareLocation");
        const token = page.authToken;
        page.authToken = "made-elsewhere";
        shoot("13a-share-link-made-elsewhere");
        page.authToken = token;
    }

    function test_9d_geofence(): void {
        const stack = findNamed("_mainStackView");
        stack.pop(findNamed("_dashboard"));
        _tour.window.currentOperation = Globals.CarControl_Operation;
        tryVerify(() => findNamed("_liveData").server.geofencePolygonLoaded, 15000);
        _tour.window.currentOperation = Globals.Settings_Operation;
        _tour.window.currentOperation = Globals.GeoFence_Operation;
        tryCompare(stack, "busy", false, 5000);
        wait(3000); // tiles
        shoot("14-geofence");
        mouseClick(findNamed("_btnGefenceOnCenter"));
        shoot("15-geofence-centred");
        const modes = findNamed("_geoFenceInOutSettings");
        modes.open();
        tryVerify(() => modes.opened, 3000);
        shoot("16-geofence-modes");
        modes.close();
        tryVerify(() => !modes.visible, 3000);

        // A wide window: the zone is fitted to the page's width, not to the narrower one it
        // has while it opens.
        _tour.window.back();
        tryCompare(stack, "busy", false, 5000);
        _tour.window.showNormal();
        _tour.window.width = 1400;
        _tour.window.height = 700;
        tryVerify(() => _tour.window.contentItem.width === 1400, 3000);
        _tour.window.currentOperation = Globals.GeoFence_Operation;
        tryCompare(stack, "busy", false, 5000);
        wait(3000); // tiles
        save("14a-geofence-wide");
        _tour.window.showMaximized();
        tryVerify(() => _tour.window.contentItem.width < 1400, 3000);
    }

    function test_9e_mapSettings(): void {
        const stack = findNamed("_mainStackView");
        _tour.window.back();
        tryCompare(stack, "busy", false, 5000);
        stack.push(settingsPage("Menu_Map"));
        tryCompare(stack, "busy", false, 5000);
        shoot("17-map-settings");
    }

    // A settings menu entry's page, or "DeviceSelection", made when first asked for.
    function settingsPage(entry: string): Item {
        return findNamed("_settingsPages").page(entry);
    }

    function pushPage(entry: string): void {
        const stack = findNamed("_mainStackView");
        tryCompare(stack, "busy", false, 5000);
        stack.push(settingsPage(entry));
        tryCompare(stack, "busy", false, 5000);
    }

    function logInAgain(user: string): void {
        _tour.window.returnToLogin();
        tryCompare(findNamed("_mainStackView"), "busy", false, 5000);
        logIn(user, "582901");
    }

    // The settings as the owner reaches them: the menu, then a page of it and back.
    function openSettings(): void {
        const stack = findNamed("_mainStackView");
        stack.pop(findNamed("_dashboard"));
        _tour.window.currentOperation = Globals.CarControl_Operation;
        tryCompare(stack, "busy", false, 5000);
        _tour.window.currentOperation = Globals.Settings_Operation;
        tryCompare(stack, "busy", false, 5000);
    }

    function shootSettingsPage(entry: string, name: string): void {
        pushPage(entry);
        shoot(name);
        _tour.window.back();
        tryCompare(findNamed("_mainStackView"), "busy", false, 5000);
    }

    // A page with one of its editors opened, then waiting for the device. Busy is set directly:
    // an applied frame would really change the car on the development server.
    function shootEditorStates(editorItem: Item, name: string): void {
        mouseClick(findChild(editorItem, "_editButton"));
        compare(editorItem.state, "edit");
        shoot(name + "-editing");
        editorItem.state = "busy";
        shoot(name + "-busy");
        editorItem.state = "idle";
    }

    function shootSettingsEditor(entry: string, editor: string, name: string): void {
        pushPage(entry);
        const editorItem = findChild(settingsPage(entry), editor);
        verify(editorItem, editor);
        shootEditorStates(editorItem, name);
        _tour.window.back();
        tryCompare(findNamed("_mainStackView"), "busy", false, 5000);
    }

    function test_9f_settings(): void {
        openSettings();
        shoot("18-settings-menu");
        shootSettingsPage("Menu_Alarms", "19-alarm-settings");
        shootSettingsEditor("Menu_Alarms", "_reportNumber1", "19a-alarm-number");
        shootSettingsEditor("Menu_Alarms", "_shockRow", "19b-alarm-shock");
        shootSettingsPage("Menu_General", "19c-general-settings");
        shootSettingsEditor("Menu_General", "_simNumberField", "19d-general-sim-number");
        shootSettingsEditor("Menu_General", "_emergencyBox", "19e-general-emergency-code");
        shootSettingsPage("Menu_Device", "19f-device-information");
        shootSettingsPage("Menu_Listening", "19g-listen-in");
        shootSettingsEditor("Menu_Listening", "_listenField1", "19h-listen-in-number");
        shootSettingsPage("Menu_Users", "20-account");
        shootSettingsEditor("Menu_Users", "_accountAliasField", "20a-account-alias");
        shootSettingsPage("Menu_Support", "21-support");
        shootSettingsPage("Menu_Appearance", "21a-appearance");
        shootSettingsPage("Menu_History", "21b-command-history");
    }

    function test_9g_rootSettings(): void {
        logInAgain("root");
        tryCompare(_tour.window, "currentOperation", Globals.CarControl_Operation, 15000);
        openSettings();
        shoot("22-settings-menu-root");
        shootSettingsPage("Menu_Server", "22a-server");
        shootSettingsEditor("Menu_Server", "_serverField", "22b-server-address");
        shootSettingsPage("Menu_Data", "22c-sending");
        shootSettingsEditor("Menu_Data", "_rateField", "22d-sending-rate");
        shootSettingsPage("DeviceSelection", "23-device-choice");
        shootSettingsPage("Menu_History", "23a-command-history-root");
    }

    function test_9h_firstLoginSetup(): void {
        logInAgain("358000000000002");
        tryCompare(_tour.window, "currentOperation", Globals.NewLoginSetting_Operation, 15000);
        tryCompare(findNamed("_mainStackView"), "busy", false, 5000);
        shoot("24-first-login-setup");
        shootEditorStates(findNamed("_simField"), "24a-first-login-sim-number");
    }
}
