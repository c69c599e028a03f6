import QtQuick
import QtQuick.Controls.Material

// A page's scrolling body; the page sets contentHeight to the height of its column.
Flickable {
    x: parent ? (parent.width - width) / 2 : 0
    clip: true
    ScrollBar.vertical: ScrollBar {}
}
