import QtQuick
import QtLocation as QL
import QtPositioning

// The route from the phone to the car, asked of the map plugin's route service. A failure is
// reported only when the service stays in error for 3 s, so a quick retry hides a passing one.
QtObject {
    id: _route

    property QL.Plugin plugin
    // Waypoints written while disabled ask for nothing until it is enabled.
    property bool enabled: true
    property list<geoCoordinate> waypoints
    // Walking routes; driving routes when false.
    property bool pedestrain: true
    // The line of the last answer. Every answer holds one route, so the model's count never
    // tells a new answer from the last one: each is copied here as it arrives.
    property list<geoCoordinate> path
    readonly property QL.RouteModel model: QL.RouteModel {
        plugin: _route.plugin
        // Asked once all that changed together has changed, not once per detail.
        autoUpdate: false
        query: QL.RouteQuery {
            id: _query

            waypoints: _route.waypoints
            routeOptimizations: QL.RouteQuery.ShortestRoute | QL.RouteQuery.FastestRoute
            travelModes: _route.pedestrain ? QL.RouteQuery.PedestrianTravel : QL.RouteQuery.CarTravel
            onQueryDetailsChanged: Qt.callLater(_route._ask)
        }
        onStatusChanged: {
            if (status === QL.RouteModel.Error && error !== QL.RouteModel.NoError) {
                _errorDelay.restart();
            } else if (status === QL.RouteModel.Ready) {
                _errorDelay.stop();
                _route.path = count > 0 ? get(0).path : [];
                _route.routeUpdated();
            }
        }
    }
    readonly property bool loading: model.status === QL.RouteModel.Loading

    signal routeUpdated
    signal routeError

    function _ask(): void {
        if (enabled && waypoints.length >= 2)
            model.update();
    }

    onEnabledChanged: Qt.callLater(_route._ask)

    readonly property Timer _errorTimer: Timer {
        id: _errorDelay

        interval: 3000
        onTriggered: _route.routeError()
    }
}
