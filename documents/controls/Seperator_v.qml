import QtQuick
import QtQuick.Layouts
import ".."
import "../Style.js" as Style

// A 1 px line along the full height, brightest in the middle.
Item {
    implicitWidth: 1
    implicitHeight: 100
    Layout.fillHeight: true

    FadingLine {
        anchors.fill: parent
        vertical: true
        lineColor: Style.separator
    }
}
