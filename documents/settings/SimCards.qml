import QtQuick
import QtQuick.Controls.Material
import QtCore

// Chooses the SIM slot of a dual-SIM phone through which SMS go to the car.
Row {
    id: _simCards

    property alias simSlot: _simSettings.simSlot

    spacing: 0
    onSimSlotChanged: _smsManager.simSlot = simSlot
    Component.onCompleted: {
        _smsManager.simSlot = simSlot;
        if (!_smsManager.isDualSim)
            simSlot = 0;
    }

    Settings {
        id: _simSettings

        property int simSlot: 0
    }

    Item {
        width: _simCards.width - _sim1.width - _sim2.width
        height: 1
    }

    // Inline components do not see this document's ids: each button is told its size and state.
    component SimButton: MyButton {
        padding: 0
        leftInset: 0
        rightInset: 0
        topInset: 0
        bottomInset: 0
        display: AbstractButton.IconOnly
        flat: !highlighted
        Material.roundedScale: Material.ExtraSmallScale
    }

    SimButton {
        id: _sim1

        objectName: "_sim1"
        width: 80 / Math.max(basePixelSizeFactor, 1)
        height: _simCards.height
        icon.source: "qrc:/graphics/sim-1.svg"
        highlighted: _simCards.simSlot === 0
        onClicked: _simCards.simSlot = 0
    }

    SimButton {
        id: _sim2

        objectName: "_sim2"
        width: _sim1.width
        height: _simCards.height
        icon.source: "qrc:/graphics/sim-2.svg"
        highlighted: _simCards.simSlot === 1
        onClicked: _simCards.simSlot = 1
    }
}
