pragma ComponentBehavior: Bound

import QtQuick
import QtCore
import QtPositioning

// The pages that the settings menu opens, the first login's setup and the choice of device.
// Each page is made the first time it is asked for, so none of them costs the start; what must
// outlive a page (the map type, the fingerprint switch) is kept here.
Item {
    id: _settingsPages

    // The devices of the login reply.
    required property var devices
    required property var device
    required property var deviceSettings
    // The location records carry the version; the menu keeps the last one.
    required property string firmwareVersion
    required property list<geoCoordinate> geofenceCoords
    required property int geofenceInOut
    required property bool biometricSupported
    required property bool rootLogin
    required property string loginUsername
    required property list<real> sizeFactors
    required property int sizeFactorIndex
    property bool fingerEnabled: true
    property int mapStyleIndex: 0
    // The pages that show reported settings, or null while not yet made.
    readonly property DeviceSettings_Alarms alarmsPage: _alarmsLoader.item as DeviceSettings_Alarms
    readonly property DeviceSettings_Sending sendingPage: _sendingLoader.item as DeviceSettings_Sending
    readonly property DeviceSettings_Listen listenPage: _listenLoader.item as DeviceSettings_Listen
    readonly property DeviceSettings_DeviceInfo deviceInfoPage: _deviceInfoLoader.item as DeviceSettings_DeviceInfo
    readonly property DeviceSettings_Server serverPage: _serverLoader.item as DeviceSettings_Server

    signal editGeofence
    signal chooseGeofenceMode
    signal passwordChanged
    signal callRequested(string number)
    signal sizeFactorChosen(int index)
    signal deviceChosen(int index)
    // The server took a new SIM number for the current device (already in its record).
    signal simNumberAccepted
    // A page was just made: whatever it shows from earlier reports is copied into it now.
    signal pageMade

    // The page of a menu entry, of the first login's setup ("NewLogin") or of the choice of
    // device ("DeviceSelection"), made now if it was not yet; null for the SIM entry.
    function page(entry: string): Item {
        const loader = _loader(entry);
        if (!loader)
            return null;
        loader.active = true;
        return loader.item as Item;
    }

    function _loader(entry: string): Loader {
        switch (entry) {
        case "Menu_General":
            return _globalLoader;
        case "Menu_Alarms":
            return _alarmsLoader;
        case "Menu_Listening":
            return _listenLoader;
        case "Menu_Users":
            return _usersLoader;
        case "Menu_Appearance":
            return _appearanceLoader;
        case "Menu_Map":
            return _mapSettingsLoader;
        case "Menu_Server":
            return _serverLoader;
        case "Menu_Data":
            return _sendingLoader;
        case "Menu_PersonalInfo":
        case "NewLogin":
            return _newLoginLoader;
        case "Menu_Device":
            return _deviceInfoLoader;
        case "Menu_Support":
            return _supportLoader;
        case "Menu_History":
            return _commandHistoryLoader;
        case "DeviceSelection":
            return _deviceSelectionLoader;
        }
        return null;
    }

    // Same key and file as the map settings page used, so a stored choice carries over.
    Settings {
        property alias _activeStyleIndex: _settingsPages.mapStyleIndex
    }

    component PageLoader: Loader {
        active: false
        onLoaded: _settingsPages.pageMade()
    }

    PageLoader {
        id: _deviceSelectionLoader

        sourceComponent: DeviceSelectionPage {
            objectName: "_deviceSelectionPage"
            visible: false
            model: _settingsPages.devices
            onDeviceChosen: index => _settingsPages.deviceChosen(index)
        }
    }

    PageLoader {
        id: _newLoginLoader

        sourceComponent: NewLoginSettingPage {
            objectName: "_newLoginSettingPage"
            visible: false
            onRegistered: _settingsPages.fingerEnabled = _settingsPages.biometricSupported
            onSimNumberAccepted: _settingsPages.simNumberAccepted()
        }
    }

    PageLoader {
        id: _mapSettingsLoader

        sourceComponent: MapSettingPage {
            objectName: "_mapSettingPage"
            visible: false
            activeStyleIndex: _settingsPages.mapStyleIndex
            onStyleChosen: index => _settingsPages.mapStyleIndex = index
        }
    }

    PageLoader {
        id: _usersLoader

        sourceComponent: UserManagmentSettingPage {
            objectName: "_userManagmentSettingPage"
            visible: false
            isBiometricSupported: _settingsPages.biometricSupported
            loginUsername: _settingsPages.loginUsername
            fingerEnabled: _settingsPages.fingerEnabled
            onFingerChosen: enabled => _settingsPages.fingerEnabled = enabled
            onPasswordChanged: _settingsPages.passwordChanged()
        }
    }

    PageLoader {
        id: _globalLoader

        sourceComponent: DeviceSettings_Global {
            objectName: "_deviceSettings_Global"
            visible: false
            device: _settingsPages.device
            forceUnlockNumber1: _settingsPages.deviceSettings.forceUnlockNumber1 ?? 1
            forceUnlockNumber2: _settingsPages.deviceSettings.forceUnlockNumber2 ?? 1
            onSimNumberAccepted: _settingsPages.simNumberAccepted()
        }
    }

    PageLoader {
        id: _alarmsLoader

        sourceComponent: DeviceSettings_Alarms {
            objectName: "_deviceSettings_Alarms"
            visible: false
            geofenceCoords: _settingsPages.geofenceCoords
            geofenceInOut: _settingsPages.geofenceInOut
            onEditGeofence: _settingsPages.editGeofence()
            onChooseGeofenceMode: _settingsPages.chooseGeofenceMode()
        }
    }

    PageLoader {
        id: _listenLoader

        sourceComponent: DeviceSettings_Listen {
            objectName: "_deviceSettings_Listen"
            visible: false
        }
    }

    PageLoader {
        id: _deviceInfoLoader

        sourceComponent: DeviceSettings_DeviceInfo {
            objectName: "_deviceSettings_DeviceInfo"
            visible: false
            imei: _settingsPages.device.imei !== undefined ? String(_settingsPages.device.imei) : ""
            firmwareVersion: _settingsPages.firmwareVersion
            mobileOperator: _settingsPages.deviceSettings.mobileOperator
            deviceFirstUse: _settingsPages.device.deviceFirstUse ?? ""
        }
    }

    PageLoader {
        id: _serverLoader

        sourceComponent: DeviceSettings_Server {
            objectName: "_deviceSettings_Server"
            visible: false
        }
    }

    PageLoader {
        id: _sendingLoader

        sourceComponent: DeviceSettings_Sending {
            objectName: "_deviceSettings_Sending"
            visible: false
        }
    }

    PageLoader {
        id: _appearanceLoader

        sourceComponent: DeviceSettings_Appearance {
            objectName: "_deviceSettings_Appearance"
            visible: false
            currentIndex: _settingsPages.sizeFactorIndex
            factors: _settingsPages.sizeFactors
            onCurrentIndexChanged: _settingsPages.sizeFactorChosen(currentIndex)
        }
    }

    PageLoader {
        id: _supportLoader

        sourceComponent: Support {
            objectName: "_supportLoader"
            visible: false
            onCallRequested: number => _settingsPages.callRequested(number)
        }
    }

    PageLoader {
        id: _commandHistoryLoader

        sourceComponent: CommandHistoryPage {
            objectName: "_commandHistoryPage"
            visible: false
            device: _settingsPages.device
            rootLogin: _settingsPages.rootLogin
        }
    }
}
