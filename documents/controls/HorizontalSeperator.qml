import QtQuick
import QtQuick.Layouts

// A 1 px line across the width that fades out at both ends unless isGradian is off.
Item {
    id: _seperator

    property color color: "white"
    property bool isGradian: true

    implicitWidth: 100
    implicitHeight: 1
    Layout.fillWidth: true

    FadingLine {
        anchors.fill: parent
        lineColor: _seperator.color
        endColor: _seperator.isGradian ? "transparent" : _seperator.color
        fullFrom: 0.3
        fullTo: 0.7
    }
}
