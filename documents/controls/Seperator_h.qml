import QtQuick
import QtQuick.Layouts
import ".."
import "../Style.js" as Style

// A 1 px line across the full width, brightest in the middle.
Item {
    implicitWidth: 100
    implicitHeight: 1
    Layout.fillWidth: true

    FadingLine {
        anchors.fill: parent
        lineColor: Style.separator
    }
}
