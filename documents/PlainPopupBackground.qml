import QtQuick
import QtQuick.Controls.Material

// A popup's background drawn plainly: the style's elevation shadow is an effect some renderers
// cannot draw, and with it the whole background would be missing, leaving the popup's text over
// the page below.
Rectangle {
    color: Material.dialogColor
    radius: 4
}
