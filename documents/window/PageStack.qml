import QtQuick
import QtQuick.Controls.Material
import globals

// The window's pages, one over the other; the maps want the window's whole width, every other
// page at most a phone's width.
StackView {
    id: _pageStack

    required property int operation
    // While a back step runs, operation changes do not push pages.
    property bool lock: false

    readonly property bool fullWidth: operation === Globals.LiveTracking_Operation
                                      || operation === Globals.Debriefing_Operation
                                      || operation === Globals.GeoFence_Operation
}
