import QtQuick
import QtTest
import "qrc:/Style.js" as Style

// Every text colour the style names is readable on the background it is read on.
TestCase {
    name: "StyleContrast"

    // Relative luminance of an sRGB colour.
    function luminance(colour: color): real {
        const linear = channel => channel <= 0.04045 ? channel / 12.92 : Math.pow((channel + 0.055) / 1.055, 2.4);
        return 0.2126 * linear(colour.r) + 0.7152 * linear(colour.g) + 0.0722 * linear(colour.b);
    }

    function contrast(a: color, b: color): real {
        const la = luminance(a);
        const lb = luminance(b);
        return (Math.max(la, lb) + 0.05) / (Math.min(la, lb) + 0.05);
    }

    function test_ratioOfKnownPairs_data() {
        return [
            { "tag": "black on white", "a": "#000000", "b": "#ffffff", "ratio": 21 },
            { "tag": "same colour", "a": "#4e69a2", "b": "#4e69a2", "ratio": 1 },
            { "tag": "the login help's old box", "a": "#ffffff", "b": "#7e99d2", "ratio": 2.85 }
        ];
    }

    function test_ratioOfKnownPairs(data) {
        fuzzyCompare(contrast(data.a, data.b), data.ratio, 0.01);
    }

    function test_textPairs_data() {
        return Style.textPairs.map(pair => Object.assign({ "tag": pair.name }, pair));
    }

    function test_textPairs(data) {
        const needed = data.large ? 3 : 4.5;
        const ratio = contrast(data.text, data.background);
        verify(ratio >= needed, data.text + " on " + data.background + " is " + ratio.toFixed(2) + ":1, needs " + needed + ":1");
    }
}
