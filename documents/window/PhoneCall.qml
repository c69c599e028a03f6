import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import call

// Places a call through the phone's dialler; where none takes it (a desktop, the phone
// services off), says so and shows the number with a copy button, so the owner can call from
// another phone.
Popup {
    id: _phoneCall

    property string number
    property bool copied: false

    function call(number: string): void {
        if (_dialler.directCall(number))
            return;
        _phoneCall.number = number;
        copied = false;
        open();
    }

    anchors.centerIn: Overlay.overlay
    modal: true
    focus: true
    padding: 20
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    background: PlainPopupBackground {}

    Call {
        id: _dialler
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 12

        Label {
            objectName: "_noDiallerText"
            text: _phoneCall.number !== "" ? "برنامه‌ای برای تماس در این دستگاه نیست؛ با این شماره از تلفن دیگری تماس بگیرید:"
                                           : "شماره‌ای برای تماس ثبت نشده است."
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
            Layout.maximumWidth: 300
        }

        Label {
            objectName: "_callNumber"
            visible: _phoneCall.number !== ""
            text: _phoneCall.number
            // Digits and a leading + read left to right.
            LayoutMirroring.enabled: false
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: basePixelSize * 1.3
            Layout.fillWidth: true
        }

        RowLayout {
            spacing: 10
            Layout.alignment: Qt.AlignHCenter

            Button {
                objectName: "_copyNumberButton"
                visible: _phoneCall.number !== ""
                highlighted: true
                text: _phoneCall.copied ? "کپی شد" : "کپی شماره"
                onClicked: {
                    _tools.copyToClipboard(_phoneCall.number);
                    _phoneCall.copied = true;
                }
            }

            Button {
                objectName: "_closeCallButton"
                highlighted: true
                text: "بستن"
                onClicked: _phoneCall.close()
            }
        }
    }
}
