pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import "qmlItems"

// The settings menu's banner: the owner and the car on one half, the device on the other, with
// the button that opens the device choice.
Image {
    id: _banner

    property real factor: 1
    property string ownerText
    property string carText
    property string imei
    property bool canChangeDevice: false
    property string modelName
    property string firmwareVersion
    property string operatorName
    property string installationDate
    // What the facts take; the menu gives the banner at least this.
    readonly property real neededHeight: _row.implicitHeight + 20

    // The device's facts, a little smaller than the body text so that a narrow banner keeps them.
    component Fact: MyLabel {
        font.pixelSize: basePixelSize * 0.8
    }

    signal changeDevice

    source: "qrc:/graphics/menuBaner.jpg"
    fillMode: Image.PreserveAspectCrop
    clip: true


    RowLayout {
        id: _row

        anchors.fill: parent
        anchors.margins: 10
        spacing: 10

        ColumnLayout {
            spacing: 2
            // The device's facts are never cut; the owner's lines scroll instead.
            Layout.fillWidth: true
            Layout.minimumWidth: _facts.implicitWidth

            Button {
                objectName: "_deviceButton"
                text: "S/N:" + _banner.imei
                flat: true
                enabled: _banner.canChangeDevice
                icon.source: _banner.canChangeDevice ? "qrc:/graphics/arrow-bottom.png" : ""
                // The number elides rather than widen the column.
                Layout.preferredWidth: 0
                Layout.fillWidth: true
                onClicked: _banner.changeDevice()
            }

            GridLayout {
                id: _facts

                columns: 2
                columnSpacing: 5
                rowSpacing: 0
                Layout.fillWidth: true

                Fact {
                    text: "مدل دستگاه: "
                }

                // The value gives way first in a narrow window.
                Fact {
                    objectName: "_modelName"
                    text: _banner.modelName
                    elide: Text.ElideRight
                    Layout.fillWidth: true
                }

                Fact {
                    text: "ورژن برنامه: "
                }

                Fact {
                    text: _banner.firmwareVersion
                    elide: Text.ElideRight
                    Layout.fillWidth: true
                }

                Fact {
                    text: "اپراتور سیمکارت: "
                }

                Fact {
                    objectName: "_operatorName"
                    text: _banner.operatorName
                    elide: Text.ElideRight
                    Layout.fillWidth: true
                }

                Fact {
                    text: "تاریخ نصب: "
                }

                Fact {
                    objectName: "_installationDate"
                    text: _banner.installationDate
                    elide: Text.ElideRight
                    Layout.fillWidth: true
                }
            }
        }

        ColumnLayout {
            spacing: 5
            Layout.preferredWidth: (_banner.width - 30) * 0.4
            Layout.maximumWidth: (_banner.width - 30) * 0.4
            Layout.minimumWidth: 60 * _banner.factor

            Rectangle {
                radius: width / 2
                Layout.preferredWidth: 60 * _banner.factor
                Layout.preferredHeight: 60 * _banner.factor
                color: "#3B5998"
                Layout.alignment: Qt.AlignHCenter

                Image {
                    anchors.centerIn: parent
                    source: "qrc:/graphics/im-user.svg"
                    sourceSize: Qt.size(45 * _banner.factor, 45 * _banner.factor)
                }
            }

            AnimatedLabel {
                objectName: "_ownerLabel"
                text: _banner.ownerText
                style: Text.Outline
                styleColor: "grey"
                Layout.fillWidth: true
            }

            AnimatedLabel {
                objectName: "_carLabel"
                text: _banner.carText
                Layout.fillWidth: true
            }
        }
    }
}
