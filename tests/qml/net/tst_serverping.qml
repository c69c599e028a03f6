import QtQuick
import QtTest
import kova.testing
import "qrc:/"

TestCase {
    id: _testCase

    function createPing(): ServerPing {
        return createTemporaryObject(_pingComponent, _testCase, {
            "url": _peer.url + "/"
        });
    }

    // The next failure of the inner request, after the probe that is already under way.
    function failOnce(request: HttpPost, errors: SignalSpy, probeAgain: bool): void {
        const before = errors.count;
        if (probeAgain)
            request.get();
        tryVerify(() => errors.count > before, 3000);
    }

    name: "ServerPing"
    when: _peer.listening

    function init() {
        _peer.clearRequests();
        _peer.setReply("/", {
            "status": 200,
            "body": "<html>tracking</html>"
        });
        if (!_peer.listening)
            _peer.listen();
    }

    function test_refusedGoesOfflineOnThirdFailureThenComesBack() {
        _peer.close();
        const ping = createPing();
        const request = findChild(ping, "_pingHttpRequest");
        const timer = findChild(ping, "_pingTimer");
        const errors = createTemporaryObject(_spyComponent, _testCase, {
            "target": request,
            "signalName": "error"
        });
        failOnce(request, errors, false);
        failOnce(request, errors, true);
        verify(ping.isOnline);
        compare(timer.interval, 5000);
        failOnce(request, errors, true);
        verify(!ping.isOnline);
        compare(request.retries, 3);
        compare(timer.interval, 2000);

        // Offline, the timer itself probes again on the shorter interval.
        _peer.listen();
        tryVerify(() => ping.isOnline, 4000);
        compare(request.retries, 0);
        compare(timer.interval, 5000);
        verify(_peer.requestCount >= 1);
        compare(_peer.requests[0].method, "GET");
    }

    function test_silentServerGoesOfflineAfterThreeTimeouts() {
        _peer.setReply("/", {
            "silent": true
        });
        const ping = createPing();
        const request = findChild(ping, "_pingHttpRequest");
        request.timeout = 150;
        const errors = createTemporaryObject(_spyComponent, _testCase, {
            "target": request,
            "signalName": "error"
        });
        failOnce(request, errors, false);
        failOnce(request, errors, true);
        verify(ping.isOnline);
        failOnce(request, errors, true);
        compare(request.errorText, "Timeout Error.");
        verify(!ping.isOnline);
    }

    // A server that answers, even with an HTTP error, can be reached.
    function test_httpErrorsKeepOnline() {
        _peer.setReply("/", {
            "status": 500,
            "body": "oops"
        });
        const ping = createPing();
        const request = findChild(ping, "_pingHttpRequest");
        request.timeout = 2000;
        const errors = createTemporaryObject(_spyComponent, _testCase, {
            "target": request,
            "signalName": "error"
        });
        failOnce(request, errors, false);
        failOnce(request, errors, true);
        failOnce(request, errors, true);
        compare(request.errorText, "خطای سرور (HTTP 500)");
        verify(ping.isOnline);
    }

    function test_textReplyKeepsOnlineAndResetsRetries() {
        const ping = createPing();
        const request = findChild(ping, "_pingHttpRequest");
        tryCompare(_peer, "requestCount", 1);
        request.retries = 2;
        request.get();
        tryCompare(request, "retries", 0);
        verify(ping.isOnline);
    }

    TestHttpServer {
        id: _peer
    }

    Component {
        id: _pingComponent

        ServerPing {}
    }

    Component {
        id: _spyComponent

        SignalSpy {}
    }
}
