import QtQuick

// One car of the account: model, colour and plate, SIM number and serial number.
Column {
    id: _deviceItem

    required property var params
    property bool current: false
    property bool underlineVisibility: false

    padding: 3
    spacing: 2

    // Inline components do not see this document's ids.
    component Line: MyLabel {
        width: parent ? parent.width - 6 : 0
        horizontalAlignment: Text.AlignHCenter
        // A long model and plate wrap on a narrow phone.
        wrapMode: Text.WordWrap
        style: Text.Raised
        styleColor: "black"
        opacity: 0.9
    }

    Line {
        objectName: "_carLine"
        text: "خودرو: " + (_deviceItem.params.vehicleModel ?? "") + " " + (_deviceItem.params.vehicleColor ?? "")
              + "   " + "پلاک: " + (_deviceItem.params.vehiclePlaque ?? "")
    }

    Line {
        objectName: "_simLine"
        text: "شماره سیم‌کارت: " + (_deviceItem.params.simNumber ?? "")
    }

    Line {
        objectName: "_imeiLine"
        text: "IMEI: " + (_deviceItem.params.imei ?? "")

        Image {
            objectName: "_checkMark"
            // x, unlike a right anchor, is not mirrored: the mark keeps the right end.
            x: parent.width - width - 15
            anchors.verticalCenter: parent.verticalCenter
            width: 16
            height: 16
            source: "qrc:/graphics/checkmark.png"
            visible: _deviceItem.current
        }
    }

    Rectangle {
        objectName: "_underline"
        width: _deviceItem.width - 2 * _deviceItem.padding
        height: 1
        color: "white"
        visible: _deviceItem.underlineVisibility
    }
}
