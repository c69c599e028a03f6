import QtQuick
import QtQuick.Layouts
import "../Style.js" as Style

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
                color: Style.separator
            }
            GradientStop {
                position: 1
                color: "transparent"
            }
        }
    }
}
