pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts

// Map settings: the map type, which survives restarts, and the stored tiles.
FormPage {
    id: _mapSettingPage

    margin: 10

    property int activeStyleIndex: 0

    signal styleChosen(int index)

    background: null
    // The list of map types comes from the map's tile plugin.
    onVisibleChanged: {
        if (visible)
            _map.attachPlugin();
    }

        Title {
            Layout.fillWidth: true
            text: "انتخاب انواع فرمت‌های نقشه:"
        }

        ButtonGroup {
            id: _mapTypes
        }

        Repeater {
            model: _map.supportedMapTypes

            delegate: MyRadioButton {
                required property var modelData
                required property int index

                objectName: "_mapType" + index
                text: modelData.name
                checked: index === _mapSettingPage.activeStyleIndex
                ButtonGroup.group: _mapTypes
                onToggled: {
                    if (checked)
                        _mapSettingPage.styleChosen(index);
                }
            }
        }

        Title {
            Layout.fillWidth: true
            Layout.topMargin: 10
            text: "مدیریت ذخیره‌سازی نقشه:"
        }

        MyButton {
            objectName: "_clearTiles"
            Layout.alignment: Qt.AlignHCenter
            text: "پاک کردن نقشه‌های ذخیره شده"
            onClicked: _map.clearData()
        }
}
