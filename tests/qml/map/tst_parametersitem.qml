import QtQuick
import QtTest
import "qrc:/"

// The live-values panel over the map: what each row reads, and the expand button. Runs with
// TZ=UTC.
Item {
    id: _mainWindow

    property int basePixelSize: 14

    width: 300
    height: 600

    FontLoader {
        id: _font_lato
    }

    ParametersItem {
        id: _panel
    }

    TestCase {
        name: "ParametersItem"
        when: windowShown

        function row(name: string): var {
            const found = findChild(_panel, name);
            verify(found, name);
            return { "value": findChild(found, "_value").text, "unit": findChild(found, "_unit").visible ? findChild(found, "_unit").text : "" };
        }

        function init(): void {
            _panel.location = undefined;
            _panel.status = undefined;
            _panel.expanded = false;
        }

        function test_rows_data() {
            const location = { "dateTime": new Date(2024, 2, 20, 8, 5, 9), "lat": 36.3, "lon": 59.6, "alt": 7.4, "speed": 12.5, "course": 359.6, "accuracy": 80 };
            const status = { "powerDetect": 0, "charging": 0, "battryPercent": 64, "simCharge": 12000, "gsmSignal": 55, "gpsSignal": 3 };
            return [
                {
                    "tag": "nothing received yet",
                    "location": undefined, "status": undefined,
                    "clock": ["--:--", "--", "--"],
                    "rows": { "_speedRow": ["---", "km/h"], "_altitudeRow": ["---", "m"], "_courseRow": ["---", "°"], "_batteryRow": ["---", "%"],
                              "_simRow": ["---", "T"], "_gsmRow": ["---", "%"], "_gpsRow": ["---", "%"] }
                },
                {
                    "tag": "on the car's own battery",
                    "location": location, "status": status,
                    "clock": ["08:05", "09", "1403-01-01"],
                    "rows": { "_speedRow": ["045", "km/h"], "_altitudeRow": ["007", "m"], "_courseRow": ["360", "°"], "_batteryRow": ["64", "%"],
                              "_simRow": ["12000", "T"], "_gsmRow": ["55", "%"], "_gpsRow": ["80", "%"] }
                },
                {
                    "tag": "on external power, charging",
                    "location": location, "status": Object.assign({}, status, { "powerDetect": 1 }),
                    "clock": ["08:05", "09", "1403-01-01"],
                    "rows": { "_batteryRow": ["Charge", ""] }
                },
                {
                    "tag": "on external power, full",
                    "location": location, "status": Object.assign({}, status, { "powerDetect": 1, "charging": 1 }),
                    "clock": ["08:05", "09", "1403-01-01"],
                    "rows": { "_batteryRow": ["Full", ""] }
                },
                {
                    "tag": "credit unreadable",
                    "location": location, "status": Object.assign({}, status, { "simCharge": 65535 }),
                    "clock": ["08:05", "09", "1403-01-01"],
                    "rows": { "_simRow": ["---", "T"] }
                },
                {
                    "tag": "below sea level, standing still",
                    "location": Object.assign({}, location, { "alt": -5.2, "speed": 0.1 }), "status": status,
                    "clock": ["08:05", "09", "1403-01-01"],
                    "rows": { "_speedRow": ["000", "km/h"], "_altitudeRow": ["-05", "m"] }
                },
                {
                    "tag": "status without a location",
                    "location": undefined, "status": status,
                    "clock": ["--:--", "--", "--"],
                    "rows": { "_speedRow": ["---", "km/h"], "_gpsRow": ["---", "%"], "_gsmRow": ["55", "%"] }
                }
            ];
        }

        function test_rows(data) {
            _panel.location = data.location;
            _panel.status = data.status;
            compare([findChild(_panel, "_timeValue").text, findChild(_panel, "_secondsValue").text, findChild(_panel, "_dateValue").text], data.clock);
            for (const name in data.rows)
                compare([row(name).value, row(name).unit], data.rows[name], name);
        }

        function test_expandShowsTheGauges_data() {
            return [
                { "tag": "normal text", "large": false, "timeRow": 55, "collapsed": 3 * 38 + 20, "expanded": 7 * 38 + 20, "width": 100 },
                { "tag": "large text", "large": true, "timeRow": 60, "collapsed": 3 * 45 + 25, "expanded": 7 * 45 + 25, "width": 120 }
            ];
        }

        function test_expandShowsTheGauges(data) {
            _panel.large = data.large;
            _panel.location = { "dateTime": Date.now() - 25 * 60000 };
            compare(_panel.timeRowHeight, data.timeRow);
            tryVerify(() => _panel.height === _panel.timeRowHeight + _panel.ageRowHeight + data.collapsed);
            compare(_panel.width, data.width);
            // The position's age fits in the time row, above the first gauge.
            const age = findChild(_panel, "_positionAge");
            compare(age.text, "۲۵ دقیقه پیش (قدیمی)");
            const speed = findChild(_panel, "_speedRow");
            verify(age.mapToItem(_panel, 0, age.height).y <= speed.mapToItem(_panel, 0, 0).y, age.mapToItem(_panel, 0, age.height).y + " " + speed.mapToItem(_panel, 0, 0).y + " " + _panel.timeRowHeight + " " + age.height);
            verify(age.mapToItem(_panel, age.width, 0).x <= _panel.width, age.mapToItem(_panel, age.width, 0).x + " " + age.width + " " + age.implicitWidth);
            const button = findChild(_panel, "_expandButton");
            compare(button.contentItem.source, Qt.url("qrc:/graphics/arrow-bottom.png"));
            mouseClick(button);
            tryVerify(() => _panel.height === _panel.timeRowHeight + _panel.ageRowHeight + data.expanded);
            compare(button.contentItem.source, Qt.url("qrc:/graphics/arrow-up.png"));
            // The button stays at the bottom, under the last row.
            const gps = findChild(_panel, "_gpsRow");
            compare(button.mapToItem(_panel, 0, 0).y, gps.mapToItem(_panel, 0, gps.height).y);
            mouseClick(button);
            tryVerify(() => _panel.height === _panel.timeRowHeight + _panel.ageRowHeight + data.collapsed);
            _panel.large = false;
        }
    }
}
