import QtQuick
import QtTest
import globals
import "../online"

// The real window against a development server that stalls for 35 s, holding every request
// without a word, and then answers again: the app comes back by itself, probe online and fresh
// status and location within two of the offline probe's periods.
SystemTestCase {
    id: _testCase

    readonly property int outageSeconds: 35
    // The offline probe's period; back within two of them once the server answers.
    readonly property int probePeriodMs: 2000
    property int statusReplies: 0
    property int locationReplies: 0

    function cleanup(): void {
        closeWindow();
    }

    // Stalls the whole server from now on, for `seconds`; `held` "keep" leaves the requests it
    // held unanswered for good, as a server that lost them would.
    function startOutage(seconds: int, held: string): void {
        const control = testEnvironment.smsGateway.replace(/\/sms$/, "") + "/control/outage?seconds=" + seconds + "&held=" + held;
        const request = new XMLHttpRequest();
        request.open("POST", control);
        request.send();
        tryVerify(() => request.readyState === XMLHttpRequest.DONE, 5000);
        compare(request.status, 200, request.responseText);
    }

    function test_backByItselfAfterAStall_data() {
        return [
            { "tag": "held requests dropped when the server is back", "held": "drop" },
            { "tag": "held requests never answered", "held": "keep" }
        ];
    }

    function test_backByItselfAfterAStall(data) {
        loggedInOwner();
        const ping = findNamed("_serverPing");
        tryVerify(() => _testCase.window.currentStatus.battryPercent !== undefined, 15000);
        tryVerify(() => _testCase.locationReplies > 0 && _testCase.statusReplies > 0, 15000);

        startOutage(_testCase.outageSeconds, data.held);
        const back = Date.now() + _testCase.outageSeconds * 1000;
        tryVerify(() => !ping.isOnline, 30000, "the probe sees the stall");
        wait(back - Date.now());

        const status = _testCase.statusReplies;
        const location = _testCase.locationReplies;
        const bound = 2 * _testCase.probePeriodMs;
        tryVerify(() => ping.isOnline, bound, "the probe is online again");
        const online = Date.now() - back;
        tryVerify(() => _testCase.statusReplies > status, bound, "the status polling runs again");
        const polled = Date.now() - back;
        tryVerify(() => _testCase.locationReplies > location, bound, "the location polling runs again");
        console.log("back after the stall: probe online", online, "ms, status", polled, "ms, location", Date.now() - back, "ms");
    }

    Connections {
        target: _testCase.window

        function onCurrentStatusChanged(): void {
            _testCase.statusReplies += 1;
        }

        function onCurrentLocationChanged(): void {
            _testCase.locationReplies += 1;
        }
    }
}
