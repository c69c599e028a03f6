import QtQuick
import QtQuick.Controls.Material

// A round button that turns busy when clicked; the screen sets state back to "ready" when done.
RoundButton {
    id: _roundBusyBotton

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

    BusyIndicator {
        objectName: "_busyIndicator"
        anchors.fill: parent
        running: _roundBusyBotton.state === "busy"
        visible: running
    }

    BusyTimeout {
        id: _busyTimeout

        control: _roundBusyBotton
        restState: "ready"
    }
}
