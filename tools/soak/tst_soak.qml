import QtQuick
import QtTest
import globals
import kova.testing
import "qrc:/"
import "../../tests/system/online"
import "SoakFigures.js" as SoakFigures

// The owner's window left open for testEnvironment.soakMinutes, logged in and polling against the
// development server, on car control and live tracking in turn. Its report is the lines that
// start with "soak:": memory, request errors, outages lived through, frames drawn. The run fails
// when the window was not back, online with a fresh status, within two probe periods of the
// server answering again after it went offline, or at the end.
SystemTestCase {
    id: _soak

    readonly property int runMs: testEnvironment.soakMinutes * 60000
    // "both" (car control and live tracking in turn), "control" or "live": one screen alone tells
    // which of them the memory grows on.
    readonly property string screens: testEnvironment.soakScreens || "both"
    // A few minutes on each screen, or half a short run, so that every run sees both.
    readonly property int phaseMs: Math.min(180000, runMs / 2)
    readonly property int sampleMs: 30000
    // Every tenth sample is printed, to show whether the memory levels off.
    readonly property int printEvery: 10
    // The first minutes fill the map's tile caches and the engine's heaps once; the growth that
    // matters is the one after them.
    readonly property int warmUpMs: Math.min(2 * phaseMs, runMs / 2)
    readonly property int probeMs: 1000
    // How long the end waits for the server to answer at all: longer than any outage it plays.
    readonly property int endWaitMs: 180000
    // The development server's controls sit beside its SMS gateway, on its plain HTTP port.
    readonly property string controlUrl: testEnvironment.smsGateway.replace(/\/sms\/?$/, "/control")

    property real startAt: 0
    property int boundMs: 0
    property var serverPing: null
    property var pingRequest: null
    property var statusRequest: null
    property var server: null
    property int frames: 0
    property int statusReplies: 0
    property int statusErrors: 0
    property int probeErrors: 0
    property int locationErrors: 0
    property int settingsErrors: 0
    property var samples: []
    // One record per time the offline indicator came on: {offlineAt, answeredAt, onlineAt,
    // statusAt, state, seconds}; the last one is open while it is "waiting" or "stuck" (and may
    // still come back "late"); "recovered", "late" and "interrupted" are final.
    property var outages: []
    // The same record for the end of the run, while it is judged.
    property var ending: null
    // Whether the server tells its outages at controlUrl; without that the driver probes the
    // server's base address as the window does, and counts among its requests.
    property bool serverTellsOutages: false
    property var probe: new XMLHttpRequest()

    function elapsed(ms: real): string {
        const seconds = Math.round((ms - _soak.startAt) / 1000);
        return Math.floor(seconds / 60) + ":" + String(seconds % 60).padStart(2, "0");
    }

    function report(line: string): void {
        console.log("soak: " + line);
    }

    function mib(kib: real): string {
        return (kib / 1024).toFixed(1) + " MiB";
    }

    // Waits up to `ms` for `condition`, without failing when it does not come.
    function within(ms: int, condition: var): bool {
        const until = Date.now() + ms;
        while (!condition()) {
            if (Date.now() > until)
                return false;
            wait(100);
        }
        return true;
    }

    // A failed login leaves the page as it was; the owner tries again.
    function logInPatiently(): void {
        openWindow();
        for (let attempt = 1; attempt <= 5; ++attempt) {
            logIn("358000000000001", "582901");
            if (within(30000, () => _soak.window.currentOperation === Globals.CarControl_Operation))
                break;
            report("login attempt " + attempt + " failed");
        }
        compare(_soak.window.currentOperation, Globals.CarControl_Operation, "logged in");
        tryCompare(findNamed("_mainStackView"), "busy", false, 5000);
        verify(within(60000, () => _soak.window.currentStatus !== undefined), "a first status");
        waitForRendering(_soak.window.contentItem);
    }

    function openRecords(): var {
        const last = _soak.outages[_soak.outages.length - 1];
        const open = last && ["waiting", "stuck"].includes(last.state) ? [last] : [];
        return _soak.ending ? open.concat([_soak.ending]) : open;
    }

    function onServerAnswered(): void {
        for (const record of openRecords()) {
            if (!record.answeredAt)
                record.answeredAt = Date.now();
        }
    }

    function onStatus(): void {
        _soak.statusReplies += 1;
        for (const record of openRecords()) {
            if (record.answeredAt && !record.statusAt)
                record.statusAt = Date.now();
        }
    }

    function onOnlineChanged(online: bool): void {
        const now = Date.now();
        if (!online) {
            const open = openRecords().filter(record => record !== _soak.ending);
            // Offline again before its status came back: the earlier outage ends unjudged, unless
            // it was already over its bound.
            for (const record of open) {
                if (record.state !== "stuck")
                    record.state = "interrupted";
            }
            _soak.outages.push({
                "offlineAt": now,
                "answeredAt": 0,
                "onlineAt": 0,
                "statusAt": 0,
                "state": "waiting",
                "seconds": 0
            });
            report(elapsed(now) + " offline");
            if (_soak.ending)
                _soak.ending.onlineAt = 0;
            return;
        }
        for (const record of openRecords())
            record.onlineAt = now;
        report(elapsed(now) + " online");
    }

    // Judges the open records; an outage is told once when its state becomes final or stuck.
    function judge(): void {
        for (const record of openRecords()) {
            const verdict = SoakFigures.recovery(record.answeredAt, record.onlineAt, record.statusAt, Date.now(),
                                                 _soak.boundMs);
            if (verdict.state === record.state || verdict.state === "waiting")
                continue;
            record.state = verdict.state;
            record.seconds = verdict.seconds;
            if (record === _soak.ending)
                continue;
            if (verdict.state === "stuck")
                report(elapsed(Date.now()) + " not back within " + _soak.boundMs / 1000 + " s of the server's answer");
            else
                report(elapsed(Date.now()) + " back " + verdict.seconds.toFixed(1) + " s after the server answered");
        }
    }

    function probeServer(): void {
        _soak.probe.abort();
        _soak.probe.open("GET", _soak.serverTellsOutages ? _soak.controlUrl + "/faults" : _soak.serverPing.url);
        _soak.probe.send();
    }

    function onProbeDone(): void {
        if (_soak.probe.readyState !== XMLHttpRequest.DONE || _soak.probe.status === 0)
            return;
        if (!_soak.serverTellsOutages) {
            _soak.onServerAnswered();
            return;
        }
        try {
            if (_soak.probe.status === 200 && JSON.parse(_soak.probe.responseText).outage === false)
                _soak.onServerAnswered();
        } catch (e) {
            report("unreadable fault counts: " + _soak.probe.responseText);
        }
    }

    function sample(): void {
        const record = {
            "ms": Date.now() - _soak.startAt,
            "kib": _memory.currentKib()
        };
        _soak.samples.push(record);
        if ((_soak.samples.length - 1) % _soak.printEvery === 0)
            report(elapsed(Date.now()) + " resident " + mib(record.kib));
    }

    function switchScreen(): void {
        if (_soak.window.currentOperation === Globals.CarControl_Operation && _soak.screens !== "control") {
            openLiveTracking();
            return;
        }
        if (_soak.window.currentOperation !== Globals.LiveTracking_Operation || _soak.screens === "live")
            return;
        _soak.window.requestActivate();
        keyClick(Qt.Key_Escape);
        tryCompare(_soak.window, "currentOperation", Globals.CarControl_Operation, 5000);
        tryCompare(findNamed("_mainStackView"), "busy", false, 5000);
    }

    // The server's counts of the faults it played, as it gives them; status 0 without an answer.
    function fetchFaults(): var {
        const request = new XMLHttpRequest();
        request.open("GET", _soak.controlUrl + "/faults");
        request.send();
        within(5000, () => request.readyState === XMLHttpRequest.DONE);
        return request;
    }

    function serverFaults(): string {
        const request = fetchFaults();
        if (request.status !== 200)
            return "not available (HTTP " + request.status + ")";
        return request.responseText.replace(/\s+/g, " ").trim();
    }

    function printReport(): void {
        const first = _soak.samples[0];
        const last = _soak.samples[_soak.samples.length - 1];
        const seconds = (Date.now() - _soak.startAt) / 1000;
        report("ran " + (seconds / 60).toFixed(1) + " min, "
               + (_soak.screens === "both" ? _soak.phaseMs / 60000 + " min on each screen in turn" : "on "
                                             + (_soak.screens === "live" ? "live tracking" : "car control") + " only"));
        report("memory (VmRSS): " + mib(first.kib) + " at the start, " + mib(last.kib) + " at the end, peak "
               + mib(_memory.peakKib()) + "; growth " + mib(SoakFigures.growthPerHour(_soak.samples))
               + " per hour (fit over " + _soak.samples.length + " samples " + _soak.sampleMs / 1000 + " s apart), "
               + mib(SoakFigures.growthPerHour(_soak.samples.filter(record => record.ms >= _soak.warmUpMs)))
               + " per hour after the first " + (_soak.warmUpMs / 60000).toFixed(1) + " min");
        report("request errors seen: " + (_soak.statusErrors + _soak.probeErrors + _soak.locationErrors
                                          + _soak.settingsErrors) + " (status " + _soak.statusErrors + ", probe "
               + _soak.probeErrors + ", location " + _soak.locationErrors + ", settings " + _soak.settingsErrors
               + "); status replies: " + _soak.statusReplies);
        const back = _soak.outages.filter(record => record.state === "recovered").length;
        report("outages seen (offline indicator on): " + _soak.outages.length + ", back within "
               + _soak.boundMs / 1000 + " s of the server's answer: " + back);
        for (const record of _soak.outages.filter(record => record.state !== "recovered"))
            report("  offline at " + elapsed(record.offlineAt) + ": " + record.state + " after "
                   + record.seconds.toFixed(1) + " s");
        report("server faults: " + serverFaults());
        report("frames drawn: " + _soak.frames + ", " + (_soak.frames / seconds).toFixed(2) + " per second");
        const end = _soak.ending;
        report("at the end: " + (end.state === "recovered" ? "back " + end.seconds.toFixed(1)
                                                             + " s after the server answered" : end.state));
    }

    // Waits for the server to answer and judges the window as after an outage.
    function judgeEnd(): void {
        const now = Date.now();
        _soak.ending = {
            "offlineAt": now,
            "answeredAt": 0,
            "onlineAt": _soak.serverPing.isOnline ? now : 0,
            "statusAt": 0,
            "state": "waiting",
            "seconds": 0
        };
        while (_soak.ending.state === "waiting" && (_soak.ending.answeredAt || Date.now() - now < _soak.endWaitMs)) {
            probeServer();
            wait(_soak.probeMs);
            judge();
        }
        if (_soak.ending.state === "waiting")
            _soak.ending.state = "no answer from the server";
    }

    name: "Soak"

    function test_soak(): void {
        verify(_soak.runMs > 0, "KOVA_SOAK_MINUTES is not set");
        verify(["both", "control", "live"].includes(_soak.screens), "KOVA_SOAK_SCREENS is both, control or live");
        logInPatiently();
        _soak.pingRequest = findNamed("_pingHttpRequest");
        _soak.serverPing = _soak.pingRequest.parent;
        _soak.statusRequest = findNamed("_getStatusPost");
        _soak.server = findNamed("_liveData").server;
        // Two of the window's own probe periods while it is online.
        _soak.boundMs = 2 * findNamed("_pingTimer").interval;
        _soak.serverTellsOutages = fetchFaults().status === 200;
        _soak.probe.onreadystatechange = _soak.onProbeDone;

        _soak.startAt = Date.now();
        _soak.frames = 0;
        sample();
        report("started: " + mib(_soak.samples[0].kib) + " resident; the window is to be back within "
               + _soak.boundMs / 1000 + " s of the server answering again, as "
               + (_soak.serverTellsOutages ? "its outage flag says" : "a probe of its base address finds"));
        let nextSample = _soak.startAt + _soak.sampleMs;
        if (_soak.screens === "live")
            switchScreen();
        let nextPhase = _soak.startAt + _soak.phaseMs;
        let nextProbe = _soak.startAt;
        const end = _soak.startAt + _soak.runMs;
        while (Date.now() < end) {
            const now = Date.now();
            if (now >= nextProbe) {
                probeServer();
                nextProbe = now + _soak.probeMs;
            }
            if (now >= nextSample) {
                sample();
                nextSample += _soak.sampleMs;
            }
            if (now >= nextPhase) {
                switchScreen();
                nextPhase += _soak.phaseMs;
            }
            judge();
            wait(200);
        }
        sample();
        judgeEnd();
        printReport();

        const failed = _soak.outages.filter(record => record.state === "late" || record.state === "stuck");
        compare(failed.length, 0, "outages the window was not back from in time");
        compare(_soak.ending.state, "recovered", "the window at the end");
    }

    ResidentMemory {
        id: _memory
    }

    Connections {
        target: _soak.window

        function onFrameSwapped(): void {
            _soak.frames += 1;
        }

        function onCurrentStatusChanged(): void {
            if (_soak.startAt)
                _soak.onStatus();
        }
    }

    Connections {
        target: _soak.serverPing

        function onIsOnlineChanged(): void {
            _soak.onOnlineChanged(_soak.serverPing.isOnline);
        }
    }

    Connections {
        target: _soak.statusRequest

        function onError(): void {
            _soak.statusErrors += 1;
        }
    }

    Connections {
        target: _soak.pingRequest

        function onError(): void {
            _soak.probeErrors += 1;
        }
    }

    Connections {
        target: _soak.server

        function onLastLocationError(): void {
            _soak.locationErrors += 1;
        }

        function onSettingsError(): void {
            _soak.settingsErrors += 1;
        }
    }
}
