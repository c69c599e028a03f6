pragma ComponentBehavior: Bound

import QtQuick

// The share page, made the first time the owner opens it rather than at the start.
Loader {
    id: _shareLocationLoader

    required property string imei
    required property var trackingUrl
    required property bool mobilePlatform

    function page(): ShareLocation {
        active = true;
        return item as ShareLocation;
    }

    active: false
    sourceComponent: ShareLocation {
        objectName: "_shareLocation"
        visible: false
        imei: _shareLocationLoader.imei
        trackingUrl: _shareLocationLoader.trackingUrl
        mobilePlatform: _shareLocationLoader.mobilePlatform
    }
}
