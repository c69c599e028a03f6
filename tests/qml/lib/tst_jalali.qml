import QtQuick
import QtTest
import kova.tools
import "qrc:/"
import "qrc:/JalaliDate.js" as JalaliDate

// The Jalali conversions of the documents, held against the native one, and the three editors.
// Runs with TZ=UTC.
TestCase {
    id: _testCase

    // What the window gives every control.
    property int basePixelSize: 16
    property real basePixelSizeFactor: 1

    function init(): void {
        failOnWarning(/.?/);
    }

    function part(item: var, objectName: string): var {
        const found = findChild(item, objectName);
        verify(found, objectName);
        return found;
    }

    name: "Jalali"
    visible: true
    width: 420
    height: 300
    when: windowShown
    LayoutMirroring.enabled: true
    LayoutMirroring.childrenInherit: true

    Tools {
        id: _tools
    }

    Component {
        id: _dateEditComponent

        JalaliDateEdit {}
    }

    Component {
        id: _timeEditComponent

        TimeEdit {}
    }

    Component {
        id: _dateTimeEditorComponent

        JalaliDateTimeEditor {}
    }

    function test_conversions_data() {
        return [
            { "tag": "new year 1403", "gregorian": [2024, 3, 20], "jalali": [1403, 1, 1] },
            { "tag": "last day of 1402", "gregorian": [2024, 3, 19], "jalali": [1402, 12, 29] },
            { "tag": "30th of a leap Esfand", "gregorian": [2025, 3, 20], "jalali": [1403, 12, 30] },
            { "tag": "gregorian leap day", "gregorian": [2020, 2, 29], "jalali": [1398, 12, 10] },
            { "tag": "2000-01-01", "gregorian": [2000, 1, 1], "jalali": [1378, 10, 11] },
            { "tag": "first 30-day month", "gregorian": [2024, 9, 22], "jalali": [1403, 7, 1] },
            { "tag": "last of the 31-day months", "gregorian": [2024, 9, 21], "jalali": [1403, 6, 31] },
            { "tag": "before the 1600 epoch", "gregorian": [1500, 6, 1], "jalali": [879, 3, 11] }
        ];
    }

    function test_conversions(data) {
        const g = data.gregorian;
        compare(JalaliDate.fromGregorian(new Date(g[0], g[1] - 1, g[2], 12)), data.jalali);
        compare(JalaliDate.toGregorian(data.jalali[0], data.jalali[1], data.jalali[2]), g);
    }

    // The conversion does not check its input: a day past the month's end runs on.
    function test_dayPastTheMonthRunsOn_data() {
        return [
            { "tag": "30th of a short Esfand", "jalali": [1402, 12, 30], "gregorian": [2024, 3, 20] },
            { "tag": "31st of Mehr", "jalali": [1403, 7, 31], "gregorian": [2024, 10, 22] },
            { "tag": "31st of a short Esfand", "jalali": [1401, 12, 31], "gregorian": [2023, 3, 22] }
        ];
    }

    function test_dayPastTheMonthRunsOn(data) {
        compare(JalaliDate.toGregorian(data.jalali[0], data.jalali[1], data.jalali[2]), data.gregorian);
    }

    // Every day of five centuries: the script agrees with the native conversion, and converting
    // back gives the day again. Only the first disagreement is reported.
    function test_everyDayAgreesWithNative() {
        const day = new Date(1700, 0, 1, 12);
        const last = new Date(2199, 11, 31, 12);
        let days = 0;
        let mismatch = "";
        while (day <= last && mismatch === "") {
            const script = JalaliDate.fromGregorian(day);
            const tools = _tools.dateToJalali(day);
            const gregorian = [day.getFullYear(), day.getMonth() + 1, day.getDate()];
            const back = JalaliDate.toGregorian(script[0], script[1], script[2]);
            if (script[0] !== tools.year || script[1] !== tools.month || script[2] !== tools.day)
                mismatch = gregorian + ": script " + script + ", native " + [tools.year, tools.month, tools.day];
            else if (String(back) !== String(gregorian))
                mismatch = gregorian + ": back from " + script + " gives " + back;
            day.setDate(day.getDate() + 1);
            ++days;
        }
        compare(mismatch, "");
        compare(days, 182621);
    }

    function test_dateEdit_data() {
        return [
            { "tag": "set from a Gregorian date", "gDate": new Date(2024, 2, 20), "texts": ["1403", "01", "01"], "text": "1403-01-01",
                "jDate": [1403, 1, 1], "gText": "2024-3-20" },
            { "tag": "set as Jalali", "jalali": [1398, 12, 10], "texts": ["1398", "12", "10"], "text": "1398-12-10",
                "jDate": [1398, 12, 10], "gText": "2020-2-29" },
            { "tag": "day 31 chosen in month 7", "jalali": [1403, 7, 1], "chooseDay": 30, "texts": ["1403", "07", "31"],
                "text": "1403-07-31", "jDate": [1403, 7, 31], "gText": "2024-10-22" },
            { "tag": "last year offered", "jalali": [1430, 12, 29], "texts": ["1430", "12", "29"], "text": "1430-12-29",
                "jDate": [1430, 12, 29], "gText": "2052-3-19" },
            { "tag": "year before the list keeps the date", "jalali": [1397, 12, 29], "texts": ["1403", "01", "01"],
                "text": "1403-01-01", "jDate": [1403, 1, 1], "gText": "2024-3-20" },
            { "tag": "year after the list keeps the date", "gDate": new Date(2052, 2, 20), "texts": ["1403", "01", "01"],
                "text": "1403-01-01", "jDate": [1403, 1, 1], "gText": "2024-3-20" }
        ];
    }

    function test_dateEdit(data) {
        const edit = createTemporaryObject(_dateEditComponent, _testCase);
        edit.setJDate(1403, 1, 1);
        if (data.gDate)
            edit.setGDate(data.gDate);
        if (data.jalali)
            edit.setJDate(data.jalali[0], data.jalali[1], data.jalali[2]);
        if (data.chooseDay !== undefined)
            part(edit, "_day").currentIndex = data.chooseDay;
        compare([part(edit, "_year").currentText, part(edit, "_month").currentText, part(edit, "_day").currentText], data.texts);
        compare(edit.text, data.text);
        compare(Array.from(edit.jDate), data.jDate);
        compare(edit.gText, data.gText);
    }

    function test_dateEditListsAndSize() {
        const edit = createTemporaryObject(_dateEditComponent, _testCase);
        compare([edit.width, edit.height], [150, 45]);
        const year = part(edit, "_year");
        compare([year.count, year.textAt(0), year.textAt(32)], [33, "1398", "1430"]);
        compare([part(edit, "_month").count, part(edit, "_month").width], [12, 40]);
        compare([part(edit, "_day").count, part(edit, "_day").width], [31, 40]);
        // Left to right inside the right-to-left window: year, month, day.
        verify(year.x < part(edit, "_month").x && part(edit, "_month").x < part(edit, "_day").x);
    }

    function test_timeEdit_data() {
        return [
            { "tag": "padded", "time": [9, 5, 3], "text": "09:05:03" },
            { "tag": "midnight", "time": [0, 0, 0], "text": "00:00:00" },
            { "tag": "last second", "time": [23, 59, 59], "text": "23:59:59" }
        ];
    }

    function test_timeEdit(data) {
        const edit = createTemporaryObject(_timeEditComponent, _testCase);
        edit.setTime(data.time[0], data.time[1], data.time[2]);
        compare(edit.text, data.text);
        compare(Array.from(edit.time), data.time);
        compare([edit.width, edit.height], [200, 40]);
    }

    function test_dateTimeEditor_data() {
        return [
            { "tag": "from a date-time", "dateTime": new Date(2024, 2, 20, 8, 5, 0), "jText": "1403-01-01 08:05:00",
                "gText": "2024-3-20 08:05:00", "gDateTime": new Date(2024, 2, 20, 8, 5, 0) },
            { "tag": "milliseconds dropped", "dateTime": new Date(2020, 1, 29, 23, 59, 59, 999), "jText": "1398-12-10 23:59:59",
                "gText": "2020-2-29 23:59:59", "gDateTime": new Date(2020, 1, 29, 23, 59, 59, 0) },
            { "tag": "as Jalali", "jalali": [1403, 12, 30, 23, 59, 59], "jText": "1403-12-30 23:59:59",
                "gText": "2025-3-20 23:59:59", "gDateTime": new Date(2025, 2, 20, 23, 59, 59) }
        ];
    }

    function test_dateTimeEditor(data) {
        const editor = createTemporaryObject(_dateTimeEditorComponent, _testCase);
        if (data.dateTime)
            editor.setDateTime(data.dateTime);
        else
            editor.setJDateTime(...data.jalali);
        compare(editor.jDateTimeString, data.jText);
        compare(editor.gDateTimeString, data.gText);
        compare(editor.gDateTime.getTime(), data.gDateTime.getTime());
    }
}
