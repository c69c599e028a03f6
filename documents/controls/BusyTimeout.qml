import QtQuick

// Gives up waiting for the peer: once the control has been busy for the interval, it is put
// back at rest, in the state the control names.
Timer {
    id: _busyTimeout

    required property Item control
    required property string restState

    interval: 30000
    running: _busyTimeout.control.state === "busy"
    onTriggered: _busyTimeout.control.state = _busyTimeout.restState
}
