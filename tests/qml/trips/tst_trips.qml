import QtQuick
import QtTest
import QtCore
import globals
import kova.tools
import kova.testing

// Trip playback in the main window: the trip chooser and the layers it drives, the bar's states,
// the timeline, the day buttons, the speeds, and what the window does with the server's answer.
// Runs with TZ=UTC.
TestCase {
    id: _testCase

    property var window: null
    // 2024-03-20 00:00 UTC.
    readonly property real day: 1710892800
    readonly property string noTripText: "خودرو شما در این بازه زمانی \n مسیری طی نکرده است"

    function named(objectName: string): var {
        const found = findChild(_testCase.window, objectName);
        verify(found, objectName);
        return found;
    }

    function dialog(): var {
        return named("_debriefingDialog");
    }

    // Points at `offsets` seconds after `start`, keyed as the server client keys them.
    function trip(start: real, offsets: var, speeds: var): var {
        const points = {};
        offsets.forEach((offset, i) => {
            points[String(start + offset)] = {
                "dateTime": new Date((start + offset) * 1000),
                "lat": 36.3 + i / 1000,
                "lon": 59.6 + i / 1000,
                "alt": 900,
                "course": 90,
                "speed": speeds ? speeds[i] : 5,
                "accuracy": 1
            };
        });
        return points;
    }

    function hours(h: real): real {
        return _testCase.day + h * 3600;
    }

    // What the window does with a trip reply, without the server: the map and the bar get the
    // trips, the popup their figures.
    function showTrips(trips: var): void {
        _testCase.window.pathsAdvanceInfo = trips.map((t, i) => ({
                    "distance": (i + 1) * 1000,
                    "drivingTime": 60,
                    "stopTime": 0,
                    "maxSpeed": 10,
                    "avrageSpeed": 5
                }));
        const day = createTemporaryQmlObject("import kova.tools; TripDay {}", _testCase);
        day.setPaths(trips);
        named("_map").createDebriefingPaths(day);
        dialog().trips = day;
        dialog().state = "run";
    }

    // The binary trip reply: type 2, the point count, then 21 bytes a point.
    function tripReply(times: var): var {
        const buffer = new ArrayBuffer(5 + 21 * times.length);
        const view = new DataView(buffer);
        view.setUint8(0, 2);
        view.setUint32(1, times.length, true);
        times.forEach((time, i) => {
            const at = 5 + 21 * i;
            view.setUint32(at, time, true);
            view.setUint32(at + 4, Math.round((36.3 + i / 1000) * 1e7), true);
            view.setUint32(at + 8, Math.round(59.6 * 1e7), true);
            view.setUint16(at + 12, 0x4240, true); // 1 000 000: 0 m
            view.setUint8(at + 14, 0x0f);
            view.setUint16(at + 15, 9000, true);
            view.setUint16(at + 17, 50000, true); // 5 m/s
            view.setUint8(at + 19, 0);
            view.setUint8(at + 20, 1);
        });
        return buffer;
    }

    function bytes(list: var): var {
        return new Uint8Array(list).buffer;
    }

    name: "Trips"

    Server {
        id: _urls
    }

    TestHttpServer {
        id: _peer

        port: Number(_urls.serverHostUrl.split(":").pop())
    }

    Settings {
        id: _stored
    }

    function initTestCase(): void {
        _testCase.window = Qt.createComponent("qrc:/main.qml").createObject(null);
        verify(_testCase.window);
        _testCase.window.loginResponse = { "devices": [{ "imei": 358000000000001, "simNumber": "09120000001" }] };
        _testCase.window.currentOperation = Globals.Debriefing_Operation;
        tryVerify(() => dialog().visible);
    }

    function cleanupTestCase(): void {
        _testCase.window.destroy();
    }

    function init(): void {
        dialog().state = "stop";
        named("_map").clearDebriefingPaths();
        dialog().trips = null;
    }

    function test_startsOnTodayAtTenTimesSpeed(): void {
        const today = new Date();
        today.setHours(0, 0, 0, 0);
        compare(dialog().startTime.getTime(), today.getTime());
        compare(dialog().endTime.getTime(), today.getTime() + 86399000);
        compare(named("_speedChooser").currentText, "10 X");
        compare(named("_playbackTimer").interval, 100);
    }

    function test_chooser_data() {
        const a = trip(hours(6), [0, 600, 2400]);
        const c = trip(hours(20), [0, 61, 3599]);
        const eight = [1, 2, 3, 4, 5, 6, 7, 8].map(h => trip(hours(h), [0, 120]));
        return [
            { "tag": "three trips", "trips": [a, trip(hours(8), [0, 330]), c],
                "texts": ["همه مسیرها", "06:10 ~ 06:40", "08:05 ~ 08:05", "20:01 ~ 20:59"], "layers": [0, 1, 2] },
            { "tag": "a trip of one point left out", "trips": [a, trip(hours(8), [0]), c],
                "texts": ["همه مسیرها", "06:10 ~ 06:40", "20:01 ~ 20:59"], "layers": [0, 2] },
            { "tag": "no trips", "trips": [], "texts": ["همه مسیرها"], "layers": [] },
            { "tag": "eight trips", "trips": eight,
                "texts": ["همه مسیرها"].concat([1, 2, 3, 4, 5, 6, 7, 8].map(h => "0" + h + ":02 ~ 0" + h + ":02")),
                "layers": [0, 1, 2, 3, 4, 5, 6, 7] }
        ];
    }

    // Each entry names its trip's layer, colour and figures, also when a trip has no entry.
    function test_chooser(data): void {
        showTrips(data.trips);
        const chooser = named("_tripChooser");
        const map = named("_map");
        const colors = _testCase.window.pathColors;
        const texts = [];
        for (let k = 0; k < chooser.count; ++k)
            texts.push(chooser.textAt(k));
        compare(texts, data.texts);
        compare(map.debriefingPaths.length, data.trips.length);
        compare(String(chooser.model[0].pathColor), "black");

        const popup = named("_path_AdvanceInfo_popup");
        popup.open();
        for (let k = 1; k < chooser.count; ++k) {
            const layer = data.layers[k - 1];
            chooser.currentIndex = k;
            compare(dialog().currentPathIndex, layer + 1);
            verify(Qt.colorEqual(chooser.model[k].pathColor, colors[layer % 7]));
            verify(Qt.colorEqual(map.debriefingPaths[layer].line.color, colors[layer % 7]));
            compare(Array.from(map.debriefingPaths).map(path => path.visible), data.trips.map((t, i) => i === layer));
            compare(named("_figure_distance").text, (layer + 1) + " km");
            compare(named("_lockStateItem").state, "car");
            tryCompare(map, "zoomLevel", 15, 2000);
            tryCompare(map, "tilt", 0, 2000);
        }
        chooser.currentIndex = 0;
        compare(dialog().currentPathIndex, 0);
        compare(Array.from(map.debriefingPaths).map(path => path.visible), data.trips.map(() => true));
        if (chooser.count > 1)
            compare(named("_lockStateItem").state, "");
        popup.close();
    }

    function test_states_data() {
        return [
            { "tag": "stop", "state": "stop", "single": false, "load": true, "play": [false], "stop": [false],
                "choosers": false, "dateEdit": [true, true], "timeline": false, "slider": false, "progress": false, "timer": false },
            { "tag": "loading", "state": "loading", "single": false, "load": false, "play": [true, false, "start"],
                "stop": [true, false], "choosers": false, "dateEdit": [true, false], "timeline": true, "slider": false,
                "progress": true, "timer": false },
            { "tag": "run, all trips", "state": "run", "single": false, "load": false, "play": [true, false, "pause"],
                "stop": [true, true], "choosers": true, "dateEdit": [false], "timeline": false, "slider": false,
                "progress": false, "timer": false },
            { "tag": "run, one trip", "state": "run", "single": true, "load": false, "play": [true, true, "pause"],
                "stop": [true, true], "choosers": true, "dateEdit": [false], "timeline": true, "slider": true,
                "progress": false, "timer": true },
            { "tag": "paused, all trips", "state": "puse", "single": false, "load": false, "play": [true, true, "start"],
                "stop": [true, true], "choosers": true, "dateEdit": [false], "timeline": false, "slider": false,
                "progress": false, "timer": false },
            { "tag": "paused, one trip", "state": "puse", "single": true, "load": false, "play": [true, true, "start"],
                "stop": [true, true], "choosers": true, "dateEdit": [false], "timeline": true, "slider": true,
                "progress": false, "timer": false }
        ];
    }

    function test_states(data): void {
        showTrips([trip(hours(6), [0, 10, 20]), trip(hours(9), [0, 10, 20])]);
        named("_tripChooser").currentIndex = data.single ? 1 : 0;
        dialog().state = data.state;
        const play = named("_playButton");
        const stop = named("_stopButton");
        compare(named("_loadButton").visible, data.load);
        compare(play.visible, data.play[0]);
        if (data.play[0]) {
            compare(play.enabled, data.play[1]);
            compare(String(play.icon.source), "qrc:/graphics/media-playback-" + data.play[2] + ".png");
        }
        compare(stop.visible, data.stop[0]);
        if (data.stop[0])
            compare(stop.enabled, data.stop[1]);
        compare([named("_tripChooser").visible, named("_speedChooser").visible], [data.choosers, data.choosers]);
        compare(named("_timeline").visible, data.timeline);
        compare(named("_slider").visible, data.slider);
        // Other pages have progress bars of the same name.
        compare(findChild(dialog(), "_progress").visible, data.progress);
        compare(named("_playbackTimer").running, data.timer);
        compare(dialog().isRunning, data.timer);
        compare([named("_previousDay").visible, named("_dateButton").visible], [true, true]);

        const popup = named("_datePopup");
        popup.open();
        tryVerify(() => popup.opened);
        verify(dialog().popupVisible);
        compare(named("_dateEdit").visible, data.dateEdit[0]);
        if (data.dateEdit[0])
            compare(named("_dateEdit").enabled, data.dateEdit[1]);
        dialog().closePopups();
        tryVerify(() => !popup.visible);
        verify(!dialog().popupVisible);
    }

    function test_transitions_data() {
        return [
            { "tag": "play pauses a run", "from": "run", "button": "_playButton", "to": "puse" },
            { "tag": "play resumes a pause", "from": "puse", "button": "_playButton", "to": "run" },
            { "tag": "stop ends a run", "from": "run", "button": "_stopButton", "to": "stop" },
            { "tag": "stop ends a pause", "from": "puse", "button": "_stopButton", "to": "stop" }
        ];
    }

    function test_transitions(data): void {
        showTrips([trip(hours(6), [0, 10, 20])]);
        named("_tripChooser").currentIndex = 1;
        dialog().state = data.from;
        mouseClick(named(data.button));
        compare(dialog().state, data.to);
    }

    function test_motion_data() {
        const grey = Qt.rgba(0.5, 0.5, 0.5, 0.7);
        const clear = "transparent";
        return [
            { "tag": "stands, moves, stands, moves", "offsets": [0, 10, 20, 30, 40, 50, 100], "speeds": [0, 0, 5, 1, 0, 0.9, 5],
                "stops": [[0.2, grey], [0.200001, clear], [0.4, clear], [0.400001, grey], [1, grey], [1.000001, clear]] },
            { "tag": "moving from the first point", "offsets": [0, 50, 100], "speeds": [3, 3, 0],
                "stops": [[0, grey], [0.000001, clear], [1, clear], [1.000001, grey]] },
            { "tag": "never moving", "offsets": [0, 50, 100], "speeds": [0, 0.5, 0], "stops": [] }
        ];
    }

    // The timeline shows the standing stretches of the chosen trip grey.
    function test_motion(data): void {
        showTrips([trip(hours(6), [0, 5]), trip(hours(9), data.offsets, data.speeds)]);
        named("_tripChooser").currentIndex = 2;
        dialog().state = "puse";
        const stops = named("_motionGradient").stops;
        compare(stops.length, data.stops.length);
        compare(named("_motion").visible, data.stops.length > 0);
        for (let i = 0; i < stops.length; ++i) {
            fuzzyCompare(stops[i].position, data.stops[i][0], 1e-9, "stop " + i);
            verify(Qt.colorEqual(stops[i].color, data.stops[i][1]), "stop " + i + ": " + stops[i].color);
        }
    }

    // Entries 30 s apart move the car every 30 ticks; seconds without an entry leave it.
    function test_playbackWalksTheTripsSeconds(): void {
        const start = hours(9);
        showTrips([trip(start, [0, 30, 60])]);
        named("_tripChooser").currentIndex = 1;
        dialog().state = "puse";
        const slider = named("_slider");
        compare([slider.from, slider.to, slider.value], [start, start + 60, start]);
        compare(_testCase.window.currentLocation.dateTime.getTime(), start * 1000);
        const timer = named("_playbackTimer");
        const seen = [];
        for (let tick = 1; tick <= 70; ++tick) {
            timer.triggered();
            seen.push(_testCase.window.currentLocation.dateTime.getTime() / 1000 - start);
        }
        compare(seen.indexOf(30), 29);
        compare(seen.indexOf(60), 59);
        compare(seen[69], 60);
        compare(slider.value, start + 60);
    }

    function test_speeds_data() {
        return [
            { "tag": "1 X", "index": 0, "interval": 1000 },
            { "tag": "10 X", "index": 1, "interval": 100 },
            { "tag": "30 X", "index": 2, "interval": 33 },
            { "tag": "60 X", "index": 3, "interval": 16 }
        ];
    }

    function test_speeds(data): void {
        const chooser = named("_speedChooser");
        chooser.currentIndex = data.index;
        compare(chooser.currentText, data.tag);
        compare(named("_playbackTimer").interval, data.interval);
        chooser.currentIndex = 1;
    }

    function test_dayButtons_data() {
        return [
            { "tag": "today", "daysBack": 0, "state": "stop", "next": false, "today": false },
            { "tag": "yesterday", "daysBack": 1, "state": "stop", "next": false, "today": true },
            { "tag": "two days ago", "daysBack": 2, "state": "stop", "next": true, "today": true },
            { "tag": "two days ago, running", "daysBack": 2, "state": "run", "next": false, "today": false }
        ];
    }

    function test_dayButtons(data): void {
        const now = new Date();
        const chosen = new Date(now.getFullYear(), now.getMonth(), now.getDate() - data.daysBack);
        dialog().showDay(chosen);
        dialog().state = data.state;
        compare(dialog().startTime.getTime(), chosen.getTime());
        compare(named("_nextDay").visible, data.next);
        compare(named("_today").visible, data.today);
        dialog().state = "stop";
        mouseClick(named("_previousDay"));
        compare(dialog().startTime.getTime(), new Date(chosen.getFullYear(), chosen.getMonth(), chosen.getDate() - 1).getTime());
        mouseClick(named("_today"));
        compare(dialog().startTime.getTime(), new Date(now.getFullYear(), now.getMonth(), now.getDate()).getTime());
    }

    function test_answer_data() {
        const start = hours(6);
        const twelve = [0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110].map(s => start + s);
        return [
            { "tag": "a day's trip", "body": tripReply(twelve), "state": "run", "layers": 1, "entries": 2, "tooltip": "" },
            { "tag": "no trip that day", "body": bytes([4]), "state": "stop", "layers": 0, "entries": 1, "tooltip": noTripText },
            { "tag": "malformed", "body": bytes([2, 0]), "state": "stop", "layers": 0, "entries": 1, "tooltip": "خطا در دریافت مسیر" },
            { "tag": "answer after leaving", "body": tripReply(twelve), "leave": true, "state": "stop", "layers": 0, "entries": 1,
                "tooltip": "" }
        ];
    }

    // The window hands a reply's trips to the map and the bar, and explains a failure.
    function test_answer(data): void {
        const server = named("_liveData").server;
        const tooltip = named("_mainTooltip");
        tooltip.close();
        tooltip.text = "";
        const answers = createTemporaryQmlObject("import QtTest; SignalSpy { signalName: \"debriefingReply\" }", _testCase);
        const errors = createTemporaryQmlObject("import QtTest; SignalSpy { signalName: \"debriefingError\" }", _testCase);
        answers.target = server;
        errors.target = server;
        _peer.setReply("/kova/appCommunication.php", { "body": data.body, "delay": data.leave ? 200 : 0 });
        _peer.clearRequests();

        mouseClick(named("_loadButton"));
        compare(dialog().state, "loading");
        if (data.leave)
            _testCase.window.currentOperation = Globals.CarControl_Operation;
        tryVerify(() => answers.count + errors.count === 1, 10000);
        const asked = _peer.requests.filter(request => request.path === "/kova/appCommunication.php");
        compare(new Uint8Array(asked[0].body)[0], 2);
        compare(dialog().state, data.state);
        compare(named("_map").debriefingPaths.length, data.layers);
        compare(named("_tripChooser").count, data.entries);
        compare(tooltip.text, data.tooltip);
        _testCase.window.currentOperation = Globals.Debriefing_Operation;
    }

    function test_leavingEndsPlayback(): void {
        showTrips([trip(hours(6), [0, 10, 20])]);
        named("_tripChooser").currentIndex = 1;
        verify(dialog().isRunning);
        _testCase.window.currentOperation = Globals.CarControl_Operation;
        compare(dialog().state, "stop");
        compare(named("_map").debriefingPaths.length, 0);
        _testCase.window.currentOperation = Globals.Debriefing_Operation;
    }

    function test_chosenDayStoredWhenTheBarGoes(): void {
        _stored.setValue("date", "");
        const other = Qt.createComponent("qrc:/main.qml").createObject(null);
        findChild(other, "_debriefingDialog").showDay(new Date(2024, 2, 20));
        other.destroy();
        tryVerify(() => String(Array.from(_stored.value("date") ?? []).map(Number)) === "1403,1,1");
    }
}
