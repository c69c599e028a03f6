pragma ComponentBehavior: Bound

import QtQuick
import QtLocation as QL
import QtPositioning

// The base map of every map in the app: the tile source, the gestures and the camera helpers.
QL.Map {
    id: _myMap

    property bool animationsEnabled: true
    property bool gestureEnabled: true
    // Writing it moves the centre there with centerOn.
    property geoCoordinate centerWithAnimation
    property alias centerToken: _centerToken
    // The map coordinate under the fingers when a pinch began; it stays under them.
    property geoCoordinate startCentroid
    // The zoom when a pinch began: the fingers' spread sets the zoom from there.
    property real _pinchStartZoom
    readonly property alias tilePlugin: _osmPlugin

    // The user moved the map by hand.
    signal dragged

    function centerOn(coord: geoCoordinate): void {
        _centerAnimation.stop();
        if (!coord.isValid)
            return;
        if (!animationsEnabled) {
            center = coord;
            return;
        }
        _centerAnimation.from = center;
        _centerAnimation.to = coord;
        _centerAnimation.start();
    }

    function zoomToCoord(coord: geoCoordinate, zoom: real): void {
        centerOn(coord);
        zoomLevel = Math.min(zoom, maximumZoomLevel);
    }

    // Puts the larger side of the area across 70 % of the map's shorter side, north up, flat.
    function fitToCoords(coords: var): void {
        const area = _tools.getPolygonBoundingRect(Array.from(coords ?? []));
        if (!area.isValid)
            return;
        const across = Math.max(area.topLeft.distanceTo(area.topRight), area.topLeft.distanceTo(area.bottomLeft));
        const scale = 156250 * Math.min(width, height) * 0.7 / across;
        // A single point or an unsized map has no scale to fit: only the centre moves.
        if (scale > 0 && Number.isFinite(scale))
            zoomLevel = Math.log2(scale);
        centerOn(area.center);
        tilt = 0;
        bearing = 0;
    }

    // Resolving the tile providers is a network round trip that a map never shown has no use for.
    function attachPlugin(): void {
        if (!plugin)
            plugin = _osmPlugin;
    }

    onCenterWithAnimationChanged: centerOn(centerWithAnimation)
    onVisibleChanged: {
        if (visible)
            attachPlugin();
    }
    Component.onCompleted: {
        if (visible)
            attachPlugin();
    }

    copyrightsVisible: false
    // Markers near an edge would otherwise be drawn over the tool bars around the map.
    clip: true

    // Not under the fingers: a pinch step would cut short the animation of the step before.
    Behavior on zoomLevel {
        enabled: _myMap.animationsEnabled && !_pinch.active

        NumberAnimation {
            duration: 300
            easing.type: Easing.Linear
        }
    }
    Behavior on bearing {
        enabled: _myMap.animationsEnabled

        NumberAnimation {
            duration: 800
            easing.type: Easing.OutCubic
        }
    }
    Behavior on tilt {
        enabled: _myMap.animationsEnabled

        NumberAnimation {
            duration: 800
            easing.type: Easing.OutCubic
        }
    }

    CoordinateAnimation {
        id: _centerAnimation

        target: _myMap
        property: "center"
        duration: 300
    }

    QL.Plugin {
        id: _osmPlugin

        name: "osm"
        parameters: {
            const list = [_highDpi, _diskCache, _repository];
            // Without an address of its own the plugin keeps its built-in route service.
            if (_routingHost.value)
                list.push(_routingHost);
            return list;
        }
    }

    QL.PluginParameter {
        id: _highDpi

        name: "osm.mapping.highdpi_tiles"
        value: "true"
    }
    QL.PluginParameter {
        id: _diskCache

        name: "osm.mapping.cache.disk.size"
        value: "400000000"
    }
    QL.PluginParameter {
        id: _repository

        name: "osm.mapping.providersrepository.address"
        value: _server.mapProvidersUrl
    }
    QL.PluginParameter {
        id: _routingHost

        name: "osm.routing.host"
        value: _server.routingUrl
    }

    Text {
        id: _centerToken

        anchors.centerIn: parent
        text: "┼"
        font.pointSize: 14
        style: Text.Outline
        styleColor: "white"
    }

    TapHandler {
        enabled: _myMap.gestureEnabled
        onDoubleTapped: {
            if (_myMap.zoomLevel < _myMap.maximumZoomLevel)
                _myMap.zoomLevel = Math.min(_myMap.zoomLevel + 1, _myMap.maximumZoomLevel);
        }
    }

    PinchHandler {
        id: _pinch

        enabled: _myMap.gestureEnabled
        target: null
        grabPermissions: PointerHandler.TakeOverForbidden
        onActiveChanged: {
            if (!active)
                return;
            _centerAnimation.stop();
            _myMap.startCentroid = _myMap.toCoordinate(_pinch.centroid.position, false);
            _myMap._pinchStartZoom = _myMap.zoomLevel;
        }
        // Twice the spread is one level in, however many events the gesture comes in.
        onScaleChanged: {
            const zoom = _myMap._pinchStartZoom + Math.log2(_pinch.activeScale);
            _myMap.zoomLevel = Math.max(_myMap.minimumZoomLevel, Math.min(zoom, _myMap.maximumZoomLevel));
            _myMap.alignCoordinateToPoint(_myMap.startCentroid, _pinch.centroid.position);
        }
        onRotationChanged: delta => _myMap.bearing -= delta * 10
        onTranslationChanged: delta => {
            const tilt = _myMap.tilt - delta.y * 1.5;
            if (tilt <= 65)
                _myMap.tilt = tilt;
        }
    }

    // One 15-degree notch is a fifth of a zoom level. Where the platform cannot tell a smooth
    // mouse wheel from a touch pad, both zoom.
    WheelHandler {
        enabled: _myMap.gestureEnabled
        acceptedDevices: Qt.platform.pluginName === "cocoa" || Qt.platform.pluginName === "wayland"
                         ? PointerDevice.Mouse | PointerDevice.TouchPad : PointerDevice.Mouse
        rotationScale: 1 / 75
        property: "zoomLevel"
    }

    DragHandler {
        enabled: _myMap.gestureEnabled
        target: null
        onActiveChanged: {
            if (!active)
                return;
            // The user's hand wins over a centring still under way.
            _centerAnimation.stop();
            _myMap.dragged();
        }
        onTranslationChanged: delta => _myMap.pan(-delta.x, -delta.y)
    }
}
