import QtQuick
import QtQuick.Controls.Material
import ".."
import "../Style.js" as Style

// A button that turns busy when clicked; the screen sets state back to "ready" when done.
MyButton {
    id: _busyPushbotton

    property alias timeout: _busyTimeout.interval

    state: "ready"
    states: [
        State {
            name: "ready"
        },
        State {
            name: "busy"
        }
    ]
    enabled: state === "ready"
    onClicked: state = "busy"

    ProgressBar {
        objectName: "_progress"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 5
        indeterminate: true
        visible: _busyPushbotton.state === "busy"
        Material.accent: Style.progressAccent
    }

    BusyTimeout {
        id: _busyTimeout

        control: _busyPushbotton
        restState: "ready"
    }
}
