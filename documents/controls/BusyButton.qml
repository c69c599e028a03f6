import QtQuick
import QtQuick.Controls.Material
import "../Style.js" as Style

// A switch that shows the position the peer reports, not the one the user clicked: a click
// asks for the other position and waits, disabled, for the screen to set "on" or "off".
Switch {
    id: _busyButton

    property string lastState: "off"
    property alias timeOut: _busyTimeout.interval

    signal request(int onOff)

    // Back to the position the peer reported last, as after the time-out.
    function rest(): void {
        state = lastState;
    }

    Material.accent: Style.onGreen
    state: "off"
    states: [
        State {
            name: "on"
        },
        State {
            name: "off"
        },
        State {
            name: "busy"
        }
    ]
    enabled: state !== "busy"
    onStateChanged: {
        if (state !== "busy")
            checked = state === "on";
    }
    onClicked: {
        lastState = state;
        state = "busy";
        request(lastState === "off" ? 1 : 0);
    }

    BusyIndicator {
        objectName: "_busyIndicator"
        anchors.fill: parent
        anchors.margins: 5
        z: 1
        running: _busyButton.state === "busy"
        visible: running
        Material.accent: Style.accent
    }

    BusyTimeout {
        id: _busyTimeout

        control: _busyButton
        restState: _busyButton.lastState
    }
}
