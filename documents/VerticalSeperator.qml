import QtQuick
import QtQuick.Layouts

// A 1 px line along the full height, centred, fading out at both ends unless isGradian is off.
Item {
    id: _seperator

    property color color: "white"
    property bool isGradian: true
    readonly property color _endColor: isGradian ? "transparent" : color

    implicitWidth: 1
    implicitHeight: 100
    Layout.fillHeight: true

    Rectangle {
        width: 1
        height: parent.height
        anchors.horizontalCenter: parent.horizontalCenter
        gradient: Gradient {
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
