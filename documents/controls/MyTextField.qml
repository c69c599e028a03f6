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
    // How far a title raised over the field reaches into it: the text and cursor stay below.
    property real titleReach: title !== "" ? _floatingTitle.raisedBottom : 0

    topPadding: Math.max(Material.textFieldVerticalPadding, titleReach + 2)
    background: InputUnderline {
        focused: _textField.activeFocus
        fieldEnabled: _textField.enabled
    }

    FloatingTitle {
        id: _floatingTitle

        objectName: "_floatingTitle"
        field: _textField
        text: _textField.title
        raised: _textField.text.length > 0
    }
}
