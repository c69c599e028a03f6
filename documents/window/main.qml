pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import QtQuick.Shapes
import QtCore
import QtPositioning
import Qt.labs.platform as Platform
import globals
import kova.tools
import kova.services
import call
import smsManager
import notification
import "qmlItems"
import "LiveDataRules.js" as LiveDataRules
import "Style.js" as Style

ApplicationWindow {
    id: _mainWindow

    property int currentOperation: Globals.Login_Operation
    property var loginResponse: ({})
    property var devices: loginResponse.devices
    property int currentDeviceIndex: 0
    readonly property var currentDevice: devices ? (devices[currentDeviceIndex] ?? {}) : ({})
    property alias currentLocation: _liveData.currentLocation
    property alias carCoord: _liveData.carCoord
    property geoCoordinate myLastCoord: QtPositioning.coordinate(0, 0)
    property alias currentStatus: _liveData.currentStatus
    property alias _deviceSettings: _liveData.deviceSettings
    property var appConfigs: ({})
    property alias pathsAdvanceInfo: _liveData.pathsAdvanceInfo

    property list<real> basePixelSizeFactors: [0.8, 1, 1.2, 1.4]
    property int basePixelSizeFactorIndex: 1
    readonly property real basePixelSizeFactor: basePixelSizeFactors[basePixelSizeFactorIndex] ?? basePixelSizeFactors[1]
    readonly property int basePixelSize: Math.round(_baseText.font.pixelSize * basePixelSizeFactor)
    readonly property list<color> pathColors: ["#BBF44336", "#BB9C27B0", "#BB2196F3", "#BB009688", "#BBFF9800", "#BBFF5722", "#BB795548"]
    readonly property bool mobilePlatform: Qt.platform.os === "android" || Qt.platform.os === "ios"

    // Tells the server which build is starting; its reply may carry a notice and the
    // application configuration.
    function announceAppOpen(): void {
        const request = _appOpenPostComponent.createObject(_mainWindow);
        request.requestObject = {
            "command": "appOpen",
            "appName": "KovaApp",
            "os": Qt.platform.os,
            "appVersion": _tools.version(),
            "version_major": _tools.version_major(),
            "version_minor": _tools.version_minor(),
            "version_patch": _tools.version_patch()
        };
        request.post();
    }

    function _onAppOpenReply(response: var): void {
        if (!response.isValid)
            return;
        if (response.message) {
            _serverMessage.title = response.title ?? "";
            _serverMessage.qmlCode = response.message;
            _serverMessage.open();
        }
        if (response.appConfigs !== undefined)
            _mainWindow.appConfigs = response.appConfigs;
    }

    function tooltipRouting(): void {
        _mainTooltip.show("درحال مسیریابی", 3000);
    }

    function tooltipCarLocation(): void {
        _mainTooltip.show("قفل شدن نقشه روی موقعیت خودرو", 3000);
    }

    function tooltipMyLocation(): void {
        _mainTooltip.show("قفل شدن نقشه روی موقعیت شما", 3000);
    }

    function tooltipGpsIsOff(): void {
        _mainTooltip.show("جیپیاس خاموش است", 3000);
    }

    // ---- Navigation ----

    // Pushes a page unless a back step is running or the page already is on top.
    function _pushOnce(page: Item): void {
        if (_mainStackView.lock || _mainStackView.currentItem === page)
            return;
        _mainStackView.push(page);
    }

    function _applyOperation(operation: int): void {
        switch (operation) {
        case Globals.LiveTracking_Operation:
            _liveData.requestFirstLocation();
            _pushOnce(_map);
            _lockStateItem.state = "car";
            break;
        case Globals.Debriefing_Operation:
            _map.clearDebriefingPaths();
            _pushOnce(_map);
            break;
        case Globals.GeoFence_Operation:
            _lockStateItem.state = "";
            _server.geofencePolygonLoaded = false;
            _pushOnce(_map);
            _map.fitToCoords(_map.geofenceItem.polygon.path);
            break;
        case Globals.CarControl_Operation:
            _liveData.requestFirstLocation();
            break;
        case Globals.Settings_Operation:
            _settingsMenu.resetMenu();
            if (!_mainStackView.lock)
                _mainStackView.push(_settingsMenu);
            break;
        }
    }

    // One step back through the header's back button.
    function back(): void {
        _mainStackView.lock = true;
        if (_mainStackView.depth === 3)
            currentOperation = Globals.CarControl_Operation;
        if (currentOperation === Globals.GeoFence_Operation)
            currentOperation = Globals.Settings_Operation;
        else if (currentOperation === Globals.ShareLocation_Operation)
            currentOperation = Globals.LiveTracking_Operation;
        _mainStackView.pop();
        _mainStackView.lock = false;
    }

    // One step back through the Esc or Back key; on the login page it asks before quitting.
    function escapeStep(): void {
        _map.closeMapTypePopup();
        _debriefingDialog.closePopups();
        const depth = _mainStackView.depth;
        if (depth === 1) {
            _closeDialog.open();
            return;
        }
        _mainStackView.lock = true;
        if (depth === 2) {
            currentOperation = Globals.Login_Operation;
            _loginPage.loginState = 0;
        } else if (depth === 3) {
            currentOperation = Globals.CarControl_Operation;
        } else if (depth === 4 && currentOperation === Globals.ShareLocation_Operation) {
            currentOperation = Globals.LiveTracking_Operation;
        }
        if (currentOperation === Globals.GeoFence_Operation)
            currentOperation = Globals.Settings_Operation;
        _mainStackView.pop();
        _mainStackView.lock = false;
    }

    function logout(): void {
        _mainStackView.pop();
        currentOperation = Globals.Login_Operation;
        _loginPage.loginState = 0;
    }

    // After a change that needs a new login: back to the login page, logged out.
    function returnToLogin(): void {
        _mainStackView.pop(null);
        currentOperation = Globals.Login_Operation;
        _loginPage.loginState = 0;
    }

    // The settings menu's entries and the pages they open; the SIM entry opens none.
    function openSettingsEntry(index: int): void {
        const pages = {
            "Menu_General": _deviceSettings_Global,
            "Menu_Alarms": _deviceSettings_Alarms,
            "Menu_Listening": _deviceSettings_Listen,
            "Menu_Users": _userManagmentSettingPage,
            "Menu_Appearance": _deviceSettings_Appearance,
            "Menu_Map": _mapSettingPage,
            "Menu_Server": _deviceSettings_Server,
            "Menu_Data": _deviceSettings_Sending,
            "Menu_PersonalInfo": _newLoginSettingPage,
            "Menu_Device": _deviceSettings_DeviceInfo,
            "Menu_Support": _support
        };
        const page = pages[_settingsMenu.entryName(index)];
        if (page)
            _mainStackView.push(page);
    }

    // ---- Map locks, GPS and routing ----

    function _onLockStateChanged(state: string): void {
        if (state === "car") {
            if (currentLocation) {
                _map.centerOn(QtPositioning.coordinate(currentLocation.lat, currentLocation.lon));
                tooltipCarLocation();
            }
        } else if (state === "me") {
            tooltipMyLocation();
            _map.turnNorth();
        }
        _map.tilt = state === "" ? 0 : 45;
    }

    // The SIM chooser sits in the settings menu; its remembered slot holds from the start, not
    // only once the menu has been opened, and a phone left with one SIM sends from that one.
    function _applyRememberedSimSlot(): void {
        _smsManager.simSlot = _smsManager.isDualSim ? Number(_appSettings.value("simSlot", 0)) : 0;
    }

    function turnOnGps(): void {
        if (_gpsManager.gpsIsOn)
            _gpsManager.actions();
        else
            _gpsMessageDialog.open();
    }

    function exitRoutingAndLockToCar(): void {
        _btnMyRoute.checked = false;
        _lockStateItem.state = "car";
    }

    // Asks for a new walking route only once the user has moved more than 100 m.
    function getMyRouteToCar(): bool {
        const me = _map.myCoordinate;
        if (!me || !me.isValid || !carCoord.isValid)
            return false;
        if (myLastCoord.distanceTo(me) <= 100)
            return false;
        _map.myRouteToCar.waypoints = [me, carCoord];
        myLastCoord = QtPositioning.coordinate(me.latitude, me.longitude, me.altitude);
        return true;
    }

    // Jalali date and local time, e.g. "1403/01/01  09:05:03".
    function toJdateString(gDate: date): string {
        return LiveDataRules.toJdateString(gDate);
    }

    visible: true
    minimumWidth: 350
    minimumHeight: 550
    title: "سامانه رهگیری خودرو"
    font.family: _font.name
    LayoutMirroring.enabled: true
    LayoutMirroring.childrenInherit: true

    onCurrentOperationChanged: _applyOperation(currentOperation)
    onDevicesChanged: currentDeviceIndex = LiveDataRules.chooseDeviceIndex(devices, _appSettings.currentDeviceIndex)
    onCurrentDeviceIndexChanged: _appSettings.currentDeviceIndex = currentDeviceIndex
    onCarCoordChanged: _appSettings.lastCarCoord = carCoord

    Component.onCompleted: {
        width += 1;
        height += 1;
        showMaximized();
        announceAppOpen();
        _applyRememberedSimSlot();
    }

    Settings {
        id: _appSettings

        property int currentDeviceIndex: 0
        property var lastCarCoord
        property alias fontPixelSizeFactorIndex: _mainWindow.basePixelSizeFactorIndex
        property alias fingerEnabled: _userManagmentSettingPage.fingerEnabled
        property bool firstLogin: false

        Component.onCompleted: {
            if (lastCarCoord && lastCarCoord.isValid)
                _mainWindow.carCoord = lastCarCoord;
        }
    }

    FontLoader {
        id: _font

        source: "qrc:/fonts/NotoSansArabic-Light.ttf"
    }

    FontLoader {
        id: _font_lato

        source: "qrc:/fonts/Lato-Light.ttf"
    }

    // Only gives basePixelSize the platform's default text size.
    Label {
        id: _baseText

        visible: false
    }

    background: Shape {
        ShapePath {
            strokeWidth: -1
            strokeColor: "transparent"
            fillGradient: RadialGradient {
                centerX: _mainWindow.width / 2
                centerY: _mainWindow.height / 2
                focalX: centerX
                focalY: centerY
                centerRadius: Math.max(_mainWindow.width, _mainWindow.height)
                focalRadius: 0

                GradientStop {
                    position: 0.0
                    color: Style.gradientLight
                }
                GradientStop {
                    position: 0.5
                    color: Style.gradientDark
                }
            }

            PathRectangle {
                width: _mainWindow.width
                height: _mainWindow.height
            }
        }
    }

    // ---- Services ----

    Call {
        id: _call
    }

    SmsManager {
        id: _smsManager

        onIsDualSimChanged: _mainWindow._applyRememberedSimSlot()
    }

    GpsManager {
        id: _gpsManager

        function actions(): void {
            if (_gpsManager.gpsIsOn) {
                if (!_map.enableRouting && _lockStateItem.state === "me") {
                    _mainWindow.tooltipMyLocation();
                    _map.centerToMyLocation();
                }
                if (_btnMyRoute.checked) {
                    _mainWindow.tooltipRouting();
                    _mainWindow.getMyRouteToCar();
                    _map.centerToMyLocation();
                }
            } else {
                _mainWindow.exitRoutingAndLockToCar();
            }
        }

        onGpsIsOnChanged: actions()
    }

    Notification {
        id: _notification
    }

    DeviceCommands {
        id: _deviceCommands
    }

    Tools {
        id: _tools
    }

    TrackingServer {
        id: _server
    }

    ServerPing {
        id: _serverPing
        objectName: "_serverPing"

        url: _server.serverHostUrl
        onIsOnlineChanged: {
            if (isOnline)
                _server.endWaitingPolls();
        }
    }

    Component {
        id: _appOpenPostComponent

        HttpPost {
            url: _server.appInterfaceUrl
            timeout: 10000
            onResponseReady: response => _mainWindow._onAppOpenReply(response)
            onError: console.log("appOpen failed:", errorText)
        }
    }

    LiveData {
        id: _liveData
        objectName: "_liveData"

        operation: _mainWindow.currentOperation
        device: _mainWindow.currentDevice
        lockState: _lockStateItem.state
        server: _server
        tools: _tools
        notification: _notification
        smsManager: _smsManager
        map: _map
        dashboard: _dashboard
        settingsMenu: _settingsMenu
        alarmsPage: _deviceSettings_Alarms
        sendingPage: _deviceSettings_Sending
        listenPage: _deviceSettings_Listen
        deviceInfoPage: _deviceSettings_DeviceInfo
        serverPage: _deviceSettings_Server
        geofenceSettings: _geoFenceInOutSettings
        debriefingDialog: _debriefingDialog
        offlineButton: _btnGetOffline
        tooltip: _mainTooltip
    }

    Timer {
        id: _gpsTimer

        interval: 5000
        onTriggered: {
            if (!_gpsManager.gpsIsOn) {
                _mainWindow.exitRoutingAndLockToCar();
                _mainWindow.tooltipGpsIsOff();
            }
        }
    }

    Timer {
        id: _myRoutTimer

        interval: 10000
        repeat: true
        running: _mainWindow.currentOperation === Globals.LiveTracking_Operation && _btnMyRoute.checked
                 && _gpsManager.gpsIsOn
        onTriggered: _mainWindow.getMyRouteToCar()
    }

    BackKeyShortcut {
        overlay: _mainWindow.Overlay.overlay
        focusItem: _mainWindow.activeFocusItem
        onActivated: _mainWindow.escapeStep()
    }

    // ---- Tool bars ----

    header: ToolBar {
        Material.primary: Style.primary
        visible: _mainWindow.currentOperation !== Globals.CarControl_Operation
                 && _mainWindow.currentOperation !== Globals.Login_Operation

        RowLayout {
            anchors.fill: parent
            // Mirrored: the margin lands on the right edge.
            anchors.leftMargin: 5
            spacing: 0

            Item {
                id: _lockStateItem
                objectName: "_lockStateItem"

                property bool _ready: false

                visible: false
                state: "car"
                states: [
                    State {
                        name: "car"
                    },
                    State {
                        name: "me"
                    }
                ]
                Component.onCompleted: _ready = true
                onStateChanged: {
                    if (_ready)
                        _mainWindow._onLockStateChanged(state);
                }
            }

            ToolButton {
                Layout.preferredWidth: 50
                Layout.preferredHeight: 50
                enabled: _mainWindow.currentOperation !== Globals.NewLoginSetting_Operation
                icon.source: "qrc:/graphics/arrow-right.svg"
                onClicked: _mainWindow.back()
            }

            ToolButton {
                id: _btnCarLocation
                objectName: "_btnCarLocation"

                Layout.preferredWidth: 40
                Layout.preferredHeight: 40
                visible: _mainWindow.currentOperation === Globals.LiveTracking_Operation
                         || _mainWindow.currentOperation === Globals.Debriefing_Operation
                checked: _lockStateItem.state === "car"
                icon.source: "qrc:/graphics/location/carPosition_map.svg"
                icon.color: checked ? "white" : "grey"
                onClicked: _lockStateItem.state = _lockStateItem.state === "car" ? "" : "car"
            }

            ToolButton {
                id: _btnMyLocation
                objectName: "_btnMyLocation"

                Layout.preferredWidth: 40
                Layout.preferredHeight: 40
                visible: _mainWindow.currentOperation === Globals.LiveTracking_Operation
                icon.source: "qrc:/graphics/location/myPosition_map.svg"
                icon.color: _lockStateItem.state === "me" && _gpsManager.gpsIsOn ? "white" : "grey"
                onClicked: {
                    if (!_gpsManager.gpsIsOn)
                        _mainWindow.turnOnGps();
                    _lockStateItem.state = _lockStateItem.state === "me" ? "" : "me";
                }

                BusyIndicator {
                    anchors.fill: parent
                    running: _lockStateItem.state === "me" && !_map.myCoordinateIsValid
                    visible: running
                }
            }

            ToolButton {
                id: _btnMyRoute
                objectName: "_btnMyRoute"

                Layout.preferredWidth: 40
                Layout.preferredHeight: 40
                visible: _mainWindow.currentOperation === Globals.LiveTracking_Operation
                checkable: false
                icon.source: "qrc:/graphics/location/meToCar.svg"
                icon.color: _map.enableRouting ? "white" : "grey"
                onClicked: {
                    if (checked) {
                        _mainWindow.exitRoutingAndLockToCar();
                        return;
                    }
                    _lockStateItem.state = "me";
                    checked = true;
                    _mainWindow.turnOnGps();
                    if (_gpsManager.gpsIsOn) {
                        _mainWindow.tooltipRouting();
                        _mainWindow.getMyRouteToCar();
                    }
                }

                BusyIndicator {
                    anchors.fill: parent
                    running: _map.enableRouting && (_map.myRouteToCar.loading || !_map.myCoordinateIsValid)
                    visible: running
                }
            }

            ToolButton {
                id: _btnShare
                objectName: "_btnShare"

                Layout.preferredWidth: 50
                Layout.preferredHeight: 50
                visible: _mainWindow.currentOperation === Globals.LiveTracking_Operation
                         || _mainWindow.currentOperation === Globals.CarControl_Operation
                icon.source: "qrc:/graphics/share.svg"
                onClicked: {
                    _shareLocation.getShareToken();
                    _mainStackView.push(_shareLocation);
                    _mainWindow.currentOperation = Globals.ShareLocation_Operation;
                }
            }

            RoundBusyBotton {
                id: _btnGetOffline
                objectName: "_btnGetOffline"

                Layout.preferredWidth: 50
                Layout.preferredHeight: 50
                visible: _loginPage.isOffline && (_mainWindow.currentOperation === Globals.LiveTracking_Operation
                                                  || _mainWindow.currentOperation === Globals.CarControl_Operation)
                flat: true
                timeout: 20000
                icon.source: "qrc:/graphics/getOffline.png"
                onClicked: _liveData.requestOfflineStatus()

                Label {
                    anchors.horizontalCenter: parent.horizontalCenter
                    anchors.bottom: parent.bottom
                    text: "آفلاین"
                    font.pixelSize: 0.88 * _mainWindow.basePixelSize
                }
            }

            ToolButton {
                id: _btnCallToDevice

                Layout.preferredWidth: 40
                Layout.preferredHeight: 40
                visible: _mainWindow.currentOperation === Globals.LiveTracking_Operation
                icon.source: "qrc:/graphics/call-start.png"
                onClicked: _call.directCall(_mainWindow.currentDevice.simNumber ?? "")
            }

            ToolButton {
                id: _btnGefenceOnCenter
                objectName: "_btnGefenceOnCenter"

                visible: _mainWindow.currentOperation === Globals.GeoFence_Operation
                icon.source: "qrc:/graphics/geofence.svg"
                text: "انتقال محدوده به وسط نقشه"
                ToolTip.visible: hovered
                ToolTip.text: text
                onClicked: _map.centerGeofence()
            }

            ToolButton {
                id: _btnDebriefing_AdvanceInfo
                objectName: "_btnDebriefing_AdvanceInfo"

                visible: _mainWindow.currentOperation === Globals.Debriefing_Operation && _debriefingDialog.state !== "stop"
                         && _debriefingDialog.state !== "loading"
                icon.source: "qrc:/graphics/info.svg"
                ToolTip.visible: hovered
                ToolTip.text: "اطلاعات تکمیلی مسیر"
                onClicked: _path_AdvanceInfo_popup.open()
            }

            Item {
                Layout.fillWidth: true
            }
        }
    }

    footer: MainFooter {
        visible: _mainWindow.currentOperation === Globals.CarControl_Operation
        basePixelSize: _mainWindow.basePixelSize
        onSettingsClicked: _mainWindow.currentOperation = Globals.Settings_Operation
        onTripReportClicked: _mainWindow.currentOperation = Globals.Debriefing_Operation
        onListenClicked: _call.directCall(_mainWindow.currentDevice.simNumber ?? "")
        onExitClicked: _mainWindow.logout()
    }

    // ---- Pages ----

    GridLayout {
        anchors.fill: parent
        columns: 1

        StackView {
            id: _mainStackView
            objectName: "_mainStackView"

            // While a back step runs, operation changes do not push pages.
            property bool lock: false

            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.alignment: Qt.AlignHCenter
            Layout.minimumWidth: 350
            Layout.maximumWidth: _mainWindow.currentOperation === Globals.LiveTracking_Operation
                                 || _mainWindow.currentOperation === Globals.Debriefing_Operation
                                 || _mainWindow.currentOperation === Globals.GeoFence_Operation ? _mainWindow.width : 550
            initialItem: _loginPage
        }
    }

    LoginPage {
        id: _loginPage
        objectName: "_loginPage"

        visible: false
        fingerEnabled: (_mainWindow.mobilePlatform || _loginPage.isBiometricSupported) && _appSettings.firstLogin && _userManagmentSettingPage.fingerEnabled
        onSuccess: _appSettings.firstLogin = true
    }

    Dashboard {
        id: _dashboard
        objectName: "_dashboard"

        visible: false
    }

    MapView {
        id: _map
        objectName: "_map"

        visible: false
        pathColors: _mainWindow.pathColors
        activeStyleIndex: _mapSettingPage.activeStyleIndex
        gestureEnabled: !_debriefingDialog.popupVisible
        headUp: _lockStateItem.state === "car"
        tilt: headUp ? 35 : 0
        enableRouting: _gpsManager.gpsIsOn && _btnMyRoute.checked
                       && _mainWindow.currentOperation === Globals.LiveTracking_Operation
        lockOnMyLocation: _mainWindow.currentOperation === Globals.LiveTracking_Operation && _lockStateItem.state === "me"
        positionSourceActive: _mainWindow.currentOperation === Globals.LiveTracking_Operation && _gpsManager.gpsIsOn
        myPositionMapItem.visible: _gpsManager.gpsIsOn && (_lockStateItem.state === "me" || enableRouting)
                                   && _mainWindow.currentOperation === Globals.LiveTracking_Operation
        locationItem.rotate: (_mainWindow.currentLocation?.course ?? 0) - bearing
        locationItem.arrowVisible: Math.floor(_mainWindow.currentLocation?.speed ?? 0) !== 0
        locationItem.color: "blue"
        locationItem.visible: _mainWindow.currentOperation === Globals.LiveTracking_Operation
                              || (_mainWindow.currentOperation === Globals.Debriefing_Operation
                                  && (_debriefingDialog.state === "run" || _debriefingDialog.state === "puse"))
        geofenceItem.visible: _mainWindow.currentOperation === Globals.GeoFence_Operation
        positionPluginName: _gpsManager.positionPluginName
        nmeaSource: _gpsManager.nmeaSource
        positionDesktopId: _gpsManager.desktopId
        onExitRouting: _mainWindow.exitRoutingAndLockToCar()
        onDragged: _lockStateItem.state = ""
        onMapTypeChosen: index => _mapSettingPage.activeStyleIndex = index
    }

    Connections {
        target: _map.myRouteToCar

        function onRouteUpdated(): void {
            _mainTooltip.close();
        }

        function onRouteError(): void {
            _mainTooltip.show("خطای مسیریابی", 3000);
        }
    }

    DeviceSelectionPage {
        id: _deviceSelectionPage
        objectName: "_deviceSelectionPage"

        visible: false
        model: _mainWindow.loginResponse.devices
        onDeviceChosen: index => {
            _mainWindow.currentDeviceIndex = index;
            _mainStackView.pop();
        }
    }

    SettingsMenu {
        id: _settingsMenu
        objectName: "_settingsMenu"

        visible: false
        device: _mainWindow.currentDevice
        deviceCount: _mainWindow.devices ? _mainWindow.devices.length : 0
        mobileOperator: _mainWindow._deviceSettings.mobileOperator
        rootLogin: _mainWindow.loginResponse.rootLogin === true
        dualSim: _smsManager.isDualSim
        fingerprint: _loginPage.isBiometricSupported
        onItemSelected: index => _mainWindow.openSettingsEntry(index)
        onChangeDevice: _mainStackView.push(_deviceSelectionPage)
    }

    NewLoginSettingPage {
        id: _newLoginSettingPage
        objectName: "_newLoginSettingPage"

        visible: false
        onRegistered: _userManagmentSettingPage.fingerEnabled = _loginPage.isBiometricSupported
    }

    MapSettingPage {
        id: _mapSettingPage
        objectName: "_mapSettingPage"

        visible: false
    }

    UserManagmentSettingPage {
        id: _userManagmentSettingPage
        objectName: "_userManagmentSettingPage"

        visible: false
        isBiometricSupported: _loginPage.isBiometricSupported
        loginUsername: _loginPage.username
        onPasswordChanged: _loginPage.clearPassword()
    }

    DeviceSettings_Global {
        id: _deviceSettings_Global
        objectName: "_deviceSettings_Global"

        visible: false
        device: _mainWindow.currentDevice
        forceUnlockNumber1: _mainWindow._deviceSettings.forceUnlockNumber1 ?? 1
        forceUnlockNumber2: _mainWindow._deviceSettings.forceUnlockNumber2 ?? 1
    }

    DeviceSettings_Alarms {
        id: _deviceSettings_Alarms
        objectName: "_deviceSettings_Alarms"

        visible: false
        geofenceCoords: _map.geofenceItem.coords
        geofenceInOut: _geoFenceInOutSettings.inOut
        onEditGeofence: _mainWindow.currentOperation = Globals.GeoFence_Operation
        onChooseGeofenceMode: _geoFenceInOutSettings.open()
    }

    DeviceSettings_Listen {
        id: _deviceSettings_Listen
        objectName: "_deviceSettings_Listen"

        visible: false
    }

    DeviceSettings_DeviceInfo {
        id: _deviceSettings_DeviceInfo
        objectName: "_deviceSettings_DeviceInfo"

        visible: false
        imei: _mainWindow.currentDevice.imei !== undefined ? String(_mainWindow.currentDevice.imei) : ""
        // The location records carry the version; the menu keeps the last one.
        firmwareVersion: _settingsMenu.firmwareVersion
        mobileOperator: _mainWindow._deviceSettings.mobileOperator
        deviceFirstUse: _mainWindow.currentDevice.deviceFirstUse ?? ""
    }

    DeviceSettings_Server {
        id: _deviceSettings_Server
        objectName: "_deviceSettings_Server"

        visible: false
    }

    DeviceSettings_Sending {
        id: _deviceSettings_Sending
        objectName: "_deviceSettings_Sending"

        visible: false
    }

    DeviceSettings_Appearance {
        id: _deviceSettings_Appearance
        objectName: "_deviceSettings_Appearance"

        visible: false
        currentIndex: _mainWindow.basePixelSizeFactorIndex
        factors: _mainWindow.basePixelSizeFactors
        onCurrentIndexChanged: _mainWindow.basePixelSizeFactorIndex = currentIndex
    }

    Support {
        id: _support
        objectName: "_support"

        visible: false
        onCallRequested: number => _call.directCall(number)
    }

    ShareLocation {
        id: _shareLocation
        objectName: "_shareLocation"

        visible: false
        imei: String(_mainWindow.currentDevice.imei ?? "")
        trackingUrl: _mainWindow.appConfigs.trackingurl
        mobilePlatform: _mainWindow.mobilePlatform
    }

    DebriefingPlaybackDialog {
        id: _debriefingDialog
        objectName: "_debriefingDialog"

        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 50
        visible: _mainWindow.currentOperation === Globals.Debriefing_Operation
        map: _map
        server: _server
        imei: _mainWindow.currentDevice.imei ?? 0
        onLocationPicked: location => _mainWindow.currentLocation = location
        onLockStateRequested: lockState => _lockStateItem.state = lockState
    }

    ParametersItem {
        objectName: "_parametersItem"

        // Top left: the map's own buttons hold the top right.
        LayoutMirroring.enabled: false
        anchors.top: parent.top
        anchors.left: parent.left
        location: _mainWindow.currentLocation
        status: _mainWindow.currentStatus
        large: _mainWindow.basePixelSizeFactorIndex > 1
        visible: (_mainWindow.currentOperation === Globals.LiveTracking_Operation
                  || _mainWindow.currentOperation === Globals.Debriefing_Operation) && _mainStackView.currentItem === _map
    }

    GeoFenceInOutSettings {
        id: _geoFenceInOutSettings
        objectName: "_geoFenceInOutSettings"

        anchors.centerIn: parent
    }

    ServerMessage {
        id: _serverMessage
        objectName: "_serverMessage"

        anchors.centerIn: parent
        width: Math.min(_mainWindow.width * 0.7, 250)
        height: Math.min(_mainWindow.height * 0.7, 400)
    }

    Popup {
        id: _path_AdvanceInfo_popup
        objectName: "_path_AdvanceInfo_popup"

        x: _mainWindow.width - width - 1
        focus: true
        background: PlainPopupBackground {}

        TripFigures {
            figures: _mainWindow.pathsAdvanceInfo
            pathIndex: _debriefingDialog.currentPathIndex
            valueFontFamily: _font_lato.name
            basePixelSize: _mainWindow.basePixelSize
        }
    }

    ExitConfirmation {
        id: _closeDialog
        objectName: "_closeDialog"

        anchors.centerIn: parent
    }

    Platform.MessageDialog {
        id: _gpsMessageDialog
        objectName: "_gpsMessageDialog"

        text: "روشن کردن جیپیاس"
        informativeText: "برای مسیریابی نیاز به فعالکردن جیپیاس میباشد!"
        buttons: Platform.MessageDialog.Ok | Platform.MessageDialog.Cancel
        onOkClicked: {
            _gpsManager.turnOnGps();
            _gpsTimer.restart();
        }
        onCancelClicked: _mainWindow.exitRoutingAndLockToCar()
    }

    MainTooltip {
        id: _mainTooltip
        objectName: "_mainTooltip"

        x: (_mainWindow.width - width) / 2
        y: _mainWindow.height * (_mainWindow.currentOperation === Globals.CarControl_Operation ? 0.1 : 0.8)
    }

    ToolTip {
        id: _offlineWarning

        x: (_mainWindow.width - width) / 2
        y: 50
        visible: !_serverPing.isOnline
        text: "اتصال اینترنت قطع می باشد!"
        background: Rectangle {
            color: "red"
            radius: 2
        }
    }
}
