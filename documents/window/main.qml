pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtCore
import globals
import kova.tools
import kova.services
import smsManager
import notification
import "qmlItems"
import "LiveDataRules.js" as LiveDataRules

ApplicationWindow {
    id: _mainWindow

    property alias currentOperation: _navigation.currentOperation
    property var loginResponse: ({})
    property var devices: loginResponse.devices
    property int currentDeviceIndex: 0
    readonly property var currentDevice: devices ? (devices[currentDeviceIndex] ?? {}) : ({})
    property alias currentLocation: _liveData.currentLocation
    property alias carCoord: _liveData.carCoord
    property alias myLastCoord: _mapFollowing.myLastCoord
    property alias currentStatus: _liveData.currentStatus
    property alias _deviceSettings: _settingsCopy.deviceSettings
    property var appConfigs: ({})
    property alias pathsAdvanceInfo: _tripLoader.pathsAdvanceInfo

    property list<real> basePixelSizeFactors: [0.8, 1, 1.2, 1.4]
    property int basePixelSizeFactorIndex: 1
    readonly property real basePixelSizeFactor: basePixelSizeFactors[basePixelSizeFactorIndex] ?? basePixelSizeFactors[1]
    readonly property int basePixelSize: Math.round(_baseText.font.pixelSize * basePixelSizeFactor)
    readonly property list<color> pathColors: ["#BBF44336", "#BB9C27B0", "#BB2196F3", "#BB009688", "#BBFF9800", "#BBFF5722", "#BB795548"]
    readonly property bool mobilePlatform: Qt.platform.os === "android" || Qt.platform.os === "ios"

    // The window's names for the steps and the map following that tests, pages and tools use.
    function back(): void {
        _navigation.back();
    }

    function escapeStep(): void {
        _navigation.escapeStep();
    }

    function logout(): void {
        _navigation.logout();
    }

    function returnToLogin(): void {
        _navigation.returnToLogin();
    }

    function openSettingsEntry(index: int): void {
        _navigation.openSettingsEntry(index);
    }

    function turnOnGps(): void {
        _mapFollowing.turnOnGps();
    }

    function exitRoutingAndLockToCar(): void {
        _mapFollowing.exitRoutingAndLockToCar();
    }

    function getMyRouteToCar(): bool {
        return _mapFollowing.getMyRouteToCar();
    }

    // The first login's setup, which the login page opens.
    function newLoginPage(): Item {
        return _settingsPages.page("NewLogin");
    }

    visible: true
    minimumWidth: 350
    minimumHeight: 550
    title: "سامانه رهگیری خودرو"
    font.family: _font.name
    LayoutMirroring.enabled: true
    LayoutMirroring.childrenInherit: true

    onDevicesChanged: currentDeviceIndex = LiveDataRules.chooseDeviceIndex(devices, _appSettings.currentDeviceIndex)
    onCurrentDeviceIndexChanged: _appSettings.currentDeviceIndex = currentDeviceIndex

    Component.onCompleted: {
        width += 1;
        height += 1;
        showMaximized();
        _appAnnouncement.announce();
    }

    Settings {
        id: _appSettings

        property int currentDeviceIndex: 0
        property alias fontPixelSizeFactorIndex: _mainWindow.basePixelSizeFactorIndex
        property alias fingerEnabled: _settingsPages.fingerEnabled
        property bool firstLogin: false
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

    background: WindowBackground {}

    // ---- Services ----

    SmsManager {
        id: _smsManager
    }

    GpsManager {
        id: _gpsManager
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

    AppAnnouncement {
        id: _appAnnouncement

        server: _server
        tools: _tools
        onNoticeArrived: (title, code) => {
            _serverMessage.title = title;
            _serverMessage.qmlCode = code;
            _serverMessage.open();
        }
        onConfigsArrived: configs => _mainWindow.appConfigs = configs
    }

    LiveData {
        id: _liveData
        objectName: "_liveData"

        operation: _mainWindow.currentOperation
        device: _mainWindow.currentDevice
        lockState: _mapFollowing.lockState
        server: _server
        tools: _tools
        notification: _notification
        smsManager: _smsManager
        map: _map
        dashboard: _dashboard
        settingsMenu: _settingsMenu
        offlineButton: _header.offlineButton
        tooltip: _mainTooltip
        carCommands: _carCommands
    }

    SettingsCopy {
        id: _settingsCopy
        objectName: "_settingsCopy"

        operation: _mainWindow.currentOperation
        device: _mainWindow.currentDevice
        server: _server
        settingsPages: _settingsPages
        dashboard: _dashboard
        map: _map
        geofenceSettings: _geoFenceInOutSettings
    }

    TripLoader {
        id: _tripLoader

        server: _server
        map: _map
        debriefingDialog: _debriefingDialog
        tooltip: _mainTooltip
    }

    CarCommands {
        id: _carCommands

        smsManager: _smsManager
        device: _mainWindow.currentDevice
        server: _server
    }

    // ---- Controllers ----

    Navigation {
        id: _navigation

        stack: _mainStackView
        loginPage: _loginPage
        map: _map
        debriefingDialog: _debriefingDialog
        settingsMenu: _settingsMenu
        settingsPages: _settingsPages
        following: _mapFollowing
        liveData: _liveData
        server: _server
        onQuitAsked: _closeDialog.open()
    }

    MapFollowing {
        id: _mapFollowing

        operation: _mainWindow.currentOperation
        map: _map
        liveData: _liveData
        gps: _gpsManager
        tooltip: _mainTooltip
        onGpsWanted: _gpsMessageDialog.ask()
    }

    BackKeyShortcut {
        overlay: _mainWindow.Overlay.overlay
        focusItem: _mainWindow.activeFocusItem
        onActivated: _mainWindow.escapeStep()
    }

    // ---- Tool bars ----

    header: MainHeader {
        id: _header

        operation: _mainWindow.currentOperation
        basePixelSize: _mainWindow.basePixelSize
        following: _mapFollowing
        offline: _loginPage.isOffline
        tripLoaded: _debriefingDialog.state !== "stop" && _debriefingDialog.state !== "loading"
        onBackClicked: _mainWindow.back()
        onShareClicked: {
            const page = _shareLocation.page();
            page.getShareToken();
            _mainStackView.push(page);
            _mainWindow.currentOperation = Globals.ShareLocation_Operation;
        }
        onOfflineRequested: _liveData.requestOfflineStatus()
        onCallClicked: _phoneCall.call(_mainWindow.currentDevice.simNumber ?? "")
        onGeofenceCenterClicked: _map.centerGeofence()
        onTripFiguresClicked: _path_AdvanceInfo_popup.open()
    }

    footer: MainFooter {
        visible: _mainWindow.currentOperation === Globals.CarControl_Operation
        basePixelSize: _mainWindow.basePixelSize
        onSettingsClicked: _mainWindow.currentOperation = Globals.Settings_Operation
        onTripReportClicked: _mainWindow.currentOperation = Globals.Debriefing_Operation
        onListenClicked: _phoneCall.call(_mainWindow.currentDevice.simNumber ?? "")
        onExitClicked: _mainWindow.logout()
    }

    // ---- Pages ----

    OfflineWarning {
        id: _offlineWarning
        objectName: "_offlineWarning"

        width: parent.width
        shown: !_serverPing.isOnline
    }

    PageStack {
        id: _mainStackView
        objectName: "_mainStackView"

        anchors.top: _offlineWarning.bottom
        anchors.bottom: parent.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        width: Math.max(350, fullWidth ? parent.width : Math.min(parent.width, 550))
        operation: _mainWindow.currentOperation
        initialItem: _loginPage
    }

    LoginPage {
        id: _loginPage
        objectName: "_loginPage"

        visible: false
        fingerEnabled: (_mainWindow.mobilePlatform || _loginPage.isBiometricSupported) && _appSettings.firstLogin && _settingsPages.fingerEnabled
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
        activeStyleIndex: _settingsPages.mapStyleIndex
        gestureEnabled: !_debriefingDialog.popupVisible
        headUp: _mapFollowing.lockState === "car"
        tilt: headUp ? 35 : 0
        enableRouting: _gpsManager.gpsIsOn && _mapFollowing.routing
                       && _mainWindow.currentOperation === Globals.LiveTracking_Operation
        lockOnMyLocation: _mainWindow.currentOperation === Globals.LiveTracking_Operation && _mapFollowing.lockState === "me"
        positionSourceActive: _mainWindow.currentOperation === Globals.LiveTracking_Operation && _gpsManager.gpsIsOn
        myPositionMapItem.visible: _gpsManager.gpsIsOn && (_mapFollowing.lockState === "me" || enableRouting)
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
        onExitRouting: _mapFollowing.exitRoutingAndLockToCar()
        onDragged: _mapFollowing.lockState = ""
        onMapTypeChosen: index => _settingsPages.mapStyleIndex = index
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
        onItemSelected: index => _navigation.openSettingsEntry(index)
        onChangeDevice: _mainStackView.push(_settingsPages.page("DeviceSelection"))
    }

    SettingsPages {
        id: _settingsPages
        objectName: "_settingsPages"

        anchors.fill: parent
        devices: _mainWindow.loginResponse.devices
        device: _mainWindow.currentDevice
        deviceSettings: _mainWindow._deviceSettings
        firmwareVersion: _settingsMenu.firmwareVersion
        geofenceCoords: _map.geofenceItem.coords
        geofenceInOut: _geoFenceInOutSettings.inOut
        biometricSupported: _loginPage.isBiometricSupported
        rootLogin: _settingsMenu.rootLogin
        loginUsername: _loginPage.username
        sizeFactors: _mainWindow.basePixelSizeFactors
        sizeFactorIndex: _mainWindow.basePixelSizeFactorIndex
        onEditGeofence: _mainWindow.currentOperation = Globals.GeoFence_Operation
        onChooseGeofenceMode: _geoFenceInOutSettings.open()
        onPasswordChanged: _loginPage.clearPassword()
        onCallRequested: number => _phoneCall.call(number)
        onSizeFactorChosen: index => _mainWindow.basePixelSizeFactorIndex = index
        // A new list over the same records, so that every view of the devices reads them again.
        onSimNumberAccepted: _mainWindow.loginResponse = Object.assign({}, _mainWindow.loginResponse, { "devices": Array.from(_mainWindow.devices ?? []) })
        onDeviceChosen: index => {
            _mainWindow.currentDeviceIndex = index;
            _mainStackView.pop();
        }
    }

    ShareLocationLoader {
        id: _shareLocation
        objectName: "_shareLocationLoader"

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
        onLockStateRequested: lockState => _mapFollowing.lockState = lockState
    }

    ParametersItem {
        objectName: "_parametersItem"

        // Top left: the map's own buttons hold the top right.
        LayoutMirroring.enabled: false
        anchors.top: _mainStackView.top
        anchors.left: parent.left
        location: _mainWindow.currentLocation
        status: _mainWindow.currentStatus
        large: _mainWindow.basePixelSizeFactorIndex > 1
        ageShown: _mainWindow.currentOperation === Globals.LiveTracking_Operation
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

    TripFiguresPopup {
        id: _path_AdvanceInfo_popup
        objectName: "_path_AdvanceInfo_popup"

        x: _mainWindow.width - width - 1
        figures: _mainWindow.pathsAdvanceInfo
        pathIndex: _debriefingDialog.currentPathIndex
        daySeconds: _debriefingDialog.loadedDaySeconds
        valueFontFamily: _font_lato.name
        basePixelSize: _mainWindow.basePixelSize
    }

    PhoneCall {
        id: _phoneCall
        objectName: "_phoneCall"
    }

    ExitConfirmation {
        id: _closeDialog
        objectName: "_closeDialog"

        anchors.centerIn: parent
    }

    GpsQuestion {
        id: _gpsMessageDialog
        objectName: "_gpsMessageDialog"

        anchors.centerIn: parent
        onAccepted: _mapFollowing.acceptGps()
        onRejected: _mapFollowing.exitRoutingAndLockToCar()
    }

    MainTooltip {
        id: _mainTooltip
        objectName: "_mainTooltip"

        x: (_mainWindow.width - width) / 2
        y: _mainWindow.height * (_mainWindow.currentOperation === Globals.CarControl_Operation ? 0.1 : 0.8)
    }

}
