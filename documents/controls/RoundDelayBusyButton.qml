import QtQuick
import QtQuick.Controls.Material
import ".."

// A hold-to-fire button with an on and an off look; after firing it waits, busy, until the
// screen reports the new confirmed state (onState) or the time-out gives up.
RoundDelayButton {
    id: _roundDelayBusyButton

    property url onIconSource
    property url offIconSource
    property color onIconColor: "white"
    property color offIconColor: "white"
    property string onText
    property string offText
    property bool onState: false
    property alias timeout: _busyTimeout.interval
    // While busy the button keeps the look of the confirmed state.
    readonly property bool _looksOn: state === "busy" ? onState : state === "on"

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
    icon.source: _looksOn ? onIconSource : offIconSource
    icon.color: _looksOn ? onIconColor : offIconColor
    onActived: state = "busy"
    onOnStateChanged: state = onState ? "on" : "off"

    BusyIndicator {
        objectName: "_busyIndicator"
        anchors.fill: parent
        running: _roundDelayBusyButton.state === "busy"
        visible: running
        Material.accent: "#ffff00"
    }

    MyLabel {
        objectName: "_caption"
        anchors.top: parent.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        text: _roundDelayBusyButton._looksOn ? _roundDelayBusyButton.onText : _roundDelayBusyButton.offText
        visible: text !== ""
    }

    BusyTimeout {
        id: _busyTimeout

        control: _roundDelayBusyButton
        restState: _roundDelayBusyButton.onState ? "on" : "off"
    }
}
