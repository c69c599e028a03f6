import QtQuick
import QtQuick.Controls.Material
import "LiveDataRules.js" as LiveDataRules
import "Style.js" as Style

// How old the car's last position is, in words, kept current every minute while shown. A
// position too old to be the car's place now says so on the danger colour.
Label {
    id: _positionAge

    required property var dateTime
    property date _now: new Date()
    readonly property var age: LiveDataRules.positionAge(dateTime, _now)
    readonly property bool stale: age.stale

    text: age.text
    color: "white"
    leftPadding: stale ? 4 : 0
    rightPadding: stale ? 4 : 0
    background: Rectangle {
        visible: _positionAge.stale
        color: Style.danger
        radius: 3
    }
    onDateTimeChanged: _now = new Date()
    onVisibleChanged: {
        if (visible)
            _now = new Date();
    }

    Timer {
        interval: 60000
        repeat: true
        running: _positionAge.visible && _positionAge.text !== ""
        onTriggered: _positionAge._now = new Date()
    }
}
