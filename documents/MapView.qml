pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtLocation as QL
import QtPositioning

// The main map: the car marker, the phone's position and walking route to the car, the geofence
// layer and the trip layers.
QL.Map {
    id: _map

    // Fixed when the map is created: the plugin reads its parameters once.
    property string providersRepository: ""
    property list<color> pathColors: ["#BBF44336"]

    // Index into supportedMapTypes; applied once the plugin has listed its types.
    property int activeStyleIndex: 0
    property bool gestureEnabled: true
    property bool headUp: true
    property bool enableRouting: false
    property bool lockOnMyLocation: false
    property alias positionSourceActive: _positionSource.active
    readonly property var myCoordinate: _positionSource.position.coordinate
    readonly property bool myCoordinateIsValid: _positionSource.valid && _positionSource.position.latitudeValid
            && _positionSource.position.longitudeValid
    property var centerWithAnimation
    property list<GeoPath> debriefingPaths

    readonly property alias locationItem: _locationItem
    readonly property alias geofenceItem: _geofenceItem
    readonly property alias myPositionMapItem: _myPositionMapItem
    readonly property alias myRouteToCar: _myRouteToCar

    signal locationItemClicked
    signal exitRouting

    function centerOn(coord: var): void {
        _centerAnimation.stop();
        _centerAnimation.from = _map.center;
        _centerAnimation.to = coord;
        _centerAnimation.start();
    }

    function centerToMyLocation(): void {
        _map.centerWithAnimation = _map.myCoordinate;
    }

    function fitToCoords(coords: var): void {
        if (!coords || coords.length === 0)
            return;
        _map.tilt = 0;
        _map.bearing = 0;
        _map.fitViewportToGeoShape(QtPositioning.polygon(coords), 40);
    }

    function _applyStyle(): void {
        if (activeStyleIndex >= 0 && activeStyleIndex < supportedMapTypes.length)
            activeMapType = supportedMapTypes[activeStyleIndex];
    }

    function closeMapTypePopup(): void {
        _mapTypePopup.close();
    }

    function clearDebriefingPaths(): void {
        for (const layer of _map.debriefingPaths) {
            _map.removeMapItemGroup(layer);
            layer.destroy();
        }
        _map.debriefingPaths = [];
    }

    // Each path maps the decimal Unix seconds of a point to its location record. Such keys
    // enumerate in ascending order, so the values come in time order without a sort; each line
    // is set whole, as one list.
    function createDebriefingPaths(paths: var): void {
        clearDebriefingPaths();
        const trips = Array.from(paths ?? []);
        const layers = [];
        for (let i = 0; i < trips.length; ++i) {
            const layer = _pathComponent.createObject(_map, {
                "line.color": _map.pathColors[i % _map.pathColors.length],
                "path": Object.values(trips[i] ?? {}).map(point => QtPositioning.coordinate(point.lat, point.lon))
            });
            _map.addMapItemGroup(layer);
            layers.push(layer);
        }
        _map.debriefingPaths = layers;
    }

    onCenterWithAnimationChanged: {
        if (centerWithAnimation && centerWithAnimation.isValid)
            centerOn(centerWithAnimation);
    }

    // The tile plugin is attached when the map is first shown: resolving the providers is a
    // network round trip that a map never shown has no use for.
    onVisibleChanged: {
        if (visible && !plugin)
            plugin = _osmPlugin;
    }
    onSupportedMapTypesChanged: _applyStyle()
    onActiveStyleIndexChanged: _applyStyle()

    QL.Plugin {
        id: _osmPlugin

        name: "osm"

        QL.PluginParameter {
            name: "osm.mapping.highdpi_tiles"
            value: "true"
        }
        QL.PluginParameter {
            name: "osm.mapping.cache.disk.size"
            value: "400000000"
        }
        QL.PluginParameter {
            name: "osm.mapping.providersrepository.address"
            value: _map.providersRepository
        }
    }
    zoomLevel: 13
    center: QtPositioning.coordinate(36.3, 59.6)
    copyrightsVisible: false

    CoordinateAnimation {
        id: _centerAnimation

        target: _map
        property: "center"
        duration: 300
    }

    DragHandler {
        enabled: _map.gestureEnabled
        target: null
        onTranslationChanged: delta => _map.pan(-delta.x, -delta.y)
    }

    WheelHandler {
        enabled: _map.gestureEnabled
        acceptedDevices: PointerDevice.Mouse | PointerDevice.TouchPad
        onWheel: event => _map.zoomLevel = Math.max(_map.minimumZoomLevel, Math.min(_map.maximumZoomLevel,
                _map.zoomLevel + event.angleDelta.y / 120))
    }

    PositionSource {
        id: _positionSource

        active: false
        onPositionChanged: {
            if (_map.lockOnMyLocation && _map.myCoordinateIsValid)
                _map.centerWithAnimation = _map.myCoordinate;
        }
    }

    MapLocationItem {
        id: _locationItem

        onClicked: _map.locationItemClicked()
    }

    QL.MapQuickItem {
        id: _myPositionMapItem

        visible: false
        coordinate: _map.myCoordinate
        anchorPoint.x: 8
        anchorPoint.y: 8
        sourceItem: Rectangle {
            width: 16
            height: 16
            radius: 8
            color: "#2196F3"
            border.color: "white"
            border.width: 2
        }
    }

    QL.MapItemGroup {
        id: _geofenceItem

        readonly property alias polygon: _geofencePolygon

        // A zone with every corner at (0, 0) is no zone: the layer is emptied.
        function setPoints(points: var): void {
            const list = Array.from(points ?? []);
            const isZone = list.some(coord => coord.latitude !== 0 || coord.longitude !== 0);
            _geofencePolygon.path = isZone ? list : [];
        }

        // Eight corners `size` metres from `center`, the first due north, running clockwise.
        function setCenter(center: var, size: real): void {
            const corners = [];
            for (let k = 0; k < 8; ++k)
                corners.push(center.atDistanceAndAzimuth(size, k * 45));
            _geofencePolygon.path = corners;
        }

        QL.MapPolygon {
            id: _geofencePolygon

            border.width: 1
            border.color: "red"
            color: Qt.rgba(1, 0, 0, 0.1)
        }
    }

    QL.MapPolyline {
        id: _routeLine

        visible: _map.enableRouting
        line.width: 5
        line.color: "#BB2196F3"
        path: _routeModel.count > 0 ? _routeModel.get(0).path : []
    }

    QtObject {
        id: _myRouteToCar

        property list<var> waypoints
        readonly property bool loading: _routeModel.status === QL.RouteModel.Loading
        readonly property alias model: _routeModel

        signal routeUpdated
        signal routeError

        onWaypointsChanged: {
            if (!_map.enableRouting || waypoints.length < 2)
                return;
            _routeQuery.waypoints = waypoints;
            _routeModel.update();
        }
    }

    QL.RouteModel {
        id: _routeModel

        plugin: _osmPlugin
        autoUpdate: false
        query: QL.RouteQuery {
            id: _routeQuery

            travelModes: QL.RouteQuery.PedestrianTravel
        }
        onStatusChanged: {
            if (status === QL.RouteModel.Ready)
                _myRouteToCar.routeUpdated();
            else if (status === QL.RouteModel.Error)
                _myRouteToCar.routeError();
        }
    }

    Popup {
        id: _mapTypePopup

        focus: true
        background: PlainPopupBackground {}

        ListView {
            implicitWidth: 160
            implicitHeight: contentHeight
            model: _map.supportedMapTypes
            delegate: ItemDelegate {
                required property var modelData

                text: modelData.name
                onClicked: {
                    _map.activeMapType = modelData;
                    _mapTypePopup.close();
                }
            }
        }
    }

    Component {
        id: _pathComponent

        GeoPath {}
    }
}
