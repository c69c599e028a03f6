import QtQuick
import QtPositioning
import QtTest
import kova.tools
import "qrc:/"

// The map on its own: fitting an area, the geofence corners and their editing, the car marker
// and the map-type choice. The tile plugin has no repository to reach here; the map still
// works in coordinates.
Item {
    id: _mainWindow

    property int basePixelSize: 14

    width: 800
    height: 800

    FontLoader {
        id: _font
    }

    FontLoader {
        id: _font_lato
    }

    Tools {
        id: _tools
    }

    QtObject {
        id: _server

        property string mapProvidersUrl: "http://127.0.0.1:9/map/"
    }

    Component {
        id: _mapComponent

        MapView {
            animationsEnabled: false
            tilt: 0
        }
    }

    TestCase {
        id: _testCase

        name: "Map"
        when: windowShown

        function createMap(width: real, height: real): var {
            const map = createTemporaryObject(_mapComponent, _mainWindow, {
                "width": width,
                "height": height
            });
            verify(map);
            tryVerify(() => map.mapReady, 5000, "the map never became ready");
            return map;
        }

        // Two taps of a finger: mouse clicks in a test are kept apart so they never make one.
        function doubleTap(map: var): void {
            for (let i = 0; i < 2; ++i) {
                const touch = touchEvent(map);
                touch.press(0, map, 200, 200).commit();
                touch.release(0, map, 200, 200).commit();
            }
        }

        function coordinates(pairs: var): var {
            return pairs.map(pair => QtPositioning.coordinate(pair[0], pair[1]));
        }

        function test_fitToCoords_data() {
            return [
                {
                    "tag": "wide area on a tall map",
                    "size": [400, 800],
                    "area": [[0, 10], [-0.05, 10.1], [0, 10.1]],
                    "zoom": 11.94197,
                    "center": [-0.025, 10.05]
                },
                {
                    "tag": "tall area on a wide map",
                    "size": [800, 400],
                    "area": [[0.2, 10], [0, 10.02]],
                    "zoom": 10.94197,
                    "center": [0.1, 10.01]
                },
                {
                    "tag": "square area on a square map",
                    "size": [300, 300],
                    "area": [[0.5, 0], [-0.5, 1], [0, 0.5]],
                    "zoom": 8.20501,
                    "center": [0, 0.5]
                }
            ];
        }

        function test_fitToCoords(data) {
            const map = createMap(data.size[0], data.size[1]);
            map.bearing = 120;
            map.tilt = 30;
            map.fitToCoords(coordinates(data.area));
            fuzzyCompare(map.zoomLevel, data.zoom, 0.0001);
            fuzzyCompare(map.center.latitude, data.center[0], 1e-6);
            fuzzyCompare(map.center.longitude, data.center[1], 1e-6);
            compare(map.bearing, 0);
            compare(map.tilt, 0);
        }

        // An area of one point, or none, has no size to fit: the zoom stays usable.
        function test_fitToCoordsWithoutArea_data() {
            return [
                {
                    "tag": "one point",
                    "area": [[36.3, 59.6]],
                    "center": [36.3, 59.6]
                },
                {
                    "tag": "no point",
                    "area": [],
                    "center": [36.3, 59.6]
                }
            ];
        }

        function test_fitToCoordsWithoutArea(data) {
            const map = createMap(400, 400);
            map.center = QtPositioning.coordinate(36.3, 59.6);
            map.fitToCoords(coordinates(data.area));
            compare(map.zoomLevel, 13);
            fuzzyCompare(map.center.latitude, data.center[0], 1e-6);
        }

        function test_setPoints_data() {
            const zero = Array(8).fill([0, 0]);
            const reply = [[36.1, 59.1], [36.2, 59.2], [36.3, 59.3], [36.4, 59.4], [36.5, 59.5], [36.6, 59.6], [36.7, 59.7], [36.8, 59.8]];
            const defaultZone = [[36.4013568, 53.7270277], [35.2138762, 57.1030441], [32.4153317, 58.3500611], [29.7010915, 56.9022163],
                [28.5984084, 53.7270277], [29.7010915, 50.5518390], [32.4153317, 49.1039943], [35.2138762, 50.3510114]];
            const earlier = [[1, 1], [2, 2], [3, 3], [4, 4], [5, 5], [6, 6], [7, 7], [8, 8]];
            return [
                { "tag": "no zone on the device", "corners": zero, "expected": defaultZone },
                { "tag": "the device's zone", "corners": reply, "expected": reply },
                { "tag": "one corner away from (0, 0)", "corners": zero.slice(0, 7).concat([[0, 0.0001]]), "expected": zero.slice(0, 7).concat([[0, 0.0001]]) },
                { "tag": "only the latitude set", "corners": [[0.5, 0]].concat(zero.slice(1)), "expected": [[0.5, 0]].concat(zero.slice(1)) },
                { "tag": "nine points as the settings carry them", "corners": reply.concat([[9, 9]]), "expected": reply },
                { "tag": "too few corners", "corners": reply.slice(0, 3), "expected": earlier },
                { "tag": "nothing", "corners": null, "expected": earlier }
            ];
        }

        function test_setPoints(data) {
            const map = createMap(400, 400);
            const geofence = map.geofenceItem;
            for (let k = 0; k < 8; ++k)
                geofence.points[k].coordinate = QtPositioning.coordinate(k + 1, k + 1);
            geofence.setPoints(data.corners === null ? undefined : coordinates(data.corners));
            const got = geofence.coords.map(coord => [coord.latitude, coord.longitude]);
            compare(got, data.expected);
            compare(geofence.polygon.path.map(coord => [coord.latitude, coord.longitude]), data.expected);
        }

        function test_setCenter_data() {
            const rows = [];
            for (let k = 0; k < 8; ++k)
                rows.push({ "tag": "corner " + (k + 1), "corner": k, "azimuth": k * 45 });
            return rows;
        }

        function test_setCenter(data) {
            const map = createMap(400, 400);
            const center = QtPositioning.coordinate(36.3, 59.6);
            map.geofenceItem.setCenter(center, 5000);
            const corner = map.geofenceItem.coords[data.corner];
            fuzzyCompare(center.distanceTo(corner), 5000, 0.5);
            // Corner 1 lies due north, where an azimuth of 0 and of 360 are the same.
            fuzzyCompare((center.azimuthTo(corner) + 0.5) % 360 - 0.5, data.azimuth, 0.01);
        }

        // On a 400 x 800 map the octagon reaches a third of the shorter side from the centre:
        // corner 1 straight above it, corner 3 to its right.
        function test_zoneButtonPlacesTheOctagon_data() {
            return [
                { "tag": "corner 1, north", "corner": 0, "offset": [0, -133.33] },
                { "tag": "corner 3, east", "corner": 2, "offset": [133.33, 0] },
                { "tag": "corner 5, south", "corner": 4, "offset": [0, 133.33] },
                { "tag": "corner 7, west", "corner": 6, "offset": [-133.33, 0] }
            ];
        }

        function test_zoneButtonPlacesTheOctagon(data) {
            const map = createMap(400, 800);
            map.center = QtPositioning.coordinate(36.3, 59.6);
            map.centerGeofence();
            compare(map.center, QtPositioning.coordinate(36.3, 59.6));
            const point = map.fromCoordinate(map.geofenceItem.coords[data.corner], false);
            fuzzyCompare(point.x, 200 + data.offset[0], 0.5);
            fuzzyCompare(point.y, 400 + data.offset[1], 0.5);
        }

        // A corner dragged by the mouse moves to where it is dropped; the map does not pan.
        function test_dragACorner() {
            const map = createMap(400, 400);
            map.center = QtPositioning.coordinate(36.3, 59.6);
            map.geofenceItem.setCenter(map.center, 1000);
            const corner = map.geofenceItem.points[2];
            // Map items take their new places when the map is next drawn.
            waitForRendering(map);
            const start = map.fromCoordinate(corner.coordinate, false);
            let dragged = 0;
            map.dragged.connect(() => ++dragged);
            mousePress(map, start.x, start.y);
            for (let step = 1; step <= 10; ++step)
                mouseMove(map, start.x - 5 * step, start.y + 4 * step);
            mouseRelease(map, start.x - 50, start.y + 40);
            const end = map.fromCoordinate(corner.coordinate, false);
            fuzzyCompare(end.x, start.x - 50, 2);
            fuzzyCompare(end.y, start.y + 40, 2);
            compare(map.center, QtPositioning.coordinate(36.3, 59.6));
            compare(dragged, 0);
            const path = map.geofenceItem.polygon.path;
            compare(path[2], corner.coordinate);
        }

        // Anywhere else the same drag pans the map and says so.
        function test_dragTheMap() {
            const map = createMap(400, 400);
            map.center = QtPositioning.coordinate(36.3, 59.6);
            let dragged = 0;
            map.dragged.connect(() => ++dragged);
            mouseDrag(map, 100, 100, 80, 60);
            compare(dragged, 1);
            verify(map.center.longitude < 59.6, "dragging to the right shows what lies west");
            verify(map.center.latitude > 36.3, "dragging down shows what lies north");
        }

        // A drag during an animated centring keeps the map where the hand leaves it.
        function test_dragStopsACentring() {
            const map = createMap(400, 400);
            map.animationsEnabled = true;
            map.center = QtPositioning.coordinate(36.3, 59.6);
            const target = QtPositioning.coordinate(36.5, 59.9);
            map.centerOn(target);
            mouseDrag(map, 100, 100, 80, 60);
            wait(500);
            verify(map.center.distanceTo(target) > 10000, "the centring went on after the drag");
        }

        function test_gesturesOff() {
            const map = createMap(400, 400);
            map.gestureEnabled = false;
            map.center = QtPositioning.coordinate(36.3, 59.6);
            mouseDrag(map, 100, 100, 80, 60);
            doubleTap(map);
            compare(map.center, QtPositioning.coordinate(36.3, 59.6));
            compare(map.zoomLevel, 13);
        }

        function test_doubleTapZoomsIn() {
            const map = createMap(400, 400);
            doubleTap(map);
            compare(map.zoomLevel, 14);
            map.zoomLevel = map.maximumZoomLevel - 0.5;
            // Further taps at once would count as a third and a fourth.
            wait(Qt.styleHints.mouseDoubleClickInterval + 50);
            doubleTap(map);
            compare(map.zoomLevel, map.maximumZoomLevel);
        }

        // Two fingers about the map's centre, moved from `from` to `to` apart in `steps` events,
        // each delivered on a frame of its own as from a screen.
        function spread(map: var, touch: var, from: real, to: real, steps: int): void {
            for (let step = 1; step <= steps; ++step) {
                const half = (from + (to - from) * step / steps) / 2;
                touch.move(0, map, 200 - half, 200).move(1, map, 200 + half, 200).commit();
                waitForRendering(map, 100);
            }
        }

        // The zoom follows the fingers: twice as far apart is one level in, however many touch
        // events the gesture arrives in, and it is there when the fingers leave.
        function test_pinchFollowsTheFingers_data() {
            return [
                { "tag": "apart in one event", "start": 100, "steps": 1, "spread": 2, "animations": true },
                { "tag": "apart in 20 events", "start": 100, "steps": 20, "spread": 2, "animations": true },
                { "tag": "apart in 20 events, no animations", "start": 100, "steps": 20, "spread": 2, "animations": false },
                { "tag": "together in 20 events", "start": 300, "steps": 20, "spread": 0.5, "animations": true }
            ];
        }

        function test_pinchFollowsTheFingers(data) {
            const map = createMap(400, 400);
            map.animationsEnabled = data.animations;
            const touch = touchEvent(map);
            touch.press(0, map, 200 - data.start / 2, 200).press(1, map, 200 + data.start / 2, 200).commit();
            // Far enough for the gesture to be taken for a pinch; the zoom counts from there.
            const from = data.start * (data.spread > 1 ? 1.5 : 2 / 3);
            spread(map, touch, data.start, from, 10);
            const before = map.zoomLevel;
            spread(map, touch, from, from * data.spread, data.steps);
            const during = map.zoomLevel;
            touch.release(0, map, 200 - from * data.spread / 2, 200).release(1, map, 200 + from * data.spread / 2, 200).commit();
            fuzzyCompare(during - before, Math.log2(data.spread), 0.01);
            compare(map.zoomLevel, during);
            wait(400);
            compare(map.zoomLevel, during, "nothing moves on after the gesture");
        }

        function test_markerGlidesAndPulses() {
            const map = createMap(400, 400);
            const marker = map.locationItem;
            verify(!marker.pulsing);
            compare(marker.pulseStop, 0.8);
            marker.coordWithAnimation = QtPositioning.coordinate(36.31, 59.61);
            marker.relive();
            verify(marker.pulsing);
            tryCompare(marker, "coordinate", QtPositioning.coordinate(36.31, 59.61), 2000);
        }

        // Picking the satellite tile switches the map and reports the index for keeping.
        function test_mapTypeTile() {
            const map = createMap(400, 400);
            tryVerify(() => map.supportedMapTypes.length >= 2, 5000);
            const chosen = [];
            map.mapTypeChosen.connect(index => chosen.push(index));
            mouseClick(findChild(map, "_layersButton"));
            const popup = findChild(map, "_mapTypePopup");
            tryVerify(() => popup.opened);
            const satellite = findChild(popup.contentItem, "_mapTypeTile1");
            verify(!satellite.active);
            mouseClick(satellite);
            compare(chosen, [1]);
            compare(map.activeMapType.name, map.supportedMapTypes[1].name);
            verify(satellite.active);
            tryVerify(() => !popup.visible);
        }

        // The needle turns the map north the shorter way; heading-up leaves it to the car.
        function test_needleTurnsNorth_data() {
            return [
                { "tag": "head up keeps the bearing", "headUp": true, "bearing": 100, "between": [100, 100] },
                { "tag": "turned east, back through 50", "headUp": false, "bearing": 100, "between": [0, 100] },
                { "tag": "turned west, on through 300", "headUp": false, "bearing": 250, "between": [250, 360] }
            ];
        }

        function test_needleTurnsNorth(data) {
            const map = createMap(400, 400);
            map.headUp = data.headUp;
            map.bearing = data.bearing;
            map.animationsEnabled = true;
            const seen = [];
            map.bearingChanged.connect(() => seen.push(map.bearing));
            mouseClick(findChild(map, "_northNeedle"));
            if (data.headUp) {
                compare(seen, []);
                return;
            }
            tryVerify(() => map.bearing < 1e-6 || map.bearing > 360 - 1e-6, 3000);
            // North itself may read 0 or 360; on the way the map never turns the long way.
            const wrong = seen.filter(b => (b < data.between[0] || b > data.between[1]) && b > 1e-6 && b < 360 - 1e-6);
            compare(wrong, []);
            verify(seen.length > 2, "the turn is animated");
        }
    }
}
