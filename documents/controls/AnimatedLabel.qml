import QtQuick
import ".."

// A one-line label whose text, when too wide, scrolls to the right endlessly: two copies follow
// each other with a 20 px gap.
Item {
    id: _animatedLabel

    property alias text: _first.text
    property alias styleColor: _first.styleColor
    property alias style: _first.style
    readonly property real _textWidth: _first.implicitWidth
    readonly property bool _scrolling: _textWidth > width

    implicitHeight: _first.implicitHeight
    clip: true
    // A new text while scrolling starts the run again with the new width.
    on_TextWidthChanged: {
        if (_marquee.running)
            _marquee.restart();
    }
    on_ScrollingChanged: {
        if (!_scrolling) {
            _first.x = 0;
            _second.x = _textWidth;
        }
    }

    // As wide as the label, or as the text while it scrolls, so the alignment of the text in
    // its copy never shifts the scrolling.
    MyLabel {
        id: _first

        objectName: "_first"
        width: Math.max(_animatedLabel.width, implicitWidth)
    }

    MyLabel {
        id: _second

        objectName: "_second"
        x: _animatedLabel._textWidth
        width: _first.width
        text: _first.text
        style: _first.style
        styleColor: _first.styleColor
        visible: _animatedLabel._scrolling
    }

    ParallelAnimation {
        id: _marquee

        loops: Animation.Infinite
        // Only on screen: a hidden marquee would keep the window drawing.
        running: _animatedLabel._scrolling && _animatedLabel.visible

        NumberAnimation {
            target: _first
            property: "x"
            from: -(_animatedLabel._textWidth + 20)
            to: 0
            duration: _animatedLabel._textWidth * 25
        }

        NumberAnimation {
            target: _second
            property: "x"
            from: 0
            to: _animatedLabel._textWidth + 20
            duration: _animatedLabel._textWidth * 25
        }
    }
}
