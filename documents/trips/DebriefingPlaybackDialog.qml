pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Material
import QtQuick.Layouts
import QtCore
import kova.tools
import "TripPlayback.js" as TripPlayback
import "LiveDataRules.js" as LiveDataRules

// Trip playback bar: picks a day, loads its trips, shows them on the map and replays one of them
// second by second on the timeline above the bar.
Pane {
    id: _debriefingDialog

    // Where the trips are drawn, and what fetches them for which car.
    property MapView map: null
    property Server server
    property real imei: 0

    // The loaded day's trips; the bar reads a few points of them at a time, never all.
    property TripDay trips: null
    readonly property bool isRunning: _playbackTimer.running && state === "run"
    readonly property bool popupVisible: _datePopup.visible || _tripChooser.popup.visible
    // 0 for all trips, k for the k-th trip of `trips` (its figures are entry k - 1).
    readonly property int currentPathIndex: _pathNumberAt(_chosenEntry)
    // Read from the times of every trip rather than from _currentTripTimes: a binding on that list
    // would be asked for again while the list is first being set.
    readonly property real currentPath_StartTime: Number(_tripOf(_tripKeys, currentPathIndex)?.[0] ?? 0)
    readonly property real currentPath_EndTime: Number(_tripOf(_tripKeys, currentPathIndex)?.slice(-1)[0] ?? 0)
    readonly property date startTime: new Date(_dateEdit.gDate[0], _dateEdit.gDate[1] - 1, _dateEdit.gDate[2], 0, 0, 0, 0)
    readonly property date endTime: new Date(_dateEdit.gDate[0], _dateEdit.gDate[1] - 1, _dateEdit.gDate[2], 23, 59, 59, 0)
    property date today
    property date yesterday
    // Seconds of the loaded day gone by when its trips were asked for: today's stops end then.
    property int loadedDaySeconds: 86400
    readonly property int speedFactor: _speedChooser.currentValue ?? 10

    property var _entries: TripPlayback.chooserEntries([], [])
    // The first two and the last second of every trip, listed once per load: all the chooser and
    // the timeline need of a trip's times.
    property var _tripKeys: []
    readonly property var _currentTripTimes: _tripOf(_tripKeys, currentPathIndex) ?? []
    // The chooser's index, copied when it changes: bindings that read the list's own index while
    // it is being built would loop.
    property int _chosenEntry: 0
    property int _motionStops: 0
    readonly property bool _loaded: state === "run" || state === "puse"

    // A recorded point of the trip being replayed: the car was there at that second.
    signal locationPicked(var location)
    signal lockStateRequested(string lockState)

    function closePopups(): void {
        _datePopup.close();
        _tripChooser.popup.close();
    }

    function load(): void {
        if (!server)
            return;
        state = "loading";
        loadedDaySeconds = LiveDataRules.dayGoneBy(startTime, new Date());
        server.getDebriefingPath(imei, startTime, endTime);
    }

    function showDay(day: date): void {
        _dateEdit.setGDate(day);
    }

    function moveDays(days: int): void {
        showDay(new Date(startTime.getFullYear(), startTime.getMonth(), startTime.getDate() + days));
    }

    function _refreshToday(): void {
        const now = new Date();
        today = new Date(now.getFullYear(), now.getMonth(), now.getDate());
        yesterday = new Date(now.getFullYear(), now.getMonth(), now.getDate() - 1);
    }

    // The chosen trip's record at `second`, undefined where the car left none.
    function pointAt(second: real): var {
        return trips?.pointAt(_chosenTrip(), second);
    }

    function _fillChooser(): void {
        const keys = [];
        for (let i = 0; i < (trips?.count ?? 0); ++i) {
            const count = trips.pointCount(i);
            const times = [];
            for (const index of [0, 1, count - 1].slice(0, Math.min(count, 3)))
                times.push(trips.timeAt(i, index));
            keys.push(times);
        }
        _tripKeys = keys;
        _entries = TripPlayback.chooserEntries(_tripKeys, map ? map.pathColors : ["black"]);
        if (_tripChooser.currentIndex !== 0)
            _tripChooser.currentIndex = 0;
        else
            _choose(0);
    }

    // The trip a chooser entry stands for, counted from 1; 0 for all trips.
    function _pathNumberAt(index: int): int {
        return (_entries[index]?.pathIndex ?? -1) + 1;
    }

    // Trip `number`'s entry of a list per trip, the first trip's for 0 (all trips).
    function _tripOf(list: var, number: int): var {
        return (list ?? [])[number >= 1 ? number - 1 : 0];
    }

    // The chosen trip's index, the first trip's for all trips, worked out afresh: handlers never
    // see one property updated and another not yet.
    function _chosenTrip(): int {
        return Math.max(_pathNumberAt(_chosenEntry), 1) - 1;
    }

    // Shows the chosen trip alone, locked on the car, or all trips in one view.
    function _choose(entry: int): void {
        // -1 while the list is being built.
        if (entry < 0)
            return;
        _chosenEntry = entry;
        if (_entries.length <= 1 || !map)
            return;
        const chosen = _pathNumberAt(entry);
        const layers = map.debriefingPaths;
        for (let i = 0; i < layers.length; ++i)
            layers[i].visible = chosen === 0 || i + 1 === chosen;
        lockStateRequested(chosen === 0 ? "" : "car");
        map.tilt = 0;
        if (chosen === 0)
            map.fitToCoords(trips?.corners(layers.length) ?? []);
        else
            map.zoomLevel = 15;
    }

    function _showSecond(second: real): void {
        const point = pointAt(Math.round(second));
        if (point)
            locationPicked(point);
    }

    // Standing stretches grey, moving ones clear, with sharp edges.
    function _rebuildMotion(): void {
        for (const stop of _motionGradient.stops)
            stop.destroy();
        const grey = Qt.rgba(0.5, 0.5, 0.5, 0.7);
        const stops = [];
        for (const change of trips?.motionChanges(_chosenTrip()) ?? []) {
            stops.push(_gradientStop.createObject(_motionGradient, {
                "position": change.position,
                "color": change.moving ? grey : "transparent"
            }));
            stops.push(_gradientStop.createObject(_motionGradient, {
                "position": change.position + 0.000001,
                "color": change.moving ? "transparent" : grey
            }));
        }
        _motionGradient.stops = stops;
        _motionStops = stops.length;
    }

    padding: 0
    state: "stop"
    states: [
        State {
            name: "stop"
        },
        State {
            name: "loading"
        },
        State {
            name: "run"
        },
        State {
            name: "puse"
        }
    ]

    onTripsChanged: _fillChooser()
    on_CurrentTripTimesChanged: _rebuildMotion()
    // Leaving trip playback ends it and takes the trips off the map.
    onVisibleChanged: {
        if (visible) {
            _refreshToday();
            return;
        }
        state = "stop";
        map?.clearDebriefingPaths();
    }
    Component.onCompleted: {
        _refreshToday();
        showDay(today);
    }
    Component.onDestruction: _settings.setValue("date", _dateEdit.jDate)

    Settings {
        id: _settings
    }

    Component {
        id: _gradientStop

        GradientStop {}
    }

    Timer {
        id: _playbackTimer
        objectName: "_playbackTimer"

        interval: 1000 / _debriefingDialog.speedFactor
        repeat: true
        triggeredOnStart: true
        running: _debriefingDialog.state === "run" && _debriefingDialog.currentPathIndex > 0
        onTriggered: _slider.increase()
    }

    // The trip's seconds from left to right, whatever the reading direction.
    Rectangle {
        id: _timeline
        objectName: "_timeline"

        y: -height
        width: parent.width
        height: 15
        color: "#553B5998"
        visible: _debriefingDialog.state === "loading" || (_debriefingDialog._loaded && _debriefingDialog.currentPathIndex > 0)
        LayoutMirroring.enabled: false
        LayoutMirroring.childrenInherit: true

        // Drawn only with stops: a rectangle with a gradient of none shows its plain colour.
        Rectangle {
            objectName: "_motion"

            anchors.fill: parent
            anchors.leftMargin: 12
            anchors.rightMargin: 12
            visible: _debriefingDialog._loaded && _debriefingDialog._motionStops > 0
            gradient: Gradient {
                id: _motionGradient
                objectName: "_motionGradient"

                orientation: Gradient.Horizontal
            }
        }

        Slider {
            id: _slider
            objectName: "_slider"

            anchors.fill: parent
            leftPadding: 12
            rightPadding: 12
            topPadding: 0
            bottomPadding: 0
            visible: _debriefingDialog._loaded
            from: _debriefingDialog.currentPath_StartTime
            to: _debriefingDialog.currentPath_EndTime
            stepSize: 1
            onFromChanged: value = from
            onValueChanged: _debriefingDialog._showSecond(value)
        }

        ProgressBar {
            objectName: "_progress"

            anchors.fill: parent
            visible: _debriefingDialog.state === "loading"
            indeterminate: true
        }
    }

    component BarButton: ToolButton {
        Layout.preferredWidth: 40
        Layout.preferredHeight: 40
        display: AbstractButton.IconOnly
        ToolTip.visible: hovered
        ToolTip.text: text
    }

    RowLayout {
        anchors.fill: parent
        spacing: 0

        BarButton {
            objectName: "_previousDay"

            Layout.preferredWidth: 34

            icon.source: "qrc:/graphics/go-next.svg"
            text: "روز قبل"
            onClicked: _debriefingDialog.moveDays(-1)
        }
        ToolButton {
            objectName: "_dateButton"

            Layout.preferredHeight: 40
            leftPadding: 2
            rightPadding: 2
            text: _dateEdit.text
            font.family: _font_lato.name
            onClicked: _datePopup.open()
        }
        BarButton {
            objectName: "_nextDay"

            Layout.preferredWidth: 34

            visible: _debriefingDialog.state === "stop" && _debriefingDialog.startTime < _debriefingDialog.yesterday
            icon.source: "qrc:/graphics/go-previous.svg"
            text: "روز بعد"
            onClicked: _debriefingDialog.moveDays(1)
        }
        BarButton {
            objectName: "_today"

            Layout.preferredWidth: 34

            visible: _debriefingDialog.state === "stop" && _debriefingDialog.startTime.getTime() !== _debriefingDialog.today.getTime()
            icon.source: "qrc:/graphics/view-calendar.svg"
            text: "امروز"
            onClicked: {
                _debriefingDialog._refreshToday();
                _debriefingDialog.showDay(_debriefingDialog.today);
            }
        }
        MyComboBox {
            id: _speedChooser
            objectName: "_speedChooser"

            // Narrower than 70 only when the window is too narrow for the whole bar.
            Layout.fillWidth: true
            Layout.preferredWidth: 56
            Layout.maximumWidth: 70
            visible: _debriefingDialog._loaded
            textRole: "text"
            valueRole: "factor"
            currentIndex: 1
            model: [
                {
                    "text": "1 X",
                    "factor": 1
                },
                {
                    "text": "10 X",
                    "factor": 10
                },
                {
                    "text": "30 X",
                    "factor": 30
                },
                {
                    "text": "60 X",
                    "factor": 60
                }
            ]
        }
        VerticalSeperator {
            visible: _debriefingDialog._loaded
        }
        MyComboBox {
            id: _tripChooser
            objectName: "_tripChooser"

            Layout.fillWidth: true
            Layout.preferredWidth: 96
            Layout.maximumWidth: 140
            minimumPopupWidth: 160
            visible: _debriefingDialog._loaded
            textRole: "key"
            model: _debriefingDialog._entries
            onCurrentIndexChanged: _debriefingDialog._choose(currentIndex)
            delegate: ItemDelegate {
                id: _entry

                required property var modelData
                required property int index

                width: _tripChooser.popup.width
                height: 30
                highlighted: _tripChooser.highlightedIndex === index
                contentItem: Item {
                    Rectangle {
                        anchors.verticalCenter: parent.verticalCenter
                        anchors.left: parent.left
                        width: 10
                        height: 10
                        radius: 5
                        border.color: "black"
                        border.width: 2
                        color: Qt.alpha(_entry.modelData.pathColor, 1)
                    }
                    Label {
                        anchors.centerIn: parent
                        text: _entry.modelData.key
                        font: _tripChooser.font
                    }
                }
            }
        }
        VerticalSeperator {
            visible: _debriefingDialog._loaded
        }
        Item {
            Layout.fillWidth: true
        }
        BarButton {
            objectName: "_stopButton"

            visible: _debriefingDialog.state !== "stop"
            enabled: _debriefingDialog.state !== "loading"
            icon.source: "qrc:/graphics/media-playback-stop.png"
            text: "توقف"
            onClicked: _debriefingDialog.state = "stop"
        }
        BarButton {
            objectName: "_playButton"

            visible: _debriefingDialog.state !== "stop"
            enabled: _debriefingDialog.state === "puse" || (_debriefingDialog.state === "run" && _debriefingDialog.currentPathIndex > 0)
            icon.source: _debriefingDialog.state === "run" ? "qrc:/graphics/media-playback-pause.png" : "qrc:/graphics/media-playback-start.png"
            text: _debriefingDialog.state === "run" ? "مکث" : "پخش"
            onClicked: _debriefingDialog.state = _debriefingDialog.state === "run" ? "puse" : "run"
        }
        BarButton {
            objectName: "_loadButton"

            visible: _debriefingDialog.state === "stop"
            icon.source: "qrc:/graphics/media-playback-start.png"
            text: "دریافت مسیر"
            onClicked: _debriefingDialog.load()
        }
    }

    Popup {
        id: _datePopup
        objectName: "_datePopup"

        // Over the date button, at the reading end of the bar.
        x: _debriefingDialog.width - width
        y: -height - _timeline.height
        focus: true
        background: PlainPopupBackground {}

        ColumnLayout {
            Label {
                text: "تعیین دستی زمان"
            }
            JalaliDateEdit {
                id: _dateEdit
                objectName: "_dateEdit"

                visible: _debriefingDialog.state === "stop" || _debriefingDialog.state === "loading"
                enabled: _debriefingDialog.state === "stop"
            }
        }
    }
}
