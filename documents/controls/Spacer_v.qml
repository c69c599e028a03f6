import QtQuick
import QtQuick.Layouts

Item {
    implicitWidth: 1
    Layout.fillHeight: true
}
