import QtQuick
import QtTest
import QtPositioning
import globals

// What the main window makes of the car's data: the SMS answer and the settings copied into the
// pages. Runs with TZ=UTC.
TestCase {
    id: _testCase

    property var window: null

    name: "WindowLiveData"

    function page(objectName) {
        return findChild(window, objectName);
    }

    function initTestCase() {
        window = Qt.createComponent("qrc:/main.qml").createObject(null);
        verify(window);
    }

    function cleanupTestCase() {
        window.destroy();
    }

    function test_offlineAnswer_data() {
        const location = [1710923103, 36.3, 59.6, 980, 12, 90, 1];
        const status = [1, 0, 1, 0, 1, 0, 0, 2, 80, 3, 4];
        const answer = JSON.stringify({ "id": 55, "info": [location, status] });
        return [
            { "tag": "valid fix", "sender": "+989120000001", "message": answer, "taken": true, "moves": true },
            { "tag": "fix not valid", "sender": "09120000001", "message": JSON.stringify({ "id": 55, "info": [location.slice(0, 6).concat([0]), status] }), "taken": true, "moves": false },
            { "tag": "other number", "sender": "09120000002", "message": answer, "taken": false, "moves": false },
            { "tag": "not JSON", "sender": "09120000001", "message": "Battery low", "taken": false, "moves": false },
            { "tag": "other id", "sender": "09120000001", "message": JSON.stringify({ "id": 54, "info": [location, status] }), "taken": false, "moves": false },
            { "tag": "short arrays", "sender": "09120000001", "message": JSON.stringify({ "id": 55, "info": [[1, 2], [3]] }), "taken": false, "moves": false },
            { "tag": "JSON null", "sender": "09120000001", "message": "null", "taken": false, "moves": false },
            { "tag": "text where a number belongs", "sender": "09120000001", "message": JSON.stringify({ "id": 55, "info": [location, status.slice(0, 5).concat(["f"], status.slice(6))] }), "taken": false, "moves": false },
            { "tag": "latitude 500", "sender": "09120000001", "message": JSON.stringify({ "id": 55, "info": [[1710923103, 500, 59.6, 980, 12, 90, 1], status] }), "taken": false, "moves": false },
            { "tag": "longitude -181", "sender": "09120000001", "message": JSON.stringify({ "id": 55, "info": [[1710923103, 36.3, -181, 980, 12, 90, 1], status] }), "taken": false, "moves": false },
            { "tag": "time far ahead", "sender": "09120000001", "message": JSON.stringify({ "id": 55, "info": [[4102444800, 36.3, 59.6, 980, 12, 90, 1], status] }), "taken": false, "moves": false },
            { "tag": "negative speed", "sender": "09120000001", "message": JSON.stringify({ "id": 55, "info": [[1710923103, 36.3, 59.6, 980, -5, 90, 1], status] }), "taken": false, "moves": false }
        ];
    }

    function test_offlineAnswer(data) {
        window.loginResponse = { "devices": [{ "imei": 1, "simNumber": "09120000001" }] };
        window.currentDeviceIndex = 0;
        const before = { "dateTime": new Date(2024, 2, 20, 9, 0, 0), "lat": 35.7, "lon": 51.4, "course": 0, "speed": 0 };
        window.currentLocation = before;
        window.currentStatus = { "door": 0 };
        const dashboard = page("_dashboard");
        dashboard.carOnState = true;
        const offline = page("_btnGetOffline");
        offline.state = "busy";

        compare(page("_liveData").handleOfflineAnswer(data.sender, data.message), data.taken);
        compare(offline.state, data.taken ? "ready" : "busy");
        if (!data.taken) {
            compare(window.currentLocation, before);
            compare(window.currentStatus, { "door": 0 });
            compare(dashboard.carOnState, true);
            return;
        }
        compare(window.currentStatus, { "door": 1, "trunk": 0, "carSwitch": 1, "powerDetect": 0, "charging": 1, "carring": 0, "simCharge": 2, "battryPercent": 80, "gsmSignal": 3, "gpsSignal": 4 });
        compare(dashboard.carOnState, false);
        if (data.moves) {
            compare(window.currentLocation.lat, 36.3);
            compare(window.currentLocation.lon, 59.6);
            compare(window.currentLocation.accuracy, 3);
            compare(window.currentLocation.dateTime.getTime(), 1710923103000);
            compare(window.carCoord.latitude, 36.3);
        } else {
            compare(window.currentLocation, before);
            compare(window.carCoord.latitude, 35.7);
        }
    }

    function headingsIn(item) {
        let found = [];
        for (const child of item.children) {
            if (child.state === "level2" && child.text !== undefined)
                found.push(child.text);
            found = found.concat(headingsIn(child));
        }
        return found;
    }

    // The popup shows the figures of the path chosen in the playback under level-2 headings.
    function test_tripStatisticsPopup() {
        window.pathsAdvanceInfo = [{ "distance": 4000, "drivingTime": 3725, "stopTime": 600, "maxSpeed": 20, "avrageSpeed": 10 }];
        const popup = page("_path_AdvanceInfo_popup");
        popup.open();
        tryVerify(() => popup.opened);
        compare(page("_figure_distance").text, "4 km");
        compare(page("_figure_drivingTime").text, "01:02:05");
        compare(page("_figure_stopTime").text, "22:57:55");
        compare(headingsIn(popup.contentItem), ["مسافت طی شده: ", "مدت زمان رانندگی: ", "مدت زمان توقف: ", "سرعت ماکزیمم: ", "سرعت میانگین: "]);
        popup.close();
    }

    // A report reaches the pages made before it, and a page made after it shows it when made.
    function test_settingsDistribution_data() {
        return [
            { "tag": "pages made before the report", "madeBefore": true },
            { "tag": "pages made after the report", "madeBefore": false }
        ];
    }

    function test_settingsDistribution(data) {
        const fresh = Qt.createComponent("qrc:/main.qml").createObject(null);
        const pages = findChild(fresh, "_settingsPages");
        compare(pages.alarmsPage, null, "not made at start");
        if (data.madeBefore)
            ["Menu_Alarms", "Menu_Server"].forEach(entry => pages.page(entry));
        const polygon = [];
        for (let i = 0; i < 8; ++i)
            polygon.push(QtPositioning.coordinate(36 + i / 100, 59));
        const settings = { "reportCenter1": "x", "reportCenter2": "09121111111", "shockAlertType": 2, "carryingAlarmType": 1,
            "serverUrlAddress": "dev.example", "serverUrlPort": 8080, "serverUrlPath": "/in", "sw3": 0, "autoLock": 1, "multiAlarm": 1,
            "listen_Users1": " ", "sendRate": 30, "logResolation": 50, "geoFencePolygon": polygon, "geoFenceInOut": Globals.GeofenceOut };
        findChild(fresh, "_settingsCopy").handleSettings(settings);
        const alarms = pages.page("Menu_Alarms");
        compare(alarms.reportNumber1, "");
        compare(alarms.reportNumber2, "09121111111");
        compare(alarms.shakeAlarmType, 2);
        compare(alarms.carringAlarmType, 1);
        compare(pages.page("Menu_Server").serverUrl, "dev.example:8080/in");
        compare(findChild(fresh, "_dashboard").carOnState, false);
        compare(findChild(fresh, "_dashboard").multiAlarm, true);
        compare(findChild(fresh, "_map").geofenceItem.coords, polygon);
        compare(findChild(fresh, "_geoFenceInOutSettings").inOut, Globals.GeofenceOut);
        fresh.destroy();
    }

    // The general page shows the reported emergency code; the information page the firmware the
    // locations carry and the reported operator.
    function test_generalPagesFollowTheWindow() {
        // In the settings, as the user sees these pages: the report leaves the zone unloaded.
        window.currentOperation = Globals.Settings_Operation;
        page("_settingsCopy").handleSettings({ "forceUnlockNumber1": 3, "forceUnlockNumber2": 5, "mobileOperator": 2 });
        page("_settingsMenu").firmwareVersion = "2.0.1";
        const general = page("_settingsPages").page("Menu_General");
        compare([general.forceUnlockNumber1, general.forceUnlockNumber2], [3, 5]);
        compare([findChild(general, "_firstDigit").value, findChild(general, "_secondDigit").value], [3, 5]);
        const info = page("_settingsPages").page("Menu_Device");
        compare(findChild(info, "_firmwareVersion").text, "2.0.1");
        compare(findChild(info, "_modelName").text, "Kova_Lite868");
        compare(findChild(info, "_operatorName").text, "همراه اول");
        window.currentOperation = Globals.Login_Operation;
        findChild(window, "_mainStackView").pop(null);
    }
}
