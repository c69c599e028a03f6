import QtQuick
import QtQuick.Controls.Material

// Shown while the tracking server cannot be reached.
ToolTip {
    text: "اتصال اینترنت قطع می باشد!"
    background: Rectangle {
        color: "red"
        radius: 2
    }
}
