pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import Qt.labs.platform as Platform

// Asks the user to switch GPS on for the route to the car. Where the platform has a message box
// of its own (Android, iOS, macOS) it asks; elsewhere this dialog does, since there the platform
// box needs Qt Widgets, which the app does not have, and would never open.
Dialog {
    id: _gpsQuestion

    readonly property string reason: "برای مسیریابی نیاز به فعال کردن جی‌پی‌اس می‌باشد!"
    readonly property bool platformBox: ["android", "ios", "osx", "macos"].includes(Qt.platform.os)
    property Platform.MessageDialog _box: null

    function ask(): void {
        if (!platformBox) {
            open();
            return;
        }
        if (!_box)
            _box = _boxComponent.createObject(_gpsQuestion) as Platform.MessageDialog;
        _box.open();
    }

    title: "روشن کردن جی‌پی‌اس"
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    width: Math.min(400, parent ? parent.width - 40 : 400)
    background: PlainPopupBackground {}

    // Not elided, unlike the style's title: an elided title and the wrapped text below it size
    // each other in a loop whenever the window's width changes.
    header: Label {
        text: _gpsQuestion.title
        padding: 24
        bottomPadding: 0
        font.bold: true
        font.pixelSize: basePixelSize * 1.2
    }

    contentItem: Label {
        objectName: "_gpsReason"
        wrapMode: Text.WordWrap
        text: _gpsQuestion.reason
    }

    // On the dialog's own background, as the window's other questions are.
    footer: DialogButtonBox {
        background: null

        Button {
            objectName: "_gpsOkButton"
            highlighted: true
            text: "تایید"
            DialogButtonBox.buttonRole: DialogButtonBox.AcceptRole
        }
        Button {
            objectName: "_gpsCancelButton"
            highlighted: true
            text: "انصراف"
            DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
        }
    }

    Component {
        id: _boxComponent

        Platform.MessageDialog {
            text: _gpsQuestion.title
            informativeText: _gpsQuestion.reason
            buttons: Platform.MessageDialog.Ok | Platform.MessageDialog.Cancel
            onOkClicked: _gpsQuestion.accept()
            onCancelClicked: _gpsQuestion.reject()
        }
    }
}
