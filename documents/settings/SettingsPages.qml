import QtQuick
import QtPositioning

// The pages that the settings menu opens, its entries' and the choice of device, out of sight
// until the page stack shows one and again once it has let it go.
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
    property alias fingerEnabled: _userManagmentSettingPage.fingerEnabled
    property alias mapStyleIndex: _mapSettingPage.activeStyleIndex
    readonly property alias alarmsPage: _deviceSettings_Alarms
    readonly property alias sendingPage: _deviceSettings_Sending
    readonly property alias listenPage: _deviceSettings_Listen
    readonly property alias deviceInfoPage: _deviceSettings_DeviceInfo
    readonly property alias serverPage: _deviceSettings_Server
    readonly property alias deviceSelectionPage: _deviceSelectionPage
    readonly property alias newLoginPage: _newLoginSettingPage

    signal editGeofence
    signal chooseGeofenceMode
    signal passwordChanged
    signal callRequested(string number)
    signal sizeFactorChosen(int index)
    signal deviceChosen(int index)
    // The server took a new SIM number for the current device (already in its record).
    signal simNumberAccepted

    // The page of a menu entry; the SIM entry has none.
    function page(entry: string): Item {
        switch (entry) {
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
        case "Menu_History":
            return _commandHistoryPage;
        }
        return null;
    }

    DeviceSelectionPage {
        id: _deviceSelectionPage
        objectName: "_deviceSelectionPage"

        visible: false
        model: _settingsPages.devices
        onDeviceChosen: index => _settingsPages.deviceChosen(index)
    }

    NewLoginSettingPage {
        id: _newLoginSettingPage
        objectName: "_newLoginSettingPage"

        visible: false
        onRegistered: _userManagmentSettingPage.fingerEnabled = _settingsPages.biometricSupported
        onSimNumberAccepted: _settingsPages.simNumberAccepted()
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
        isBiometricSupported: _settingsPages.biometricSupported
        loginUsername: _settingsPages.loginUsername
        onPasswordChanged: _settingsPages.passwordChanged()
    }

    DeviceSettings_Global {
        id: _deviceSettings_Global
        objectName: "_deviceSettings_Global"

        visible: false
        device: _settingsPages.device
        forceUnlockNumber1: _settingsPages.deviceSettings.forceUnlockNumber1 ?? 1
        forceUnlockNumber2: _settingsPages.deviceSettings.forceUnlockNumber2 ?? 1
        onSimNumberAccepted: _settingsPages.simNumberAccepted()
    }

    DeviceSettings_Alarms {
        id: _deviceSettings_Alarms
        objectName: "_deviceSettings_Alarms"

        visible: false
        geofenceCoords: _settingsPages.geofenceCoords
        geofenceInOut: _settingsPages.geofenceInOut
        onEditGeofence: _settingsPages.editGeofence()
        onChooseGeofenceMode: _settingsPages.chooseGeofenceMode()
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
        imei: _settingsPages.device.imei !== undefined ? String(_settingsPages.device.imei) : ""
        firmwareVersion: _settingsPages.firmwareVersion
        mobileOperator: _settingsPages.deviceSettings.mobileOperator
        deviceFirstUse: _settingsPages.device.deviceFirstUse ?? ""
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
        currentIndex: _settingsPages.sizeFactorIndex
        factors: _settingsPages.sizeFactors
        onCurrentIndexChanged: _settingsPages.sizeFactorChosen(currentIndex)
    }

    Support {
        id: _support
        objectName: "_support"

        visible: false
        onCallRequested: number => _settingsPages.callRequested(number)
    }

    CommandHistoryPage {
        id: _commandHistoryPage
        objectName: "_commandHistoryPage"

        visible: false
        device: _settingsPages.device
        rootLogin: _settingsPages.rootLogin
    }
}
