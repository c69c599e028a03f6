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
                { "tag": "normal text", "large": false, "collapsed": 55 + 3 * 38 + 20, "expanded": 55 + 7 * 38 + 20, "width": 100 },
                { "tag": "large text", "large": true, "collapsed": 60 + 3 * 45 + 25, "expanded": 60 + 7 * 45 + 25, "width": 120 }
            ];
        }

        function test_expandShowsTheGauges(data) {
            _panel.large = data.large;
            tryCompare(_panel, "height", data.collapsed);
            compare(_panel.width, data.width);
            const button = findChild(_panel, "_expandButton");
            compare(button.contentItem.source, Qt.url("qrc:/graphics/arrow-bottom.png"));
            mouseClick(button);
            tryCompare(_panel, "height", data.expanded);
            compare(button.contentItem.source, Qt.url("qrc:/graphics/arrow-up.png"));
            // The button stays at the bottom, under the last row.
            const gps = findChild(_panel, "_gpsRow");
            compare(button.mapToItem(_panel, 0, 0).y, gps.mapToItem(_panel, 0, gps.height).y);
            mouseClick(button);
            tryCompare(_panel, "height", data.collapsed);
            _panel.large = false;
        }
    }
}
