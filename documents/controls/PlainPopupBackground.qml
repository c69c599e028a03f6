import QtQuick
import QtQuick.Controls.Material

// A popup's background drawn plainly: the style's elevation shadow is an effect some renderers
// cannot draw, and with it the whole background would be missing, leaving the popup's text over
// the page below.
Rectangle {
    color: Material.dialogColor
    // The dialog colour is close to the pages': the edge shows where the popup ends.
    border.color: Qt.rgba(1, 1, 1, 0.2)
    radius: 4
}
