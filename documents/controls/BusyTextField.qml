import QtQuick
import QtQuick.Controls.Material
import ".."
import "../Style.js" as Style

// Shows a value confirmed by a peer and lets the user edit it and send the new one; it stays
// busy until the screen confirms (sets text) or the time-out gives up.
RemoteEditor {
    id: _busyTextField

    property string text
    property alias editText: _editField.text
    property string placeholderText
    property string infoTitle
    property string infoText
    property alias inputMethodHints: _editField.inputMethodHints
    property alias validator: _editField.validator

    signal editRequest

    implicitWidth: 60
    // Taller with larger text, so that the raised title keeps clear of the text and of the
    // buttons' icons, a little taller than the text line.
    implicitHeight: Math.max(50, _editField.implicitHeight + 4)
    onStateChanged: {
        if (state === "edit")
            _editField.forceActiveFocus();
    }
    onTextChanged: state = "idle"

    MyTextField {
        id: _displayField

        objectName: "_displayField"
        anchors.fill: parent
        // A long value ends short of the buttons instead of running under them.
        rightPadding: 7 + _buttons.width
        titleReach: _title.raisedBottom
        text: _busyTextField.text
        horizontalAlignment: TextInput.AlignHCenter
        enabled: false
        // The confirmed value at rest, readable although the field takes no input.
        color: Style.secondaryText
        visible: _busyTextField.state === "idle"
    }

    MyTextField {
        id: _editField

        objectName: "_editField"
        anchors.fill: parent
        rightPadding: 7 + _buttons.width
        titleReach: _title.raisedBottom
        horizontalAlignment: TextInput.AlignHCenter
        enabled: _busyTextField.state === "edit"
        visible: _busyTextField.state !== "idle"

        ProgressBar {
            objectName: "_progress"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 8
            indeterminate: true
            visible: _busyTextField.state === "busy"
            Material.accent: Style.progressAccent
        }
    }

    FloatingTitle {
        id: _title

        objectName: "_floatingTitle"
        field: _displayField
        reserve: _buttons.width
        text: _busyTextField.placeholderText
        raised: _busyTextField.state !== "idle" || _busyTextField.text.length > 0
    }

    Row {
        id: _buttons

        objectName: "_buttons"
        // x, unlike a right anchor, is not mirrored: the buttons keep the right end in the
        // right-to-left window.
        x: _busyTextField.width - width
        // Level with the text, below the raised title.
        anchors.verticalCenter: parent.verticalCenter
        anchors.verticalCenterOffset: (_editField.topPadding - _editField.bottomPadding) / 2

        BusyTextFieldButton {
            objectName: "_cancelButton"
            icon.source: "qrc:/graphics/close.png"
            toolTip: "انصراف"
            visible: _busyTextField.state === "edit"
            onClicked: _busyTextField.state = "idle"
        }

        BusyTextFieldButton {
            objectName: "_applyButton"
            icon.source: "qrc:/graphics/checkmark.png"
            toolTip: "اعمال"
            visible: _busyTextField.state === "edit"
            onClicked: {
                _busyTextField.state = "busy";
                _busyTextField.editRequest();
            }
        }

        BusyTextFieldButton {
            objectName: "_editButton"
            icon.source: "qrc:/graphics/edit.png"
            toolTip: "ویرایش"
            visible: _busyTextField.state === "idle"
            onClicked: {
                _busyTextField.editText = _busyTextField.text;
                _busyTextField.state = "edit";
            }
        }
    }

    Popup {
        id: _infoPopup

        readonly property bool wanted: _busyTextField.state === "edit" && _busyTextField.infoTitle !== "" && _busyTextField.infoText !== ""

        objectName: "_infoPopup"
        y: _busyTextField.height
        width: _busyTextField.width
        closePolicy: Popup.NoAutoClose
        background: PlainPopupBackground {}
        onWantedChanged: wanted ? open() : close()

        Column {
            width: parent.width
            spacing: 5

            Title {
                width: parent.width
                text: _busyTextField.infoTitle
            }

            MyLabel {
                x: 0
                width: parent.width - 20
                text: _busyTextField.infoText
                wrapMode: Text.WordWrap
            }
        }
    }
}
