pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import "qmlItems" as QmlItems
import "SettingsRules.js" as SettingsRules
import "JsTools.js" as JsTools

// Numbers allowed to listen in, as last reported by the device. One frame carries all three, so
// applying one sends the other two as shown.
FormPage {
    id: _listenPage

    columnSpacing: 25

    property string listenUser1: ""
    property string listenUser2: ""
    property string listenUser3: ""

    // Sends the three numbers with editor `edited` (0 to 2) changed; a refused text stays in it.
    function applyNumber(edited: int, text: string): void {
        const number = JsTools.phoneNumber(text);
        const field = _fields.itemAt(edited) as QmlItems.BusyTextField;
        const numbers = [0, 1, 2].map(index => index === edited ? number : (_fields.itemAt(index) as QmlItems.BusyTextField).text);
        const frame = number === null ? "" : _deviceCommands.createListenUsersPacket(SettingsRules.listenField(numbers[0]),
                                                                                       SettingsRules.listenField(numbers[1]),
                                                                                       SettingsRules.listenField(numbers[2]));
        if (frame === "") {
            field.state = "edit";
            _mainTooltip.show(JsTools.phoneNumberRule, 5000);
            return;
        }
        _carCommands.send(frame, field);
    }

        Title {
            text: "شماره‌های زیر مجاز به شنود می‌باشند"
            Layout.fillWidth: true
        }

        Repeater {
            id: _fields

            // Static, so that a reported number does not rebuild the editors mid-edit.
            model: ["تغییر مجوز شنود شماره اول", "تغییر مجوز شنود شماره دوم", "تغییر مجوز شنود شماره سوم"]

            QmlItems.BusyTextField {
                id: _field

                required property string modelData
                required property int index
                readonly property string reported: [_listenPage.listenUser1, _listenPage.listenUser2, _listenPage.listenUser3][index]

                objectName: "_listenField" + (index + 1)
                // The device stores a blank for none.
                text: reported === " " ? "" : reported
                placeholderText: "شماره مجاز به شنود " + (index + 1)
                infoTitle: modelData
                infoText: "شماره \"" + editText + "\" مجاز به شنود می‌شود\nآیا اطمینان دارید؟"
                inputMethodHints: Qt.ImhDialableCharactersOnly
                Layout.fillWidth: true
                onEditRequest: _listenPage.applyNumber(index, editText)
            }
        }
}
