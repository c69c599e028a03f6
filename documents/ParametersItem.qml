import QtQuick

// Live values of the car over the map.
Item {
    implicitWidth: 100
    implicitHeight: 0
}
