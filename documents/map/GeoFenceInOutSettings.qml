pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import globals

// Which crossings of the geofence raise an alarm.
Popup {
    id: _geoFenceInOutSettings

    readonly property int inOut: _modes.checkedButton ? (_modes.checkedButton as ModeButton).mode : Globals.GeofenceIn

    // Values other than the three modes leave the choice as it is.
    function setInOut(mode: int): void {
        for (const button of _modes.buttons) {
            if ((button as ModeButton).mode === mode)
                button.checked = true;
        }
    }

    focus: true
    background: PlainPopupBackground {}

    component ModeButton: RadioButton {
        required property int mode

        ButtonGroup.group: _modes
    }

    ButtonGroup {
        id: _modes
    }

    Column {
        Label {
            text: "انتخاب کنید در کدام حالت هشدار داده شود"
            font.bold: true
        }
        ModeButton {
            mode: Globals.GeofenceIn
            text: "ورود به محدوده"
            checked: true
        }
        ModeButton {
            mode: Globals.GeofenceOut
            text: "خروج از محدوده"
        }
        ModeButton {
            mode: Globals.GeofenceInOut
            text: "ورود و خروج"
        }
    }
}
