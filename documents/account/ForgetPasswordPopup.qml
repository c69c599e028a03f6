pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts

// Asks the server to reset the password to the default one, given the device's numbers.
Popup {
    id: _forgetPopup

    function recover(): void {
        // The page owns the request: a popup is no item to hang it on.
        const request = _requestComponent.createObject(_forgetPopup.parent);
        request.requestObject = {
            "command": "forgetPassword",
            "imei": _imeiField.text,
            "deviceSimNumber": _simField.text,
            "ownerMobileNumber": _mobileField.text
        };
        request.post();
    }

    function onReply(response: var): void {
        _mainTooltip.show(response.isValid ? "رمز شما با موفقیت تغییر کرد" : (response.errorText ?? ""), 5000);
        if (response.isValid)
            close();
    }

    modal: true
    focus: true
    leftPadding: 15
    rightPadding: 15
    background: PlainPopupBackground {}

    Component {
        id: _requestComponent

        HttpPost {
            id: _request

            url: _server.appInterfaceUrl
            timeout: 10000
            onResponseReady: response => {
                _forgetPopup.onReply(response);
                _request.destroy();
            }
            onError: {
                console.debug("forgetPassword:", _request.errorText);
                _mainTooltip.show(_request.errorText, 5000);
                _request.destroy();
            }
        }
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 10

        Title {
            Layout.fillWidth: true
            text: "اطلاعات خواسته شده را وارد نمایید"
        }

        MyLabel {
            Layout.fillWidth: true
            color: "yellow"
            horizontalAlignment: Text.AlignHCenter
            text: "در صورت صحیح بودن اطلاعات، رمز شما\nبه '582901' تغییر خواهد کرد"
        }

        MyTextField {
            id: _imeiField

            Layout.fillWidth: true
            title: "شماره بارکد دستگاه"
            inputMethodHints: Qt.ImhDigitsOnly
        }

        MyTextField {
            id: _simField

            Layout.fillWidth: true
            title: "شماره سیم‌کارت دستگاه"
            inputMethodHints: Qt.ImhDialableCharactersOnly
        }

        MyTextField {
            id: _mobileField

            Layout.fillWidth: true
            title: "شماره موبایل صاحب دستگاه"
            inputMethodHints: Qt.ImhDialableCharactersOnly
        }

        MyButton {
            Layout.fillWidth: true
            text: "بازیابی پسورد"
            onClicked: _forgetPopup.recover()
        }
    }
}
