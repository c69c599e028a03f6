import QtQuick
import QtQuick.Controls

// Numbers allowed to listen in, as last reported by the device.
Page {
    property string listenUser1: ""
    property string listenUser2: ""
    property string listenUser3: ""
}
