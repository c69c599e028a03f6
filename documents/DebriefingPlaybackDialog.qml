import QtQuick
import QtQuick.Controls

// Trip playback bar: picks a day's trips and plays them back.
Pane {
    id: _debriefingDialog

    property var paths: []
    property int currentPathIndex: 0
    readonly property bool popupVisible: false

    function closePopups(): void {
    }

    state: "stop"
    states: [
        State {
            name: "stop"
        },
        State {
            name: "loading"
        },
        State {
            name: "run"
        },
        State {
            name: "puse"
        }
    ]
}
