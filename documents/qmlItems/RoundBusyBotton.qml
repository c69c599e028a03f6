import QtQuick
import QtQuick.Controls

// A round button that turns busy when clicked; the screen sets state back to "ready" when done.
RoundButton {
    id: _roundBusyBotton

    property alias timeout: _busyTimer.interval

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

    Timer {
        id: _busyTimer

        interval: 30000
        running: _roundBusyBotton.state === "busy"
        onTriggered: _roundBusyBotton.state = "ready"
    }
}
