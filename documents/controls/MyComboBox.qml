import QtQuick
import QtQuick.Controls.Material

// The list opens from a click anywhere on the box (a ComboBox that is not editable does that
// by itself); it is a little wider than the box and grows towards the reading end, on a plain
// background that every renderer draws.
ComboBox {
    id: _comboBox

    // A list whose entries need more room than a narrow box gives them.
    property real minimumPopupWidth: 0

    flat: true
    font.pixelSize: basePixelSize * 0.9
    indicator: Item {}
    popup.width: Math.max(_comboBox.width + 20, _comboBox.minimumPopupWidth)
    popup.x: _comboBox.mirrored ? _comboBox.width - popup.width : 0
    popup.background: PlainPopupBackground {}
    // The chosen entry shrinks to a narrow box's width rather than be cut off.
    contentItem: Text {
        objectName: "_chosenText"
        leftPadding: _comboBox.mirrored ? 1 : 12
        rightPadding: _comboBox.mirrored ? 12 : 1
        text: _comboBox.displayText
        font: _comboBox.font
        color: _comboBox.enabled ? _comboBox.Material.foreground : _comboBox.Material.hintTextColor
        verticalAlignment: Text.AlignVCenter
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 8
    }
}
