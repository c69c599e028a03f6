import QtQuick
import QtTest
import "qrc:/"

// The text-size page: each step shown in its own size, a click makes it the interface's step.
Item {
    id: _mainWindow

    property int basePixelSizeFactorIndex: 2
    readonly property list<real> basePixelSizeFactors: [0.8, 1, 1.2, 1.4]
    // The window's size at the current step, as the page sees it.
    readonly property real basePixelSizeFactor: basePixelSizeFactors[basePixelSizeFactorIndex]
    readonly property real basePixelSize: 15 * basePixelSizeFactor

    width: 400
    height: 600

    FontLoader {
        id: _font
    }

    DeviceSettings_Appearance {
        id: _page

        anchors.fill: parent
        currentIndex: _mainWindow.basePixelSizeFactorIndex
        factors: _mainWindow.basePixelSizeFactors
        onCurrentIndexChanged: _mainWindow.basePixelSizeFactorIndex = currentIndex
    }

    TestCase {
        name: "Appearance"
        when: windowShown

        function test_step_data() {
            return [
                { "tag": "small", "step": 0 },
                { "tag": "very large", "step": 3 },
                { "tag": "normal", "step": 1 }
            ];
        }

        function test_step(data) {
            mouseClick(findChild(_page, "_step" + data.step));
            compare(_mainWindow.basePixelSizeFactorIndex, data.step);
            for (let k = 0; k < 4; ++k) {
                const button = findChild(_page, "_step" + k);
                compare(button.checked, k === data.step, "step " + k);
                // Each label keeps the size of its own step, whatever the current one.
                fuzzyCompare(button.font.pixelSize, Math.round(15 * _mainWindow.basePixelSizeFactors[k]), 1);
            }
        }
    }
}
