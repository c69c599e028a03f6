import QtQuick
import ".."

// The title of an input field: centred and faint over an empty field, small at its top right
// edge once the field holds a value.
MyLabel {
    id: _title

    required property TextInput field
    property bool raised: false
    // Room at the field's right end taken by buttons: a centred title stays clear of it.
    property real reserve: 0
    // How far the raised title reaches down into its field: the field's text starts below it.
    readonly property real raisedBottom: _raisedSize.implicitHeight * 2 / 3

    elide: Text.ElideRight
    state: raised ? "topRight" : "center"
    states: [
        State {
            name: "center"

            PropertyChanges {
                _title.width: Math.min(_metrics.advanceWidth, _title.field.width - _title.reserve)
                _title.x: (_title.field.width - _title.reserve - _title.width) / 2
                _title.y: (_title.field.height - _title.height) / 2
                // White at this strength over the page keeps 4.5:1 (the style's second lines).
                _title.opacity: 0.6
                _title.font.pixelSize: _title.field.font.pixelSize
            }
        },
        State {
            name: "topRight"

            PropertyChanges {
                _title.width: _metrics.advanceWidth
                _title.x: _title.field.width - _title.width
                _title.y: -_title.height / 3
                _title.opacity: 1
                _title.font.pixelSize: _raisedSize.font.pixelSize
            }
        }
    ]
    transitions: Transition {
        NumberAnimation {
            properties: "x,y"
            duration: 300
            easing.type: Easing.OutQuad
        }
        NumberAnimation {
            property: "opacity"
            duration: 300
        }
    }

    // The raised title's height, measured apart: a script's fallback font sets the line height.
    MyLabel {
        id: _raisedSize

        visible: false
        text: _title.text
        font.pixelSize: _title.field.font.pixelSize * 0.88
    }

    // The full text's width, known apart from the label's own width, which eliding changes.
    TextMetrics {
        id: _metrics

        font: _title.font
        text: _title.text
    }
}
