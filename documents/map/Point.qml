import QtQuick
import QtLocation as QL
import QtPositioning

// A map marker the user drags to a new place; its coordinate follows.
QL.MapQuickItem {
    id: _point

    // A finger or the mouse is moving it now.
    readonly property alias dragging: _drag.active

    anchorPoint.x: 25
    anchorPoint.y: 25
    coordinate: QtPositioning.coordinate(0, 0)
    sourceItem: Item {
        width: 50
        height: 50

        Image {
            anchors.centerIn: parent
            width: 25
            height: 25
            source: "qrc:/graphics/point.svg"
            sourceSize: Qt.size(50, 50)
        }
    }

    // The marker, not the map under it, moves: the map's own drag may not take over.
    DragHandler {
        id: _drag

        grabPermissions: PointerHandler.TakeOverForbidden
    }
}
