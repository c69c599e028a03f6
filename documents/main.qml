pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
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
import mySettings
import "qmlItems"
import "JsTools.js" as JsTools
import "JalaliDate.js" as JalaliDate

ApplicationWindow {
    id: _mainWindow

    property int currentOperation: Globals.Login_Operation
    property var loginResponse: ({})
    property var devices: loginResponse.devices
    property int currentDeviceIndex: 0
    readonly property var currentDevice: devices ? (devices[currentDeviceIndex] ?? {}) : ({})
    property var currentLocation
    property geoCoordinate carCoord: QtPositioning.coordinate(0, 0)
    property geoCoordinate myLastCoord: QtPositioning.coordinate(0, 0)
    property var currentStatus
    property var _deviceSettings: ({})
    property var appConfigs: ({})
    property var pathsAdvanceInfo: []

    property list<real> basePixelSizeFactors: [0.8, 1, 1.2, 1.4]
    property int basePixelSizeFactorIndex: 1
    readonly property real basePixelSizeFactor: basePixelSizeFactors[basePixelSizeFactorIndex] ?? basePixelSizeFactors[1]
    readonly property int basePixelSize: Math.round(_baseText.font.pixelSize * basePixelSizeFactor)
    readonly property list<color> pathColors: ["#BBF44336", "#BB9C27B0", "#BB2196F3", "#BB009688", "#BBFF9800", "#BBFF5722", "#BB795548"]
    readonly property bool mobilePlatform: Qt.platform.os === "android" || Qt.platform.os === "ios"

    // Alarm bits of a status reply, in the order their notifications are shown.
    readonly property var _eventKinds: [
        { "bit": 1, "title": "هشدار باز شدن دربها", "timeField": "doorTime" },
        { "bit": 2, "title": "هشدار باز شدن صندوق یا کاپوت", "timeField": "trunkTime" },
        { "bit": 4, "title": "هشدار باز شدن سوئیچ خودرو", "timeField": "carSwitchTime" },
        { "bit": 8, "title": "هشدار قطع برق خودرو(سرقت باطری)", "timeField": "powerDisconnectTime" },
        { "bit": 16, "title": "هشدار ورود به محدوده غیر مجاز", "timeField": "geoFenceInTime" },
        { "bit": 32, "title": "هشدار خروج از محدوده", "timeField": "geoFenceOutTime" },
        { "bit": 64, "title": "هشدار حمل جرثقیل", "timeField": "carringTime" },
        { "bit": 128, "title": "هشدار سرعت غیرمجاز", "timeField": "overSpeedTime" },
        { "bit": 256, "title": "هشدار تکان خوردن خودرو", "timeField": "shockTime" }
    ]
    readonly property string offlineRequestFrame: "[oribel,55]}]"

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

    function showTooltip(text: string, timeout: int): void {
        _mainTooltip.timeout = timeout;
        _mainTooltip.text = text;
        _mainTooltip.open();
    }

    function tooltipRouting(): void {
        showTooltip("درحال مسیریابی", 3000);
    }

    function tooltipCarLocation(): void {
        showTooltip("قفل شدن نقشه روی موقعیت خودرو", 3000);
    }

    function tooltipMyLocation(): void {
        showTooltip("قفل شدن نقشه روی موقعیت شما", 3000);
    }

    function tooltipGpsIsOff(): void {
        showTooltip("جیپیاس خاموش است", 3000);
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
            _requestFirstLocation();
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
            _requestFirstLocation();
            break;
        case Globals.Settings_Operation:
            _settingsMenu.resetMenu();
            if (!_mainStackView.lock)
                _mainStackView.push(_settingsMenu);
            break;
        }
    }

    // The stored index is kept only while it still names one of the devices.
    function chooseDeviceIndex(deviceList: var, storedIndex: int): int {
        if (deviceList && storedIndex >= 0 && storedIndex < deviceList.length)
            return storedIndex;
        return 0;
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

    function settingsPageFor(name: string): Item {
        switch (name) {
        case "Menu_General":
            return _deviceSettings_Global;
        case "Menu_Alarms":
            return _deviceSettings_Alarms;
        case "Menu_Listening":
            return _deviceSettings_Listen;
        case "Menu_Users":
            return _userManagmentSettingPage;
        case "Menu_Appearance":
            return _deviceSettings_Appearance;
        case "Menu_Map":
            return _mapSettingPage;
        case "Menu_Server":
            return _deviceSettings_Server;
        case "Menu_Data":
            return _deviceSettings_Sending;
        case "Menu_PersonalInfo":
            return _newLoginSettingPage;
        case "Menu_Device":
            return _deviceSettings_DeviceInfo;
        case "Menu_Support":
            return _support;
        }
        return null;
    }

    function openSettingsEntry(index: int): void {
        const entries = _settingsMenu.model;
        if (index < 0 || index >= entries.length)
            return;
        const page = settingsPageFor(entries[index].name);
        if (page)
            _mainStackView.push(page);
    }

    // ---- Map locks, GPS and routing ----

    function _onLockStateChanged(state: string): void {
        if (state === "car") {
            if (currentLocation) {
                _map.centerWithAnimation = QtPositioning.coordinate(currentLocation.lat, currentLocation.lon);
                tooltipCarLocation();
            }
        } else if (state === "me") {
            tooltipMyLocation();
            _map.bearing = _map.bearing < 180 ? 0 : 360;
        }
        _map.tilt = state === "" ? 0 : 45;
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

    // Moves the geofence to the middle of the view, two thirds of its shorter side across.
    function centerGeofence(): void {
        const side = Math.min(_map.width, _map.height);
        const topLeft = _map.toCoordinate(Qt.point(0, 0), false);
        const third = _map.toCoordinate(Qt.point(0, side / 3), false);
        _map.geofenceItem.setCenter(_map.center, topLeft.distanceTo(third));
    }

    // The new map bearing that turns the map towards the car's course: small differences are
    // left alone, and turns of more than half a circle go the short way across north.
    function followHeading(course: real, bearing: real): real {
        const d = course - bearing;
        if (Math.abs(d) <= 30)
            return bearing;
        if (d > 0)
            return d > 180 ? bearing - (360 - d) : course;
        return Math.abs(d) > 180 ? bearing + (360 + d) : course;
    }

    // ---- Live data ----

    function _requestFirstLocation(): void {
        _server.lastLocatinBusy = true;
        _server.getLastLocation(currentDevice.imei ?? 0, true);
    }

    function _pollLocation(): void {
        if (_server.lastLocatinBusy)
            return;
        _server.lastLocatinBusy = true;
        _server.getLastLocation(currentDevice.imei ?? 0);
    }

    function _applyLocation(location: var): void {
        if (!location)
            return;
        carCoord = QtPositioning.coordinate(location.lat, location.lon);
        _map.locationItem.coordWithAnimation = carCoord;
        _map.locationItem.relive();
        if (_btnCarLocation.checked) {
            _map.centerOn(carCoord);
            _map.bearing = followHeading(Number(location.course) || 0, _map.bearing);
        }
        if (location.version !== undefined)
            _settingsMenu.firmwareVersion = location.version;
    }

    // Jalali date and local time, e.g. "1403/01/01  09:05:03".
    function toJdateString(gDate: date): string {
        const j = JalaliDate.fromGregorian(gDate);
        return JsTools.formatNumber(j[0], 4) + "/" + JsTools.formatNumber(j[1], 2) + "/" + JsTools.formatNumber(j[2], 2) + "  "
                + JsTools.formatNumber(gDate.getHours(), 2) + ":" + JsTools.formatNumber(gDate.getMinutes(), 2) + ":"
                + JsTools.formatNumber(gDate.getSeconds(), 2);
    }

    // The notifications a status reply asks for, in bit order: [{ title, text }].
    function eventAlerts(reply: var): var {
        const events = Number(reply.events) || 0;
        return _eventKinds.filter(kind => (events & kind.bit) !== 0).map(kind => ({
                    "title": kind.title,
                    "text": "زمان وقوع: " + toJdateString(new Date(Number(reply[kind.timeField]) * 1000))
                }));
    }

    function handleStatusReply(reply: var): void {
        if (!reply || !reply.isValid)
            return;
        if (reply.status !== undefined) {
            // A record too short to read gives an empty map; the last good status stays.
            const status = _tools.parsStatus(reply.status);
            if (Object.keys(status).length > 0)
                currentStatus = status;
        }
        for (const alert of eventAlerts(reply))
            _notification.notify(alert.title, alert.text, "icon");
    }

    function handleSettings(settings: var): void {
        if (!settings)
            return;
        _deviceSettings = settings;
        const copies = [
            [_deviceSettings_Alarms, "geoFenceAlarmType", "geoFenceAlarmType"],
            [_deviceSettings_Alarms, "doorAlarmType", "doorAlarmType"],
            [_deviceSettings_Alarms, "trunkAlarmType", "trunkAlarmType"],
            [_deviceSettings_Alarms, "switchAlarmType", "switchAlarmType"],
            [_deviceSettings_Alarms, "carringAlarmType", "carryingAlarmType"],
            [_deviceSettings_Alarms, "powerDisconnectAlarmType", "powerDisconnectAlarmType"],
            [_deviceSettings_Alarms, "overSpeedAlarmType", "overSpeedAlarmType"],
            [_deviceSettings_Alarms, "shakeAlarmType", "shockAlertType"],
            [_deviceSettings_Alarms, "shockSensitivity", "shockSensitivity"],
            [_deviceSettings_Alarms, "overSpeed", "overSpeed"],
            [_deviceSettings_Sending, "sendRate", "sendRate"],
            [_deviceSettings_Sending, "logResolation", "logResolation"],
            [_dashboard, "carOnState", "sw3"],
            [_dashboard, "autoLockState", "autoLock"],
            [_dashboard, "multiAlarm", "multiAlarm"],
            [_deviceSettings_Listen, "listenUser1", "listen_Users1"],
            [_deviceSettings_Listen, "listenUser2", "listen_Users2"],
            [_deviceSettings_Listen, "listenUser3", "listen_Users3"],
            [_deviceSettings_DeviceInfo, "tamper", "tamper"]
        ];
        // A record missing a key leaves that page value as it was.
        for (const [target, property, key] of copies) {
            if (settings[key] !== undefined)
                target[property] = settings[key];
        }
        if (settings.reportCenter1 !== undefined)
            _deviceSettings_Alarms.reportNumber1 = settings.reportCenter1 === "x" ? "" : settings.reportCenter1;
        if (settings.reportCenter2 !== undefined)
            _deviceSettings_Alarms.reportNumber2 = settings.reportCenter2 === "x" ? "" : settings.reportCenter2;
        if (settings.serverUrlAddress !== undefined)
            _deviceSettings_Server.serverUrl = settings.serverUrlAddress + ":" + settings.serverUrlPort + settings.serverUrlPath;
        // The zone being edited in the settings pages is never overwritten.
        if (!_server.geofencePolygonLoaded && currentOperation !== Globals.Settings_Operation
                && currentOperation !== Globals.GeoFence_Operation) {
            _map.geofenceItem.setPoints(settings.geoFencePolygon);
            _server.geofencePolygonLoaded = true;
            _geoFenceInOutSettings.setInOut(settings.geoFenceInOut);
        }
    }

    function requestOfflineStatus(): void {
        _smsManager.sendSms(MySettings.deviceSimNumber, offlineRequestFrame);
        showTooltip("اخطار: با هر بار استفاده از اطلاعات افلاین یک پیامک از گوشی و یک پیامک از دستگاه استفاده میشود.", 8000);
    }

    // The device's SMS answer to the offline request; anything else is ignored. Returns whether
    // the message was taken.
    function handleOfflineAnswer(sender: string, message: string): bool {
        if (!JsTools.comparePhoneNumber(sender, currentDevice.simNumber))
            return false;
        let answer;
        try {
            answer = JSON.parse(message);
        } catch (e) {
            return false;
        }
        if (!answer || answer.id !== 55 || !Array.isArray(answer.info))
            return false;
        const location = answer.info[0];
        const status = answer.info[1];
        if (!Array.isArray(location) || location.length < 7 || !Array.isArray(status) || status.length < 11)
            return false;
        _btnGetOffline.state = "ready";
        if (location[6]) {
            currentLocation = {
                "dateTime": new Date(location[0] * 1000),
                "lat": location[1],
                "lon": location[2],
                "alt": location[3],
                "speed": location[4],
                "course": location[5],
                "isValid": location[6],
                "accuracy": status[9]
            };
        } else {
            showTooltip("اطلاعات موقعیتی gps صحیح نیست", 5000);
        }
        currentStatus = {
            "door": status[0],
            "trunk": status[1],
            "carSwitch": status[2],
            "powerDetect": status[3],
            "charging": status[4],
            "carring": status[6],
            "simCharge": status[7],
            "battryPercent": status[8],
            "gsmSignal": status[9],
            "gpsSignal": status[10]
        };
        _dashboard.carOnState = status[5];
        return true;
    }

    function handleTripReply(): void {
        pathsAdvanceInfo = _server.pathsAdvanceInfo();
        const paths = _server.debriefingPath();
        _map.createDebriefingPaths(paths);
        _debriefingDialog.paths = paths;
        _debriefingDialog.state = "run";
    }

    function handleTripError(errorCode: int): void {
        _debriefingDialog.state = "stop";
        if (errorCode === 4 || errorCode === 10000)
            showTooltip("خودرو شما در این بازه زمانی \n مسیری طی نکرده است", 3000);
        else
            showTooltip("خطا در دریافت مسیر", 3000);
    }

    // Seconds as hh:mm:ss; a day or more wraps around.
    function formatDuration(seconds: real): string {
        return new Date(seconds * 1000).toISOString().substring(11, 19);
    }

    function formatSpeed(metresPerSecond: real): string {
        return (metresPerSecond * 3.6).toFixed(1) + " km/h";
    }

    // The texts of the trip statistics popup: index 0 sums up every path, k >= 1 shows path k.
    function tripFigureTexts(figures: var, index: int): var {
        const list = Array.from(figures ?? []);
        let distance = 0, drivingTime = 0, stopTime = 0, maxSpeed = 0, avrageSpeed = 0;
        if (index === 0) {
            for (const path of list) {
                distance += Number(path.distance) || 0;
                drivingTime += Number(path.drivingTime) || 0;
                maxSpeed = Math.max(maxSpeed, Number(path.maxSpeed) || 0);
                avrageSpeed += Number(path.avrageSpeed) || 0;
            }
            stopTime = 86400 - drivingTime;
            if (list.length > 0)
                avrageSpeed /= list.length;
        } else if (index >= 1 && index <= list.length) {
            const path = list[index - 1];
            distance = Number(path.distance) || 0;
            drivingTime = Number(path.drivingTime) || 0;
            stopTime = Number(path.stopTime) || 0;
            maxSpeed = Number(path.maxSpeed) || 0;
            avrageSpeed = Number(path.avrageSpeed) || 0;
        }
        return {
            "distance": distance / 1000 + " km",
            "drivingTime": formatDuration(drivingTime),
            "stopTime": formatDuration(stopTime),
            "maxSpeed": formatSpeed(maxSpeed),
            "avrageSpeed": formatSpeed(avrageSpeed)
        };
    }

    visible: true
    minimumWidth: 350
    minimumHeight: 550
    title: "سامانه رهگیری خودرو"
    font.family: _font.name
    LayoutMirroring.enabled: true
    LayoutMirroring.childrenInherit: true

    onCurrentOperationChanged: _applyOperation(currentOperation)
    onDevicesChanged: currentDeviceIndex = chooseDeviceIndex(devices, _appSettings.currentDeviceIndex)
    onCurrentDeviceIndexChanged: _appSettings.currentDeviceIndex = currentDeviceIndex
    onCarCoordChanged: _appSettings.lastCarCoord = carCoord
    onCurrentLocationChanged: _applyLocation(currentLocation)

    Component.onCompleted: {
        width += 1;
        height += 1;
        showMaximized();
        announceAppOpen();
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
                    color: "#39538a"
                }
                GradientStop {
                    position: 0.5
                    color: "#071136"
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

        onSmsReceived: (sender, message) => _mainWindow.handleOfflineAnswer(sender, message)
    }

    GpsManager {
        id: _gpsManager

        function actions(): void {
            if (gpsIsOn) {
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

    Server {
        id: _server

        property bool lastLocatinBusy: false
        property bool geofencePolygonLoaded: false

        onLastLocationReply: location => {
            _mainWindow.currentLocation = location;
            lastLocatinBusy = false;
        }
        onLastLocationError: lastLocatinBusy = false
        onSettingsReply: settings => _mainWindow.handleSettings(settings)
        onDebriefingReply: _mainWindow.handleTripReply()
        onDebriefingError: errorCode => _mainWindow.handleTripError(errorCode)
    }

    ServerPing {
        id: _serverPing

        url: _server.serverHostUrl
    }

    Component {
        id: _appOpenPostComponent

        HttpPost {
            url: _server.appInterfaceUrl
            timeout: 10000
            onResponseReady: response => _mainWindow._onAppOpenReply(response)
            onTextResponseReady: (response, status) => console.log("appOpen reply:", status, String(response))
            onError: console.log("appOpen failed:", errorText)
        }
    }

    HttpPost {
        id: _getStatusPost

        url: _server.appInterfaceUrl
        timeout: 5000
        requestObject: ({
                "command": "getStatus",
                "imei": _mainWindow.currentDevice.imei
            })
        onResponseReady: response => _mainWindow.handleStatusReply(response)
    }

    Timer {
        id: _getLocationTimer

        interval: 1000
        repeat: true
        triggeredOnStart: true
        running: _mainWindow.currentOperation === Globals.LiveTracking_Operation
                 || _mainWindow.currentOperation === Globals.CarControl_Operation
        onTriggered: _mainWindow._pollLocation()
    }

    Timer {
        id: _getStatusTimer

        interval: 2000
        repeat: true
        triggeredOnStart: true
        running: _getLocationTimer.running
        onTriggered: _getStatusPost.post()
    }

    Timer {
        id: _getSettingsTimer

        interval: 2000
        repeat: true
        triggeredOnStart: true
        running: _mainWindow.currentOperation === Globals.Settings_Operation
                 || _mainWindow.currentOperation === Globals.CarControl_Operation
        onTriggered: _server.getSettings(_mainWindow.currentDevice.imei ?? 0)
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

    Shortcut {
        context: Qt.ApplicationShortcut
        sequences: ["Esc", "Back"]
        onActivated: _mainWindow.escapeStep()
    }

    // ---- Tool bars ----

    header: ToolBar {
        Material.primary: "#354d82"
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
                onClicked: _mainWindow.requestOfflineStatus()

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

                visible: _mainWindow.currentOperation === Globals.GeoFence_Operation
                icon.source: "qrc:/graphics/geofence.svg"
                text: "انتقال محدوده به وسط نقشه"
                ToolTip.visible: hovered
                ToolTip.text: text
                onClicked: _mainWindow.centerGeofence()
            }

            ToolButton {
                id: _btnDebriefing_AdvanceInfo

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

    footer: ToolBar {
        Material.foreground: "white"
        Material.primary: "#AA354d82"
        font.pixelSize: 0.9 * _mainWindow.basePixelSize
        visible: _mainWindow.currentOperation === Globals.CarControl_Operation

        component FooterButton: ToolButton {
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            Layout.alignment: Qt.AlignBottom
            Layout.bottomMargin: -5
            display: AbstractButton.TextUnderIcon
            spacing: -5
            padding: 2
        }

        RowLayout {
            anchors.fill: parent
            spacing: 0

            FooterButton {
                text: "تنظیمات"
                icon.source: "qrc:/graphics/configuration.svg"
                onClicked: _mainWindow.currentOperation = Globals.Settings_Operation
            }
            FooterButton {
                text: "گزارش مسیر"
                icon.source: "qrc:/graphics/currentLocation.svg"
                onClicked: _mainWindow.currentOperation = Globals.Debriefing_Operation
            }
            FooterButton {
                text: "شنود"
                icon.source: "qrc:/graphics/ear.svg"
                onClicked: _call.directCall(_mainWindow.currentDevice.simNumber ?? "")
            }
            FooterButton {
                text: "خروج"
                icon.source: "qrc:/graphics/exit.svg"
                onClicked: _mainWindow.logout()
            }
        }
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
        fingerEnabled: _mainWindow.mobilePlatform && _appSettings.firstLogin && _userManagmentSettingPage.fingerEnabled
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
        providersRepository: _server.mapProvidersUrl
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
        onExitRouting: _mainWindow.exitRoutingAndLockToCar()
    }

    Connections {
        target: _map.myRouteToCar

        function onRouteUpdated(): void {
            _mainTooltip.close();
        }

        function onRouteError(): void {
            _mainWindow.showTooltip("خطای مسیریابی", 3000);
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
        onItemSelected: index => _mainWindow.openSettingsEntry(index)
        onChangeDevice: _mainStackView.push(_deviceSelectionPage)
    }

    NewLoginSettingPage {
        id: _newLoginSettingPage

        visible: false
        onRegistered: _userManagmentSettingPage.fingerEnabled = _loginPage.isBiometricSupported
    }

    MapSettingPage {
        id: _mapSettingPage

        visible: false
    }

    UserManagmentSettingPage {
        id: _userManagmentSettingPage

        visible: false
        isBiometricSupported: _loginPage.isBiometricSupported
        onPasswordChanged: _loginPage.clearPassword()
    }

    DeviceSettings_Global {
        id: _deviceSettings_Global
        objectName: "_deviceSettings_Global"

        visible: false
    }

    DeviceSettings_Alarms {
        id: _deviceSettings_Alarms
        objectName: "_deviceSettings_Alarms"

        visible: false
    }

    DeviceSettings_Listen {
        id: _deviceSettings_Listen
        objectName: "_deviceSettings_Listen"

        visible: false
    }

    DeviceSettings_DeviceInfo {
        id: _deviceSettings_DeviceInfo

        visible: false
        imei: _mainWindow.currentDevice.imei !== undefined ? String(_mainWindow.currentDevice.imei) : ""
    }

    DeviceSettings_Server {
        id: _deviceSettings_Server
        objectName: "_deviceSettings_Server"

        visible: false
    }

    DeviceSettings_Sending {
        id: _deviceSettings_Sending

        visible: false
    }

    DeviceSettings_Appearance {
        id: _deviceSettings_Appearance

        visible: false
        currentIndex: _mainWindow.basePixelSizeFactorIndex
        onCurrentIndexChanged: _mainWindow.basePixelSizeFactorIndex = currentIndex
    }

    Support {
        id: _support

        visible: false
    }

    ShareLocation {
        id: _shareLocation
        objectName: "_shareLocation"

        visible: false
    }

    DebriefingPlaybackDialog {
        id: _debriefingDialog
        objectName: "_debriefingDialog"

        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 50
        visible: _mainWindow.currentOperation === Globals.Debriefing_Operation
    }

    ParametersItem {
        // Mirrored: anchoring to the left puts the panel at the top right.
        anchors.top: parent.top
        anchors.left: parent.left
        visible: (_mainWindow.currentOperation === Globals.LiveTracking_Operation
                  || _mainWindow.currentOperation === Globals.Debriefing_Operation) && _mainStackView.currentItem === _map
    }

    GeoFenceInOutSettings {
        id: _geoFenceInOutSettings

        anchors.centerIn: parent
    }

    ServerMessage {
        id: _serverMessage

        anchors.centerIn: parent
        width: Math.min(_mainWindow.width * 0.7, 250)
        height: Math.min(_mainWindow.height * 0.7, 400)
    }

    Popup {
        id: _path_AdvanceInfo_popup

        readonly property var texts: _mainWindow.tripFigureTexts(_mainWindow.pathsAdvanceInfo, _debriefingDialog.currentPathIndex)

        x: _mainWindow.width - width - 1

        component FigureHeading: Label {
            font.bold: true
            font.pixelSize: _mainWindow.basePixelSize
        }

        component FigureValue: Label {
            font.family: _font_lato.name
            font.pixelSize: _mainWindow.basePixelSize
        }

        GroupBox {
            title: "اطلاعات مسیر"

            GridLayout {
                columns: 2

                FigureHeading {
                    text: "مسافت طی شده: "
                }
                FigureValue {
                    text: _path_AdvanceInfo_popup.texts.distance
                }
                FigureHeading {
                    text: "مدت زمان رانندگی: "
                }
                FigureValue {
                    text: _path_AdvanceInfo_popup.texts.drivingTime
                }
                FigureHeading {
                    text: "مدت زمان توقف: "
                }
                FigureValue {
                    text: _path_AdvanceInfo_popup.texts.stopTime
                }
                FigureHeading {
                    text: "سرعت ماکزیمم: "
                }
                FigureValue {
                    text: _path_AdvanceInfo_popup.texts.maxSpeed
                }
                FigureHeading {
                    text: "سرعت میانگین: "
                }
                FigureValue {
                    text: _path_AdvanceInfo_popup.texts.avrageSpeed
                }
            }
        }
    }

    Popup {
        id: _closeDialog
        objectName: "_closeDialog"

        anchors.centerIn: parent
        modal: true
        padding: 25
        closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside

        GridLayout {
            columns: 2
            columnSpacing: 10

            Label {
                Layout.columnSpan: 2
                text: "آیا برای خروج اطمینان دارید؟"
                font.pointSize: 2.2 * Screen.pixelDensity
            }
            Button {
                Layout.minimumWidth: 100
                highlighted: true
                text: "انصراف"
                onClicked: _closeDialog.close()
            }
            Button {
                Layout.minimumWidth: 100
                highlighted: true
                Material.accent: "#aadd5555"
                text: "بلی"
                onClicked: Qt.quit()
            }
        }
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

    ToolTip {
        id: _mainTooltip
        objectName: "_mainTooltip"

        x: (_mainWindow.width - width) / 2
        y: _mainWindow.height * (_mainWindow.currentOperation === Globals.CarControl_Operation ? 0.1 : 0.8)
        timeout: 3000
        background: Rectangle {
            color: "#dd071136"
            radius: 2
        }
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
