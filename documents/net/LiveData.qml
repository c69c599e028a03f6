import QtQuick
import QtPositioning
import QtCore
import globals
import kova.tools
import notification
import smsManager
import mySettings
import "qmlItems"
import "JsTools.js" as JsTools
import "LiveDataRules.js" as LiveDataRules

// Keeps the car's status and location current while the owner watches it: the polling timers,
// the location replies, the status request and its alarms, and the offline request by SMS. The
// window publishes the state it holds here under its own names.
QtObject {
    id: _liveData

    required property int operation
    required property var device
    // The map follows the car while this is "car".
    required property string lockState
    required property TrackingServer server
    required property Tools tools
    required property Notification notification
    required property SmsManager smsManager
    required property MapView map
    required property Dashboard dashboard
    required property SettingsMenu settingsMenu
    required property RoundBusyBotton offlineButton
    required property MainTooltip tooltip
    required property CarCommands carCommands

    property var currentLocation
    property var currentStatus
    property geoCoordinate carCoord: QtPositioning.coordinate(0, 0)

    readonly property string offlineRequestFrame: "[oribel,55]}]"
    readonly property bool _watchingCar: operation === Globals.LiveTracking_Operation
                                         || operation === Globals.CarControl_Operation

    // Entering live tracking or car control asks at once, with the first-request flag.
    function requestFirstLocation(): void {
        server.lastLocatinBusy = true;
        server.getLastLocation(device.imei ?? 0, true);
    }

    function applyLocation(location: var): void {
        if (!location)
            return;
        const coord = QtPositioning.coordinate(location.lat, location.lon);
        // A reply that repeats the last position is no news: the marker pulses for a move.
        const moved = coord.latitude !== carCoord.latitude || coord.longitude !== carCoord.longitude;
        carCoord = coord;
        map.locationItem.coordWithAnimation = carCoord;
        if (moved)
            map.locationItem.relive();
        if (lockState === "car") {
            map.centerOn(carCoord);
            map.bearing = LiveDataRules.followHeading(Number(location.course) || 0, map.bearing);
        }
        if (location.version !== undefined)
            settingsMenu.firmwareVersion = location.version;
    }

    function handleStatusReply(reply: var): void {
        if (!reply || !reply.isValid)
            return;
        if (reply.status !== undefined) {
            // A record too short to read gives an empty map; the last good status stays.
            const status = tools.parsStatus(reply.status);
            if (Object.keys(status).length > 0)
                currentStatus = status;
        }
        for (const alert of LiveDataRules.eventAlerts(reply))
            notification.notify(alert.title, alert.text, "icon");
    }

    function requestOfflineStatus(): void {
        carCommands.sendTo(MySettings.deviceSimNumber, offlineRequestFrame, null);
        tooltip.show("اخطار: با هر بار استفاده از اطلاعات افلاین یک پیامک از گوشی و یک پیامک از دستگاه استفاده می‌شود.", 8000);
    }

    // The device's SMS answer to the offline request; anything else is ignored. Returns whether
    // the message was taken.
    function handleOfflineAnswer(sender: string, message: string): bool {
        if (!JsTools.comparePhoneNumber(sender, device.simNumber))
            return false;
        const answer = LiveDataRules.parseOfflineAnswer(message);
        if (!answer)
            return false;
        offlineButton.state = "ready";
        carCommands.follower.takeSmsAnswer(String(device.imei ?? ""));
        if (answer.location)
            currentLocation = answer.location;
        else
            tooltip.show("اطلاعات موقعیتی gps صحیح نیست", 5000);
        currentStatus = answer.status;
        dashboard.carOnState = answer.carOnState;
        return true;
    }

    onCurrentLocationChanged: applyLocation(currentLocation)
    onCarCoordChanged: _memory.lastCarCoord = carCoord

    // The car's last known place, shown until the first location reply of the next start.
    readonly property Settings _memory: Settings {
        id: _memory

        property var lastCarCoord

        Component.onCompleted: {
            if (lastCarCoord && lastCarCoord.isValid)
                _liveData.carCoord = lastCarCoord;
        }
    }

    readonly property Connections _serverReplies: Connections {
        target: _liveData.server

        function onLastLocationReply(location: var): void {
            _liveData.currentLocation = location;
            _liveData.server.lastLocatinBusy = false;
        }

        function onLastLocationError(): void {
            _liveData.server.lastLocatinBusy = false;
        }
    }

    readonly property Connections _smsArrivals: Connections {
        target: _liveData.smsManager

        function onSmsReceived(sender: string, message: string): void {
            _liveData.handleOfflineAnswer(sender, message);
        }
    }

    readonly property HttpPost _statusRequest: HttpPost {
        id: _getStatusPost
        objectName: "_getStatusPost"

        url: _liveData.server.appInterfaceUrl
        timeout: 5000
        requestObject: ({
                "command": "getStatus",
                "imei": _liveData.device.imei
            })
        onResponseReady: response => _liveData.handleStatusReply(response)
    }

    // At most one location request is outstanding; the reply or the error releases the flag.
    readonly property Timer _locationPolling: Timer {
        id: _getLocationTimer

        interval: 1000
        repeat: true
        triggeredOnStart: true
        running: _liveData._watchingCar
        onTriggered: {
            if (_liveData.server.lastLocatinBusy)
                return;
            _liveData.server.lastLocatinBusy = true;
            _liveData.server.getLastLocation(_liveData.device.imei ?? 0);
        }
    }

    readonly property Timer _statusPolling: Timer {
        id: _getStatusTimer

        interval: 2000
        repeat: true
        triggeredOnStart: true
        running: _liveData._watchingCar
        onTriggered: _getStatusPost.post()
    }
}
