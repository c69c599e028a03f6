import QtQuick
import QtTest
import globals
import kova.testing
import "qrc:/"
import "../../tests/system/online"

// What the window costs while the owner only watches: frames drawn per second and the share of
// one core the process uses, on the dashboard and on the live map, with the car as the
// development server plays it (testEnvironment.benchCar: "parked" or "driving"). Prints lines
// that start with "bench:", each figure with its goal beside it.
SystemTestCase {
    id: _bench

    readonly property string car: testEnvironment.benchCar || "parked"
    readonly property int measureMs: 20000
    // Past the pages' slide-in, the first replies and the mini map's first centring.
    readonly property int settleMs: 5000
    property int frames: 0

    function report(line: string): void {
        console.log("bench: " + line);
    }

    // Frames and CPU over measureMs on what the window shows now.
    function measure(screen: string, goalPercent: real, goalFrames: real): void {
        wait(_bench.settleMs);
        const cpuBefore = _time.cpuMs();
        const start = Date.now();
        _bench.frames = 0;
        wait(_bench.measureMs);
        const seconds = (Date.now() - start) / 1000;
        const percent = (_time.cpuMs() - cpuBefore) / (seconds * 10);
        const perSecond = _bench.frames / seconds;
        report(screen + ", car " + _bench.car + ": " + percent.toFixed(1) + " % of a core (goal ≤ " + goalPercent
               + " %), " + perSecond.toFixed(1) + " frames/s" + (goalFrames > 0 ? " (goal ≤ " + goalFrames + ")" : ""));
    }

    name: "Screens"

    function test_screens(): void {
        loggedInOwner();
        if (_bench.car === "driving") {
            // The simulated car leaves its parking place within a few minutes.
            const deadline = Date.now() + 300000;
            while (Date.now() < deadline && !(Number(_bench.window.currentLocation?.speed) > 0))
                wait(1000);
            if (!(Number(_bench.window.currentLocation?.speed) > 0)) {
                report("the car did not drive within 5 minutes; nothing measured");
                return;
            }
        }
        const driving = _bench.car === "driving";
        measure("dashboard", driving ? 3 : 1, driving ? 0 : 3);
        openLiveTracking();
        measure("live map", driving ? 5 : 2, 0);
    }

    ProcessTime {
        id: _time
    }

    Connections {
        target: _bench.window

        function onFrameSwapped(): void {
            _bench.frames += 1;
        }
    }
}
