import QtQuick
import QtQuick.Controls.Material
import QtLocation as QL
import QtPositioning

// One trip on the map: its line and, once it has a point, an 'S' disc at the first and an 'E'
// disc at the last coordinate. Set `path` whole: a day holds tens of thousands of points.
QL.MapItemGroup {
    id: _geoPath

    readonly property alias polyline: _polyline
    property alias path: _polyline.path
    property alias line: _polyline.line

    function addCoordinate(coord: var): void {
        _polyline.addCoordinate(coord);
    }

    function setPath(path: geoPath): void {
        _polyline.setPath(path);
    }

    // Reads two points, not the whole path.
    function _placeMarkers(): void {
        const count = _polyline.pathLength();
        _start.visible = count > 0;
        _end.visible = count > 0;
        if (count === 0)
            return;
        _start.coordinate = _polyline.coordinateAt(0);
        _end.coordinate = _polyline.coordinateAt(count - 1);
    }

    component EndMarker: QL.MapQuickItem {
        id: _marker

        required property string label
        required property real inset
        required property color fill

        visible: false
        anchorPoint.x: 9
        anchorPoint.y: 9
        sourceItem: Rectangle {
            width: 18
            height: 18
            radius: 9
            color: "black"

            Rectangle {
                anchors.fill: parent
                anchors.margins: _marker.inset
                radius: width / 2
                color: _marker.fill

                Label {
                    anchors.centerIn: parent
                    text: _marker.label
                    color: "white"
                    font.pixelSize: 10
                    font.bold: true
                }
            }
        }
    }

    QL.MapPolyline {
        id: _polyline
        objectName: "_polyline"

        line.color: "blue"
        line.width: 5
        onPathChanged: _geoPath._placeMarkers()
    }

    EndMarker {
        id: _start
        objectName: "_start"

        label: "S"
        inset: 3
        fill: _polyline.line.color
    }

    EndMarker {
        id: _end
        objectName: "_end"

        label: "E"
        inset: 2
        fill: _polyline.line.color
    }
}
