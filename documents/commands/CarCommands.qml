import QtQuick
import QtCore
import smsManager

// Every command for the current car leaves from here: one device frame by SMS to the car's SIM,
// from the SIM slot the owner chose.
QtObject {
    id: _carCommands

    required property SmsManager smsManager
    required property var device

    readonly property string unknownSimText: "شماره سیم‌کارت دستگاه مشخص نیست؛ دستوری ارسال نشد"

    // A frame handed to the SMS service for the car's SIM.
    signal frameSent(simNumber: string, frame: string)

    // Without the car's SIM number nothing can leave: the owner is told so, and the editor that
    // waits for this frame (a RemoteEditor or a BusyButton, or null) comes to rest instead.
    function send(frame: string, editor: var): bool {
        const simNumber = String(device.simNumber ?? "");
        if (simNumber === "" || frame === "") {
            if (simNumber === "")
                _mainTooltip.show(unknownSimText, 5000);
            editor?.rest();
            return false;
        }
        smsManager.sendSms(simNumber, frame);
        frameSent(simNumber, frame);
        return true;
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
