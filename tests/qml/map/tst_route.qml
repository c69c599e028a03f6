import QtQuick
import QtPositioning
import QtTest
import kova.testing
import kova.tools
import "qrc:/"

// The walking route on the map against a scripted route service: every answer is drawn, and
// every change of what is asked asks again.
Item {
    id: _mainWindow

    property int basePixelSize: 14

    width: 400
    height: 400

    FontLoader {
        id: _font
    }

    Tools {
        id: _tools
    }

    TestHttpServer {
        id: _peer
    }

    QtObject {
        id: _server

        property string mapProvidersUrl: "http://127.0.0.1:9/map/"
        property string routingUrl: _peer.url + "/route/v1/foot/"
    }

    Component {
        id: _mapComponent

        MapView {
            anchors.fill: parent
            animationsEnabled: false
            enableRouting: true
        }
    }

    TestCase {
        id: _testCase

        readonly property var phone: [36.3, 59.6]
        readonly property var car: [36.31, 59.61]

        // A value of the route service's polyline format, six decimals.
        function encoded(value: int): string {
            let bits = value < 0 ? ~(value << 1) : value << 1;
            let text = "";
            while (bits >= 0x20) {
                text += String.fromCharCode((0x20 | (bits & 0x1f)) + 63);
                bits >>= 5;
            }
            return text + String.fromCharCode(bits + 63);
        }

        function polyline(points: var): string {
            let line = "";
            let last = [0, 0];
            for (const point of points) {
                const next = [Math.round(point[0] * 1e6), Math.round(point[1] * 1e6)];
                line += encoded(next[0] - last[0]) + encoded(next[1] - last[1]);
                last = next;
            }
            return line;
        }

        // The service's answer of one route through `points`, [latitude, longitude] each: the
        // map draws the geometry of its steps, a departure along it all and the arrival.
        function answer(points: var): var {
            const end = points[points.length - 1];
            const step = (type, along) => ({ "geometry": polyline(along), "distance": 100, "duration": 60, "weight": 60, "name": "", "mode": "walking",
                    "maneuver": { "type": type, "location": [along[0][1], along[0][0]], "bearing_before": 0, "bearing_after": 0 },
                    "intersections": [{ "location": [along[0][1], along[0][0]], "bearings": [0], "entry": [true], "out": 0 }] });
            const route = { "distance": 100, "duration": 60, "weight": 60, "weight_name": "duration", "geometry": polyline(points),
                "legs": [{ "distance": 100, "duration": 60, "weight": 60, "summary": "", "steps": [step("depart", points), step("arrive", [end, end])] }] };
            return { "body": JSON.stringify({ "code": "Ok", "routes": [route], "waypoints": [points[0], end].map(p => ({ "name": "", "hint": "", "distance": 0, "location": [p[1], p[0]] })) }) };
        }

        function routePath(from: var, to: var): string {
            return "/route/v1/foot/" + from[1].toFixed(7) + "," + from[0].toFixed(7) + ";" + to[1].toFixed(7) + "," + to[0].toFixed(7);
        }

        function coordinates(points: var): var {
            return points.map(point => QtPositioning.coordinate(point[0], point[1]));
        }

        // The line on the map, each point once: the arrival repeats the end.
        function drawn(map: var): var {
            const points = map.myRouteToCarMapItem.path.map(c => [Math.round(c.latitude * 1e6) / 1e6, Math.round(c.longitude * 1e6) / 1e6]);
            return points.filter((point, i) => i === 0 || point.join() !== points[i - 1].join());
        }

        name: "Route"
        when: windowShown

        function init(): void {
            _peer.clearRequests();
        }

        // A route is drawn; then something changes and the next answer replaces it.
        function test_everyAnswerIsDrawn_data() {
            return [
                { "tag": "the phone moved", "change": "phone", "next": [[36.302, 59.6], [36.31, 59.6], [36.31, 59.61]] },
                { "tag": "the car moved", "change": "car", "next": [[36.3, 59.6], [36.3, 59.62], [36.32, 59.62]] },
                { "tag": "driving instead of walking", "change": "mode", "next": [[36.3, 59.6], [36.305, 59.605], [36.31, 59.61]] }
            ];
        }

        function test_everyAnswerIsDrawn(data) {
            const map = createTemporaryObject(_mapComponent, _mainWindow);
            const first = [[36.3, 59.6], [36.3, 59.61], [36.31, 59.61]];
            _peer.setReply(routePath(_testCase.phone, _testCase.car), answer(first));
            map.myRouteToCar.waypoints = coordinates([_testCase.phone, _testCase.car]);
            tryCompare(_peer, "requestCount", 1);
            tryVerify(() => JSON.stringify(drawn(map)) === JSON.stringify(first), 5000, JSON.stringify(drawn(map)));

            const ends = {
                "phone": [data.next[0], _testCase.car],
                "car": [_testCase.phone, data.next[2]],
                "mode": [_testCase.phone, _testCase.car]
            }[data.change];
            _peer.setReply(routePath(ends[0], ends[1]), answer(data.next));
            if (data.change === "mode")
                map.myRouteToCar.pedestrain = false;
            else
                map.myRouteToCar.waypoints = coordinates(ends);
            tryCompare(_peer, "requestCount", 2);
            tryVerify(() => JSON.stringify(drawn(map)) === JSON.stringify(data.next), 5000, JSON.stringify(drawn(map)));
            compare(_peer.requestCount, 2, "one request per change");
        }
    }
}
