import QtQuick
import QtLocation as QL
import QtPositioning

// The car marker: moves with animation and flashes when a fresh position arrives.
QL.MapQuickItem {
    id: _locationItem

    property var coordWithAnimation
    property color color: Qt.rgba(0.3, 1, 0.3, 1)
    property real rotate: 0
    property bool arrowVisible: false

    signal clicked

    // Flashes the marker to show that a fresh position came in.
    function relive(): void {
        _relive.restart();
    }

    onCoordWithAnimationChanged: {
        _markerAnimation.stop();
        _markerAnimation.from = coordinate;
        _markerAnimation.to = coordWithAnimation;
        _markerAnimation.start();
    }

    anchorPoint.x: _marker.width / 2
    anchorPoint.y: _marker.height / 2
    coordinate: QtPositioning.coordinate(0, 0)
    sourceItem: Rectangle {
        id: _marker

        width: 24
        height: 24
        radius: width / 2
        color: _locationItem.color
        border.color: "white"
        border.width: 2
        rotation: _locationItem.rotate

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.top
            visible: _locationItem.arrowVisible
            color: _locationItem.color
            text: "▲"
        }

        SequentialAnimation on scale {
            id: _relive

            running: false
            NumberAnimation {
                to: 1.4
                duration: 150
            }
            NumberAnimation {
                to: 1
                duration: 150
            }
        }

        TapHandler {
            onTapped: _locationItem.clicked()
        }
    }

    CoordinateAnimation {
        id: _markerAnimation

        target: _locationItem
        property: "coordinate"
        duration: 300
    }
}

