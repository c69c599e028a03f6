import QtQuick
import QtQuick.Layouts
import mySettings
import "qmlItems"

// Account management: password, user name and the fingerprint switch.
FormPage {
    id: _userManagmentSettingPage

    property alias curentPass: _currentField.text
    property alias newPass: _newField.text
    property alias newPass2: _repeatField.text
    property bool fingerEnabled: true
    property bool isBiometricSupported: false
    // What was typed in the login page's user name field: the server knows the account by it.
    property string loginUsername

    signal passwordChanged
    signal fingerChosen(bool enabled)

    // Why the typed passwords cannot be sent, or "" when they can.
    function passwordProblem(): string {
        if (curentPass === "" || newPass === "" || newPass2 === "")
            return "همه فیلدها پر شود.";
        if (newPass !== newPass2)
            return "دو پسورد با هم مطابقت ندارد.";
        if (newPass === curentPass)
            return "پسورد جدید باید با قبل متفاوت باشد.";
        return "";
    }

    function changePassword(): void {
        const problem = passwordProblem();
        if (problem !== "") {
            _mainTooltip.show(problem, 4000);
            _changeButton.state = "ready";
            return;
        }
        _passwordPost.requestObject = {
            "command": "changePassword",
            "username": loginUsername,
            "currentHashPass": _tools.toBase64(_tools.hashPass(curentPass)),
            "newHashPass": _tools.toBase64(_tools.hashPass(newPass))
        };
        _passwordPost.post();
    }

    function _onPasswordReply(reply: var): void {
        _changeButton.state = "ready";
        if (!reply.isValid) {
            _mainTooltip.show(reply.errorText, 3000);
            return;
        }
        // The old password must no longer open the offline or fingerprint login.
        MySettings.lastUserCrypt = "";
        MySettings.lastPasswordCrypt = "";
        _mainWindow.returnToLogin();
        _mainTooltip.show("پسورد با موفقیت تغییر کرد\nلطفا دوباره وارد شوید", 3000);
        passwordChanged();
    }

    background: null
    onVisibleChanged: {
        if (!visible)
            return;
        curentPass = "";
        newPass = "";
        newPass2 = "";
    }

    readonly property HttpPost _passwordRequest: HttpPost {
        id: _passwordPost

        url: _server.appInterfaceUrl
        timeout: 5000
        onResponseReady: response => _userManagmentSettingPage._onPasswordReply(response)
        onError: {
            _changeButton.state = "ready";
            _mainTooltip.show(_passwordPost.errorText, 3000);
        }
    }

        Title {
            Layout.fillWidth: true
            visible: _userManagmentSettingPage.isBiometricSupported
            text: "احراز هویت بایومتریک"
        }

        MyCheckBox {
            id: _fingerCheck

            objectName: "_fingerCheck"
            visible: _userManagmentSettingPage.isBiometricSupported
            text: "ورود با اثرانگشت"
            checked: _userManagmentSettingPage.fingerEnabled
            onToggled: _userManagmentSettingPage.fingerChosen(checked)
        }

        Title {
            Layout.fillWidth: true
            text: "تغییر نام کاربری"
        }

        AliasUsernameField {
            objectName: "_accountAliasField"
            Layout.fillWidth: true
            placeholderText: "نام کاربری"
            infoTitle: "تغییر نام کاربری"
            infoText: "می‌توانید علاوه بر شماره سریال دستگاه یک نام کاربری ساده‌تر برای خود انتخاب کنید."
            // Offline and fingerprint login now expect the new name.
            onAccepted: name => MySettings.lastUserCrypt = _tools.xcrypt(name)
        }

        Title {
            Layout.fillWidth: true
            text: "تغییر رمز عبور"
        }

        PasswordItem {
            id: _currentField

            objectName: "_currentPassword"
            Layout.fillWidth: true
            title: "رمز عبور جاری"
        }

        PasswordItem {
            id: _newField

            objectName: "_newPassword"
            Layout.fillWidth: true
            title: "رمز عبور جدید"
        }

        PasswordItem {
            id: _repeatField

            objectName: "_repeatPassword"
            Layout.fillWidth: true
            title: "تکرار رمز عبور جدید"
        }

        BusyPushbotton {
            id: _changeButton

            objectName: "_changePasswordButton"
            Layout.fillWidth: true
            text: "تغییر رمز"
            onClicked: _userManagmentSettingPage.changePassword()
        }

        Item {
            Layout.preferredHeight: 100
        }
}
