import QtQuick
import QtQuick.Layouts

// A 1 px line across the width that fades out at both ends unless isGradian is off.
Item {
    id: _seperator

    property color color: "white"
    property bool isGradian: true
    readonly property color _endColor: isGradian ? "transparent" : color

    implicitWidth: 100
    implicitHeight: 1
    Layout.fillWidth: true

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            orientation: Gradient.Horizontal

            GradientStop {
                position: 0
                color: _seperator._endColor
            }
            GradientStop {
                position: 0.3
                color: _seperator.color
            }
            GradientStop {
                position: 0.7
                color: _seperator.color
            }
            GradientStop {
                position: 1
                color: _seperator._endColor
            }
        }
    }
}
