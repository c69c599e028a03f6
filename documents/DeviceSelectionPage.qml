pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls

// Lists the devices of the login reply; choosing one makes it the device every page works on.
ListView {
    id: _deviceSelectionPage

    signal deviceChosen(int index)

    clip: true
    delegate: ItemDelegate {
        required property int index
        required property var modelData

        width: ListView.view.width
        text: String(modelData.imei ?? "")
        onClicked: _deviceSelectionPage.deviceChosen(index)
    }
}
