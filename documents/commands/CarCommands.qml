import QtQuick
import QtCore
import smsManager

// Every command for the current car leaves from here: one device frame by SMS to the car's SIM,
// from the SIM slot the owner chose.
QtObject {
    id: _carCommands

    required property SmsManager smsManager
    required property var device

    function send(frame: string): void {
        smsManager.sendSms(device.simNumber ?? "", frame);
    }

    // The SIM chooser sits in the settings menu; its remembered slot holds from the start, not
    // only once the menu has been opened, and a phone left with one SIM sends from that one.
    function applyRememberedSimSlot(): void {
        smsManager.simSlot = smsManager.isDualSim ? Number(_memory.value("simSlot", 0)) : 0;
    }

    Component.onCompleted: applyRememberedSimSlot()

    readonly property Settings _memory: Settings {
        id: _memory
    }

    readonly property Connections _simChanges: Connections {
        target: _carCommands.smsManager

        function onIsDualSimChanged(): void {
            _carCommands.applyRememberedSimSlot();
        }
    }
}
