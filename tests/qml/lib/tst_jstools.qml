import QtQuick
import QtTest
import "qrc:/JsTools.js" as JsTools

TestCase {
    name: "JsTools"

    function test_comparePhoneNumber_data() {
        return [
            {
                tag: "country prefix vs leading zero",
                a: "+989121234567",
                b: "09121234567",
                same: true
            },
            {
                tag: "same digits",
                a: "09121234567",
                b: "09121234567",
                same: true
            },
            {
                tag: "different last ten",
                a: "+989121234567",
                b: "09121234568",
                same: false
            },
            {
                tag: "first too short",
                a: "912123456",
                b: "0912123456",
                same: false
            },
            {
                tag: "second too short",
                a: "0912123456",
                b: "912123456",
                same: false
            },
            {
                tag: "both short and equal",
                a: "12345",
                b: "12345",
                same: false
            },
            {
                tag: "exactly ten",
                a: "9121234567",
                b: "+989121234567",
                same: true
            }
        ];
    }

    function test_comparePhoneNumber(data) {
        compare(JsTools.comparePhoneNumber(data.a, data.b), data.same);
    }

    function test_formatNumber_data() {
        return [
            {
                tag: "pads one digit",
                number: 7,
                len: 2,
                expected: "07"
            },
            {
                tag: "pads to four",
                number: 5,
                len: 4,
                expected: "0005"
            },
            {
                tag: "long enough stays a number",
                number: 123,
                len: 2,
                expected: 123
            },
            {
                tag: "negative: zeros after the sign",
                number: -5,
                len: 3,
                expected: "-05"
            },
            {
                tag: "negative, long enough",
                number: -28,
                len: 3,
                expected: "-28"
            },
            {
                tag: "zero length",
                number: 0,
                len: 0,
                expected: 0
            }
        ];
    }

    function test_formatNumber(data) {
        const result = JsTools.formatNumber(data.number, data.len);
        compare(typeof result, typeof data.expected);
        compare(result, data.expected);
    }

    function test_padWithEmptyPaddingEnds() {
        compare(JsTools.pad(3, "7", ""), "7");
        compare(JsTools.pad(5, "ab", "-"), "---ab");
    }

    function test_latinizeNumber_data() {
        return [
            {
                tag: "phone with repeats",
                text: "۰۹۱۲۳۳۳۴۴۵۵",
                expected: "09123334455"
            },
            {
                tag: "every digit",
                text: "۰۱۲۳۴۵۶۷۸۹",
                expected: "0123456789"
            },
            {
                tag: "mixed text kept",
                text: "کد ۱۲-a۹",
                expected: "کد 12-a9"
            },
            {
                tag: "Arabic digits",
                text: "٠٩١٢٣",
                expected: "09123"
            },
            {
                tag: "latin unchanged",
                text: "+98912",
                expected: "+98912"
            }
        ];
    }

    function test_latinizeNumber(data) {
        compare(JsTools.latinizeNumber(data.text), data.expected);
    }
}
