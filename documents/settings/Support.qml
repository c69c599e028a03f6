pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts

// The support telephone numbers the server publishes; a tap calls one.
Page {
    id: _support

    readonly property list<string> numbers: String(_mainWindow.appConfigs.support_tels ?? "").split(";")
                                            .map(number => number.trim()).filter(number => number !== "")

    signal callRequested(string number)

    background: null

    Column {
        anchors.fill: parent

        Repeater {
            objectName: "_supportRows"
            model: _support.numbers

            delegate: RowLayout {
                id: _row

                required property string modelData

                width: _support.width - 20
                x: 10
                height: 60

                Title {
                    text: "تلفن تماس"
                }

                Item {
                    Layout.fillWidth: true
                }

                MyLabel {
                    text: _row.modelData
                    font.pixelSize: basePixelSize * 0.85
                    style: Text.Raised
                }

                ToolButton {
                    objectName: "_callButton"
                    Layout.preferredWidth: 40
                    Layout.preferredHeight: 40
                    icon.source: "qrc:/graphics/call-start.png"
                    onClicked: _support.callRequested(_row.modelData)
                }
            }
        }
    }
}
