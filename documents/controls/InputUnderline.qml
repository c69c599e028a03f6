import QtQuick

// The only frame an input field has: a line along its bottom edge, stronger while focused.
Item {
    property bool focused: false
    property bool fieldEnabled: true

    implicitWidth: 120
    implicitHeight: 40

    Rectangle {
        objectName: "_line"
        anchors.bottom: parent.bottom
        width: parent.width
        height: parent.focused ? 1.5 : 0.5
        color: parent.focused ? "#4769a7" : parent.fieldEnabled ? "#607195" : "#56668a"
    }
}
