import QtQuick
import QtQuick.Controls

// Facts about the device.
Page {
    property string imei: ""
    property int tamper: 0
}
