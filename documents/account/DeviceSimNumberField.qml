import QtQuick
import mySettings
import "qmlItems"
import "JsTools.js" as JsTools

// The device's SIM number as the server knows it: frames reach the car at this number.
BusyTextField {
    id: _simNumberField

    // The device record whose number is shown and changed.
    property var device: ({})

    signal accepted(string simNumber)

    function showCurrent(): void {
        text = device.simNumber ?? "";
    }

    // A refusal is final: its reason shows at once instead of a spin until the time-out.
    function _onReply(reply: var): void {
        state = "idle";
        if (!reply.isValid) {
            _mainTooltip.show(reply.errorText, 3000);
            return;
        }
        device.simNumber = reply.simNumber;
        // The device of the last online login is the one an offline login works on.
        if (String(device.imei ?? "") === String(MySettings.imei))
            MySettings.deviceSimNumber = reply.simNumber;
        text = reply.simNumber;
        accepted(reply.simNumber);
    }

    infoTitle: "شماره سیم‌کارت دستگاه"
    infoText: "شماره سیم‌کارت قرار گرفته در دستگاه را وارد کنید."
    inputMethodHints: Qt.ImhPreferNumbers
    onDeviceChanged: showCurrent()
    // Another page may have changed the number in the shared record.
    onVisibleChanged: {
        if (visible)
            showCurrent();
    }
    Component.onCompleted: showCurrent()
    onEditRequest: {
        const simNumber = JsTools.phoneNumber(editText);
        if (!simNumber) {
            state = "edit";
            _mainTooltip.show(JsTools.phoneNumberRule, 3000);
            return;
        }
        _poster.post({
            "command": "setDeviceSimNumber",
            "imei": device.imei,
            "simNumber": simNumber
        }, reply => _simNumberField._onReply(reply), errorText => {
            // The field gives up at its time-out.
            _mainTooltip.show(errorText, 3000);
        });
    }

    RequestPoster {
        id: _poster
    }
}
