pragma ComponentBehavior: Bound

import QtQuick

// Lists the devices of the login reply; choosing one makes it the device every page works on.
ListView {
    id: _deviceSelectionPage

    signal deviceChosen(int index)

    clip: true
    delegate: Rectangle {
        id: _row

        required property int index
        required property var modelData
        readonly property bool current: index === _mainWindow.currentDeviceIndex

        width: ListView.view.width
        height: _item.height
        color: current ? Qt.rgba(1, 1, 1, 0.1) : "transparent"

        DeviceItem {
            id: _item

            width: parent.width
            params: _row.modelData
            current: _row.current
            underlineVisibility: _deviceSelectionPage.count > 1
        }

        MouseArea {
            anchors.fill: parent
            onClicked: _deviceSelectionPage.deviceChosen(_row.index)
        }
    }
}
