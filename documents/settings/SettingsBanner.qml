pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import "qmlItems"
import "Style.js" as Style

// The settings menu's banner: the owner and the car on one half, the device on the other, with
// the button that opens the device choice.
Image {
    id: _banner

    property real factor: 1
    property string ownerText
    property string carText
    property string imei
    property bool canChangeDevice: false
    property string firmwareVersion
    property var mobileOperator
    property string deviceFirstUse
    // What the facts take; the menu gives the banner at least this.
    readonly property real neededHeight: _row.implicitHeight + 20

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
                // The number gives way in its middle rather than widen the column: its last
                // digits are what tell a root's cars apart.
                Layout.preferredWidth: 0
                Layout.fillWidth: true
                onClicked: _banner.changeDevice()

                contentItem: RowLayout {
                    spacing: 6

                    Image {
                        visible: _banner.canChangeDevice
                        source: "qrc:/graphics/arrow-bottom.png"
                        sourceSize: Qt.size(24, 24)
                        Layout.preferredWidth: 24
                        Layout.preferredHeight: 24
                    }

                    Label {
                        objectName: "_serialNumber"
                        text: "S/N:" + _banner.imei
                        color: Style.bannerText
                        elide: Text.ElideMiddle
                        Layout.fillWidth: true
                    }
                }
            }

            DeviceFacts {
                id: _facts

                // A little smaller than the body text, so that a narrow banner keeps them whole.
                textSize: basePixelSize * 0.8
                firmwareVersion: _banner.firmwareVersion
                mobileOperator: _banner.mobileOperator
                deviceFirstUse: _banner.deviceFirstUse
                Layout.fillWidth: true
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
