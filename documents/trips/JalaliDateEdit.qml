import QtQuick
import QtQuick.Layouts
import "JsTools.js" as JsTools
import "JalaliDate.js" as JalaliDate

// Picks a Jalali date as year / month / day, read left to right whatever the window's direction.
// Every month offers 31 days: a day past the month's end runs on into the next month.
Item {
    id: _jalaliDateEdit

    readonly property string text: _year.currentText + "-" + _month.currentText + "-" + _day.currentText
    readonly property list<int> jDate: [_firstYear + _year.currentIndex, _month.currentIndex + 1, _day.currentIndex + 1]
    readonly property list<int> gDate: JalaliDate.toGregorian(jDate[0], jDate[1], jDate[2])
    readonly property string gText: gDate.join("-")

    readonly property int _firstYear: 1398
    readonly property int _lastYear: 1430

    function setGDate(gDate: date): void {
        const j = JalaliDate.fromGregorian(gDate);
        setJDate(j[0], j[1], j[2]);
    }

    // A year the list does not offer leaves the editor as it was, so it always shows a real date.
    function setJDate(year: int, month: int, day: int): void {
        if (year < _firstYear || year > _lastYear || month < 1 || month > 12 || day < 1 || day > 31)
            return;
        _year.currentIndex = year - _firstYear;
        _month.currentIndex = month - 1;
        _day.currentIndex = day - 1;
    }

    implicitWidth: 150
    implicitHeight: 45
    LayoutMirroring.enabled: false
    LayoutMirroring.childrenInherit: true

    RowLayout {
        anchors.fill: parent
        spacing: 0

        NumberBox {
            id: _year
            objectName: "_year"

            Layout.fillWidth: true
            model: JsTools.numberTexts(_jalaliDateEdit._firstYear, _jalaliDateEdit._lastYear, 4)
        }
        PickerSeparator {
            text: "/"
        }
        NumberBox {
            id: _month
            objectName: "_month"

            Layout.preferredWidth: 40
            model: JsTools.numberTexts(1, 12, 2)
        }
        PickerSeparator {
            text: "/"
        }
        NumberBox {
            id: _day
            objectName: "_day"

            Layout.preferredWidth: 40
            popup.x: -20
            model: JsTools.numberTexts(1, 31, 2)
        }
    }
}
