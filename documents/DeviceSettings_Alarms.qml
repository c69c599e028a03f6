import QtQuick
import QtQuick.Controls

// The device's alarm report numbers, alarm types, speed limit and shock sensitivity, as last
// reported by the device.
Page {
    property string reportNumber1: ""
    property string reportNumber2: ""
    property int geoFenceAlarmType: 0
    property int doorAlarmType: 0
    property int trunkAlarmType: 0
    property int switchAlarmType: 0
    property int carringAlarmType: 0
    property int powerDisconnectAlarmType: 0
    property int overSpeedAlarmType: 0
    property int shakeAlarmType: 0
    property int shockSensitivity: 0
    property int overSpeed: 0
}
