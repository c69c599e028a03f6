import QtQuick

// The common ground of the editors of a value the device holds: "idle" shows what the device
// reported, "edit" takes a new value, "busy" waits after apply until the editor sees the device
// report it (the editor goes back to "idle") or the time-out gives up. Hidden, it is at rest.
Item {
    id: _remoteEditor

    property alias timeout: _busyTimeout.interval
    // An editor that opens a page of its own over itself (a map to draw on) keeps its state while
    // that page hides it.
    property bool keptWhileHidden: false

    // Back to what the device reported, as after a cancel.
    function rest(): void {
        state = "idle";
    }

    state: "idle"
    states: [
        State {
            name: "idle"
        },
        State {
            name: "edit"
        },
        State {
            name: "busy"
        }
    ]
    onVisibleChanged: {
        if (!visible && !keptWhileHidden)
            state = "idle";
    }

    BusyTimeout {
        id: _busyTimeout

        control: _remoteEditor
        restState: "idle"
    }
}
