pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import "qmlItems"
import "SettingsRules.js" as SettingsRules

// The device settings menu under a banner with the owner, the car and the device; the window
// turns a chosen entry into the page it pushes.
Page {
    id: _settingsMenu

    property alias menu: _menu
    property string firmwareVersion: ""
    // Set by the window: the current device record, the number of devices of the login, the
    // reported SIM operator and what decides the shown entries.
    property var device: ({})
    property int deviceCount: 0
    property var mobileOperator
    property bool rootLogin: false
    property bool dualSim: false
    property bool fingerprint: false
    readonly property real _factor: Math.max(basePixelSizeFactor, 1)
    readonly property var fullMenu: [
        { "name": "Menu_General", "title": "تنظیمات عمومی دستگاه", "detail": "شماره سیم‌کارت دستگاه، تنظیمات کارخانه، پاک کردن حافظه و ...", "icon": "qrc:/graphics/configuration.svg", "rootAccess": false, "componentSource": "" },
        { "name": "Menu_Alarms", "title": "هشدارهای دستگاه", "detail": "فعال و غیرفعال‌سازی هشدارهای مختلف دستگاه", "icon": "qrc:/graphics/alarm.png", "rootAccess": false, "componentSource": "" },
        { "name": "Menu_Listening", "title": "تنظیمات شنود", "detail": "تنظیم شماره‌های مجاز به شنود", "icon": "qrc:/graphics/ear.svg", "rootAccess": false, "componentSource": "" },
        { "name": "Menu_Users", "title": "مدیریت کاربر", "detail": "تغییر رمز عبور، نام کاربری", "icon": "qrc:/graphics/im-user.svg", "rootAccess": false, "componentSource": "" },
        { "name": "Menu_SimCards", "title": "انتخاب سیم‌کارت پیش‌فرض", "detail": "جهت ارسال دستورات به دستگاه", "icon": "qrc:/graphics/sim.svg", "rootAccess": false, "componentSource": "qrc:/SimCards.qml" },
        { "name": "Menu_Appearance", "title": "تنظیمات ظاهری", "detail": "اندازه فونت، ...", "icon": "qrc:/graphics/color_palette.svg", "rootAccess": false, "componentSource": "" },
        { "name": "Menu_Map", "title": "مدیریت نقشه", "detail": "تنظیمات مربوط به سرور نقشه", "icon": "qrc:/graphics/currentLocation.svg", "rootAccess": true, "componentSource": "" },
        { "name": "Menu_Server", "title": "تنظیمات سرور", "detail": "مشخصات سرور جهت ارسال اطلاعات دستگاه", "icon": "qrc:/graphics/web.png", "rootAccess": true, "componentSource": "" },
        { "name": "Menu_Data", "title": "تنظیمات ارسال داده", "detail": "نرخ ارسال داده دستگاه و ...", "icon": "qrc:/graphics/document-send.png", "rootAccess": true, "componentSource": "" },
        { "name": "Menu_PersonalInfo", "title": "ثبت اطلاعات شخصی و خودرو", "detail": "نام، نام خانوادگی، موبایل، مدل خودرو ...", "icon": "qrc:/graphics/info.svg", "rootAccess": true, "componentSource": "" },
        { "name": "Menu_Support", "title": "پشتیبانی", "detail": "پشتیبانی", "icon": "qrc:/graphics/support.svg", "rootAccess": false, "componentSource": "" },
        { "name": "Menu_History", "title": "تاریخچه دستورها", "detail": "دستورهای ارسال‌شده به خودرو و نتیجه هر یک", "icon": "qrc:/graphics/clock.png", "rootAccess": false, "componentSource": "" }
    ]

    signal itemSelected(int index)
    signal changeDevice

    // The routing name of a shown entry, or "" outside them.
    function entryName(index: int): string {
        if (index < 0 || index >= _menu.model.count)
            return "";
        return _menu.model.get(index).name;
    }

    function resetMenu(): void {
        _menu.model.clear();
        const options = {
            "dualSim": dualSim,
            "fingerprint": fingerprint,
            "rootLogin": rootLogin
        };
        for (const entry of SettingsRules.menuEntries(fullMenu, options))
            _menu.model.append(entry);
    }

    SettingsBanner {
        id: _banner

        objectName: "_banner"
        width: parent.width
        // Never shorter than its facts: with the largest text they need more than the set height.
        height: Math.max(150 * _settingsMenu._factor, neededHeight)
        factor: _settingsMenu._factor
        ownerText: (_settingsMenu.device.ownerName ?? "") + " " + (_settingsMenu.device.ownerLastname ?? "")
        carText: "خودرو: " + (_settingsMenu.device.vehicleModel ?? "") + " " + (_settingsMenu.device.vehicleColor ?? "")
                 + " " + "پلاک: " + (_settingsMenu.device.vehiclePlaque ?? "")
        imei: String(_settingsMenu.device.imei ?? "")
        canChangeDevice: _settingsMenu.deviceCount > 1
        firmwareVersion: _settingsMenu.firmwareVersion
        mobileOperator: _settingsMenu.mobileOperator
        deviceFirstUse: _settingsMenu.device.deviceFirstUse ?? ""
        onChangeDevice: _settingsMenu.changeDevice()
    }

    MyMenu {
        id: _menu

        objectName: "_menu"
        anchors.top: _banner.bottom
        anchors.bottom: parent.bottom
        width: parent.width
        onItemSelected: index => _settingsMenu.itemSelected(index)
    }
}
