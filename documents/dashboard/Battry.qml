import QtQuick

// The tracker's backup battery: its level while in use, a filling animation while charging.
Item {
    id: _battry

    property int percent: 0
    property int animationValue: 0
    // 0 to 10 % is empty, then one image per started fifth; out-of-range readings are clamped.
    readonly property int _useLevel: percent <= 10 ? 0 : Math.min(100, Math.ceil(percent / 20) * 20)

    state: "use"
    states: [
        State {
            name: "use"

            PropertyChanges {
                _image.source: "qrc:/graphics/battery-" + _battry._useLevel + ".png"
                _image.blink: true
            }
        },
        State {
            name: "charging"

            PropertyChanges {
                _image.source: "qrc:/graphics/battery-" + _battry.animationValue + ".png"
                _image.blink: false
            }
        },
        State {
            name: "full"

            PropertyChanges {
                _image.source: "qrc:/graphics/battery-100.png"
                _image.blink: false
            }
        }
    ]
    onStateChanged: {
        if (state === "charging")
            animationValue = 20;
    }

    BlinkImage {
        id: _image

        objectName: "_blinkImage"
        anchors.fill: parent
    }

    Timer {
        interval: 500
        repeat: true
        running: _battry.state === "charging"
        onTriggered: _battry.animationValue = _battry.animationValue >= 100 ? 20 : _battry.animationValue + 20
    }
}
