import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import ".."

// A password field with an eye button that shows or hides the text. The eye stays at the
// right end even in the right-to-left window.
RowLayout {
    id: _passwordItem

    property alias text: _field.text
    property alias title: _field.title

    spacing: 0
    LayoutMirroring.enabled: false
    LayoutMirroring.childrenInherit: true

    MyTextField {
        id: _field

        objectName: "_field"
        selectByMouse: false
        // Keeps the text clear of the eye that lies over the field's end.
        rightPadding: _eye.width
        echoMode: _eye.checked ? TextInput.Normal : TextInput.Password
        Layout.fillWidth: true
    }

    ToolButton {
        id: _eye

        objectName: "_eye"
        checkable: true
        focusPolicy: Qt.NoFocus
        icon.source: checked ? "qrc:/graphics/show-password.svg" : "qrc:/graphics/hide-password.svg"
        icon.color: "white"
        icon.width: 16
        icon.height: 16
        Layout.leftMargin: -width
        Layout.alignment: Qt.AlignBottom
        background: InputUnderline {
            // As wide as the button: the icon sets the button's width, not a field's default.
            implicitWidth: 0
            focused: _field.activeFocus
            fieldEnabled: _field.enabled
        }
    }
}
