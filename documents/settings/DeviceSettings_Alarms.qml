pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import "qmlItems" as QmlItems
import "SettingsRules.js" as SettingsRules
import "JsTools.js" as JsTools

// The device's alarm report numbers, alarm types, speed limit and shock sensitivity, as last
// reported by the device; each editor sends its frame by SMS and waits for the next report.
FormPage {
    id: _alarmsPage

    columnSpacing: 25
    scrollArea.objectName: "_scrollArea"

    property string reportNumber1: ""
    property string reportNumber2: ""
    property int geoFenceAlarmType: 0
    property int doorAlarmType: 0
    property int trunkAlarmType: 0
    property int switchAlarmType: 0
    property int carringAlarmType: 0
    property int powerDisconnectAlarmType: 0
    property int overSpeedAlarmType: 0
    property int shakeAlarmType: 0
    property int shockSensitivity: 0
    property int overSpeed: 0
    // The zone and mode the geofence row sends with its alarm type.
    property var geofenceCoords: []
    property int geofenceInOut: 0

    // The zone's map covers the page while the geofence row is being edited.
    property bool _zoneMapOpen: false

    signal editGeofence
    signal chooseGeofenceMode

    // Sends both report numbers with one of them edited; a refused text stays in the editor.
    function applyReportNumber(field: Item, edited: int, text: string): void {
        const number = JsTools.phoneNumber(text);
        const frame = number === null ? "" : _deviceCommands.createReportNumberPacket(
                                            SettingsRules.reportField(edited === 1 ? number : reportNumber1),
                                            SettingsRules.reportField(edited === 2 ? number : reportNumber2));
        if (frame === "") {
            field.state = "edit";
            _mainTooltip.show(JsTools.phoneNumberRule, 5000);
            return;
        }
        _carCommands.send(frame, field);
    }

    function applyGeofence(alarmType: int): void {
        if (_carCommands.send(_deviceCommands.createGeofenceAlarmTypePacket(alarmType), _geofenceRow))
            _carCommands.send(_deviceCommands.createGeofencePacket(geofenceCoords, geofenceInOut), _geofenceRow);
    }

    // A row not being edited shows the reported extra value: after a cancel, after the time-out,
    // and when the device reports a value other than the one applied.
    function _showReportedExtras(): void {
        if (_shockRow.state === "idle")
            _shockSlider.value = shockSensitivity;
        if (_speedRow.state === "idle")
            _speedBox.value = overSpeed;
    }

    onVisibleChanged: {
        if (visible)
            _zoneMapOpen = false;
    }
    onShockSensitivityChanged: _showReportedExtras()
    onOverSpeedChanged: _showReportedExtras()

        QmlItems.BusyTextField {
            id: _reportNumber1

            objectName: "_reportNumber1"
            text: _alarmsPage.reportNumber1
            placeholderText: "شماره موبایل اول جهت دریافت هشدارها"
            infoTitle: "شماره \"" + editText + "\" جهت دریافت هشدارها تنظیم می‌شود"
            infoText: "آیا اطمینان دارید؟"
            inputMethodHints: Qt.ImhDialableCharactersOnly
            Layout.fillWidth: true
            onEditRequest: _alarmsPage.applyReportNumber(_reportNumber1, 1, editText)
        }

        QmlItems.BusyTextField {
            id: _reportNumber2

            objectName: "_reportNumber2"
            text: _alarmsPage.reportNumber2
            placeholderText: "شماره موبایل دوم جهت دریافت هشدارها"
            infoTitle: "شماره \"" + editText + "\" جهت دریافت هشدارها تنظیم می‌شود"
            infoText: "آیا اطمینان دارید؟"
            inputMethodHints: Qt.ImhDialableCharactersOnly
            Layout.fillWidth: true
            onEditRequest: _alarmsPage.applyReportNumber(_reportNumber2, 2, editText)
        }

        QmlItems.AlarmTypeEdit {
            id: _shockRow

            objectName: "_shockRow"
            title: "سنسور شوک (تکان خوردن خودرو):"
            reportType: _alarmsPage.shakeAlarmType
            extraValue: _alarmsPage.shockSensitivity
            Layout.fillWidth: true
            onStateChanged: _alarmsPage._showReportedExtras()
            onEditRequest: alarmType => _carCommands.send("[oribel,33," + _shockSlider.value + "," + alarmType + "]}]", _shockRow)
            advanceItems: [
                MyLabel {
                    text: "تنظیم حساسیت:"
                },
                SensitivitySlider {
                    id: _shockSlider

                    objectName: "_shockSlider"
                    enabled: _shockRow.state === "edit"
                    Layout.fillWidth: true
                }
            ]
        }

        QmlItems.AlarmTypeEdit {
            id: _doorRow

            objectName: "_doorRow"
            title: "باز شدن درب‌ها"
            reportType: _alarmsPage.doorAlarmType
            Layout.fillWidth: true
            onEditRequest: alarmType => _carCommands.send(_deviceCommands.createDoorAlarmPacket(alarmType), _doorRow)
        }

        QmlItems.AlarmTypeEdit {
            id: _trunkRow

            objectName: "_trunkRow"
            title: "باز شدن درب صندوق یا کاپوت"
            reportType: _alarmsPage.trunkAlarmType
            Layout.fillWidth: true
            onEditRequest: alarmType => _carCommands.send(_deviceCommands.createTrunkAlarmPacket(alarmType), _trunkRow)
        }

        QmlItems.AlarmTypeEdit {
            id: _switchRow

            objectName: "_switchRow"
            title: "باز شدن سوئیچ خودرو"
            reportType: _alarmsPage.switchAlarmType
            Layout.fillWidth: true
            onEditRequest: alarmType => _carCommands.send(_deviceCommands.createCarSwitchAlarmPacket(alarmType), _switchRow)
        }

        QmlItems.AlarmTypeEdit {
            id: _geofenceRow

            objectName: "_geofenceRow"
            title: "محدوده مجاز"
            reportType: _alarmsPage.geoFenceAlarmType
            keptWhileHidden: _alarmsPage._zoneMapOpen
            Layout.fillWidth: true
            onEditRequest: alarmType => _alarmsPage.applyGeofence(alarmType)
            advanceItems: [
                MyButton {
                    objectName: "_geofenceMapButton"
                    text: "تنظیم محدوده روی نقشه"
                    enabled: _geofenceRow.state === "edit"
                    onClicked: {
                        _alarmsPage._zoneMapOpen = true;
                        _alarmsPage.editGeofence();
                    }
                },
                MyButton {
                    objectName: "_geofenceModeButton"
                    text: "انتخاب نوع هشدار"
                    icon.source: "qrc:/graphics/in-out.png"
                    enabled: _geofenceRow.state === "edit"
                    onClicked: _alarmsPage.chooseGeofenceMode()
                }
            ]
        }

        QmlItems.AlarmTypeEdit {
            id: _carryingRow

            objectName: "_carryingRow"
            title: "حمل جرثقیل"
            reportType: _alarmsPage.carringAlarmType
            Layout.fillWidth: true
            onEditRequest: alarmType => _carCommands.send("[oribel,28," + alarmType + "]}]", _carryingRow)
        }

        QmlItems.AlarmTypeEdit {
            id: _powerRow

            objectName: "_powerRow"
            title: "قطع باطری خودرو (سرقت باطری)"
            reportType: _alarmsPage.powerDisconnectAlarmType
            Layout.fillWidth: true
            onEditRequest: alarmType => _carCommands.send(_deviceCommands.createPowerDissconnectAlarmPacket(alarmType), _powerRow)
        }

        QmlItems.AlarmTypeEdit {
            id: _speedRow

            objectName: "_overSpeedRow"
            title: "سرعت غیر مجاز"
            reportType: _alarmsPage.overSpeedAlarmType
            extraValue: _alarmsPage.overSpeed
            Layout.fillWidth: true
            onStateChanged: _alarmsPage._showReportedExtras()
            onEditRequest: alarmType => _carCommands.send(_deviceCommands.createOverSpeedPacket(_speedBox.value, alarmType), _speedRow)
            advanceItems: [
                MyLabel {
                    text: "سرعت آستانه:"
                },
                MySpinBox {
                    id: _speedBox

                    objectName: "_speedBox"
                    from: 0
                    to: 1000
                    inputMethodHints: Qt.ImhDigitsOnly
                    enabled: _speedRow.state === "edit"
                    Layout.maximumWidth: 70
                },
                MyLabel {
                    text: "km/h"
                }
            ]
        }
}
