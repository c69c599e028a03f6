pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import "qmlItems" as QmlItems
import "LiveDataRules.js" as LiveDataRules

// Live values of the car over the map: time, speed, altitude and course, and when expanded the
// battery, SIM credit and signal levels.
Item {
    id: _panel

    property var location
    property var status
    property bool expanded: false
    // The position's age is the car's now; a trip being played back is old by nature.
    property bool ageShown: true
    // The two larger text-size steps get a wider panel with taller rows.
    property bool large: false
    readonly property var readings: LiveDataRules.readings(location, status)
    readonly property int rowHeight: large ? 45 : 38
    readonly property int timeRowHeight: large ? 60 : 55
    // Under the time, the row with the position's age, as tall as its words need.
    readonly property real ageRowHeight: _ageRow.height
    readonly property int buttonHeight: large ? 25 : 20

    width: large ? 120 : 100
    height: timeRowHeight + ageRowHeight + (expanded ? 7 : 3) * rowHeight + buttonHeight
    clip: true

    Behavior on height {
        NumberAnimation {
            duration: 350
            easing.type: Easing.OutQuart
        }
    }

    Column {
        // Figures with units read left to right.
        LayoutMirroring.enabled: false
        LayoutMirroring.childrenInherit: true
        width: _panel.width

        PanelRow {
            height: _panel.timeRowHeight
            rowIndex: 0
            icon: Image {
                anchors.fill: parent
                source: "qrc:/graphics/clock.png"
                sourceSize: Qt.size(48, 48)
            }

            Column {
                Row {
                    Label {
                        id: _timeValue

                        objectName: "_timeValue"
                        text: _panel.readings.time
                        font.family: _font_lato.name
                        font.pixelSize: basePixelSize * 1.1
                    }
                    Label {
                        objectName: "_secondsValue"
                        anchors.baseline: _timeValue.baseline
                        text: _panel.readings.seconds
                        font.family: _font_lato.name
                        font.pixelSize: basePixelSize * 0.7
                    }
                }
                Label {
                    objectName: "_dateValue"
                    text: _panel.readings.date
                    font.family: _font_lato.name
                    font.pixelSize: basePixelSize * 0.7
                }
            }
        }

        Rectangle {
            id: _ageRow

            width: _panel.width
            height: visible ? _age.implicitHeight + 6 : 0
            visible: _panel.ageShown && _age.text !== ""
            color: "#DD3B5998"

            PositionAgeLabel {
                id: _age

                objectName: "_positionAge"
                anchors.centerIn: parent
                width: Math.min(implicitWidth, parent.width - 8)
                wrapMode: Text.WordWrap
                horizontalAlignment: Text.AlignHCenter
                dateTime: _panel.location?.dateTime
                font.pixelSize: basePixelSize * 0.7
            }
        }

        ValueRow {
            objectName: "_speedRow"
            rowIndex: 1
            value: _panel.readings.speed
            unit: "km/h"
            icon: Image {
                anchors.fill: parent
                source: "qrc:/graphics/speed.png"
                sourceSize: Qt.size(48, 48)
            }
        }
        ValueRow {
            objectName: "_altitudeRow"
            rowIndex: 2
            value: _panel.readings.alt
            unit: "m"
            icon: Image {
                anchors.fill: parent
                source: "qrc:/graphics/altitude.png"
                sourceSize: Qt.size(48, 48)
            }
        }
        ValueRow {
            objectName: "_courseRow"
            rowIndex: 3
            value: _panel.readings.course
            unit: "°"
            icon: Image {
                anchors.fill: parent
                source: "qrc:/graphics/course.png"
                sourceSize: Qt.size(48, 48)
            }
        }
        ValueRow {
            objectName: "_batteryRow"
            rowIndex: 4
            value: _panel.readings.battery
            unit: "%"
            unitVisible: _panel.readings.batteryUnitVisible
            icon: QmlItems.Battry {
                anchors.fill: parent
                percent: _panel.status?.battryPercent ?? 0
                state: _panel.readings.batteryState
            }
        }
        ValueRow {
            objectName: "_simRow"
            rowIndex: 5
            value: _panel.readings.sim
            unit: "T"
            icon: QmlItems.SimChargeItem {
                anchors.fill: parent
                value: _panel.status?.simCharge ?? 0
            }
        }
        ValueRow {
            objectName: "_gsmRow"
            rowIndex: 6
            value: _panel.readings.gsm
            unit: "%"
            icon: QmlItems.GsmSignalItem {
                anchors.fill: parent
                value: _panel.status?.gsmSignal ?? 0
            }
        }
        ValueRow {
            objectName: "_gpsRow"
            rowIndex: 7
            value: _panel.readings.gps
            unit: "%"
            icon: QmlItems.GpsSignalItem {
                anchors.fill: parent
                value: _panel.location?.accuracy ?? 0
            }
        }
    }

    AbstractButton {
        objectName: "_expandButton"
        anchors.bottom: parent.bottom
        width: _panel.width
        height: _panel.buttonHeight
        background: Rectangle {
            color: "grey"
        }
        contentItem: Image {
            source: _panel.expanded ? "qrc:/graphics/arrow-up.png" : "qrc:/graphics/arrow-bottom.png"
            sourceSize: Qt.size(40, 40)
            fillMode: Image.PreserveAspectFit
        }
        onClicked: _panel.expanded = !_panel.expanded
    }

    // An icon and what stands beside it (the children), on the row's colour.
    component PanelRow: Rectangle {
        default property alias content: _content.data
        property alias icon: _iconSlot.data
        required property int rowIndex

        width: _panel.width
        height: _panel.rowHeight
        color: rowIndex % 2 === 0 ? "#DD3B5998" : "#DD1B3978"

        Row {
            anchors.verticalCenter: parent.verticalCenter
            x: 4
            spacing: 4

            Item {
                id: _iconSlot

                anchors.verticalCenter: parent.verticalCenter
                width: 22
                height: 22
            }
            Row {
                id: _content

                anchors.verticalCenter: parent.verticalCenter
                spacing: 2
            }
        }
    }

    component ValueRow: PanelRow {
        id: _valueRow

        property string value
        property string unit
        property bool unitVisible: true

        Label {
            id: _valueLabel

            objectName: "_value"
            text: _valueRow.value
            font.family: _font_lato.name
            font.pixelSize: basePixelSize * 1.1
        }
        Label {
            objectName: "_unit"
            anchors.baseline: _valueLabel.baseline
            visible: _valueRow.unitVisible
            text: _valueRow.unit
            font.family: _font_lato.name
            font.pixelSize: basePixelSize * 0.7
        }
    }
}
