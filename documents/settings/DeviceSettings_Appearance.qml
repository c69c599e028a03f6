pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts

// The text-size step of the whole interface; each choice is shown in the size it gives.
Page {
    id: _appearance

    property int currentIndex: 1
    // The factor of each step, applied to the text size of the "normal" step.
    property list<real> factors: [0.8, 1, 1.2, 1.4]
    readonly property real normalPixelSize: basePixelSize / basePixelSizeFactor

    background: null

    ColumnLayout {
        x: 10
        y: 10
        width: _appearance.width - 20
        spacing: 10

        Title {
            Layout.fillWidth: true
            text: "اندازه فونت"
        }

        Repeater {
            model: ["کوچک", "معمولی", "بزرگ", "خیلی بزرگ"]

            delegate: RadioButton {
                required property string modelData
                required property int index

                objectName: "_step" + index
                text: modelData
                font.pixelSize: _appearance.normalPixelSize * (_appearance.factors[index] ?? 1)
                checked: index === _appearance.currentIndex
                onClicked: _appearance.currentIndex = index
            }
        }
    }
}
