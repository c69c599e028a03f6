pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import "LiveDataRules.js" as LiveDataRules

// The figures of the trip shown in the playback: all paths of the day (index 0) or one path.
GroupBox {
    id: _tripFigures

    required property var figures
    required property int pathIndex
    // Seconds of the day gone by when its trips were asked for.
    required property int daySeconds
    required property string valueFontFamily
    required property int basePixelSize

    readonly property var texts: LiveDataRules.tripFigureTexts(figures, pathIndex, daySeconds)

    title: "اطلاعات مسیر"

    component FigureValue: Label {
        font.family: _tripFigures.valueFontFamily
        font.pixelSize: _tripFigures.basePixelSize
    }

    GridLayout {
        columns: 2

        Title {
            state: "level2"
            text: "مسافت طی شده: "
        }
        FigureValue {
            objectName: "_figure_distance"
            text: _tripFigures.texts.distance
        }
        Title {
            state: "level2"
            text: "مدت زمان رانندگی: "
        }
        FigureValue {
            objectName: "_figure_drivingTime"
            text: _tripFigures.texts.drivingTime
        }
        Title {
            state: "level2"
            text: "مدت زمان توقف: "
        }
        FigureValue {
            objectName: "_figure_stopTime"
            text: _tripFigures.texts.stopTime
        }
        Title {
            state: "level2"
            text: "سرعت ماکزیمم: "
        }
        FigureValue {
            objectName: "_figure_maxSpeed"
            text: _tripFigures.texts.maxSpeed
        }
        Title {
            state: "level2"
            text: "سرعت میانگین: "
        }
        FigureValue {
            objectName: "_figure_avrageSpeed"
            text: _tripFigures.texts.avrageSpeed
        }
    }
}
