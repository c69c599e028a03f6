pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import commandJournal
import "CommandCourse.js" as CommandCourse
import "LiveDataRules.js" as LiveDataRules

// The commands sent to the current car, newest first: when, what, and where each ended. A root
// login, which looks after many cars, sees each entry's serial number too.
Page {
    id: _commandHistoryPage

    required property var device
    required property bool rootLogin

    readonly property string emptyText: "هنوز دستوری به این خودرو ارسال نشده است"

    background: null

    ListView {
        id: _entries
        objectName: "_commandEntries"

        anchors.fill: parent
        anchors.margins: 10
        clip: true
        spacing: 4
        // Read again on every change of the journal.
        model: CommandJournal.revision >= 0 ? CommandJournal.entries(String(_commandHistoryPage.device.imei ?? "")) : []

        delegate: ColumnLayout {
            id: _entry

            required property var modelData
            readonly property var look: CommandCourse.stateLook(modelData.state)

            width: ListView.view.width
            spacing: 4

            RowLayout {
                Layout.fillWidth: true
                spacing: 10

                ToolButton {
                    objectName: "_stateIcon"
                    Layout.preferredWidth: 40
                    Layout.preferredHeight: 40
                    focusPolicy: Qt.NoFocus
                    hoverEnabled: false
                    icon.source: _entry.look.icon
                    icon.color: _entry.look.color
                }

                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 2

                    MyLabel {
                        objectName: "_asked"
                        Layout.fillWidth: true
                        text: _entry.modelData.asked
                        font.bold: true
                        wrapMode: Text.Wrap
                    }

                    MyLabel {
                        objectName: "_when"
                        Layout.fillWidth: true
                        text: LiveDataRules.toJdateString(_entry.modelData.time)
                        font.pixelSize: basePixelSize * 0.75
                        opacity: 0.7
                    }

                    MyLabel {
                        objectName: "_serial"
                        Layout.fillWidth: true
                        visible: _commandHistoryPage.rootLogin
                        text: "S/N: " + _entry.modelData.serial
                        font.pixelSize: basePixelSize * 0.75
                        opacity: 0.7
                    }
                }

                MyLabel {
                    objectName: "_state"
                    text: _entry.look.text
                    color: _entry.look.color
                }
            }

            Rectangle {
                Layout.fillWidth: true
                Layout.preferredHeight: 1
                color: "white"
                opacity: 0.2
            }
        }
    }

    MyLabel {
        anchors.centerIn: parent
        width: parent.width - 40
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        visible: _entries.count === 0
        text: _commandHistoryPage.emptyText
        opacity: 0.6
    }
}
