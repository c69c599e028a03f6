pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import ".."
import "../Style.js" as Style
import "../SettingsRules.js" as SettingsRules

// How the device reports one event (call, SMS, both or neither): the reported choice, an edited
// one, and apply; after apply it stays busy until the device reports a new type, or a new extra
// value (extraValue: what the row's extra control changes), or the time-out gives up.
RemoteEditor {
    id: _alarmTypeEdit

    property string title: "تنظیم نحوه اعلام هشدار"
    property int reportType: 0
    property var extraValue
    property alias advanceItems: _advance.data
    readonly property real _boxWidth: basePixelSizeFactor > 1 ? 85 : 75
    readonly property real _boxHeight: basePixelSizeFactor > 1 ? 50 : 45

    signal editRequest(int alarmType)

    implicitWidth: _column.implicitWidth
    implicitHeight: _column.implicitHeight
    onReportTypeChanged: {
        state = "idle";
        _editCall.checked = (reportType & 1) !== 0;
        _editSms.checked = (reportType & 2) !== 0;
    }
    onExtraValueChanged: {
        if (state === "busy")
            state = "idle";
    }

    ColumnLayout {
        id: _column

        anchors.fill: parent
        spacing: 0

        MyLabel {
            text: _alarmTypeEdit.title
            verticalAlignment: Text.AlignVCenter
            Layout.preferredHeight: 25
            Layout.fillWidth: true
        }

        RowLayout {
            objectName: "_row"
            spacing: 0
            Layout.fillWidth: true

            Item {
                Layout.fillWidth: true
            }

            ShownChoice {
                objectName: "_shownSms"
                text: "پیامک"
                checked: (_alarmTypeEdit.reportType & 2) !== 0
            }

            ShownChoice {
                objectName: "_shownCall"
                text: "تماس"
                checked: (_alarmTypeEdit.reportType & 1) !== 0
            }

            MyCheckBox {
                id: _editSms

                objectName: "_editSms"
                text: "پیامک"
                enabled: _alarmTypeEdit.state === "edit"
                visible: _alarmTypeEdit.state !== "idle"
                Layout.preferredWidth: Math.max(_alarmTypeEdit._boxWidth, implicitWidth)
                Layout.preferredHeight: _alarmTypeEdit._boxHeight
            }

            MyCheckBox {
                id: _editCall

                objectName: "_editCall"
                text: "تماس"
                enabled: _alarmTypeEdit.state === "edit"
                visible: _alarmTypeEdit.state !== "idle"
                Layout.preferredWidth: Math.max(_alarmTypeEdit._boxWidth, implicitWidth)
                Layout.preferredHeight: _alarmTypeEdit._boxHeight
            }

            BusyTextFieldButton {
                objectName: "_cancelButton"
                icon.source: "qrc:/graphics/close.png"
                toolTip: "انصراف"
                visible: _alarmTypeEdit.state === "edit"
                Layout.preferredWidth: _alarmTypeEdit._boxHeight
                Layout.preferredHeight: _alarmTypeEdit._boxHeight
                onClicked: _alarmTypeEdit.state = "idle"
            }

            BusyTextFieldButton {
                objectName: "_applyButton"
                icon.source: "qrc:/graphics/checkmark.png"
                toolTip: "اعمال"
                visible: _alarmTypeEdit.state === "edit"
                Layout.preferredWidth: _alarmTypeEdit._boxHeight
                Layout.preferredHeight: _alarmTypeEdit._boxHeight
                onClicked: {
                    _alarmTypeEdit.state = "busy";
                    _alarmTypeEdit.editRequest(SettingsRules.alarmType(_editCall.checked, _editSms.checked));
                }
            }

            BusyTextFieldButton {
                objectName: "_editButton"
                icon.source: "qrc:/graphics/edit.png"
                toolTip: "ویرایش"
                visible: _alarmTypeEdit.state === "idle"
                Layout.preferredWidth: _alarmTypeEdit._boxHeight
                Layout.preferredHeight: _alarmTypeEdit._boxHeight
                onClicked: {
                    _editCall.checked = (_alarmTypeEdit.reportType & 1) !== 0;
                    _editSms.checked = (_alarmTypeEdit.reportType & 2) !== 0;
                    _alarmTypeEdit.state = "edit";
                }
            }
        }

        RowLayout {
            id: _advance

            objectName: "_advance"
            spacing: 10
            Layout.fillWidth: true
        }

        Rectangle {
            color: Qt.rgba(1, 1, 1, 0.2)
            Layout.fillWidth: true
            Layout.preferredHeight: 1

            ProgressBar {
                objectName: "_progress"
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                indeterminate: true
                visible: _alarmTypeEdit.state === "busy"
                Material.accent: Style.progressAccent
            }
        }
    }

    // The reported choice at rest, as readable as an active box; it takes no clicks.
    component ShownChoice: MyCheckBox {
        focusPolicy: Qt.NoFocus
        hoverEnabled: false
        visible: _alarmTypeEdit.state === "idle"
        Layout.preferredWidth: Math.max(_alarmTypeEdit._boxWidth, implicitWidth)
        Layout.preferredHeight: _alarmTypeEdit._boxHeight

        MouseArea {
            anchors.fill: parent
        }
    }
}
