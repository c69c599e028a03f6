pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls

// The device settings menu; the window turns a chosen entry into the page it pushes.
Page {
    id: _settingsMenu

    property string firmwareVersion: ""
    readonly property var model: [
        { "name": "Menu_General", "title": "تنظیمات عمومی دستگاه" },
        { "name": "Menu_Alarms", "title": "هشدارهای دستگاه" },
        { "name": "Menu_Listening", "title": "تنظیمات شنود" },
        { "name": "Menu_Users", "title": "مدیریت کاربر" },
        { "name": "Menu_SimCards", "title": "انتخاب سیمکارت پیشفرض" },
        { "name": "Menu_Appearance", "title": "تنظیمات ظاهری" },
        { "name": "Menu_Map", "title": "مدیریت نقشه" },
        { "name": "Menu_Server", "title": "تنظیمات سرور" },
        { "name": "Menu_Data", "title": "تنظیمات ارسال داده" },
        { "name": "Menu_PersonalInfo", "title": "ثبت اطلاعات شخصی و خودرو" },
        { "name": "Menu_Support", "title": "پشتیبانی" }
    ]

    signal itemSelected(int index)
    signal changeDevice

    function resetMenu(): void {
        _menuList.currentIndex = -1;
        _menuList.positionViewAtBeginning();
    }

    ListView {
        id: _menuList

        anchors.fill: parent
        clip: true
        currentIndex: -1
        model: _settingsMenu.model
        delegate: ItemDelegate {
            required property int index
            required property var modelData

            width: ListView.view.width
            text: modelData.title
            onClicked: _settingsMenu.itemSelected(index)
        }
    }
}
