import QtQuick
import QtQuick.Layouts
import "../Style.js" as Style

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
                color: Style.separator
            }
            GradientStop {
                position: 1
                color: "transparent"
            }
        }
    }
}
