import QtQuick

// Probes the server's base address and tells whether it can be reached. Three failed probes in a
// row, time-outs included, take it offline unless the last one was answered; the first answer
// brings it back.
Item {
    id: _serverPing

    property bool isOnline: true
    property alias url: _pingHttpRequest.url

    HttpPost {
        id: _pingHttpRequest

        property int retries: 0

        objectName: "_pingHttpRequest"
        timeout: 3000
        onTextResponseReady: (response, status) => {
            _serverPing.isOnline = status > 0;
            retries = 0;
        }
        // A server that answers with an HTTP error is reachable; a time-out or a transport
        // failure leaves the request without a status.
        onError: {
            retries += 1;
            if (retries >= 3)
                _serverPing.isOnline = _pingHttpRequest.status > 0;
        }
    }

    Timer {
        id: _pingTimer

        objectName: "_pingTimer"
        interval: _serverPing.isOnline ? 5000 : 2000
        repeat: true
        running: true
        triggeredOnStart: true
        onTriggered: _pingHttpRequest.get()
    }
}
