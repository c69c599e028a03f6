import QtQuick
import QtQuick.Controls.Material
import "JalaliDate.js" as JalaliDate

// A Jalali date above a time of day, both picked by hand.
Frame {
    id: _editor

    readonly property string jDateTimeString: _date.text + " " + _time.text
    readonly property string gDateTimeString: _date.gText + " " + _time.text
    readonly property date gDateTime: new Date(_date.gDate[0], _date.gDate[1] - 1, _date.gDate[2], _time.time[0], _time.time[1],
                                               _time.time[2], 0)

    function setDateTime(dateTime: date): void {
        const j = JalaliDate.fromGregorian(dateTime);
        _date.setJDate(j[0], j[1], j[2]);
        _time.setTime(dateTime.getHours(), dateTime.getMinutes(), dateTime.getSeconds());
    }

    function setJDateTime(y: int, M: int, d: int, h: int, m: int, s: int): void {
        _date.setJDate(y, M, d);
        _time.setTime(h, m, s);
    }

    padding: 5

    Column {
        JalaliDateEdit {
            id: _date
            objectName: "_date"

            width: 150
            height: 35
        }
        TimeEdit {
            id: _time
            objectName: "_time"

            width: 150
            height: 35
        }
    }
}
