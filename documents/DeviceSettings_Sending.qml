import QtQuick
import QtQuick.Controls

// How often and how finely the device reports.
Page {
    property int sendRate: 0
    property int logResolation: 0
}
