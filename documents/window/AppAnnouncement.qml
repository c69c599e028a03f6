import QtQuick
import kova.tools

// Tells the server which build is starting; its reply may carry a notice and the application
// configuration.
QtObject {
    id: _appAnnouncement

    required property TrackingServer server
    required property Tools tools

    signal noticeArrived(string title, string code)
    signal configsArrived(var configs)

    function announce(): void {
        _request.requestObject = {
            "command": "appOpen",
            "appName": "KovaApp",
            "os": Qt.platform.os,
            "appVersion": tools.version(),
            "version_major": tools.version_major(),
            "version_minor": tools.version_minor(),
            "version_patch": tools.version_patch()
        };
        _request.post();
    }

    function _onReply(response: var): void {
        if (!response.isValid)
            return;
        if (response.message)
            noticeArrived(response.title ?? "", response.message);
        if (response.appConfigs !== undefined)
            configsArrived(response.appConfigs);
    }

    readonly property HttpPost _announcementRequest: HttpPost {
        id: _request

        url: _appAnnouncement.server.appInterfaceUrl
        timeout: 10000
        onResponseReady: response => _appAnnouncement._onReply(response)
        onError: console.log("appOpen failed:", errorText)
    }
}
