pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Shapes
import QtLocation
import QtPositioning
import globals
import "JsTools.js" as JsTools
import "JalaliDate.js" as JalaliDate
import "Style.js" as Style

// The dashboard's small map: the car and the time of its last fix; a click opens live tracking.
Item {
    id: _miniMap

    property var location
    readonly property color clockColor: Style.onGreen
    readonly property var jalali: location ? JalaliDate.fromGregorian(location.dateTime) : undefined

    clip: true
    // The tile plugin is attached when the map is first shown: resolving its providers is a
    // network round trip that a dashboard never shown has no use for.
    onVisibleChanged: {
        if (visible && !_map.plugin)
            _map.plugin = _osmPlugin;
    }

    Plugin {
        id: _osmPlugin

        name: "osm"

        PluginParameter {
            name: "osm.mapping.providersrepository.address"
            value: _server.mapProvidersUrl
        }
    }

    Map {
        id: _map

        anchors.fill: parent
        center: _mainWindow.carCoord
        zoomLevel: 14
        tilt: 40
        enabled: _mainWindow.currentOperation === Globals.CarControl_Operation
        activeMapType: supportedMapTypes.length > 0 ? supportedMapTypes[0] : null

        Behavior on center {
            CoordinateAnimation {
                duration: 500
            }
        }

        MapQuickItem {
            coordinate: _mainWindow.carCoord
            anchorPoint: Qt.point(sourceItem.width / 2, sourceItem.height / 2)
            sourceItem: Item {
                width: 28
                height: 28
                rotation: (_miniMap.location?.course ?? 0) - _map.bearing

                Rectangle {
                    anchors.centerIn: parent
                    width: 14
                    height: 14
                    radius: 7
                    color: "blue"
                    border.color: "white"
                    border.width: 2
                }

                // Direction of travel, only while the car moves.
                Shape {
                    anchors.fill: parent
                    visible: Math.floor(_miniMap.location?.speed ?? 0) !== 0

                    ShapePath {
                        fillColor: "blue"
                        strokeColor: "white"
                        strokeWidth: 1
                        startX: 14
                        startY: 0
                        PathLine {
                            x: 20
                            y: 7
                        }
                        PathLine {
                            x: 8
                            y: 7
                        }
                        PathLine {
                            x: 14
                            y: 0
                        }
                    }
                }
            }
        }
    }

    Row {
        LayoutMirroring.enabled: false
        x: 10
        y: 10
        spacing: 2

        ClockText {
            objectName: "_dateText"
            text: _miniMap.jalali ? [JsTools.formatNumber(_miniMap.jalali[0], 4), JsTools.formatNumber(_miniMap.jalali[1], 2), JsTools.formatNumber(_miniMap.jalali[2], 2)].join("-") : "--"
            font.weight: Font.Medium
        }
        ClockText {
            objectName: "_timeText"
            text: _miniMap.location ? JsTools.formatNumber(_miniMap.location.dateTime.getHours(), 2) + ":" + JsTools.formatNumber(_miniMap.location.dateTime.getMinutes(), 2) : "--:--"
        }
        ClockText {
            objectName: "_secondsText"
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 1
            text: ":" + (_miniMap.location ? JsTools.formatNumber(_miniMap.location.dateTime.getSeconds(), 2) : "--")
            font.pixelSize: _mainWindow.basePixelSize * 0.9
            font.weight: Font.Medium
        }
    }

    MouseArea {
        objectName: "_openTracking"
        anchors.fill: parent
        z: 1
        onClicked: _mainWindow.currentOperation = Globals.LiveTracking_Operation
    }

    component ClockText: Text {
        color: _miniMap.clockColor
        style: Text.Outline
        styleColor: "#1f305e"
        font.family: _font_lato.name
        font.pixelSize: _mainWindow.basePixelSize * 1.2
    }
}
