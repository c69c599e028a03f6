pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import ".."
import "../Style.js" as Style

// A list of entries with an icon, a title and a detail line; an entry may carry its own control
// (componentSource) at its end, which takes its own clicks.
Item {
    id: _myMenu

    property ListModel model: ListModel {}

    signal itemSelected(int index)

    ListView {
        objectName: "_list"
        anchors.fill: parent
        anchors.margins: 20
        spacing: 5
        clip: true
        model: _myMenu.model
        delegate: Item {
            id: _row

            required property int index
            required property string icon
            required property string title
            required property string detail
            required property string componentSource

            width: ListView.view.width
            height: 50 * Math.max(basePixelSizeFactor, 1)

            MouseArea {
                objectName: "_rowArea"
                anchors.fill: parent
                onClicked: _myMenu.itemSelected(_row.index)
            }

            RowLayout {
                anchors.fill: parent
                spacing: 10

                Image {
                    source: _row.icon
                    sourceSize: Qt.size(25, 25)
                    Layout.preferredWidth: 25
                    Layout.preferredHeight: 25
                    Layout.alignment: Qt.AlignVCenter
                }

                ColumnLayout {
                    spacing: 0
                    Layout.fillWidth: true

                    MyLabel {
                        text: _row.title
                        font.family: _font.name
                        font.bold: true
                        elide: Text.ElideRight
                        Layout.fillWidth: true
                    }

                    MyLabel {
                        text: _row.detail
                        font.pixelSize: basePixelSize * 0.8
                        color: Style.secondaryText
                        elide: Text.ElideRight
                        Layout.fillWidth: true
                    }
                }
            }

            // A row's own control (the SIM chooser) spans the row, its buttons at the far end.
            Loader {
                anchors.fill: parent
                active: _row.componentSource !== ""
                source: _row.componentSource
            }

            Rectangle {
                anchors.bottom: parent.bottom
                width: parent.width
                height: 1
                opacity: 0.2
            }
        }
    }
}
