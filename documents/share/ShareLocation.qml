pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import QtCore
import "ShareLink.js" as ShareLink
import "JsTools.js" as JsTools
import "Style.js" as Style

// Sharing the car's live location for a limited time through a link the owner sends to others.
Page {
    id: _shareLocation

    // The current device's serial number; another device's link is none of this page's business.
    property string imei
    // The tracking page named by the server's configuration, if any.
    property var trackingUrl
    property bool mobilePlatform: false
    property var authToken: undefined
    property var expireTimestamp: undefined
    readonly property string url: ShareLink.url(ShareLink.base(trackingUrl), imei, authToken)
    readonly property string storedPassword: _settings.password
    // The password is known only for the link this phone made last.
    readonly property bool passwordKnown: authToken !== undefined && _settings.token !== "" && authToken === _settings.token
    // The command of the request posted last: the one request component answers for all three.
    property string _command

    function getShareToken(): void {
        if (_shareLocation.authToken === undefined)
            _post({ "command": "getShareToken", "IMEI": _shareLocation.imei });
    }

    function createShareToken(): void {
        _post({
            "command": "createShareToken",
            "IMEI": _shareLocation.imei,
            "authToken": _tools.generateAccessToken(),
            "password": _passwordField.text,
            "expireTimeValue": _valueBox.currentIndex + 1,
            "expireTimeUnit": _unitBox.currentIndex
        });
    }

    function dropShareToken(): void {
        _post({ "command": "dropShareToken", "IMEI": _shareLocation.imei });
    }

    function copyUrl(): void {
        _tools.copyToClipboard(_shareLocation.url);
        _mainTooltip.show("لینک رهگیری مسیر کپی شد.", 3000);
    }

    function share(): void {
        if (!_shareLocation.passwordKnown)
            return;
        _tools.share(ShareLink.shareText(_shareLocation.url, _shareLocation.storedPassword, _shareLocation.expireTimestamp));
    }

    function _post(request: var): void {
        _shareLocation._command = request.command;
        _request.requestObject = request;
        _request.post();
    }

    function _onReply(response: var): void {
        if (!response.isValid) {
            _mainTooltip.show(response.errorText, 3000);
            return;
        }
        if (_shareLocation._command === "createShareToken" && response.authToken !== undefined) {
            _settings.password = _request.requestObject.password;
            _settings.token = response.authToken;
        }
        _shareLocation.authToken = response.authToken ?? undefined;
        if (response.expireTimestamp !== undefined)
            _shareLocation.expireTimestamp = ShareLink.expiry(response.expireTimestamp);
    }

    // Back to making a link; the server's link stays until a new one replaces it.
    function offerNewLink(): void {
        authToken = undefined;
        expireTimestamp = undefined;
    }

    // Each new link is offered a password of its own, never one every phone would offer.
    function _proposePassword(): void {
        _passwordField.text = ShareLink.password(_tools.generateAccessToken());
    }

    // A link joins one device's serial number to a token the server gave for that device: after
    // a device switch the next visit asks the server again.
    onImeiChanged: offerNewLink()
    onAuthTokenChanged: {
        if (authToken === undefined)
            _proposePassword();
    }
    Component.onCompleted: _proposePassword()

    background: null

    // The password and the token of the last link this phone made.
    Settings {
        id: _settings

        property string password
        property string token

        category: "ShareLocation"
    }

    HttpPost {
        id: _request

        objectName: "_shareRequest"
        url: _server.appInterfaceUrl
        timeout: 10000
        onResponseReady: response => _shareLocation._onReply(response)
        onError: _mainTooltip.show(_request.errorText, 3000)
    }

    ColumnLayout {
        objectName: "_creationView"
        anchors.centerIn: parent
        width: parent.width - 40
        visible: _shareLocation.authToken === undefined
        spacing: 10

        MyLabel {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            text: "از طریق این امکان می‌توانید موقعیت خودروی خود را به صورت آنلاین با مدت محدود با دیگران به اشتراک بگذارید. کافیست لینک ساخته شده را برای اشخاص مورد نظر ارسال کنید."
        }

        HorizontalSeperator {
            Layout.topMargin: 15
            Layout.bottomMargin: 15
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 10

            MyLabel {
                text: "مدت اعتبار"
            }

            ValidityBox {
                id: _valueBox

                objectName: "_valueBox"
                Layout.fillWidth: true
                model: JsTools.numberTexts(1, _unitBox.currentIndex === 0 ? 24 : 7, 1)
            }

            ValidityBox {
                id: _unitBox

                objectName: "_unitBox"
                Layout.fillWidth: true
                model: ["ساعت", "روز"]
            }
        }

        // In clear: it is not the owner's secret but the one the link's viewers are given.
        MyTextField {
            id: _passwordField

            objectName: "_sharePasswordField"
            Layout.fillWidth: true
            title: "رمز عبور مشاهده لینک"
            inputMethodHints: Qt.ImhDigitsOnly
        }

        MyButton {
            objectName: "_createLinkButton"
            Layout.fillWidth: true
            text: "ساخت لینک"
            onClicked: _shareLocation.createShareToken()
        }
    }

    ColumnLayout {
        objectName: "_linkView"
        anchors.centerIn: parent
        width: Math.min(parent.width - 40, 320)
        visible: _shareLocation.authToken !== undefined
        spacing: 10

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: _panel.implicitHeight + 30
            radius: 2
            color: Style.linkPanel

            ColumnLayout {
                id: _panel

                anchors.fill: parent
                anchors.margins: 15
                spacing: 10

                MyLabel {
                    objectName: "_expiryLine"
                    Layout.alignment: Qt.AlignHCenter
                    text: ShareLink.expiryLine(_shareLocation.expireTimestamp)
                }

                LinkText {
                    objectName: "_passwordLine"
                    text: _shareLocation.passwordKnown ? ShareLink.passwordLine(_shareLocation.storedPassword)
                                                       : ShareLink.unknownPasswordLine
                    wrapMode: Text.WordWrap
                }

                LinkText {
                    objectName: "_urlText"
                    horizontalAlignment: Text.AlignHCenter
                    text: _shareLocation.url
                }

                RowLayout {
                    Layout.fillWidth: true
                    spacing: 10

                    MyButton {
                        objectName: "_copyButton"
                        Layout.fillWidth: true
                        Layout.preferredHeight: 50
                        text: " کپی "
                        onClicked: _shareLocation.copyUrl()
                    }

                    MyButton {
                        objectName: "_shareButton"
                        Layout.fillWidth: true
                        Layout.preferredHeight: 50
                        visible: _shareLocation.mobilePlatform && _shareLocation.passwordKnown
                        text: "اشتراک"
                        onClicked: _shareLocation.share()
                    }
                }
            }
        }

        MyButton {
            objectName: "_newLinkButton"
            Layout.fillWidth: true
            visible: !_shareLocation.passwordKnown
            text: "ساخت لینک تازه"
            onClicked: _shareLocation.offerNewLink()
        }

        MyButton {
            objectName: "_dropLinkButton"
            Layout.fillWidth: true
            Material.accent: Style.danger
            text: "لغو لینک"
            onClicked: _shareLocation.dropShareToken()
        }
    }

    component LinkText: MyLabel {
        Layout.alignment: Qt.AlignHCenter
        Layout.maximumWidth: 280
        wrapMode: Text.WrapAnywhere
    }

    // A chooser whose open list marks the chosen entry in the style's yellow, 30 px a row.
    component ValidityBox: MyComboBox {
        id: _box

        implicitHeight: 40
        delegate: ItemDelegate {
            id: _entry

            required property int index

            width: _box.popup.width
            height: 30
            contentItem: MyLabel {
                text: _box.textAt(_entry.index)
                color: _entry.index === _box.currentIndex ? Material.color(Material.Yellow) : "white"
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
            }
            onClicked: _box.currentIndex = _entry.index
        }
    }
}
