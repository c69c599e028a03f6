import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

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

    function _numbers(count: int): list<string> {
        const texts = [];
        for (let n = 0; n < count; ++n)
            texts.push(String(n).padStart(2, "0"));
        return texts;
    }

    implicitWidth: 200
    implicitHeight: 40
    LayoutMirroring.enabled: false
    LayoutMirroring.childrenInherit: true

    component Colon: Label {
        text: ":"
        font.pointSize: 15
        font.bold: true
    }

    component NumberBox: MyComboBox {
        Layout.fillWidth: true
        Layout.fillHeight: true
        leftPadding: 0
        rightPadding: 0
    }

    RowLayout {
        anchors.fill: parent
        spacing: 0

        NumberBox {
            id: _hours
            objectName: "_hours"

            model: _timeEdit._numbers(24)
        }
        Colon {}
        NumberBox {
            id: _minutes
            objectName: "_minutes"

            model: _timeEdit._numbers(60)
        }
        Colon {}
        NumberBox {
            id: _seconds
            objectName: "_seconds"

            model: _timeEdit._numbers(60)
        }
    }
}
