import QtQuick
import QtQuick.Controls.Material
import "qmlItems"

TextField {
    id: _textField

    // What the field is for; floats above the text once there is some.
    property string title

    font.family: _font.name
    font.pixelSize: basePixelSize * 0.9
    selectByMouse: true
    leftPadding: 7
    rightPadding: 7
    background: InputUnderline {
        focused: _textField.activeFocus
        fieldEnabled: _textField.enabled
    }

    FloatingTitle {
        objectName: "_floatingTitle"
        field: _textField
        text: _textField.title
        raised: _textField.text.length > 0
    }
}
