import QtQuick
import QtLocation as QL
import QtPositioning

// The zone the car may not enter or leave: eight corners the user drags, and the polygon
// through them in corner order.
QL.MapItemGroup {
    id: _geofence

    readonly property alias polygon: _polygon
    readonly property list<Point> points: [_point1, _point2, _point3, _point4, _point5, _point6, _point7, _point8]
    // What is sent to the device.
    readonly property list<geoCoordinate> coords: [_point1.coordinate, _point2.coordinate, _point3.coordinate,
        _point4.coordinate, _point5.coordinate, _point6.coordinate, _point7.coordinate, _point8.coordinate]
    readonly property bool dragging: _point1.dragging || _point2.dragging || _point3.dragging || _point4.dragging
                                     || _point5.dragging || _point6.dragging || _point7.dragging || _point8.dragging
    // The zone a device that reports none is shown with: [latitude, longitude] per corner.
    readonly property var defaultZone: [[36.4013568, 53.7270277], [35.2138762, 57.1030441], [32.4153317, 58.3500611],
        [29.7010915, 56.9022163], [28.5984084, 53.7270277], [29.7010915, 50.5518390], [32.4153317, 49.1039943],
        [35.2138762, 50.3510114]]

    // Takes the device's corners; all eight at (0, 0) means the device has no zone. A list
    // that does not hold eight coordinates leaves the corners as they are.
    function setPoints(corners: var): void {
        const list = Array.from(corners ?? []).slice(0, 8);
        if (list.length < 8 || !list.every(coord => coord?.isValid === true))
            return;
        const none = list.every(coord => coord.latitude === 0 && coord.longitude === 0);
        for (let k = 0; k < 8; ++k)
            points[k].coordinate = none ? QtPositioning.coordinate(defaultZone[k][0], defaultZone[k][1]) : list[k];
    }

    // A regular octagon `radius` metres around `coord`: corner 1 due north, then clockwise.
    function setCenter(coord: geoCoordinate, radius: real): void {
        for (let k = 0; k < 8; ++k)
            points[k].coordinate = coord.atDistanceAndAzimuth(radius, k * 45);
    }

    QL.MapPolygon {
        id: _polygon

        path: _geofence.coords
        border.width: 1
        border.color: "red"
        color: Qt.rgba(1, 0, 0, 0.1)
    }

    Point {
        id: _point1
    }
    Point {
        id: _point2
    }
    Point {
        id: _point3
    }
    Point {
        id: _point4
    }
    Point {
        id: _point5
    }
    Point {
        id: _point6
    }
    Point {
        id: _point7
    }
    Point {
        id: _point8
    }
}
