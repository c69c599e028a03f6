import QtQuick
import QtQuick.Layouts

// A 1 px line along the full height, brightest in the middle.
Item {
    implicitWidth: 1
    implicitHeight: 100
    Layout.fillHeight: true

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
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
