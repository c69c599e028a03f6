import QtQuick
import QtCore
import smsManager
import commandJournal

// Every command for the current car leaves from here: one device frame by SMS to the car's SIM,
// from the SIM slot the owner chose; each is kept in the journal and followed to its end.
QtObject {
    id: _carCommands

    required property SmsManager smsManager
    required property var device
    // The settings reports that show a command done; a page tested alone has none.
    property var server: null
    readonly property CommandFollower follower: _follower

    readonly property string unknownSimText: "شماره سیم‌کارت دستگاه مشخص نیست؛ دستوری ارسال نشد"

    // A frame handed to the SMS service for the car's SIM.
    signal frameSent(simNumber: string, frame: string)

    // Without the car's SIM number nothing can leave: the owner is told so, and the editor that
    // waits for this frame (a RemoteEditor or a BusyButton, or null) comes to rest instead.
    function send(frame: string, editor: var): bool {
        return sendTo(String(device.simNumber ?? ""), frame, editor);
    }

    // The offline request goes to the SIM number kept from the last online login.
    function sendTo(simNumber: string, frame: string, editor: var): bool {
        if (simNumber === "" || frame === "") {
            if (simNumber === "")
                _mainTooltip.show(unknownSimText, 5000);
            editor?.rest();
            return false;
        }
        const ticket = smsManager.sendSms(simNumber, frame);
        _follower.begin(String(device.imei ?? ""), simNumber, smsManager.simSlot, frame, ticket);
        frameSent(simNumber, frame);
        return true;
    }

    // The same frame to the same SIM as the journal's entry.
    function resend(id: int): void {
        const entry = CommandJournal.entry(id);
        if (entry.frame !== undefined)
            sendTo(entry.simNumber, entry.frame, null);
    }

    // The SIM chooser sits in the settings menu; its remembered slot holds from the start, not
    // only once the menu has been opened, and a phone left with one SIM sends from that one.
    function applyRememberedSimSlot(): void {
        smsManager.simSlot = smsManager.isDualSim ? Number(_memory.value("simSlot", 0)) : 0;
    }

    Component.onCompleted: applyRememberedSimSlot()

    readonly property CommandFollower _follower: CommandFollower {
        id: _follower

        device: _carCommands.device
        server: _carCommands.server
        onResendAsked: id => _carCommands.resend(id)
    }

    readonly property Settings _memory: Settings {
        id: _memory
    }

    readonly property Connections _simChanges: Connections {
        target: _carCommands.smsManager

        function onIsDualSimChanged(): void {
            _carCommands.applyRememberedSimSlot();
        }

        function onSendFailed(ticket: int): void {
            _follower.takeSendFailure(ticket);
        }
    }
}
