pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import globals
import "qmlItems"
import "Style.js" as Style

// The window's tool bar over the map and the pages, from the right: back, the map's car and
// phone locks and the walking route, sharing, the offline request, calling the car, moving the
// geofence, and the trip's figures. Each button shows only in the operations it serves.
ToolBar {
    id: _mainHeader

    required property int operation
    required property int basePixelSize
    required property MapFollowing following
    // The login chose offline mode: the car's state comes by SMS on request.
    required property bool offline
    // A day's trips are loaded in the replay.
    required property bool tripLoaded
    readonly property alias offlineButton: _btnGetOffline
    readonly property bool _liveTracking: operation === Globals.LiveTracking_Operation

    signal backClicked
    signal shareClicked
    signal offlineRequested
    signal callClicked
    signal geofenceCenterClicked
    signal tripFiguresClicked

    Material.primary: Style.primary
    visible: operation !== Globals.CarControl_Operation && operation !== Globals.Login_Operation

    RowLayout {
        anchors.fill: parent
        // Mirrored: the margin lands on the right edge.
        anchors.leftMargin: 5
        spacing: 0

        ToolButton {
            Layout.preferredWidth: 50
            Layout.preferredHeight: 50
            enabled: _mainHeader.operation !== Globals.NewLoginSetting_Operation
            icon.source: "qrc:/graphics/arrow-right.svg"
            onClicked: _mainHeader.backClicked()
        }

        ToolButton {
            id: _btnCarLocation
            objectName: "_btnCarLocation"

            Layout.preferredWidth: 40
            Layout.preferredHeight: 40
            visible: _mainHeader._liveTracking || _mainHeader.operation === Globals.Debriefing_Operation
            checked: _mainHeader.following.lockState === "car"
            icon.source: "qrc:/graphics/location/carPosition_map.svg"
            icon.color: checked ? "white" : "grey"
            ToolTip.visible: hovered
            ToolTip.text: "دنبال کردن خودرو روی نقشه"
            onClicked: _mainHeader.following.toggleCarLock()
        }

        ToolButton {
            id: _btnMyLocation
            objectName: "_btnMyLocation"

            Layout.preferredWidth: 40
            Layout.preferredHeight: 40
            visible: _mainHeader._liveTracking
            icon.source: "qrc:/graphics/location/myPosition_map.svg"
            icon.color: _mainHeader.following.lockState === "me" && _mainHeader.following.gpsIsOn ? "white" : "grey"
            ToolTip.visible: hovered
            ToolTip.text: "نمایش موقعیت من"
            onClicked: _mainHeader.following.toggleMyLock()

            BusyIndicator {
                anchors.fill: parent
                running: _mainHeader.following.seekingMe
                visible: running
            }
        }

        ToolButton {
            id: _btnMyRoute
            objectName: "_btnMyRoute"

            Layout.preferredWidth: 40
            Layout.preferredHeight: 40
            visible: _mainHeader._liveTracking
            checkable: false
            checked: _mainHeader.following.routing
            icon.source: "qrc:/graphics/location/meToCar.svg"
            icon.color: _mainHeader.following.routeShown ? "white" : "grey"
            ToolTip.visible: hovered
            ToolTip.text: "مسیر پیاده تا خودرو"
            onClicked: _mainHeader.following.toggleRoute()

            BusyIndicator {
                anchors.fill: parent
                running: _mainHeader.following.routeBusy
                visible: running
            }
        }

        ToolButton {
            id: _btnShare
            objectName: "_btnShare"

            Layout.preferredWidth: 50
            Layout.preferredHeight: 50
            visible: _mainHeader._liveTracking || _mainHeader.operation === Globals.CarControl_Operation
            icon.source: "qrc:/graphics/share.svg"
            ToolTip.visible: hovered
            ToolTip.text: "اشتراک‌گذاری موقعیت زنده خودرو"
            onClicked: _mainHeader.shareClicked()
        }

        RoundBusyBotton {
            id: _btnGetOffline
            objectName: "_btnGetOffline"

            Layout.preferredWidth: 50
            Layout.preferredHeight: 50
            visible: _mainHeader.offline && (_mainHeader._liveTracking || _mainHeader.operation === Globals.CarControl_Operation)
            flat: true
            timeout: 20000
            icon.source: "qrc:/graphics/getOffline.png"
            ToolTip.visible: hovered
            ToolTip.text: "دریافت وضعیت خودرو با پیامک"
            onClicked: _mainHeader.offlineRequested()

            Label {
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.bottom: parent.bottom
                text: "آفلاین"
                font.pixelSize: 0.88 * _mainHeader.basePixelSize
            }
        }

        ToolButton {
            id: _btnCallToDevice
            objectName: "_btnCallToDevice"

            Layout.preferredWidth: 40
            Layout.preferredHeight: 40
            visible: _mainHeader._liveTracking
            icon.source: "qrc:/graphics/call-start.png"
            ToolTip.visible: hovered
            ToolTip.text: "تماس با دستگاه"
            onClicked: _mainHeader.callClicked()
        }

        ToolButton {
            id: _btnGefenceOnCenter
            objectName: "_btnGefenceOnCenter"

            visible: _mainHeader.operation === Globals.GeoFence_Operation
            icon.source: "qrc:/graphics/geofence.svg"
            text: "انتقال محدوده به وسط نقشه"
            ToolTip.visible: hovered
            ToolTip.text: text
            onClicked: _mainHeader.geofenceCenterClicked()
        }

        ToolButton {
            id: _btnDebriefing_AdvanceInfo
            objectName: "_btnDebriefing_AdvanceInfo"

            visible: _mainHeader.operation === Globals.Debriefing_Operation && _mainHeader.tripLoaded
            icon.source: "qrc:/graphics/info.svg"
            ToolTip.visible: hovered
            ToolTip.text: "اطلاعات تکمیلی مسیر"
            onClicked: _mainHeader.tripFiguresClicked()
        }

        Item {
            Layout.fillWidth: true
        }
    }
}
