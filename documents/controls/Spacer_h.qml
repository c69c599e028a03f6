import QtQuick
import QtQuick.Layouts

Item {
    implicitHeight: 1
    Layout.fillWidth: true
}
