pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material

// A sensitivity from 0 at the left to 5 at the right, in whole steps, with a tick and a number
// under each step.
Slider {
    id: _slider

    from: 0
    to: 5
    stepSize: 1
    snapMode: Slider.SnapAlways
    LayoutMirroring.enabled: false
    // The ticks and numbers take the room under the track, as much as their text needs.
    bottomPadding: 7 + _numberHeight.implicitHeight
    implicitHeight: 40 + bottomPadding

    MyLabel {
        id: _numberHeight

        visible: false
        text: "0"
    }

    Repeater {
        model: 6

        Column {
            id: _step

            required property int index

            x: _slider.leftPadding + _slider.availableWidth * index / 5 - width / 2
            y: _slider.height - height
            spacing: 2

            Rectangle {
                width: 2
                height: 5
                anchors.horizontalCenter: parent.horizontalCenter
                color: "grey"
            }

            MyLabel {
                objectName: "_sliderNumber" + _step.index
                text: String(_step.index)
            }
        }
    }
}
