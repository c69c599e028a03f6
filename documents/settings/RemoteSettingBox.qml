import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import ".."
import "../Style.js" as Style

// An editor of a value the device holds: edit, apply or cancel; after apply it stays busy until
// its page sees the device report the new value (seToIdleState) or the time-out gives up.
RemoteEditor {
    id: _remoteSettingBox

    property string title: "عنوان"
    property Item contaneItem
    property Item advanceItem

    signal apply

    function seToIdleState(): void {
        state = "idle";
    }

    implicitWidth: _column.implicitWidth
    implicitHeight: _column.implicitHeight
    onContaneItemChanged: {
        if (contaneItem)
            contaneItem.parent = _content;
    }
    onAdvanceItemChanged: {
        if (advanceItem)
            advanceItem.parent = _advance;
    }

    ColumnLayout {
        id: _column

        anchors.fill: parent
        spacing: 0

        MyLabel {
            text: _remoteSettingBox.title
            verticalAlignment: Text.AlignVCenter
            Layout.preferredHeight: 25
            Layout.fillWidth: true
        }

        RowLayout {
            objectName: "_row"
            spacing: 0
            Layout.fillWidth: true

            Item {
                id: _content

                objectName: "_content"
                enabled: _remoteSettingBox.state === "edit"
                implicitWidth: childrenRect.width
                implicitHeight: Math.max(childrenRect.height, 45)
                Layout.preferredWidth: implicitWidth
                Layout.preferredHeight: implicitHeight
            }

            Item {
                Layout.fillWidth: true
            }

            BusyTextFieldButton {
                objectName: "_cancelButton"
                icon.source: "qrc:/graphics/close.png"
                toolTip: "انصراف"
                visible: _remoteSettingBox.state === "edit"
                onClicked: _remoteSettingBox.state = "idle"
            }

            BusyTextFieldButton {
                objectName: "_applyButton"
                icon.source: "qrc:/graphics/checkmark.png"
                toolTip: "اعمال"
                visible: _remoteSettingBox.state === "edit"
                onClicked: {
                    _remoteSettingBox.apply();
                    _remoteSettingBox.state = "busy";
                }
            }

            BusyTextFieldButton {
                objectName: "_editButton"
                icon.source: "qrc:/graphics/edit.png"
                toolTip: "ویرایش"
                visible: _remoteSettingBox.state === "idle"
                onClicked: _remoteSettingBox.state = "edit"
            }
        }

        Item {
            id: _advance

            objectName: "_advance"
            enabled: _remoteSettingBox.state === "edit"
            implicitHeight: childrenRect.height
            Layout.fillWidth: true
            Layout.preferredHeight: implicitHeight
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
                visible: _remoteSettingBox.state === "busy"
                Material.accent: Style.progressAccent
            }
        }
    }
}
