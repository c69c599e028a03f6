import QtQuick
import QtLocation as QL
import QtPositioning

// The route from the phone to the car, asked of the map plugin's route service. A failure is
// reported only when the service stays in error for 3 s, so a quick retry hides a passing one.
QtObject {
    id: _route

    property QL.Plugin plugin
    // Waypoints written while disabled ask for nothing.
    property bool enabled: true
    property list<geoCoordinate> waypoints
    // Walking routes; driving routes when false.
    property bool pedestrain: true
    readonly property QL.RouteModel model: QL.RouteModel {
        plugin: _route.plugin
        // One request per new set of waypoints, not one per waypoint added.
        autoUpdate: false
        query: QL.RouteQuery {
            id: _query

            routeOptimizations: QL.RouteQuery.ShortestRoute | QL.RouteQuery.FastestRoute
            travelModes: _route.pedestrain ? QL.RouteQuery.PedestrianTravel : QL.RouteQuery.CarTravel
        }
        onStatusChanged: {
            if (status === QL.RouteModel.Error && error !== QL.RouteModel.NoError) {
                _errorDelay.restart();
            } else if (status === QL.RouteModel.Ready) {
                _errorDelay.stop();
                _route.routeUpdated();
            }
        }
    }
    readonly property bool loading: model.status === QL.RouteModel.Loading

    signal routeUpdated
    signal routeError

    onWaypointsChanged: {
        if (!enabled)
            return;
        _query.clearWaypoints();
        for (const point of waypoints)
            _query.addWaypoint(point);
        model.update();
    }

    readonly property Timer _errorTimer: Timer {
        id: _errorDelay

        interval: 3000
        onTriggered: _route.routeError()
    }
}
