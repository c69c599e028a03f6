import QtQuick
import QtQuick.Layouts
import "JsTools.js" as JsTools

// Picks a time of day as hours : minutes : seconds, read left to right in any direction.
Item {
    id: _timeEdit

    readonly property string text: _hours.currentText + ":" + _minutes.currentText + ":" + _seconds.currentText
    readonly property list<int> time: [_hours.currentIndex, _minutes.currentIndex, _seconds.currentIndex]

    function setTime(h: int, m: int, s: int): void {
        _hours.currentIndex = h;
        _minutes.currentIndex = m;
        _seconds.currentIndex = s;
    }

    implicitWidth: 200
    implicitHeight: 40
    LayoutMirroring.enabled: false
    LayoutMirroring.childrenInherit: true

    RowLayout {
        anchors.fill: parent
        spacing: 0

        NumberBox {
            id: _hours
            objectName: "_hours"

            Layout.fillWidth: true
            model: JsTools.numberTexts(0, 23, 2)
        }
        PickerSeparator {
            text: ":"
        }
        NumberBox {
            id: _minutes
            objectName: "_minutes"

            Layout.fillWidth: true
            model: JsTools.numberTexts(0, 59, 2)
        }
        PickerSeparator {
            text: ":"
        }
        NumberBox {
            id: _seconds
            objectName: "_seconds"

            Layout.fillWidth: true
            model: JsTools.numberTexts(0, 59, 2)
        }
    }
}
