import QtQuick

// A line in full colour between two points along it, fading towards both ends: what the four
// separators are drawn with.
Rectangle {
    id: _fadingLine

    property bool vertical: false
    property color lineColor: "white"
    property color endColor: "transparent"
    // Where the full colour starts and ends along the line, from 0 to 1.
    property real fullFrom: 0.5
    property real fullTo: 0.5

    gradient: Gradient {
        orientation: _fadingLine.vertical ? Gradient.Vertical : Gradient.Horizontal

        GradientStop {
            position: 0
            color: _fadingLine.endColor
        }
        GradientStop {
            position: _fadingLine.fullFrom
            color: _fadingLine.lineColor
        }
        GradientStop {
            position: _fadingLine.fullTo
            color: _fadingLine.lineColor
        }
        GradientStop {
            position: 1
            color: _fadingLine.endColor
        }
    }
}
