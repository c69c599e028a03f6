import kova.tools

// The tracking server's client with the window's two flags: at most one location request is
// outstanding, and the geofence is taken from the settings once per visit.
Server {
    property bool lastLocatinBusy: false
    property bool geofencePolygonLoaded: false
}
