import QtQuick
import kova.tools
import "ReplyChecks.js" as ReplyChecks

// Posts requestObject as enciphered JSON and delivers the reply as a parsed object, as raw
// bytes when it is not JSON, or as an error with errorText.
//
// A request that names a command is an app-interface request: its reply reaches responseReady
// only once it has passed that command's check; a reply that is too large, not JSON, or not what
// the command's users read is malformed and ends in error(), like any other failure.
//
// How Qt's XMLHttpRequest reports failures: it has no separate error path the documents can rely
// on; every end of a request shows as readyState 4 in onreadystatechange.
//  - transport failure (refused, reset, DNS, TLS, an unusable url) and abort(): readyState 4,
//    status 0 -> "connection down" error
//  - an HTTP reply of any status: readyState 4 with that status; only 200 is read, any other
//    status is an error that names it
// abort() reports its readyState 4 synchronously, so _pending is cleared before aborting and
// nothing from a request this instance gave up on is ever delivered.
Item {
    id: _httpPost

    property var xhr: new XMLHttpRequest()
    property string url
    property alias timeout: _timeoutTimer.interval
    property string errorText: "No Error."
    // The HTTP status of the last request's reply; 0 while waiting, and after a time-out or a
    // transport failure.
    property int status: 0
    readonly property string malformedText: "پاسخ سرور نامعتبر است!"
    // Far above the largest real reply (a login with all of a user's devices).
    readonly property int maxReplyBytes: 1048576
    property bool encrypt: true
    property var requestObject: ({})

    // True while a request of this instance is in flight and its outcome still counts.
    property bool _pending: false
    // Counts the requests of this instance, so deferred work knows whether its request still runs.
    property int _requestSerial: 0

    signal responseReady(var response)
    signal textResponseReady(var response, int status)
    signal error

    function post(): void {
        const json = JSON.stringify(_httpPost.requestObject);
        const body = _httpPost.encrypt ? _cipher.xcrypt(json) : json;
        _abortInFlight();
        _httpPost.xhr.open("POST", _httpPost.url);
        _httpPost.xhr.setRequestHeader("Content-type", "application/json;");
        _httpPost.xhr.responseType = "arraybuffer";
        _startWaiting();
        _httpPost.xhr.send(body);
    }

    function get(): void {
        _abortInFlight();
        _httpPost.xhr.open("GET", _httpPost.url);
        _startWaiting();
        _httpPost.xhr.send();
    }

    function _abortInFlight(): void {
        _httpPost._pending = false;
        _httpPost.xhr.abort();
    }

    // Before send(): a failure reported at once must find the timer running, to stop it.
    function _startWaiting(): void {
        _httpPost._requestSerial += 1;
        _httpPost._pending = true;
        _httpPost.status = 0;
        if (!_timeoutTimer.running)
            _timeoutTimer.start();
    }

    function _onReadyStateChange(): void {
        if (!_httpPost._pending)
            return;
        if (_httpPost.xhr.readyState === XMLHttpRequest.HEADERS_RECEIVED) {
            _refuseOversizedReply();
            return;
        }
        if (_httpPost.xhr.readyState !== XMLHttpRequest.DONE)
            return;
        const status = _httpPost.xhr.status;
        _httpPost.status = status;
        if (status === 0)
            _fail("اتصال اینترنت قطع می‌باشد!");
        else if (status === 200)
            _deliver(status);
        else
            _fail("خطای سرور (HTTP " + status + ")");
    }

    function _deliver(status: int): void {
        const raw = _httpPost.xhr.response;
        const command = _httpPost.requestObject.command;
        if (typeof command !== "string") {
            _httpPost._pending = false;
            _timeoutTimer.stop();
            const parsed = _parsed(raw);
            if (parsed === undefined)
                _httpPost.textResponseReady(raw, status);
            else
                _httpPost.responseReady(parsed);
            return;
        }
        const size = raw ? raw.byteLength : 0;
        const reply = size <= _httpPost.maxReplyBytes ? _parsed(raw) : undefined;
        const problem = reply === undefined ? "not JSON, or over " + _httpPost.maxReplyBytes + " bytes (" + size + ")"
                                            : ReplyChecks.problem(command, reply);
        if (problem) {
            console.log("malformed reply to", command + ":", problem);
            _fail(_httpPost.malformedText);
            return;
        }
        _httpPost._pending = false;
        _timeoutTimer.stop();
        _httpPost.responseReady(reply);
    }

    // An app-interface reply that announces more than the bound is given up before its body
    // comes in. The request object cannot be aborted from inside its own callback, so that waits
    // for the event loop, and is skipped when another request has started meanwhile.
    function _refuseOversizedReply(): void {
        const length = Number(_httpPost.xhr.getResponseHeader("Content-Length"));
        if (typeof _httpPost.requestObject.command !== "string" || !(length > _httpPost.maxReplyBytes))
            return;
        console.log("malformed reply to", _httpPost.requestObject.command + ":", length, "bytes announced");
        const serial = _httpPost._requestSerial;
        Qt.callLater(() => {
            if (_httpPost._pending && _httpPost._requestSerial === serial) {
                _httpPost._abortInFlight();
                _fail(_httpPost.malformedText);
            }
        });
    }

    // The reply's JSON, or undefined when it cannot be deciphered or parsed.
    function _parsed(raw: var): var {
        try {
            return JSON.parse(String(_httpPost.encrypt ? _cipher.xcrypt(raw) : raw));
        } catch (e) {
            return undefined;
        }
    }

    function _fail(text: string): void {
        _httpPost._pending = false;
        _timeoutTimer.stop();
        _httpPost.errorText = text;
        _httpPost.error();
    }

    Component.onCompleted: _httpPost.xhr.onreadystatechange = _httpPost._onReadyStateChange
    // The request object may outlive this item; nothing may call back into a destroyed one.
    Component.onDestruction: {
        _httpPost.xhr.onreadystatechange = null;
        _abortInFlight();
    }

    Tools {
        id: _cipher
    }

    Timer {
        id: _timeoutTimer

        interval: 10000
        onTriggered: {
            _httpPost._abortInFlight();
            _httpPost.errorText = "Timeout Error.";
            _httpPost.error();
        }
    }
}
