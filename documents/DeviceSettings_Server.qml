import QtQuick
import QtQuick.Controls

// The server the device reports to.
Page {
    property string serverUrl: ""
}
