pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtQuick.Effects
import QtLocation as QL
import QtPositioning
import kova.tools
import "LiveDataRules.js" as LiveDataRules

// The map on which the owner follows the car: the car marker, the phone's position and the route
// to the car, the geofence layer, the trip layers, the north needle and the map-type choice.
MyMap {
    id: _map

    property list<color> pathColors: ["#BBF44336"]

    // Index into supportedMapTypes; applied once the plugin has listed its types.
    property int activeStyleIndex: 0
    property bool headUp: true
    property bool enableRouting: false
    // Follow the phone's position and heading.
    property bool lockOnMyLocation: false
    // Renders through an offscreen layer, with rounded corners where the renderer has shaders.
    property bool rounded: false
    property alias positionSourceActive: _positionSource.active
    // The phone's position plugin ("" for the platform's own), its NMEA source, if any, and the
    // app's desktop id, by which a location service knows the app.
    property alias positionPluginName: _positionSource.name
    property alias nmeaSource: _nmeaSource.value
    property alias positionDesktopId: _desktopId.value
    readonly property bool myCoordinateIsValid: _positionSource.valid && _positionSource.position.latitudeValid
                                                && _positionSource.position.longitudeValid
    readonly property geoCoordinate myCoordinate: myCoordinateIsValid ? _positionSource.position.coordinate
                                                                      : QtPositioning.coordinate()
    readonly property bool myDirectionIsValid: _positionSource.valid && _positionSource.position.directionValid
    property list<GeoPath> debriefingPaths
    property alias enableMapTypeSelector: _layersButton.visible

    readonly property alias locationItem: _locationItem
    readonly property alias geofenceItem: _geofenceItem
    readonly property alias myPositionMapItem: _myPositionMapItem
    readonly property alias myRouteToCar: _myRouteToCar
    readonly property alias myRouteToCarMapItem: _routeLine

    signal locationItemClicked
    signal exitRouting
    // The user picked supported map type `index` on the map.
    signal mapTypeChosen(int index)

    function centerToMyLocation(): void {
        _map.centerWithAnimation = _map.myCoordinate;
    }

    function updatePositionSource(): void {
        _positionSource.update();
    }

    function _applyStyle(): void {
        if (activeStyleIndex >= 0 && activeStyleIndex < supportedMapTypes.length)
            activeMapType = supportedMapTypes[activeStyleIndex];
    }

    function closeMapTypePopup(): void {
        _mapTypePopup.close();
    }

    // North up, turning the shorter way.
    function turnNorth(): void {
        _map.bearing = _map.bearing < 180 ? 0 : 360;
    }

    // Moves the geofence to the middle of the view, two thirds of its shorter side across.
    function centerGeofence(): void {
        const side = Math.min(_map.width, _map.height);
        const topLeft = _map.toCoordinate(Qt.point(0, 0), false);
        const third = _map.toCoordinate(Qt.point(0, side / 3), false);
        _geofenceItem.setCenter(_map.center, topLeft.distanceTo(third));
    }

    function clearDebriefingPaths(): void {
        for (const layer of _map.debriefingPaths) {
            _map.removeMapItemGroup(layer);
            layer.destroy();
        }
        _map.debriefingPaths = [];
    }

    // One layer per trip, each line handed its whole path natively: a day holds tens of
    // thousands of points, too many to pass through script.
    function createDebriefingPaths(trips: TripDay): void {
        clearDebriefingPaths();
        const layers = [];
        const count = trips?.count ?? 0;
        for (let i = 0; i < count; ++i) {
            const layer = _pathComponent.createObject(_map, {
                "line.color": _map.pathColors[i % _map.pathColors.length]
            }) as GeoPath;
            if (!layer)
                continue;
            layer.setPath(trips.path(i));
            _map.addMapItemGroup(layer);
            layers.push(layer);
        }
        _map.debriefingPaths = layers;
    }

    onSupportedMapTypesChanged: _applyStyle()
    onActiveStyleIndexChanged: _applyStyle()

    zoomLevel: 13
    center: QtPositioning.coordinate(36.3, 59.6)
    layer.enabled: rounded
    layer.effect: GraphicsInfo.api === GraphicsInfo.Software ? null : _roundedCorners

    PositionSource {
        id: _positionSource

        active: false
        onPositionChanged: {
            if (!_map.lockOnMyLocation)
                return;
            if (_map.myCoordinateIsValid)
                _map.centerOn(_map.myCoordinate);
            if (_map.myDirectionIsValid)
                _map.bearing = LiveDataRules.followHeading(position.direction, _map.bearing);
        }

        PluginParameter {
            id: _nmeaSource

            name: "nmea.source"
        }

        PluginParameter {
            id: _desktopId

            name: "desktopId"
        }
    }

    // The trip layers lie under the markers, the zone and the route (z 0).
    MapLocationItem {
        id: _locationItem

        z: 1
        onClicked: _map.locationItemClicked()
    }

    QL.MapQuickItem {
        id: _myPositionMapItem

        z: 1
        coordinate: _map.myCoordinate
        anchorPoint.x: 20
        anchorPoint.y: 15
        sourceItem: Image {
            width: 40
            height: 40
            source: "qrc:/graphics/location/myPosition_map.svg"
            sourceSize: Qt.size(80, 80)
        }
    }

    MapGeofenceItem {
        id: _geofenceItem

        z: 1
    }

    QL.MapPolyline {
        id: _routeLine

        objectName: "_routeLine"
        z: 1
        visible: _map.enableRouting
        opacity: 0.8
        line.width: 5
        line.color: "blue"
        path: _myRouteToCar.path
    }

    MyRouteToCar {
        id: _myRouteToCar

        plugin: _map.tilePlugin
        enabled: _map.enableRouting
    }

    // The needle and the map-type button, over every map item at the top right.
    Column {
        LayoutMirroring.enabled: false
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 10
        spacing: 10
        z: 2

        MapButton {
            objectName: "_northNeedle"
            rotation: -_map.bearing
            icon.source: _map.headUp ? "qrc:/graphics/northNeedle.svg" : "qrc:/graphics/north-direction.svg"
            onClicked: {
                if (!_map.headUp)
                    _map.turnNorth();
            }
        }

        MapButton {
            id: _layersButton
            objectName: "_layersButton"

            icon.source: "qrc:/graphics/map-layers.svg"
            onClicked: _mapTypePopup.open()

            Popup {
                id: _mapTypePopup
                objectName: "_mapTypePopup"

                x: _layersButton.width - width
                y: _layersButton.height + 5
                padding: 5
                focus: true
                background: PlainPopupBackground {}

                Row {
                    spacing: 5

                    Repeater {
                        model: [
                            {
                                "text": "نقشه استاندارد",
                                "image": "qrc:/graphics/street-thumbnail.png"
                            },
                            {
                                "text": "نقشه ماهواره‌ای",
                                "image": "qrc:/graphics/satellite-thumbnail.png"
                            }
                        ]

                        delegate: AbstractButton {
                            id: _tile

                            required property var modelData
                            required property int index
                            readonly property bool active: _map.supportedMapTypes.length > _tile.index
                                                           && _map.activeMapType.name === _map.supportedMapTypes[_tile.index].name

                            objectName: "_mapTypeTile" + index
                            width: 90
                            height: 80
                            enabled: _map.supportedMapTypes.length > _tile.index
                            background: Rectangle {
                                radius: 5
                                color: _tile.active ? "#3F51B5" : "transparent"
                            }
                            contentItem: Column {
                                spacing: 2
                                topPadding: 4

                                Image {
                                    anchors.horizontalCenter: parent.horizontalCenter
                                    width: 50
                                    height: 50
                                    source: _tile.modelData.image
                                    sourceSize: Qt.size(100, 100)
                                }
                                Label {
                                    anchors.horizontalCenter: parent.horizontalCenter
                                    text: _tile.modelData.text
                                    color: _tile.active ? "white" : "black"
                                    font.pixelSize: basePixelSize * 0.8
                                }
                            }
                            onClicked: {
                                _map.activeMapType = _map.supportedMapTypes[_tile.index];
                                _map.mapTypeChosen(_tile.index);
                                _mapTypePopup.close();
                            }
                        }
                    }
                }
            }
        }
    }

    Component {
        id: _roundedCorners

        MultiEffect {
            maskEnabled: true
            maskThresholdMin: 0.5
            maskSpreadAtMin: 1
            maskSource: _roundedMask
        }
    }

    Rectangle {
        id: _roundedMask

        width: _map.width
        height: _map.height
        radius: 10
        visible: false
        layer.enabled: _map.rounded
    }

    Component {
        id: _pathComponent

        GeoPath {}
    }

    component MapButton: AbstractButton {
        id: _button

        width: 45
        height: 45
        padding: 45 * 0.075
        opacity: 0.8
        background: Rectangle {
            radius: 4
            color: "white"
        }
        contentItem: Image {
            source: _button.icon.source
            sourceSize: Qt.size(2 * _button.availableWidth, 2 * _button.availableHeight)
            fillMode: Image.PreserveAspectFit
        }
    }
}
