pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import QtCore
import globals
import mySettings
import "qmlItems" as QmlItems
import "Style.js" as Style

Page {
    id: _loginPage

    readonly property string passwordMask: "**********"
    readonly property string wrongCredentialsText: "نام کاربری یا کلمه عبور اشتباه است!"

    // 0 not logged in, 1 logged in, 2 waiting for the server.
    property int loginState: 0
    property bool passChanged: false
    property alias username: _userField.text
    readonly property bool isOffline: _offlineCheck.checked
    property bool fingerEnabled: false
    readonly property bool isBiometricSupported: _fingerButton.isBiometricSupported

    // The user name of the last online login; empty when there is none to replay.
    readonly property string storedUser: _tools.fromUtf8(_tools.xcrypt(MySettings.lastUserCrypt))

    property bool _startedByFinger: false
    property var _pendingHash

    signal success(bool registered)

    // The password field as a new start shows it: the mask of the remembered password, or empty,
    // so that nobody logs in after the owner by pressing login.
    function _showStoredPassword(): void {
        _passwordField.text = _rememberMe.checked && hasStoredHash() ? passwordMask : "";
        passChanged = false;
    }

    function logOut(): void {
        loginState = 0;
        _showStoredPassword();
    }

    function clearPassword(): void {
        _passwordField.text = "";
    }

    function hasStoredHash(): bool {
        return _tools.toBase64(_pageSettings.value("password", "")).length > 0;
    }

    function loginClicked(): void {
        let hash;
        if (_rememberMe.checked && hasStoredHash() && !passChanged) {
            // The field only holds the mask.
            hash = _pageSettings.value("password");
        } else {
            hash = _tools.hashPass(_passwordField.text);
            _pageSettings.setValue("password", hash);
        }
        _startedByFinger = false;
        login(hash);
    }

    function fingerLogin(): void {
        _startedByFinger = true;
        login(_tools.xcrypt(MySettings.lastPasswordCrypt));
    }

    function login(hash: var): void {
        if (_offlineCheck.checked) {
            offlineLogin(hash);
            return;
        }
        _pendingHash = hash;
        _loginPost.requestObject = {
            "command": "login",
            "username": _userField.text,
            "password": _tools.toBase64(hash)
        };
        _loginPost.post();
        loginState = 2;
    }

    function offlineLogin(hash: var): void {
        const storedHash = _tools.toBase64(_tools.xcrypt(MySettings.lastPasswordCrypt));
        // Without a stored login there is nothing to compare with, even for empty input.
        const known = storedUser.length > 0 && storedHash.length > 0;
        if (!known || _userField.text !== storedUser || _tools.toBase64(hash) !== storedHash) {
            _mainTooltip.show(wrongCredentialsText, 3000);
            return;
        }
        _mainWindow.loginResponse = {
            "isValid": true,
            "devices": [
                {
                    "simNumber": MySettings.deviceSimNumber,
                    "imei": MySettings.imei,
                    "ownerName": MySettings.lastOwnerName,
                    "ownerLastname": MySettings.lastOwnerLastname,
                    "vehicleModel": MySettings.lastVehicleModel
                }
            ]
        };
        _mainWindow.currentOperation = Globals.CarControl_Operation;
        _mainStackView.push(_dashboard);
        loginState = 1;
    }

    function storeCredentials(device: var): void {
        MySettings.imei = device.imei ?? 0;
        MySettings.deviceSimNumber = device.simNumber ?? "";
        MySettings.lastUserCrypt = _tools.xcrypt(_userField.text);
        MySettings.lastPasswordCrypt = _tools.xcrypt(_pendingHash);
        MySettings.lastOwnerName = device.ownerName ?? "";
        MySettings.lastOwnerLastname = device.ownerLastname ?? "";
        MySettings.lastVehicleModel = device.vehicleModel ?? "";
    }

    function onLoginReply(response: var): void {
        if (!response.isValid) {
            loginState = 0;
            _mainTooltip.show(response.errorText ?? "", 3000);
            return;
        }
        _mainWindow.loginResponse = response;
        loginState = 1;
        const device = _mainWindow.currentDevice;
        const registered = device.registered === true;
        if (!_startedByFinger)
            storeCredentials(device);
        if ((_mainWindow.mobilePlatform || isBiometricSupported) && registered)
            _pageSettings.setValue("fingerEnabled", true);
        _server.getSettings(device.imei);
        if (registered || response.rootLogin === true) {
            _mainWindow.currentOperation = Globals.CarControl_Operation;
            _mainStackView.push(_dashboard);
        } else {
            _mainWindow.currentOperation = Globals.NewLoginSetting_Operation;
            _mainStackView.push(_mainWindow.newLoginPage());
        }
        if (response.message) {
            _serverMessage.title = response.messageTitle ?? "";
            _serverMessage.qmlCode = response.message;
            _serverMessage.open();
        }
        success(registered);
    }

    visible: loginState !== 1
    background: null

    Component.onCompleted: _showStoredPassword()

    Settings {
        id: _pageSettings

        property alias rememberMe: _rememberMe.checked
        property alias username: _userField.text
    }

    HttpPost {
        id: _loginPost

        url: _server.appInterfaceUrl
        timeout: 10000
        onResponseReady: response => _loginPage.onLoginReply(response)
        onError: {
            _loginPage.loginState = 0;
            _mainTooltip.show(_loginPost.errorText, 3000);
        }
    }

    Column {
        id: _logoBlock

        y: Math.max(0, (_credentials.y - height) / 2)
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: 6

        Image {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 180
            height: 55
            source: "qrc:/graphics/logo_gold.svg"
            sourceSize: Qt.size(width * 2, height * 2)
            fillMode: Image.PreserveAspectFit
        }

        HorizontalSeperator {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 180
        }

        Label {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 150
            height: 20
            text: _mainWindow.title
            color: "#d4af37"
            font.pixelSize: _mainWindow.basePixelSize * 0.9
            fontSizeMode: Text.Fit
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
    }

    ColumnLayout {
        id: _credentials

        width: Math.min(_loginPage.width - 40, 320)
        anchors.horizontalCenter: parent.horizontalCenter
        y: Math.max(_loginPage.height / 2 - height / 2, _logoBlock.height)
        enabled: _loginPage.loginState === 0
        spacing: 12

        MyTextField {
            id: _userField

            objectName: "_userField"
            Layout.fillWidth: true
            title: "نام کاربری"
            inputMethodHints: Qt.ImhNoPredictiveText
        }

        QmlItems.PasswordItem {
            id: _passwordField

            objectName: "_passwordField"
            Layout.fillWidth: true
            title: "رمز عبور"
            onTextChanged: _loginPage.passChanged = true
        }

        MyButton {
            id: _loginButton

            objectName: "_loginButton"
            Layout.fillWidth: true
            text: _loginPage.loginState === 2 ? "منتظر بمانید" : "ورود"
            enabled: _userField.text.length > 0 && _passwordField.text.length > 0
            onClicked: _loginPage.loginClicked()

            ProgressBar {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                anchors.margins: 6
                visible: _loginPage.loginState === 2
                indeterminate: true
                Material.accent: Style.progressAccent
            }
        }

        // One line while it fits; with larger text the forgotten-password button takes a line
        // of its own rather than push the row out of the window.
        GridLayout {
            readonly property bool oneLine: _rememberMe.implicitWidth + _offlineCheck.implicitWidth
                                            + _forgotButton.implicitWidth <= _credentials.width

            Layout.fillWidth: true
            columns: oneLine ? 4 : 2
            columnSpacing: 0
            rowSpacing: 0

            MyCheckBox {
                id: _rememberMe

                objectName: "_rememberMe"
                Layout.minimumWidth: 120
                text: "مرا به خاطر بسپار"
                onToggled: {
                    if (!checked) {
                        _pageSettings.setValue("password", "");
                        _passwordField.text = "";
                    }
                }
            }

            MyCheckBox {
                id: _offlineCheck

                objectName: "_offlineCheck"
                text: "ورود آفلاین"
                checked: false
            }

            Item {
                visible: parent.oneLine
                Layout.fillWidth: true
            }

            Button {
                id: _forgotButton

                objectName: "_forgotButton"
                Layout.preferredWidth: Math.max(100, implicitWidth)
                Layout.columnSpan: parent.oneLine ? 1 : 2
                flat: true
                text: "فراموشی رمز"
                font.pixelSize: _mainWindow.basePixelSize * 0.9
                onClicked: _forgetPopup.open()
            }
        }

        RoundButton {
            id: _helpButton

            Layout.alignment: Qt.AlignHCenter
            Layout.preferredWidth: 40
            Layout.preferredHeight: 40
            text: "?"
            highlighted: true
            font.pixelSize: _mainWindow.basePixelSize * 1.2
            Material.accent: Style.accent
            onClicked: _helpTip.open()
        }
    }

    FingerButton {
        id: _fingerButton

        objectName: "_fingerButton"
        anchors.top: _credentials.bottom
        anchors.topMargin: 10
        anchors.horizontalCenter: parent.horizontalCenter
        visible: _loginPage.fingerEnabled && _loginPage.storedUser.length > 0
                 && _userField.text === _loginPage.storedUser
        onSuccess: _loginPage.fingerLogin()
    }

    ToolTip {
        id: _helpTip

        objectName: "_helpTip"
        x: (_loginPage.width - width) / 2
        y: _footRow.y - height - 20
        width: _credentials.width
        timeout: -1
        // It takes the focus, so Esc closes it rather than asking to quit beneath it.
        focus: true
        closePolicy: Popup.CloseOnPressOutside | Popup.CloseOnEscape
        text: ["نام کاربری شماره بارکد دستگاه می‌باشد.",
            "پس از ورود می‌توانید نام کاربری دلخواه برای خود ایجاد کنید.",
            "رمز عبور پیش‌فرض 582901 می‌باشد که پس از ورود قابل تغییر است.",
            "ورود آفلاین با نام کاربری و رمز عبور آخرین ورود موفق آنلاین قابل انجام است.",
            "در ورود آفلاین امکاناتی که نیاز به اینترنت دارند قابل استفاده نیستند."].join("\n")

        background: Rectangle {
            color: Style.accent
            radius: 4
        }
    }

    ForgetPasswordPopup {
        id: _forgetPopup

        objectName: "_forgetPopup"
        anchors.centerIn: Overlay.overlay
        width: Math.min(_loginPage.width - 20, 360)
    }

    RowLayout {
        id: _footRow

        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 15
        width: Math.min(_loginPage.width * 0.8, 400)

        Label {
            Layout.fillWidth: true
            text: "ویرایش: " + _tools.version()
            color: Style.progressAccent
            elide: Text.ElideRight
            font.pixelSize: _mainWindow.basePixelSize * 0.85
        }

        Label {
            text: "www.oribel.example"
            color: Style.progressAccent
            font.pixelSize: _mainWindow.basePixelSize * 0.9
        }
    }
}
