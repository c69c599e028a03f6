import QtQuick
import QtQuick.Controls.Material
import ".."

// A flat icon button with its caption just below it.
Button {
    id: _underTextButton

    property string underText: "button"

    flat: true
    icon.source: "qrc:/graphics/checkmark.png"

    MyLabel {
        objectName: "_underText"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: -8
        text: _underTextButton.underText
    }
}
