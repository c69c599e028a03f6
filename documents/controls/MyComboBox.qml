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
}
