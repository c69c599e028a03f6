import QtQuick
import QtQuick.Controls.Material
import globals

// The window's pages, one over the other: the maps take the window's whole width, every other
// page at most a phone's width in the middle.
StackView {
    id: _pageStack

    required property int operation
    // While a back step runs, operation changes do not push pages.
    property bool lock: false

    readonly property bool _fullWidth: operation === Globals.LiveTracking_Operation
                                       || operation === Globals.Debriefing_Operation
                                       || operation === Globals.GeoFence_Operation

    anchors.bottom: parent.bottom
    anchors.horizontalCenter: parent.horizontalCenter
    width: Math.max(350, _fullWidth ? parent.width : Math.min(parent.width, 550))
}
