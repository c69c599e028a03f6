import QtQuick
import QtQuick.Controls.Material

// The window's one message line. Pages show a message with ToolTip's own show(text, timeout),
// which sets the time-out, then the text, then opens.
ToolTip {
    timeout: 3000
    background: Rectangle {
        color: "#dd071136"
        radius: 2
    }
}
