import QtQuick
import QtQuick.Controls.Material

// Facts about the device, the same the settings menu's banner shows, with its serial number.
Page {
    id: _deviceInfoPage

    property string imei: ""
    property string firmwareVersion: ""
    property var mobileOperator
    property string deviceFirstUse: ""
    property int tamper: 0

    background: null

    DeviceFacts {
        objectName: "_deviceFacts"
        x: 20
        y: 20
        width: _deviceInfoPage.width - 40
        // Each value under its label where the two would not fit side by side.
        columns: width >= basePixelSize * 18 ? 2 : 1
        rowSpacing: columns === 2 ? 15 : 5
        serialShown: true
        imei: _deviceInfoPage.imei
        firmwareVersion: _deviceInfoPage.firmwareVersion
        mobileOperator: _deviceInfoPage.mobileOperator
        deviceFirstUse: _deviceInfoPage.deviceFirstUse
    }
}
