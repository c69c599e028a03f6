import QtQuick
import kova.tools

// Posts requestObject as enciphered JSON and delivers the reply as a parsed object, as raw
// bytes when it is not JSON, or as an error with errorText.
//
// How Qt's XMLHttpRequest reports failures: it has no separate error path the documents can rely
// on; every end of a request shows as readyState 4 in onreadystatechange.
//  - transport failure (refused, reset, DNS, TLS, an unusable url) and abort(): readyState 4,
//    status 0 -> "connection down" error
//  - an HTTP reply of any status: readyState 4 with that status; only 200 is read, any other
//    status is left to the time-out
// abort() reports its readyState 4 synchronously, so _pending is cleared before aborting and
// nothing from a request this instance gave up on is ever delivered.
Item {
    id: _httpPost

    property var xhr: new XMLHttpRequest()
    property string url
    property alias timeout: _timeoutTimer.interval
    property string errorText: "No Error."
    property bool encrypt: true
    property var requestObject: ({})

    // True while a request of this instance is in flight and its outcome still counts.
    property bool _pending: false

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
        _httpPost._pending = true;
        if (!_timeoutTimer.running)
            _timeoutTimer.start();
    }

    function _onReadyStateChange(): void {
        if (!_httpPost._pending || _httpPost.xhr.readyState !== XMLHttpRequest.DONE)
            return;
        const status = _httpPost.xhr.status;
        if (status === 0)
            _fail();
        else if (status === 200)
            _deliver(status);
    }

    function _deliver(status: int): void {
        _httpPost._pending = false;
        _timeoutTimer.stop();
        const raw = _httpPost.xhr.response;
        let parsed;
        try {
            const text = _httpPost.encrypt ? _cipher.xcrypt(raw) : raw;
            parsed = JSON.parse(String(text));
        } catch (e) {
            _httpPost.textResponseReady(raw, status);
            return;
        }
        _httpPost.responseReady(parsed);
    }

    function _fail(): void {
        _httpPost._pending = false;
        _timeoutTimer.stop();
        _httpPost.errorText = "اتصال اینترنت قطع می باشد!";
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
