import QtQuick.Controls.Material
import "qmlItems"

SpinBox {
    id: _spinBox

    editable: true
    from: 0
    to: 9999999
    font.pixelSize: basePixelSize * 0.9
    up.indicator: null
    down.indicator: null
    background: InputUnderline {
        focused: _spinBox.activeFocus
        fieldEnabled: _spinBox.enabled
    }
}
