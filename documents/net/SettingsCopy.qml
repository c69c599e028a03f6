import QtQuick
import globals
import "LiveDataRules.js" as LiveDataRules

// Asks for the device's settings while the settings or car-control screens are open and copies
// each report into the pages that show its values, and the reported zone onto the map once.
QtObject {
    id: _settingsCopy

    required property int operation
    required property var device
    required property TrackingServer server
    required property SettingsPages settingsPages
    required property Dashboard dashboard
    required property MapView map
    required property GeoFenceInOutSettings geofenceSettings

    property var deviceSettings: ({})

    function handleSettings(settings: var): void {
        if (!settings)
            return;
        deviceSettings = settings;
        _copyIntoPages(settings);
        // The zone being edited in the settings pages is never overwritten.
        if (!server.geofencePolygonLoaded && operation !== Globals.Settings_Operation
                && operation !== Globals.GeoFence_Operation) {
            map.geofenceItem.setPoints(settings.geoFencePolygon);
            server.geofencePolygonLoaded = true;
            geofenceSettings.setInOut(settings.geoFenceInOut);
        }
    }

    // Pages not yet made are skipped: each reads the last report when it is made.
    function _copyIntoPages(settings: var): void {
        const pages = {
            "alarms": settingsPages.alarmsPage,
            "sending": settingsPages.sendingPage,
            "listen": settingsPages.listenPage,
            "deviceInfo": settingsPages.deviceInfoPage,
            "server": settingsPages.serverPage,
            "dashboard": dashboard
        };
        for (const copy of LiveDataRules.settingsAssignments(settings)) {
            const page = pages[copy.page];
            if (page)
                page[copy.property] = copy.value;
        }
    }

    readonly property Connections _pagesMade: Connections {
        target: _settingsCopy.settingsPages

        function onPageMade(): void {
            _settingsCopy._copyIntoPages(_settingsCopy.deviceSettings);
        }
    }

    readonly property Connections _serverReplies: Connections {
        target: _settingsCopy.server

        function onSettingsReply(settings: var): void {
            _settingsCopy.handleSettings(settings);
        }
    }

    readonly property Timer _settingsPolling: Timer {
        id: _getSettingsTimer
        objectName: "_getSettingsTimer"

        interval: 2000
        repeat: true
        triggeredOnStart: true
        running: _settingsCopy.operation === Globals.Settings_Operation
                 || _settingsCopy.operation === Globals.CarControl_Operation
        onTriggered: _settingsCopy.server.getSettings(_settingsCopy.device.imei ?? 0)
    }
}
