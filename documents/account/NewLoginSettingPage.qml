pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import "qmlItems"
import "JsTools.js" as JsTools

// First-login setup of owner, car and device; reports when the device is registered.
FormPage {
    id: _newLoginSettingPage

    scrollArea.objectName: "_setupScrollArea"

    readonly property var device: _mainWindow.currentDevice
    readonly property string requiredText: "پر کردن فیلدهای ستاره‌دار الزامیست"

    property bool ownerResult: false
    property bool vehicleResult: false
    property bool configListenNumberResult: false
    property bool configReportNumberResult: false
    readonly property bool result: ownerResult && vehicleResult && configListenNumberResult && configReportNumberResult
    readonly property bool detailsSaved: ownerResult && vehicleResult

    signal registered
    // The server took a new SIM number for the device.
    signal simNumberAccepted(string simNumber)

    function showDevice(): void {
        _nameField.text = device.ownerName ?? "";
        _lastNameField.text = device.ownerLastname ?? "";
        _phoneField.text = device.ownerPhoneNumber ?? "";
        _meliField.text = device.ownerMeliCode ?? "";
        _makerField.text = device.vehicleCpmpany ?? "";
        _modelField.text = device.vehicleModel ?? "";
        _colorField.text = device.vehicleColor ?? "";
        _plaqueField.text = device.vehiclePlaque ?? "";
    }

    function _missingRequired(): bool {
        return [_simField.text, _aliasField.text, _nameField.text, _lastNameField.text, _phoneField.text,
                _modelField.text].some(text => text.trim() === "");
    }

    function apply(): void {
        if (_missingRequired()) {
            _refuse(requiredText);
            return;
        }
        const phone = JsTools.phoneNumber(_phoneField.text);
        if (!phone) {
            _refuse(JsTools.phoneNumberRule);
            return;
        }
        ownerResult = false;
        vehicleResult = false;
        const imei = device.imei;
        _post({
            "command": "setOwnerInfo",
            "imei": imei,
            "name": _nameField.text,
            "lastName": _lastNameField.text,
            "meliCode": _meliField.text,
            "phoneNumber": phone
        }, () => {
            _newLoginSettingPage.ownerResult = true;
            _newLoginSettingPage.registered();
        });
        _post({
            "command": "setVehicleInfo",
            "imei": imei,
            "company": _makerField.text,
            "model": _modelField.text,
            "color": _colorField.text,
            "plaque": _plaqueField.text
        }, () => {
            _newLoginSettingPage.vehicleResult = true;
        });
        if (device.registered === true)
            return;
        _post({
            "command": "addDeviceConfig",
            "imei": imei,
            "configCommand": _deviceCommands.createListenUsersPacket(phone, " ", " ")
        }, () => {
            _newLoginSettingPage.configListenNumberResult = true;
        });
        _post({
            "command": "addDeviceConfig",
            "imei": imei,
            "configCommand": _deviceCommands.createReportNumberPacket(phone, "x")
        }, () => {
            _newLoginSettingPage.configReportNumberResult = true;
        });
    }

    function _refuse(text: string): void {
        _mainTooltip.show(text, 3000);
        _applyButton.state = "ready";
    }

    // Refusals and lost requests only show their text: the button gives up at its time-out.
    function _post(requestObject: var, onAccepted: var): void {
        _applyPoster.post(requestObject, reply => {
            if (reply.isValid)
                onAccepted();
            else
                _mainTooltip.show(reply.errorText, 3000);
        }, errorText => _mainTooltip.show(errorText, 3000));
    }

    onDeviceChanged: showDevice()
    onResultChanged: {
        if (!result)
            return;
        _applyButton.state = "ready";
        _mainWindow.returnToLogin();
        _mainTooltip.show("اطلاعات شما ثبت شد. لطفا مجددا وارد شوید.", 3000);
    }
    // A registered device gets no configuration: the owner's and the car's replies are the answer.
    onDetailsSavedChanged: {
        if (!detailsSaved || result || device.registered !== true)
            return;
        _applyButton.state = "ready";
        _mainTooltip.show("اطلاعات شما ثبت شد.", 3000);
    }
    Component.onCompleted: showDevice()

    background: null

    readonly property RequestPoster _applyRequest: RequestPoster {
        id: _applyPoster
    }

        MyLabel {
            Layout.fillWidth: true
            text: "لازم است اطلاعات زیر را قبل از ورود به سیستم تکمیل نمایید.\nپر کردن فیلدهای ستاره‌دار الزامیست."
            color: "yellow"
            wrapMode: Text.WordWrap
        }

        HorizontalSeperator {
            Layout.fillWidth: true
            Layout.topMargin: 10
            Layout.bottomMargin: 10
        }

        DeviceSimNumberField {
            id: _simField

            objectName: "_simField"
            Layout.fillWidth: true
            device: _newLoginSettingPage.device
            placeholderText: "شماره سیم‌کارت دستگاه *"
            onAccepted: simNumber => {
                _newLoginSettingPage.simNumberAccepted(simNumber);
                _newLoginSettingPage.registered();
            }
        }

        AliasUsernameField {
            id: _aliasField

            objectName: "_aliasField"
            Layout.fillWidth: true
            placeholderText: "نام کاربری دوم *"
            infoTitle: "نام کاربری دوم"
            infoText: "می‌توانید علاوه بر شماره بارکد دستگاه یک نام کاربری ساده‌تر برای خود برگزینید."
            onAccepted: _newLoginSettingPage.registered()
        }

        Title {
            Layout.fillWidth: true
            text: "اطلاعات شخصی:"
        }

        MyTextField {
            id: _nameField

            objectName: "_nameField"
            Layout.fillWidth: true
            title: "* نام"
        }

        MyTextField {
            id: _lastNameField

            objectName: "_lastNameField"
            Layout.fillWidth: true
            title: "* نام خانوادگی"
        }

        MyTextField {
            id: _phoneField

            objectName: "_phoneField"
            Layout.fillWidth: true
            title: "* تلفن تماس"
            inputMethodHints: Qt.ImhPreferNumbers
        }

        MyTextField {
            id: _meliField

            objectName: "_meliField"
            Layout.fillWidth: true
            title: "کد ملی"
            inputMethodHints: Qt.ImhPreferNumbers
        }

        Title {
            Layout.fillWidth: true
            text: "اطلاعات خودرو:"
        }

        MyTextField {
            id: _makerField

            objectName: "_makerField"
            Layout.fillWidth: true
            title: "شرکت سازنده خودرو"
        }

        MyTextField {
            id: _modelField

            objectName: "_modelField"
            Layout.fillWidth: true
            title: "* مدل خودرو"
        }

        MyTextField {
            id: _colorField

            objectName: "_colorField"
            Layout.fillWidth: true
            title: "رنگ خودرو"
        }

        MyTextField {
            id: _plaqueField

            objectName: "_plaqueField"
            Layout.fillWidth: true
            title: "پلاک"
        }

        BusyPushbotton {
            id: _applyButton

            objectName: "_setupSaveButton"
            Layout.fillWidth: true
            text: "اعمال"
            icon.source: "qrc:/graphics/checkmark.png"
            icon.color: Qt.rgba(0, 1, 0, 1)
            timeout: 10000
            onClicked: _newLoginSettingPage.apply()
        }

        Item {
            Layout.preferredHeight: 100
        }
}
