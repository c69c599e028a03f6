import QtQuick
import QtQuick.Controls.Material

// One of the small round buttons at the end of a BusyTextField.
RoundButton {
    property string toolTip

    width: 45
    height: 45
    flat: true
    ToolTip.visible: hovered
    ToolTip.text: toolTip
}
