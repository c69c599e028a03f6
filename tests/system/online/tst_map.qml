import QtQuick
import QtTest
import QtPositioning
import globals
import "qrc:/"

// The map of the real app against the development server, used as a person would: the mini map
// opens live tracking, the lock buttons and a drag decide what the map follows, the geofence
// corners are dragged and the zone centred, and the map type outlives the window.
SystemTestCase {
    id: _testCase

    function ownerWithPosition(): void {
        loggedInOwner();
        tryVerify(() => _testCase.window.currentLocation !== undefined, 15000);
    }

    function carCoordinate(): var {
        return QtPositioning.coordinate(_testCase.window.currentLocation.lat, _testCase.window.currentLocation.lon);
    }

    // Waits until the window has taken `count` more location replies.
    function waitForLocations(count: int): void {
        const spy = createTemporaryObject(_spyComponent, _testCase, {
            "target": _testCase.window,
            "signalName": "currentLocationChanged"
        });
        for (let i = 0; i < count; ++i)
            spy.wait(5000);
    }

    // The dashboard's small map has the same buttons: these are the main map's.
    function onMap(map: var, name: string): var {
        const found = findChild(map, name);
        verify(found, name);
        return found;
    }

    // A coordinate read from a property follows the property; this one stays.
    function copy(coord: var): var {
        return QtPositioning.coordinate(coord.latitude, coord.longitude);
    }

    function near(a: var, b: var, metres: real): bool {
        return a.isValid && b.isValid && a.distanceTo(b) < metres;
    }

    name: "Map"

    function cleanup(): void {
        closeWindow();
    }

    function test_miniMapOpensLiveTrackingOnTheCar() {
        ownerWithPosition();
        const map = openLiveTracking();
        compare(findNamed("_lockStateItem").state, "car");
        tryVerify(() => near(map.locationItem.coordinate, carCoordinate(), 1), 5000, "the marker sits on the car");
        tryVerify(() => near(map.center, carCoordinate(), 1), 5000, "the map follows the car");
        verify(map.locationItem.visible);
        verify(findNamed("_parametersItem").visible);
        compare(findChild(findNamed("_speedRow"), "_value").text.length, 3);
    }

    function test_lockButtonsAndADrag() {
        ownerWithPosition();
        const map = openLiveTracking();
        const lock = findNamed("_lockStateItem");
        const carButton = findNamed("_btnCarLocation");
        tryVerify(() => near(map.center, carCoordinate(), 1), 5000);

        mouseClick(carButton);
        compare(lock.state, "");
        verify(!carButton.checked);
        tryCompare(map, "tilt", 0, 3000);

        mouseClick(carButton);
        compare(lock.state, "car");
        verify(carButton.checked);
        tryCompare(map, "tilt", 45, 3000);

        mouseDrag(map, 150, 300, 120, 80);
        compare(lock.state, "");
        const moved = copy(map.center);
        verify(!near(moved, carCoordinate(), 10), "the drag moved the map off the car");
        waitForLocations(2);
        verify(near(map.center, moved, 0.01), "positions after the drag leave the map where the user put it");
        verify(near(map.locationItem.coordinate, carCoordinate(), 1));

        mouseClick(carButton);
        tryVerify(() => near(map.center, carCoordinate(), 1), 3000, "the car lock brings the map back");
    }

    function test_geofenceCornerDragAndCentre() {
        ownerWithPosition();
        const server = findNamed("_liveData").server;
        tryVerify(() => server.geofencePolygonLoaded, 15000);
        _testCase.window.currentOperation = Globals.Settings_Operation;
        _testCase.window.currentOperation = Globals.GeoFence_Operation;
        const stack = findNamed("_mainStackView");
        tryCompare(stack, "busy", false, 5000);
        const map = findNamed("_map");
        compare(stack.currentItem, map);
        const geofence = map.geofenceItem;
        verify(geofence.visible);
        tryCompare(map, "tilt", 0, 3000);
        // Map items take their places when the map is next drawn.
        waitForRendering(map);

        const corner = geofence.points[4];
        const start = map.fromCoordinate(corner.coordinate, false);
        verify(start.x > 0 && start.x < map.width && start.y > 0 && start.y < map.height, "the fitted zone is in view");
        const target = Qt.point(map.width / 2, map.height / 2 + 40);
        const was = copy(corner.coordinate);
        mousePress(map, start.x, start.y);
        for (let step = 1; step <= 10; ++step)
            mouseMove(map, start.x + (target.x - start.x) * step / 10, start.y + (target.y - start.y) * step / 10);
        mouseRelease(map, target.x, target.y);
        verify(!near(corner.coordinate, was, 10), "the corner moved");
        const dropped = map.fromCoordinate(corner.coordinate, false);
        fuzzyCompare(dropped.x, target.x, 3);
        fuzzyCompare(dropped.y, target.y, 3);
        compare(geofence.polygon.path[4], corner.coordinate);

        mouseClick(findNamed("_btnGefenceOnCenter"));
        const center = copy(map.center);
        const radius = center.distanceTo(geofence.coords[0]);
        verify(radius > 0);
        for (let k = 0; k < 8; ++k) {
            fuzzyCompare(center.distanceTo(geofence.coords[k]), radius, 1);
            fuzzyCompare((center.azimuthTo(geofence.coords[k]) + 1) % 360 - 1, k * 45, 0.1);
        }
    }

    function test_mapTypeSurvivesARestart() {
        ownerWithPosition();
        let map = openLiveTracking();
        tryVerify(() => map.supportedMapTypes.length >= 2, 10000);
        mouseClick(onMap(map, "_layersButton"));
        const satellite = findChild(onMap(map, "_mapTypePopup").contentItem, "_mapTypeTile1");
        tryVerify(() => satellite.visible && satellite.enabled, 3000);
        mouseClick(satellite);
        compare(map.activeMapType.name, map.supportedMapTypes[1].name);

        closeWindow();
        ownerWithPosition();
        compare(findNamed("_settingsPages").mapStyleIndex, 1);
        map = openLiveTracking();
        tryCompare(map.activeMapType, "name", map.supportedMapTypes[1].name, 10000);

        mouseClick(onMap(map, "_layersButton"));
        const street = findChild(onMap(map, "_mapTypePopup").contentItem, "_mapTypeTile0");
        tryVerify(() => street.visible, 3000);
        mouseClick(street);
        compare(findNamed("_settingsPages").mapStyleIndex, 0);
        compare(map.activeMapType.name, map.supportedMapTypes[0].name);
    }

    Component {
        id: _spyComponent

        SignalSpy {}
    }
}
