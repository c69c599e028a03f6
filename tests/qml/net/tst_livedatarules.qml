import QtQuick
import QtTest
import "qrc:/LiveDataRules.js" as LiveDataRules
import "qrc:/JalaliDate.js" as JalaliDate

// The rules behind the window's live data, without a window: heading, alarms, the settings
// copies, the device choice and the trip figures. Runs with TZ=UTC.
TestCase {
    name: "LiveDataRules"

    function test_followHeading_data() {
        return [
            { "tag": "across north clockwise", "course": 350, "bearing": 10, "expected": -10 },
            { "tag": "small difference", "course": 20, "bearing": 10, "expected": 10 },
            { "tag": "exactly 30 degrees", "course": 40, "bearing": 10, "expected": 10 },
            { "tag": "turn right", "course": 100, "bearing": 10, "expected": 100 },
            { "tag": "turn left", "course": 10, "bearing": 100, "expected": 10 },
            { "tag": "across north anticlockwise", "course": 10, "bearing": 350, "expected": 370 },
            { "tag": "exactly half a circle right", "course": 190, "bearing": 10, "expected": 190 },
            { "tag": "exactly half a circle left", "course": 10, "bearing": 190, "expected": 10 },
            { "tag": "exactly 30 degrees left", "course": 10, "bearing": 40, "expected": 40 },
            { "tag": "just past half a circle right", "course": 200, "bearing": 10, "expected": -160 },
            { "tag": "from a bearing already past north", "course": 5, "bearing": -40, "expected": 5 },
            { "tag": "from a bearing already past 360", "course": 300, "bearing": 370, "expected": 300 }
        ];
    }

    function test_followHeading(data) {
        compare(LiveDataRules.followHeading(data.course, data.bearing), data.expected);
    }

    function test_eventAlerts_data() {
        const door = "هشدار باز شدن درب‌ها";
        const power = "هشدار قطع برق خودرو (سرقت باطری)";
        return [
            { "tag": "door and power cut", "events": 9, "titles": [door, power] },
            { "tag": "none", "events": 0, "titles": [] },
            { "tag": "missing", "events": undefined, "titles": [] },
            { "tag": "all nine", "events": 511, "titles": [door, "هشدار باز شدن صندوق یا کاپوت", "هشدار باز شدن سوئیچ خودرو", power, "هشدار ورود به محدوده غیر مجاز", "هشدار خروج از محدوده", "هشدار حمل جرثقیل", "هشدار سرعت غیرمجاز", "هشدار تکان خوردن خودرو"] }
        ];
    }

    function test_eventAlerts(data) {
        const reply = { "isValid": true, "events": data.events, "doorTime": 1710923103, "powerDisconnectTime": 0 };
        const alerts = LiveDataRules.eventAlerts(reply);
        compare(alerts.map(alert => alert.title), data.titles);
        if (data.events === 9) {
            // 2024-03-20 08:25:03 UTC
            compare(alerts[0].text, "زمان وقوع: 1403/01/01  08:25:03");
            compare(alerts[1].text, "زمان وقوع: 1348/10/11  00:00:00");
        }
    }

    // The day's figures: average speed is distance over driving time, and the day's stop time
    // is the part of the day gone by when its trips were asked, less the driving.
    function test_tripFigures_data() {
        const one = { "distance": 20000, "drivingTime": 1800, "stopTime": 600, "maxSpeed": 20, "avrageSpeed": 12 };
        const two = { "distance": 16777, "drivingTime": 1150, "stopTime": 50, "maxSpeed": 25, "avrageSpeed": 10 };
        const day = 86400;
        return [
            { "tag": "all of a past day", "figures": [one, two], "index": 0, "period": day, "expected": { "distance": "36.777 km", "drivingTime": "00:49:10", "stopTime": "23:10:50", "maxSpeed": "90.0 km/h", "avrageSpeed": "44.9 km/h" } },
            { "tag": "all of today at 10:00", "figures": [one, two], "index": 0, "period": 36000, "expected": { "distance": "36.777 km", "drivingTime": "00:49:10", "stopTime": "09:10:50", "maxSpeed": "90.0 km/h", "avrageSpeed": "44.9 km/h" } },
            { "tag": "all of a day not begun", "figures": [], "index": 0, "period": 0, "expected": { "distance": "0 km", "drivingTime": "00:00:00", "stopTime": "00:00:00", "maxSpeed": "0.0 km/h", "avrageSpeed": "0.0 km/h" } },
            { "tag": "second path", "figures": [one, two], "index": 2, "period": 36000, "expected": { "distance": "16.777 km", "drivingTime": "00:19:10", "stopTime": "00:00:50", "maxSpeed": "90.0 km/h", "avrageSpeed": "52.5 km/h" } },
            { "tag": "a day wraps", "figures": [{ "distance": 0, "drivingTime": 90000, "stopTime": 0, "maxSpeed": 0, "avrageSpeed": 0 }], "index": 1, "period": day, "expected": { "distance": "0 km", "drivingTime": "01:00:00", "stopTime": "00:00:00", "maxSpeed": "0.0 km/h", "avrageSpeed": "0.0 km/h" } },
            { "tag": "no paths", "figures": [], "index": 0, "period": day, "expected": { "distance": "0 km", "drivingTime": "00:00:00", "stopTime": "00:00:00", "maxSpeed": "0.0 km/h", "avrageSpeed": "0.0 km/h" } },
            { "tag": "index past the list", "figures": [one], "index": 3, "period": day, "expected": { "distance": "0 km", "drivingTime": "00:00:00", "stopTime": "00:00:00", "maxSpeed": "0.0 km/h", "avrageSpeed": "0.0 km/h" } }
        ];
    }

    function test_tripFigures(data) {
        compare(LiveDataRules.tripFigureTexts(data.figures, data.index, data.period), data.expected);
    }

    // Runs with TZ=UTC: 2024-03-20 is the day asked for.
    function test_toJdateString_data() {
        return [
            { "tag": "padded time", "date": new Date(2024, 2, 20, 9, 5, 3), "expected": "1403/01/01  09:05:03" },
            { "tag": "padded month and day", "date": new Date(2000, 0, 1, 0, 0, 0), "expected": "1378/10/11  00:00:00" },
            { "tag": "two-digit fields", "date": new Date(2025, 2, 20, 23, 59, 59), "expected": "1403/12/30  23:59:59" }
        ];
    }

    function test_toJdateString(data) {
        compare(LiveDataRules.toJdateString(data.date), data.expected);
    }

    function test_positionAge_data() {
        const now = new Date(2024, 2, 20, 12, 0, 0);
        const ago = ms => new Date(now.getTime() - ms).toISOString();
        return [
            { "tag": "unknown time", "dateTime": undefined, "now": now, "text": "", "stale": false },
            { "tag": "unreadable time", "dateTime": "not a time", "now": now, "text": "", "stale": false },
            { "tag": "seconds ago", "dateTime": ago(40000), "now": now, "text": "همین الان", "stale": false },
            { "tag": "device clock ahead", "dateTime": ago(-30000), "now": now, "text": "همین الان", "stale": false },
            { "tag": "two minutes", "dateTime": ago(125000), "now": now, "text": "۲ دقیقه پیش", "stale": false },
            { "tag": "ten minutes is still current", "dateTime": ago(600000), "now": now, "text": "۱۰ دقیقه پیش", "stale": false },
            { "tag": "just over ten minutes", "dateTime": ago(601000), "now": now, "text": "۱۰ دقیقه پیش (قدیمی)", "stale": true },
            { "tag": "hours", "dateTime": ago(3 * 3600000 + 59 * 60000), "now": now, "text": "۳ ساعت پیش (قدیمی)", "stale": true },
            { "tag": "days", "dateTime": ago(12 * 86400000), "now": now, "text": "۱۲ روز پیش (قدیمی)", "stale": true }
        ];
    }

    function test_positionAge(data) {
        const age = LiveDataRules.positionAge(data.dateTime, data.now);
        compare([age.text, age.stale], [data.text, data.stale]);
    }

    function test_carLine_data() {
        return [
            { "tag": "model and plate", "device": { "imei": 358000000000001, "vehicleModel": "Kova_Plus", "vehiclePlaque": "۱۲ ب ۳۴۵ ایران ۳۶" }, "line": "Kova_Plus · ۱۲ ب ۳۴۵ ایران ۳۶" },
            { "tag": "plate only", "device": { "imei": 358000000000001, "vehicleModel": " ", "vehiclePlaque": "۱۲ ب ۳۴۵" }, "line": "۱۲ ب ۳۴۵" },
            { "tag": "neither: the serial number", "device": { "imei": 358000000000001, "vehicleModel": "", "vehiclePlaque": "" }, "line": "S/N:358000000000001" },
            { "tag": "no device yet", "device": {}, "line": "" }
        ];
    }

    function test_carLine(data) {
        compare(LiveDataRules.carLine(data.device), data.line);
    }

    function test_dayGoneBy_data() {
        return [
            { "tag": "a past day", "now": new Date(2024, 2, 22, 9, 0, 0), "seconds": 86400 },
            { "tag": "today at 10:00:05", "now": new Date(2024, 2, 20, 10, 0, 5), "seconds": 36005 },
            { "tag": "the day to come", "now": new Date(2024, 2, 19, 23, 0, 0), "seconds": 0 }
        ];
    }

    function test_dayGoneBy(data) {
        compare(LiveDataRules.dayGoneBy(new Date(2024, 2, 20, 0, 0, 0), data.now), data.seconds);
    }

    function test_settingsAssignments_data() {
        return [
            { "tag": "no report number", "settings": { "reportCenter1": "x", "reportCenter2": "x" },
              "expected": [["alarms", "reportNumber1", ""], ["alarms", "reportNumber2", ""]] },
            { "tag": "renamed keys", "settings": { "shockAlertType": 2, "carryingAlarmType": 1, "sw3": 0, "tamper": 1 },
              "expected": [["alarms", "carringAlarmType", 1], ["alarms", "shakeAlarmType", 2], ["dashboard", "carOnState", 0], ["deviceInfo", "tamper", 1]] },
            { "tag": "server address", "settings": { "serverUrlAddress": "dev.example", "serverUrlPort": 8080, "serverUrlPath": "/in" },
              "expected": [["server", "serverUrl", "dev.example:8080/in"]] },
            { "tag": "listen numbers and rates", "settings": { "listen_Users1": " ", "listen_Users3": "0912", "sendRate": 30, "logResolation": 50 },
              "expected": [["sending", "sendRate", 30], ["sending", "logResolation", 50], ["listen", "listenUser1", " "], ["listen", "listenUser3", "0912"]] },
            { "tag": "missing keys leave the pages alone", "settings": { "unknown": 1 }, "expected": [] }
        ];
    }

    function test_settingsAssignments(data) {
        const got = LiveDataRules.settingsAssignments(data.settings).map(copy => [copy.page, copy.property, copy.value]);
        compare(got, data.expected);
    }

    function test_chooseDeviceIndex_data() {
        return [
            { "tag": "stored index kept", "devices": [{}, {}, {}], "stored": 2, "expected": 2 },
            { "tag": "index equal to the length", "devices": [{}, {}], "stored": 2, "expected": 0 },
            { "tag": "index beyond the list", "devices": [{}], "stored": 5, "expected": 0 },
            { "tag": "negative index", "devices": [{}, {}], "stored": -1, "expected": 0 },
            { "tag": "no devices", "devices": undefined, "stored": 1, "expected": 0 }
        ];
    }

    function test_chooseDeviceIndex(data) {
        compare(LiveDataRules.chooseDeviceIndex(data.devices, data.stored), data.expected);
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
