pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts

// The dashboard's tool bar: settings, trip report, listening in and exit, from the right.
ToolBar {
    id: _mainFooter

    required property int basePixelSize

    signal settingsClicked
    signal tripReportClicked
    signal listenClicked
    signal exitClicked

    Material.foreground: "white"
    Material.primary: "#AA354d82"
    font.pixelSize: 0.9 * basePixelSize

    component FooterButton: ToolButton {
        Layout.fillWidth: true
        Layout.preferredWidth: 1
        Layout.alignment: Qt.AlignBottom
        Layout.bottomMargin: -5
        display: AbstractButton.TextUnderIcon
        spacing: -5
        padding: 2
    }

    RowLayout {
        anchors.fill: parent
        spacing: 0

        FooterButton {
            text: "تنظیمات"
            icon.source: "qrc:/graphics/configuration.svg"
            onClicked: _mainFooter.settingsClicked()
        }
        FooterButton {
            text: "گزارش مسیر"
            icon.source: "qrc:/graphics/currentLocation.svg"
            onClicked: _mainFooter.tripReportClicked()
        }
        FooterButton {
            text: "شنود"
            icon.source: "qrc:/graphics/ear.svg"
            onClicked: _mainFooter.listenClicked()
        }
        FooterButton {
            text: "خروج"
            icon.source: "qrc:/graphics/exit.svg"
            onClicked: _mainFooter.exitClicked()
        }
    }
}
