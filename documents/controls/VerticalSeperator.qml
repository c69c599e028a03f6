import QtQuick
import QtQuick.Layouts

// A 1 px line along the full height, centred, fading out at both ends unless isGradian is off.
Item {
    id: _seperator

    property color color: "white"
    property bool isGradian: true

    implicitWidth: 1
    implicitHeight: 100
    Layout.fillHeight: true

    FadingLine {
        width: 1
        height: parent.height
        anchors.horizontalCenter: parent.horizontalCenter
        vertical: true
        lineColor: _seperator.color
        endColor: _seperator.isGradian ? "transparent" : _seperator.color
        fullFrom: 0.3
        fullTo: 0.7
    }
}
