import QtQuick

// A signal quality in percent as one of five bar images; the lowest level blinks.
BlinkImage {
    id: _signal

    required property string imagePrefix
    property int value: 0
    readonly property int level: value < 20 ? 0 : Math.min(4, Math.floor(value / 20))

    source: imagePrefix + level + ".svg"
    blink: level === 0
}
