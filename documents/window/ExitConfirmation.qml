import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts

// Asks before the application quits.
Popup {
    id: _exitConfirmation

    modal: true
    focus: true
    padding: 25
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    background: PlainPopupBackground {}

    GridLayout {
        columns: 2
        columnSpacing: 10

        Label {
            Layout.columnSpan: 2
            text: "آیا برای خروج اطمینان دارید؟"
            font.pointSize: 2.2 * Screen.pixelDensity
        }
        Button {
            Layout.minimumWidth: 100
            highlighted: true
            text: "انصراف"
            onClicked: _exitConfirmation.close()
        }
        Button {
            Layout.minimumWidth: 100
            highlighted: true
            Material.accent: "#aadd5555"
            text: "بلی"
            onClicked: Qt.quit()
        }
    }
}
