import QtQuick
import QtQuick.Layouts

// A section heading: a bullet and a bold caption.
RowLayout {
    id: _title

    property alias text: _label.text
    property alias bold: _label.font.bold
    property alias textColor: _label.color

    spacing: 10
    state: "level1"
    states: [
        State {
            name: "level1"
        },
        State {
            name: "level2"

            PropertyChanges {
                _bullet.implicitWidth: 8
                _bullet.implicitHeight: 8
                _bullet.radius: 4
            }
        }
    ]

    Rectangle {
        id: _bullet

        implicitWidth: 12
        implicitHeight: 12
        color: "white"
        Layout.alignment: Qt.AlignTop
        Layout.topMargin: 7
    }

    MyLabel {
        id: _label

        text: "عنوان"
        font.family: _font.name
        font.bold: true
        wrapMode: Text.WordWrap
        Layout.fillWidth: true
    }
}
