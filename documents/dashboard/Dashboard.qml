pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import globals
import "qmlItems" as QmlItems
import "LiveDataRules.js" as LiveDataRules
import "Style.js" as Style

// Home page of a logged-in user: the car's latest state and the commands sent to it by SMS.
Page {
    id: _page

    // Set by the window from the device settings and the SMS status answer.
    property bool carOnState: true
    property bool multiAlarm: false
    property bool autoLockState: false

    readonly property var status: _mainWindow.currentStatus
    readonly property var location: _mainWindow.currentLocation
    readonly property var readings: LiveDataRules.readings(location, status)
    readonly property color openColor: Qt.rgba(0.8, 0.8, 0, 1)
    readonly property color onColor: Style.onGreen
    readonly property string openText: "باز است"
    readonly property string closedText: "بسته است"

    function simCardNumber(): string {
        return String(_smsManager.simSlot + 1);
    }

    background: null
    onMultiAlarmChanged: _alarmSwitch.state = multiAlarm ? "on" : "off"

    QmlItems.MyScrollArea {
        id: _scrollArea

        anchors.fill: parent
        contentHeight: _column.height

        ColumnLayout {
            id: _column

            x: 10
            y: 2
            width: _scrollArea.width - 20
            spacing: 10

            Image {
                id: _logo

                Layout.alignment: Qt.AlignHCenter
                Layout.preferredWidth: 130
                Layout.preferredHeight: 40
                source: "qrc:/graphics/logo_gold.svg"
                sourceSize: Qt.size(260, 80)
                fillMode: Image.PreserveAspectFit
            }

            GridLayout {
                id: _carGrid

                Layout.alignment: Qt.AlignHCenter
                columns: 5
                rowSpacing: 4

                CarStateTitle {
                    text: "درب‌ها"
                }
                QmlItems.Seperator_v {
                    Layout.rowSpan: 3
                    Layout.fillHeight: true
                }
                CarStateTitle {
                    text: "صندوق"
                }
                QmlItems.Seperator_v {
                    Layout.rowSpan: 3
                    Layout.fillHeight: true
                }
                CarStateTitle {
                    text: "سوئیچ"
                }

                CarStateImage {
                    objectName: "_doorImage"
                    size: 80
                    source: _page.status?.door ? "qrc:/graphics/car_close_door.ico" : "qrc:/graphics/car_open_door.ico"
                }
                CarStateImage {
                    objectName: "_trunkImage"
                    size: 70
                    source: _page.status?.trunk ? "qrc:/graphics/trunk-close.ico" : "qrc:/graphics/trunk-open.ico"
                }
                CarStateImage {
                    objectName: "_switchImage"
                    size: 70
                    source: _page.status?.carSwitch ? "qrc:/graphics/carKey_on.ico" : "qrc:/graphics/carKey_off.ico"
                }

                CarStateLabel {
                    objectName: "_doorLabel"
                    text: _page.status?.door ? _page.closedText : _page.openText
                }
                CarStateLabel {
                    objectName: "_trunkLabel"
                    text: _page.status?.trunk ? _page.closedText : _page.openText
                }
                CarStateLabel {
                    objectName: "_switchLabel"
                    text: _page.status?.carSwitch ? _page.openText : _page.closedText
                }
            }

            QmlItems.Seperator_h {
                Layout.fillWidth: true
            }

            GridLayout {
                id: _readingsGrid

                // Figures with units read left to right.
                LayoutMirroring.enabled: false
                LayoutMirroring.childrenInherit: true
                Layout.alignment: Qt.AlignHCenter
                columns: 5
                rowSpacing: 20

                Reading {
                    objectName: "_speedReading"
                    value: _page.readings.speed
                    unit: "km/h"

                    Image {
                        sourceSize: Qt.size(25, 25)
                        source: "qrc:/graphics/speed.png"
                        mipmap: true
                    }
                }
                QmlItems.Seperator_v {
                    Layout.rowSpan: 2
                    Layout.fillHeight: true
                }
                Reading {
                    objectName: "_altitudeReading"
                    value: _page.readings.alt
                    unit: "m"

                    Image {
                        sourceSize: Qt.size(25, 25)
                        source: "qrc:/graphics/altitude.png"
                        mipmap: true
                    }
                }
                QmlItems.Seperator_v {
                    Layout.rowSpan: 2
                    Layout.fillHeight: true
                }
                Reading {
                    objectName: "_simReading"
                    valueWidth: 45
                    value: _page.readings.sim
                    unit: "T"

                    QmlItems.SimChargeItem {
                        objectName: "_simChargeItem"
                        implicitWidth: 25
                        implicitHeight: 25
                        value: _page.status?.simCharge ?? 0
                    }
                }

                Reading {
                    objectName: "_batteryReading"
                    value: _page.readings.battery
                    unit: "%"
                    unitVisible: _page.readings.batteryUnitVisible

                    QmlItems.Battry {
                        objectName: "_battery"
                        implicitWidth: 28
                        implicitHeight: 28
                        percent: _page.status?.battryPercent ?? 0
                        state: _page.readings.batteryState
                    }
                }
                Reading {
                    objectName: "_gsmReading"
                    value: _page.readings.gsm
                    unit: "%"

                    QmlItems.GsmSignalItem {
                        objectName: "_gsmItem"
                        implicitWidth: 25
                        implicitHeight: 25
                        value: _page.status?.gsmSignal ?? 0
                    }
                }
                Reading {
                    objectName: "_gpsReading"
                    value: _page.readings.gps
                    unit: "%"

                    QmlItems.GpsSignalItem {
                        objectName: "_gpsItem"
                        implicitWidth: 25
                        implicitHeight: 25
                        value: _page.location?.accuracy ?? 0
                    }
                }
            }

            Rectangle {
                id: _buttonBar

                Layout.fillWidth: true
                Layout.preferredHeight: 75
                radius: 10
                color: Qt.rgba(0, 0, 0, 0.1)

                RowLayout {
                    anchors.fill: parent
                    anchors.leftMargin: 10
                    anchors.rightMargin: 10
                    spacing: 5

                    QmlItems.RoundDelayButton {
                        id: _powerCutButton

                        objectName: "_powerCutButton"
                        Layout.preferredWidth: 50
                        Layout.preferredHeight: 50
                        delay: 2000
                        icon.source: "qrc:/graphics/powerDisconnect.svg"
                        icon.color: Qt.rgba(1, 0, 0, 1)
                        onActived: {
                            if (_carCommands.send(_deviceCommands.createDigitalOutputPacket(3, 1), null))
                                _mainTooltip.show("دستور خاموش کردن خودرو از سیم‌کارت " + _page.simCardNumber() + " ارسال شد", 3000);
                        }
                        onReject: _mainTooltip.show("برای خاموش شدن خودرو دکمه را 2 ثانیه نگه دارید.", 3000)
                    }

                    MyLabel {
                        objectName: "_offLabel"
                        text: "خاموش"
                        color: _page.carOnState ? _page.onColor : "white"
                    }

                    QmlItems.Spacer_h {}

                    QmlItems.BusyButton {
                        id: _alarmSwitch

                        objectName: "_alarmSwitch"
                        onRequest: onOff => {
                            if (_carCommands.send("[oribel,30," + onOff + "]}]", _alarmSwitch))
                                _mainTooltip.show("دستور " + (onOff === 1 ? "فعال کردن" : "خاموش کردن") + " هشدارهای دزدگیری (درب، کاپوت، سوئیچ) ارسال شد", 5000);
                        }

                        MyLabel {
                            anchors.horizontalCenter: parent.horizontalCenter
                            anchors.verticalCenter: parent.verticalCenter
                            anchors.verticalCenterOffset: 25
                            text: "هشدار"
                        }
                    }

                    QmlItems.Spacer_h {}

                    MyLabel {
                        objectName: "_onLabel"
                        text: "وصل برق"
                        color: _page.carOnState ? "white" : _page.onColor
                    }

                    QmlItems.RoundDelayButton {
                        id: _powerConnectButton

                        objectName: "_powerConnectButton"
                        Layout.preferredWidth: 50
                        Layout.preferredHeight: 50
                        delay: 2000
                        icon.source: "qrc:/graphics/power.svg"
                        icon.color: Style.onGreen
                        onActived: {
                            if (_carCommands.send(_deviceCommands.createDigitalOutputPacket(3, 0), null))
                                _mainTooltip.show("دستور وصل برق از سیم‌کارت " + _page.simCardNumber() + " ارسال شد", 3000);
                        }
                        onReject: _mainTooltip.show("برای وصل برق خودرو دکمه را 2 ثانیه نگه دارید.", 3000)
                    }
                }
            }

            // The car on a small map; any click opens live tracking.
            MapView {
                id: _miniMap

                objectName: "_miniMap"
                Layout.fillWidth: true
                Layout.preferredHeight: _page.height - _logo.height - _carGrid.height - _readingsGrid.height - _buttonBar.height - 60
                Layout.minimumHeight: 150
                enableMapTypeSelector: false
                enabled: _mainWindow.currentOperation === Globals.CarControl_Operation
                gestureEnabled: false
                rounded: true
                centerWithAnimation: _mainWindow.carCoord
                locationItem.coordWithAnimation: centerWithAnimation
                locationItem.rotate: (_page.location?.course ?? 0) - bearing
                locationItem.arrowVisible: Math.floor(_page.location?.speed ?? 0) !== 0
                locationItem.color: "blue"
                centerToken.visible: false
                tilt: 40
                zoomLevel: 14

                Column {
                    x: 10
                    y: 10
                    z: 1
                    spacing: 2

                    Row {
                        LayoutMirroring.enabled: false
                        spacing: 2

                        // The date and the time apart by a gap that grows with the text.
                        ClockText {
                            objectName: "_dateText"
                            rightPadding: font.pixelSize * 0.5
                            text: _page.readings.date
                            font.weight: Font.Medium
                        }
                        ClockText {
                            objectName: "_timeText"
                            text: _page.readings.time
                        }
                        ClockText {
                            objectName: "_secondsText"
                            anchors.bottom: parent.bottom
                            anchors.bottomMargin: 1
                            text: ":" + _page.readings.seconds
                            font.pixelSize: _mainWindow.basePixelSize * 0.9
                            font.weight: Font.Medium
                        }
                    }

                    PositionAgeLabel {
                        objectName: "_positionAge"
                        dateTime: _page.location?.dateTime
                        style: Text.Outline
                        styleColor: "#1f305e"
                        font.pixelSize: _mainWindow.basePixelSize * 0.85
                    }

                    // Which car these controls reach, over the map so that no control moves; clear
                    // of the compass.
                    Label {
                        objectName: "_carLine"
                        width: Math.min(implicitWidth, _miniMap.width - 80)
                        text: LiveDataRules.carLine(_mainWindow.currentDevice)
                        color: "white"
                        style: Text.Outline
                        styleColor: "#1f305e"
                        elide: Text.ElideMiddle
                        font.pixelSize: _mainWindow.basePixelSize * 0.85
                    }
                }

                MouseArea {
                    objectName: "_openTracking"
                    anchors.fill: parent
                    z: 2
                    onClicked: _mainWindow.currentOperation = Globals.LiveTracking_Operation
                }
            }
        }
    }

    component CarStateTitle: MyLabel {
        Layout.alignment: Qt.AlignHCenter
        font.pixelSize: _mainWindow.basePixelSize * 0.9 * 1.3
    }

    component CarStateImage: Item {
        property alias source: _image.source
        property int size: 70

        Layout.preferredWidth: 100
        Layout.preferredHeight: size

        Image {
            id: _image

            anchors.centerIn: parent
            width: parent.size
            height: parent.size
            sourceSize: Qt.size(width, height)
            mipmap: true
        }
    }

    component CarStateLabel: MyLabel {
        Layout.alignment: Qt.AlignHCenter
        color: text === _page.openText ? _page.openColor : "white"
    }

    // Icon first (the child), then the value and its unit.
    component Reading: RowLayout {
        id: _reading

        default property alias icon: _iconSlot.data
        property string value
        property string unit
        property bool unitVisible: true
        property int valueWidth: 40

        spacing: 4

        Item {
            id: _iconSlot

            implicitWidth: childrenRect.width
            implicitHeight: childrenRect.height
        }
        Label {
            Layout.preferredWidth: _reading.valueWidth
            Layout.alignment: Qt.AlignBaseline
            text: _reading.value
            font.family: _font_lato.name
            font.pixelSize: _mainWindow.basePixelSize * 1.2
            horizontalAlignment: Text.AlignHCenter
        }
        Label {
            Layout.alignment: Qt.AlignBaseline
            visible: _reading.unitVisible
            text: _reading.unit
            font.family: _font_lato.name
            font.pixelSize: _mainWindow.basePixelSize * 0.8
            font.weight: Font.Medium
        }
    }

    component ClockText: Text {
        color: Style.onGreen
        style: Text.Outline
        styleColor: "#1f305e"
        font.family: _font_lato.name
        font.pixelSize: _mainWindow.basePixelSize * 1.2
    }
}
