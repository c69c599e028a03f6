import QtQuick
import QtQuick.Controls

// The list opens from a click anywhere on the box (a ComboBox that is not editable does that
// by itself); it is a little wider than the box and grows towards the reading end, on a plain
// background that every renderer draws.
ComboBox {
    id: _comboBox

    flat: true
    font.pixelSize: basePixelSize * 0.9
    indicator: Item {}
    popup.width: _comboBox.width + 20
    popup.x: _comboBox.mirrored ? -20 : 0
    popup.background: PlainPopupBackground {}
}
