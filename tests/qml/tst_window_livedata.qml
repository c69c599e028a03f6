import QtQuick
import QtTest
import QtPositioning
import globals
import "qrc:/JalaliDate.js" as JalaliDate

// What the main window makes of the car's data: heading, alarms, the SMS answer, trip figures
// and dates. Runs with TZ=UTC.
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

    function test_followHeading_data() {
        return [
            { "tag": "across north clockwise", "course": 350, "bearing": 10, "expected": -10 },
            { "tag": "small difference", "course": 20, "bearing": 10, "expected": 10 },
            { "tag": "exactly 30 degrees", "course": 40, "bearing": 10, "expected": 10 },
            { "tag": "turn right", "course": 100, "bearing": 10, "expected": 100 },
            { "tag": "turn left", "course": 10, "bearing": 100, "expected": 10 },
            { "tag": "across north anticlockwise", "course": 10, "bearing": 350, "expected": 370 },
            { "tag": "exactly half a circle right", "course": 190, "bearing": 10, "expected": 190 },
            { "tag": "exactly half a circle left", "course": 10, "bearing": 190, "expected": 10 }
        ];
    }

    function test_followHeading(data) {
        compare(window.followHeading(data.course, data.bearing), data.expected);
    }

    function test_eventAlerts_data() {
        const door = "هشدار باز شدن دربها";
        const power = "هشدار قطع برق خودرو(سرقت باطری)";
        return [
            { "tag": "door and power cut", "events": 9, "titles": [door, power] },
            { "tag": "none", "events": 0, "titles": [] },
            { "tag": "missing", "events": undefined, "titles": [] },
            { "tag": "all nine", "events": 511, "titles": [door, "هشدار باز شدن صندوق یا کاپوت", "هشدار باز شدن سوئیچ خودرو", power, "هشدار ورود به محدوده غیر مجاز", "هشدار خروج از محدوده", "هشدار حمل جرثقیل", "هشدار سرعت غیرمجاز", "هشدار تکان خوردن خودرو"] }
        ];
    }

    function test_eventAlerts(data) {
        const reply = { "isValid": true, "events": data.events, "doorTime": 1710923103, "powerDisconnectTime": 0 };
        const alerts = window.eventAlerts(reply);
        compare(alerts.map(alert => alert.title), data.titles);
        if (data.events === 9) {
            // 2024-03-20 08:25:03 UTC
            compare(alerts[0].text, "زمان وقوع: 1403/01/01  08:25:03");
            compare(alerts[1].text, "زمان وقوع: 1348/10/11  00:00:00");
        }
    }

    function test_toJdateString_data() {
        return [
            { "tag": "padded time", "date": new Date(2024, 2, 20, 9, 5, 3), "expected": "1403/01/01  09:05:03" },
            { "tag": "padded month and day", "date": new Date(2000, 0, 1, 0, 0, 0), "expected": "1378/10/11  00:00:00" },
            { "tag": "two-digit fields", "date": new Date(2025, 2, 20, 23, 59, 59), "expected": "1403/12/30  23:59:59" }
        ];
    }

    function test_toJdateString(data) {
        compare(window.toJdateString(data.date), data.expected);
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
            { "tag": "JSON null", "sender": "09120000001", "message": "null", "taken": false, "moves": false }
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

        compare(window.handleOfflineAnswer(data.sender, data.message), data.taken);
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

    function test_tripFigures_data() {
        const one = { "distance": 4000, "drivingTime": 3725, "stopTime": 600, "maxSpeed": 20, "avrageSpeed": 10 };
        const two = { "distance": 1500, "drivingTime": 100, "stopTime": 50, "maxSpeed": 25, "avrageSpeed": 5 };
        return [
            { "tag": "all of one path", "figures": [one], "index": 0, "expected": { "distance": "4 km", "drivingTime": "01:02:05", "stopTime": "22:57:55", "maxSpeed": "72.0 km/h", "avrageSpeed": "36.0 km/h" } },
            { "tag": "all of two paths", "figures": [one, two], "index": 0, "expected": { "distance": "5.5 km", "drivingTime": "01:03:45", "stopTime": "22:56:15", "maxSpeed": "90.0 km/h", "avrageSpeed": "27.0 km/h" } },
            { "tag": "second path", "figures": [one, two], "index": 2, "expected": { "distance": "1.5 km", "drivingTime": "00:01:40", "stopTime": "00:00:50", "maxSpeed": "90.0 km/h", "avrageSpeed": "18.0 km/h" } },
            { "tag": "a day wraps", "figures": [{ "distance": 0, "drivingTime": 90000, "stopTime": 0, "maxSpeed": 0, "avrageSpeed": 0 }], "index": 1, "expected": { "distance": "0 km", "drivingTime": "01:00:00", "stopTime": "00:00:00", "maxSpeed": "0.0 km/h", "avrageSpeed": "0.0 km/h" } },
            { "tag": "no paths", "figures": [], "index": 0, "expected": { "distance": "0 km", "drivingTime": "00:00:00", "stopTime": "00:00:00", "maxSpeed": "0.0 km/h", "avrageSpeed": "0.0 km/h" } },
            { "tag": "index past the list", "figures": [one], "index": 3, "expected": { "distance": "0 km", "drivingTime": "00:00:00", "stopTime": "00:00:00", "maxSpeed": "0.0 km/h", "avrageSpeed": "0.0 km/h" } }
        ];
    }

    function test_tripFigures(data) {
        compare(window.tripFigureTexts(data.figures, data.index), data.expected);
    }

    function test_settingsDistribution() {
        window.currentOperation = Globals.Login_Operation;
        findChild(window, "_mainStackView").pop(null);
        const polygon = [];
        for (let i = 0; i < 8; ++i)
            polygon.push(QtPositioning.coordinate(36 + i / 100, 59));
        const settings = { "reportCenter1": "x", "reportCenter2": "09121111111", "shockAlertType": 2, "carryingAlarmType": 1,
            "serverUrlAddress": "dev.example", "serverUrlPort": 8080, "serverUrlPath": "/in", "sw3": 0, "autoLock": 1, "multiAlarm": 1,
            "listen_Users1": " ", "sendRate": 30, "logResolation": 50, "geoFencePolygon": polygon, "geoFenceInOut": Globals.GeofenceOut };
        window.handleSettings(settings);
        const alarms = page("_deviceSettings_Alarms");
        compare(alarms.reportNumber1, "");
        compare(alarms.reportNumber2, "09121111111");
        compare(alarms.shakeAlarmType, 2);
        compare(alarms.carringAlarmType, 1);
        compare(page("_deviceSettings_Server").serverUrl, "dev.example:8080/in");
        compare(page("_dashboard").carOnState, false);
        compare(page("_dashboard").multiAlarm, true);
        const map = page("_map");
        compare(map.geofenceItem.polygon.path.length, 8);

        // While the settings pages are open, a new report never replaces the zone being edited.
        window.currentOperation = Globals.Settings_Operation;
        window.currentOperation = Globals.GeoFence_Operation;
        window.handleSettings(Object.assign({}, settings, { "geoFencePolygon": polygon.slice(0, 3) }));
        compare(map.geofenceItem.polygon.path.length, 8);
        window.currentOperation = Globals.CarControl_Operation;
        window.handleSettings(Object.assign({}, settings, { "geoFencePolygon": polygon.slice(0, 3) }));
        compare(map.geofenceItem.polygon.path.length, 3);
        window.currentOperation = Globals.Login_Operation;
    }

    function test_jalali_data() {
        return [
            { "tag": "new year 1403", "g": [2024, 3, 20], "j": [1403, 1, 1] },
            { "tag": "last day of 1402", "g": [2024, 3, 19], "j": [1402, 12, 29] },
            { "tag": "leap day 1403/12/30", "g": [2025, 3, 20], "j": [1403, 12, 30] },
            { "tag": "gregorian leap day", "g": [2020, 2, 29], "j": [1398, 12, 10] },
            { "tag": "2000-01-01", "g": [2000, 1, 1], "j": [1378, 10, 11] }
        ];
    }

    function test_jalali(data) {
        compare(JalaliDate.fromGregorian(new Date(data.g[0], data.g[1] - 1, data.g[2])), data.j);
        compare(JalaliDate.toGregorian(data.j[0], data.j[1], data.j[2]), data.g);
    }

    function test_jalaliOverflowRunsIntoNextMonth() {
        compare(JalaliDate.toGregorian(1402, 12, 30), JalaliDate.toGregorian(1403, 1, 1));
        compare(JalaliDate.toGregorian(1403, 7, 31), JalaliDate.toGregorian(1403, 8, 1));
    }

    // Every day of a few centuries goes there and back.
    function test_jalaliRoundTrip() {
        const day = new Date(1900, 0, 1, 12);
        for (let i = 0; i < 365 * 200; i += 7) {
            const d = new Date(day.getFullYear(), day.getMonth(), day.getDate() + i, 12);
            const j = JalaliDate.fromGregorian(d);
            const g = JalaliDate.toGregorian(j[0], j[1], j[2]);
            if (g[0] !== d.getFullYear() || g[1] !== d.getMonth() + 1 || g[2] !== d.getDate())
                fail(d.toDateString() + " came back as " + g.join("-"));
        }
    }
}
