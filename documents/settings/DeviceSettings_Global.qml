import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import "qmlItems" as QmlItems
import "JsTools.js" as JsTools
import "Style.js" as Style

// The device's SIM number as the server knows it, then what goes to the car by SMS: a USSD
// code run on its SIM, the emergency code that overrides the cut-off, and the restart, factory
// reset and memory erase behind a hold.
FormPage {
    id: _globalPage

    columnSpacing: 20
    scrollArea.objectName: "_scrollArea"

    property var device: ({})
    // The emergency code as last reported by the device.
    property int forceUnlockNumber1: 1
    property int forceUnlockNumber2: 1

    // The server took a new SIM number for the device.
    signal simNumberAccepted(string simNumber)

    // The confirmation names the SIM slot the message left from.
    function sendCommand(frame: string, sentText: string): void {
        if (_carCommands.send(frame, null))
            _mainTooltip.show(sentText + (_smsManager.simSlot + 1) + " ارسال شد", 3000);
    }

    function applyUssd(): void {
        const code = JsTools.ussdCode(_ussdField.text);
        if (code === null) {
            _mainTooltip.show(JsTools.ussdCodeRule, 3000);
            return;
        }
        if (_carCommands.send("[oribel,16,at+cusd=1,\"" + code + "\"]}]", null))
            _ussdPause.start();
    }

    function _showReportedDigits(): void {
        if (_emergencyBox.state === "edit")
            return;
        _firstDigit.value = forceUnlockNumber1;
        _secondDigit.value = forceUnlockNumber2;
    }

    // A new report is how a busy box learns that the device took the new code.
    function _onReportedDigit(): void {
        if (_emergencyBox.state === "edit")
            return;
        _showReportedDigits();
        _emergencyBox.seToIdleState();
    }

    onForceUnlockNumber1Changed: _onReportedDigit()
    onForceUnlockNumber2Changed: _onReportedDigit()
    Component.onCompleted: _showReportedDigits()

    background: null

    Timer {
        id: _ussdPause

        interval: 3000
    }

        DeviceSimNumberField {
            objectName: "_simNumberField"
            device: _globalPage.device
            placeholderText: "شماره سیم‌کارت دستگاه"
            onAccepted: simNumber => _globalPage.simNumberAccepted(simNumber)
            Layout.fillWidth: true
        }

        Title {
            text: "اجرای کد USSD روی دستگاه"
            Layout.fillWidth: true
        }

        RowLayout {
            spacing: 10
            Layout.fillWidth: true

            MyButton {
                objectName: "_ussdButton"
                text: "اعمال"
                enabled: !_ussdPause.running
                onClicked: _globalPage.applyUssd()

                BusyIndicator {
                    objectName: "_ussdBusy"
                    anchors.fill: parent
                    anchors.margins: 3
                    running: _ussdPause.running
                    visible: running
                }
            }

            MyTextField {
                id: _ussdField

                objectName: "_ussdField"
                placeholderText: "USSD Code"
                horizontalAlignment: TextInput.AlignHCenter
                inputMethodHints: Qt.ImhDialableCharactersOnly
                Layout.fillWidth: true
            }
        }

        QmlItems.RemoteSettingBox {
            id: _emergencyBox

            objectName: "_emergencyBox"
            title: "غیر فعال کردن اضطراری قطع‌کن"
            Layout.fillWidth: true
            onApply: _carCommands.send("[oribel,34," + _firstDigit.value + "," + _secondDigit.value + "]}]", _emergencyBox)
            onStateChanged: _globalPage._showReportedDigits()
            // Read from the left, whatever the reading direction of the window.
            contaneItem: RowLayout {
                LayoutMirroring.enabled: false
                LayoutMirroring.childrenInherit: true
                spacing: 5

                MyLabel {
                    text: "عدد اول"
                }

                MySpinBox {
                    id: _firstDigit

                    objectName: "_firstDigit"
                    from: 1
                    to: 5
                    inputMethodHints: Qt.ImhDigitsOnly
                    Layout.preferredWidth: basePixelSize * 1.5
                }

                MyLabel {
                    text: "عدد دوم"
                }

                MySpinBox {
                    id: _secondDigit

                    objectName: "_secondDigit"
                    from: 1
                    to: 5
                    inputMethodHints: Qt.ImhDigitsOnly
                    Layout.preferredWidth: basePixelSize * 1.5
                }
            }
            advanceItem: MyLabel {
                objectName: "_emergencyHelp"
                width: parent ? parent.width : 0
                // Instructions, readable also while the box is not being edited.
                color: Material.foreground
                topPadding: 10
                bottomPadding: 10
                wrapMode: Text.WordWrap
                text: ["ابتدا درب خودرو را 10 ثانیه بسته نگاه دارید.",
                    "سپس عدد دو رقمی بالا را با باز و بست کردن در شماره‌گیری کنید (بین دو عدد پنج ثانیه صبر کنید).",
                    "بعد از عدد دوم پنج ثانیه صبر کنید. حالا می‌توانید استارت بزنید.",
                    "در صورت عدم موفقیت این روند را مجدد تکرار کنید.",
                    "می‌توانید دو عدد رمز را تغییر دهید (بازه مجاز بین 1 تا 5 است)."].join("\n")
            }
        }

        HoldCommandButton {
            objectName: "_rebootButton"
            text: "راه‌اندازی مجدد دستگاه (ریست)"
            holdHint: "برای ریست کردن دستگاه دکمه را 2 ثانیه نگه دارید."
            onActivated: _globalPage.sendCommand(_deviceCommands.createRebootPacket(), "دستور ریست کردن دستگاه از سیم‌کارت ")
        }

        HoldCommandButton {
            objectName: "_factoryResetButton"
            text: "بازگشت به تنظیمات کارخانه"
            holdHint: "برای بازگشت به تنظیمات کارخانه دکمه را 2 ثانیه نگه دارید."
            Material.background: Style.danger
            onActivated: _globalPage.sendCommand(_deviceCommands.createResetToFactoryPacket(), "دستور بازگشت به تنظیمات کارخانه از سیم‌کارت ")
        }

        HoldCommandButton {
            objectName: "_eraseButton"
            text: "پاک کردن حافظه دستگاه"
            holdHint: "برای فرمت حافظه دستگاه دکمه را 2 ثانیه نگه دارید."
            Material.background: Style.danger
            onActivated: _globalPage.sendCommand(_deviceCommands.createClearAllDataPacket(), "دستور فرمت حافظه دستگاه از سیم‌کارت ")
        }
}
