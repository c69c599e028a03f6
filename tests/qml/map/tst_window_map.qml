import QtQuick
import QtTest
import QtPositioning
import globals

// The main window's map: the lock state and what it does to the camera, a drag that ends the
// car lock, new car positions, the geofence operation and the kept map type.
TestCase {
    id: _testCase

    property var window: null
    property var map: null
    property var lockState: null

    function named(objectName: string): var {
        const found = findChild(_testCase.window, objectName);
        verify(found, objectName);
        return found;
    }

    // The dashboard's small map has the same buttons: these are the main map's.
    function onMap(objectName: string): var {
        const found = findChild(_testCase.map, objectName);
        verify(found, objectName);
        return found;
    }

    function location(lat: real, lon: real, course: real): var {
        return { "dateTime": new Date(2024, 2, 20, 8, 5, 9), "lat": lat, "lon": lon, "alt": 900, "course": course, "speed": 5, "accuracy": 80 };
    }

    // The dashboard, then live tracking with the car lock on.
    function openLiveTracking(): void {
        const stack = named("_mainStackView");
        stack.push(named("_dashboard"), {}, 1);
        _testCase.window.currentOperation = Globals.CarControl_Operation;
        _testCase.window.currentOperation = Globals.LiveTracking_Operation;
        tryCompare(stack, "busy", false);
        compare(stack.currentItem, _testCase.map);
        tryVerify(() => _testCase.map.mapReady, 5000);
    }

    name: "WindowMap"
    when: windowShown

    function init(): void {
        _testCase.window = Qt.createComponent("qrc:/main.qml").createObject(null, { "width": 500, "height": 800 });
        verify(_testCase.window);
        _testCase.map = named("_map");
        _testCase.map.animationsEnabled = false;
        _testCase.lockState = named("_lockStateItem");
        waitForRendering(_testCase.window.contentItem);
    }

    function cleanup(): void {
        _testCase.window.destroy();
        _testCase.window = null;
        wait(0);
    }

    function test_lockStateMovesTheCamera_data() {
        return [
            { "tag": "free", "located": true, "from": "car", "to": "", "tilt": 0, "bearing": 200, "onCar": false, "tooltip": "" },
            { "tag": "car with a position", "located": true, "from": "", "to": "car", "tilt": 45, "bearing": 200, "onCar": true, "tooltip": "قفل شدن نقشه روی موقعیت خودرو" },
            { "tag": "car before any position", "located": false, "from": "", "to": "car", "tilt": 45, "bearing": 200, "onCar": false, "tooltip": "" },
            { "tag": "me, turned west", "located": true, "from": "", "to": "me", "tilt": 45, "bearing": 0, "onCar": false, "tooltip": "قفل شدن نقشه روی موقعیت شما" }
        ];
    }

    function test_lockStateMovesTheCamera(data) {
        openLiveTracking();
        _testCase.lockState.state = data.from;
        if (data.located)
            _testCase.window.currentLocation = location(36.5, 59.8, 200);
        _testCase.map.center = QtPositioning.coordinate(36.3, 59.6);
        _testCase.map.bearing = 200;
        const tooltip = named("_mainTooltip");
        tooltip.text = "";

        _testCase.lockState.state = data.to;
        compare(_testCase.map.tilt, data.tilt);
        // North may read 0 or 360.
        compare(_testCase.map.bearing % 360, data.bearing);
        compare(_testCase.map.center, data.onCar ? QtPositioning.coordinate(36.5, 59.8) : QtPositioning.coordinate(36.3, 59.6));
        compare(tooltip.text, data.tooltip);
        compare(onMap("_northNeedle").icon.source, Qt.url(data.to === "car" ? "qrc:/graphics/northNeedle.svg" : "qrc:/graphics/north-direction.svg"));
    }

    // A drag of the map by the user ends the car lock; the next position moves the marker, not
    // the map.
    function test_dragEndsTheCarLock() {
        openLiveTracking();
        _testCase.window.currentLocation = location(36.3, 59.6, 0);
        compare(_testCase.lockState.state, "car");
        compare(_testCase.map.center, QtPositioning.coordinate(36.3, 59.6));

        mouseDrag(_testCase.map, 250, 300, 60, 90);
        compare(_testCase.lockState.state, "");
        compare(_testCase.map.tilt, 0);
        // A copy: a coordinate read from a property follows the property.
        const center = QtPositioning.coordinate(_testCase.map.center.latitude, _testCase.map.center.longitude);
        verify(center !== QtPositioning.coordinate(36.3, 59.6));

        _testCase.window.currentLocation = location(36.31, 59.61, 90);
        verify(_testCase.map.center.distanceTo(center) < 0.01);
        compare(_testCase.map.bearing, 0);
        tryCompare(_testCase.map.locationItem, "coordinate", QtPositioning.coordinate(36.31, 59.61), 2000);
        verify(_testCase.map.locationItem.pulsing);
    }

    // The marker pulses for a new position, not for a reply that repeats the last one, and
    // stops when the map is hidden.
    function test_markerPulsesOnAMove() {
        openLiveTracking();
        const marker = _testCase.map.locationItem;
        _testCase.window.currentLocation = location(36.3, 59.6, 0);
        verify(marker.pulsing);
        marker.visible = false;
        verify(!marker.pulsing);
        marker.visible = true;
        _testCase.window.currentLocation = location(36.3, 59.6, 0);
        verify(!marker.pulsing);
        _testCase.window.currentLocation = location(36.3001, 59.6, 0);
        verify(marker.pulsing);
    }

    // Under the car lock each position centres the map and turns it towards a new course.
    function test_carLockFollowsPositionAndCourse_data() {
        return [
            { "tag": "small course change keeps the bearing", "bearing": 10, "course": 40, "expected": 10 },
            { "tag": "across north", "bearing": 350, "course": 10, "expected": 10 },
            { "tag": "a right turn", "bearing": 0, "course": 90, "expected": 90 }
        ];
    }

    function test_carLockFollowsPositionAndCourse(data) {
        openLiveTracking();
        _testCase.map.bearing = data.bearing;
        _testCase.window.currentLocation = location(36.4, 59.7, data.course);
        compare(_testCase.map.center, QtPositioning.coordinate(36.4, 59.7));
        compare(_testCase.window.carCoord, QtPositioning.coordinate(36.4, 59.7));
        fuzzyCompare(_testCase.map.bearing % 360, data.expected, 1e-9);
    }

    // Entering the geofence frees the map and shows the whole zone, flat and north up.
    function test_geofenceOperationShowsTheZone() {
        const stack = named("_mainStackView");
        stack.push(named("_dashboard"), {}, 1);
        _testCase.window.currentOperation = Globals.CarControl_Operation;
        const corners = [];
        for (let k = 0; k < 8; ++k)
            corners.push(QtPositioning.coordinate(0, 0));
        named("_settingsCopy").handleSettings({ "geoFencePolygon": corners, "geoFenceInOut": Globals.GeofenceOut });
        compare(_testCase.map.geofenceItem.coords[0], QtPositioning.coordinate(36.4013568, 53.7270277));
        verify(!_testCase.map.geofenceItem.visible);

        _testCase.window.currentOperation = Globals.Settings_Operation;
        _testCase.map.bearing = 90;
        _testCase.window.currentOperation = Globals.GeoFence_Operation;
        tryCompare(stack, "busy", false);
        compare(stack.currentItem, _testCase.map);
        verify(_testCase.map.geofenceItem.visible);
        compare(_testCase.lockState.state, "");
        compare(_testCase.map.bearing, 0);
        compare(_testCase.map.tilt, 0);
        fuzzyCompare(_testCase.map.center.latitude, 32.4998826, 1e-6);
        fuzzyCompare(_testCase.map.center.longitude, 53.7270277, 1e-6);
        compare(named("_geoFenceInOutSettings").inOut, Globals.GeofenceOut);
    }

    // The zone is fitted to the map as the page ends up, wide where the window is, and again when
    // the window changes size, unless a corner is held right then.
    function test_geofenceFitsTheMapsSize_data() {
        return [
            { "tag": "wide window", "resize": null, "held": false },
            { "tag": "turned to tall", "resize": [500, 1200], "held": false },
            { "tag": "resized while a corner is held", "resize": [500, 1200], "held": true }
        ];
    }

    function test_geofenceFitsTheMapsSize(data) {
        _testCase.window.showNormal();
        _testCase.window.width = 1400;
        _testCase.window.height = 800;
        const stack = named("_mainStackView");
        stack.push(named("_dashboard"), {}, 1);
        _testCase.window.currentOperation = Globals.CarControl_Operation;
        _testCase.window.currentOperation = Globals.Settings_Operation;
        tryCompare(stack, "busy", false);
        const geofence = _testCase.map.geofenceItem;
        geofence.setCenter(QtPositioning.coordinate(36.3, 59.6), 2000);
        _testCase.window.currentOperation = Globals.GeoFence_Operation;
        tryCompare(stack, "busy", false);
        tryCompare(_testCase.map, "width", 1400);
        const fitted = () => {
            const zoom = _testCase.map.zoomLevel;
            _testCase.map.fitToCoords(geofence.polygon.path);
            const again = _testCase.map.zoomLevel;
            _testCase.map.zoomLevel = zoom;
            return again;
        };
        fuzzyCompare(_testCase.map.zoomLevel, fitted(), 1e-6);
        if (!data.resize)
            return;

        const before = _testCase.map.zoomLevel;
        waitForRendering(_testCase.window.contentItem);
        const corner = _testCase.map.fromCoordinate(geofence.coords[0], false);
        if (data.held) {
            mousePress(_testCase.map, corner.x, corner.y);
            for (let step = 1; step <= 5; ++step)
                mouseMove(_testCase.map, corner.x, corner.y + 4 * step);
            verify(geofence.dragging);
        }
        _testCase.window.width = data.resize[0];
        _testCase.window.height = data.resize[1];
        tryCompare(_testCase.map, "width", data.resize[0]);
        if (data.held) {
            compare(_testCase.map.zoomLevel, before);
            mouseRelease(_testCase.map, corner.x, corner.y + 20);
        } else {
            verify(Math.abs(_testCase.map.zoomLevel - before) > 0.1);
            fuzzyCompare(_testCase.map.zoomLevel, fitted(), 1e-6);
        }
    }

    // A device reply while the zone is being edited, or while the settings pages are open,
    // never replaces the corners; the first reply after leaving them does.
    function test_zoneLoadsOncePerVisit_data() {
        return [
            { "tag": "while editing the zone", "backSteps": 0, "replaced": false },
            { "tag": "back in the settings", "backSteps": 1, "replaced": false },
            { "tag": "back on the dashboard", "backSteps": 2, "replaced": true }
        ];
    }

    function test_zoneLoadsOncePerVisit(data) {
        const device = [];
        for (let k = 0; k < 8; ++k)
            device.push(QtPositioning.coordinate(35 + k / 10, 51));
        const stack = named("_mainStackView");
        stack.push(named("_dashboard"), {}, 1);
        _testCase.window.currentOperation = Globals.CarControl_Operation;
        named("_settingsCopy").handleSettings({ "geoFencePolygon": device });
        _testCase.window.currentOperation = Globals.Settings_Operation;
        _testCase.window.currentOperation = Globals.GeoFence_Operation;
        _testCase.map.geofenceItem.setCenter(QtPositioning.coordinate(36, 59), 1000);
        const edited = _testCase.map.geofenceItem.coords.map(c => QtPositioning.coordinate(c.latitude, c.longitude));
        for (let step = 0; step < data.backSteps; ++step)
            _testCase.window.back();

        named("_settingsCopy").handleSettings({ "geoFencePolygon": device });
        compare(_testCase.map.geofenceItem.coords, data.replaced ? device : edited);
        named("_settingsCopy").handleSettings({ "geoFencePolygon": device.slice().reverse() });
        compare(_testCase.map.geofenceItem.coords, data.replaced ? device : edited, "loaded once per visit");
    }

    // The type picked on the map is the settings page's, and both survive a restart.
    function test_mapTypeChoiceIsKept() {
        named("_settingsPages").mapStyleIndex = 0;
        openLiveTracking();
        tryVerify(() => _testCase.map.supportedMapTypes.length >= 2, 5000);
        mouseClick(onMap("_layersButton"));
        const tile = findChild(onMap("_mapTypePopup").contentItem, "_mapTypeTile1");
        tryVerify(() => tile.visible);
        mouseClick(tile);
        compare(named("_settingsPages").mapStyleIndex, 1);
        compare(_testCase.map.activeMapType.name, _testCase.map.supportedMapTypes[1].name);

        // The old window writes its settings as it goes.
        _testCase.window.destroy();
        wait(50);
        _testCase.window = Qt.createComponent("qrc:/main.qml").createObject(null, { "width": 500, "height": 800 });
        _testCase.map = named("_map");
        _testCase.map.animationsEnabled = false;
        waitForRendering(_testCase.window.contentItem);
        compare(named("_settingsPages").mapStyleIndex, 1);
        openLiveTracking();
        tryCompare(_testCase.map.activeMapType, "name", _testCase.map.supportedMapTypes[1].name, 5000);

        // The settings page lists every type and changes it back.
        const page = named("_settingsPages").page("Menu_Map");
        named("_mainStackView").push(page, {}, 1);
        const street = findChild(page, "_mapType0");
        verify(!street.checked);
        verify(findChild(page, "_mapType1").checked);
        // By keyboard: without a server the offline warning lies over the first rows.
        street.forceActiveFocus();
        keyClick(Qt.Key_Space);
        compare(page.activeStyleIndex, 0);
        compare(_testCase.map.activeMapType.name, _testCase.map.supportedMapTypes[0].name);
    }
}
