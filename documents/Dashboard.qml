import QtQuick
import QtQuick.Controls

Page {
    id: _dashboard

    property bool carOnState: true
    property bool multiAlarm: false
    property bool autoLockState: false
}
