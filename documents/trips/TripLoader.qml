import QtQuick

// Puts a day's trips on the map and the playback bar when the server's answer comes, or tells
// why there are none.
QtObject {
    id: _tripLoader

    required property TrackingServer server
    required property MapView map
    required property DebriefingPlaybackDialog debriefingDialog
    required property MainTooltip tooltip

    property var pathsAdvanceInfo: []

    // An answer counts only while the bar waits for it: once the user left trip playback, its
    // paths would land on the live map and its error in another page's tooltip.
    function handleTripReply(): void {
        if (debriefingDialog.state !== "loading")
            return;
        pathsAdvanceInfo = server.pathsAdvanceInfo();
        // Native trips, shared by the map and the bar: neither converts a day of points to script.
        map.createDebriefingPaths(server.trips);
        debriefingDialog.trips = server.trips;
        debriefingDialog.state = "run";
    }

    function handleTripError(errorCode: int): void {
        if (debriefingDialog.state !== "loading")
            return;
        debriefingDialog.state = "stop";
        if (errorCode === 4 || errorCode === 10000)
            tooltip.show("خودرو شما در این بازه زمانی \n مسیری طی نکرده است", 3000);
        else
            tooltip.show("خطا در دریافت مسیر", 3000);
    }

    readonly property Connections _serverReplies: Connections {
        target: _tripLoader.server

        function onDebriefingReply(): void {
            _tripLoader.handleTripReply();
        }

        function onDebriefingError(errorCode: int): void {
            _tripLoader.handleTripError(errorCode);
        }
    }
}
