import QtQuick
import QtQuick.Controls.Material

// The figures of the day's trips over the map, opened from the header.
Popup {
    id: _tripFiguresPopup

    required property var figures
    required property int pathIndex
    required property int daySeconds
    required property string valueFontFamily
    required property int basePixelSize

    focus: true
    background: PlainPopupBackground {}

    TripFigures {
        figures: _tripFiguresPopup.figures
        pathIndex: _tripFiguresPopup.pathIndex
        daySeconds: _tripFiguresPopup.daySeconds
        valueFontFamily: _tripFiguresPopup.valueFontFamily
        basePixelSize: _tripFiguresPopup.basePixelSize
    }
}
