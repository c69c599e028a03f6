import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import ".."

// A yes/cancel question over the whole window.
Popup {
    id: _messageBox

    property string title
    property string text
    property string informativeText

    signal ok
    signal close

    anchors.centerIn: Overlay.overlay
    modal: true
    background: PlainPopupBackground {}
    focus: true

    ColumnLayout {
        anchors.fill: parent
        spacing: 10

        Title {
            text: _messageBox.title
            Layout.fillWidth: true
        }

        MyLabel {
            text: _messageBox.text
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
        }

        MyLabel {
            text: _messageBox.informativeText
            wrapMode: Text.WordWrap
            visible: text !== ""
            Layout.fillWidth: true
        }

        RowLayout {
            spacing: 10
            Layout.alignment: Qt.AlignHCenter

            MyButton {
                objectName: "_cancelButton"
                text: "انصراف"
                Layout.minimumWidth: 100
                onClicked: {
                    _messageBox.close();
                    _messageBox.visible = false;
                }
            }

            MyButton {
                objectName: "_okButton"
                text: "بلی"
                Layout.minimumWidth: 100
                onClicked: {
                    _messageBox.ok();
                    _messageBox.visible = false;
                }
            }
        }
    }
}
