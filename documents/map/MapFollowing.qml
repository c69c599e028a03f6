import QtQuick
import QtPositioning
import globals
import kova.services

// What the map follows during live tracking and trip replay: the car, the phone or nothing
// (the lock), the phone's GPS, and the walking route from the phone to the car, asked again
// while the user walks. The header's lock and route buttons act through it.
QtObject {
    id: _mapFollowing

    required property int operation
    required property MapView map
    required property LiveData liveData
    required property GpsManager gps
    required property MainTooltip tooltip

    // "car", "me" or "" (free); the tests and the tour set it by its object's name.
    property alias lockState: _lockStateItem.state
    // The route button is on; the map draws the route while GPS is on too.
    property bool routing: false
    // Where the phone and the car were when the last route was asked for.
    property geoCoordinate myLastCoord: QtPositioning.coordinate(0, 0)
    property geoCoordinate _carLastCoord: QtPositioning.coordinate(0, 0)
    // What the header's buttons show.
    readonly property bool gpsIsOn: gps.gpsIsOn
    readonly property bool seekingMe: lockState === "me" && !map.myCoordinateIsValid
    readonly property bool routeShown: map.enableRouting
    readonly property bool routeBusy: map.enableRouting && (map.myRouteToCar.loading || !map.myCoordinateIsValid)

    // The phone's GPS is off: the user is asked to switch it on.
    signal gpsWanted

    function tooltipRouting(): void {
        tooltip.show("در حال مسیریابی", 3000);
    }

    function tooltipCarLocation(): void {
        tooltip.show("قفل شدن نقشه روی موقعیت خودرو", 3000);
    }

    function tooltipMyLocation(): void {
        tooltip.show("قفل شدن نقشه روی موقعیت شما", 3000);
    }

    function tooltipGpsIsOff(): void {
        tooltip.show("جی‌پی‌اس خاموش است", 3000);
    }

    function _onLockStateChanged(state: string): void {
        if (state === "car") {
            const location = liveData.currentLocation;
            if (location) {
                map.centerOn(QtPositioning.coordinate(location.lat, location.lon));
                tooltipCarLocation();
            }
        } else if (state === "me") {
            tooltipMyLocation();
            map.turnNorth();
        }
        map.tilt = state === "" ? 0 : 45;
    }

    // GPS came on or went off, or the user asked for it while it was on.
    function _onGpsChanged(): void {
        if (gps.gpsIsOn) {
            if (!map.enableRouting && lockState === "me") {
                tooltipMyLocation();
                map.centerToMyLocation();
            }
            if (routing) {
                tooltipRouting();
                getMyRouteToCar();
                map.centerToMyLocation();
            }
        } else {
            exitRoutingAndLockToCar();
        }
    }

    function turnOnGps(): void {
        if (gps.gpsIsOn)
            _onGpsChanged();
        else
            gpsWanted();
    }

    // The user agreed to switch GPS on: the platform is given 5 s to do it.
    function acceptGps(): void {
        gps.turnOnGps();
        _gpsTimer.restart();
    }

    function exitRoutingAndLockToCar(): void {
        routing = false;
        lockState = "car";
    }

    // Asks for a new walking route only once the user or the car has moved more than 100 m.
    function getMyRouteToCar(): bool {
        const me = map.myCoordinate;
        const car = liveData.carCoord;
        if (!me || !me.isValid || !car.isValid)
            return false;
        if (myLastCoord.distanceTo(me) <= 100 && _carLastCoord.distanceTo(car) <= 100)
            return false;
        map.myRouteToCar.waypoints = [me, car];
        myLastCoord = QtPositioning.coordinate(me.latitude, me.longitude, me.altitude);
        _carLastCoord = QtPositioning.coordinate(car.latitude, car.longitude);
        return true;
    }

    function toggleCarLock(): void {
        lockState = lockState === "car" ? "" : "car";
    }

    function toggleMyLock(): void {
        if (!gps.gpsIsOn)
            turnOnGps();
        lockState = lockState === "me" ? "" : "me";
    }

    function toggleRoute(): void {
        if (routing) {
            exitRoutingAndLockToCar();
            return;
        }
        lockState = "me";
        routing = true;
        turnOnGps();
        if (gps.gpsIsOn) {
            tooltipRouting();
            getMyRouteToCar();
        }
    }

    readonly property QtObject _lock: QtObject {
        id: _lockStateItem
        objectName: "_lockStateItem"

        property string state: "car"

        onStateChanged: _mapFollowing._onLockStateChanged(state)
    }

    readonly property Connections _gpsSwitch: Connections {
        target: _mapFollowing.gps

        function onGpsIsOnChanged(): void {
            _mapFollowing._onGpsChanged();
        }
    }

    readonly property Connections _route: Connections {
        target: _mapFollowing.map.myRouteToCar

        function onRouteUpdated(): void {
            _mapFollowing.tooltip.close();
        }

        function onRouteError(): void {
            _mapFollowing.tooltip.show("خطای مسیریابی", 3000);
        }
    }

    readonly property Timer _gpsWait: Timer {
        id: _gpsTimer

        interval: 5000
        onTriggered: {
            if (!_mapFollowing.gps.gpsIsOn) {
                _mapFollowing.exitRoutingAndLockToCar();
                _mapFollowing.tooltipGpsIsOff();
            }
        }
    }

    // A new route is asked for every 10 s while routing, if the user or the car has moved.
    readonly property Timer _routeRefresh: Timer {
        interval: 10000
        repeat: true
        running: _mapFollowing.operation === Globals.LiveTracking_Operation && _mapFollowing.routing && _mapFollowing.gps.gpsIsOn
        onTriggered: _mapFollowing.getMyRouteToCar()
    }
}
