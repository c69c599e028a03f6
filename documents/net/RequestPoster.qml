import QtQuick

// Posts app-interface requests, each on a request object of its own, so that several run side by
// side; the object is dropped with its outcome.
Item {
    id: _requestPoster

    property int timeout: 10000

    // onReply gets the checked reply, onFailure the request's error text.
    function post(requestObject: var, onReply: var, onFailure: var): void {
        const request = _requestComponent.createObject(_requestPoster, {
            "requestObject": requestObject,
            "timeout": _requestPoster.timeout
        }) as HttpPost;
        request.responseReady.connect(reply => {
            request.destroy();
            onReply(reply);
        });
        request.error.connect(() => {
            request.destroy();
            onFailure(request.errorText);
        });
        request.post();
    }

    Component {
        id: _requestComponent

        HttpPost {
            url: _server.appInterfaceUrl
        }
    }
}
