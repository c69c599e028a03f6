import QtQuick
import QtQuick.Layouts

// A 1 px line across the full width, brightest in the middle.
Item {
    implicitWidth: 100
    implicitHeight: 1
    Layout.fillWidth: true

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            orientation: Gradient.Horizontal

            GradientStop {
                position: 0
                color: "transparent"
            }
            GradientStop {
                position: 0.5
                color: Qt.rgba(0.8, 0.8, 1, 0.8)
            }
            GradientStop {
                position: 1
                color: "transparent"
            }
        }
    }
}
