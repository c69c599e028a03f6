import QtQuick
import QtTest
import QtPositioning
import globals
import "../online"

// The walking route from the phone to the car, with the phone's position read from the walk's
// NMEA log and the route from the development server's route service.
SystemTestCase {
    id: _testCase

    name: "Route"

    function cleanup(): void {
        closeWindow();
    }

    function test_routeButtonDrawsAWalkToTheCar() {
        loggedInOwner();
        tryVerify(() => _testCase.window.currentLocation !== undefined, 15000);
        const map = openLiveTracking();
        const routeButton = findNamed("_btnMyRoute");
        mouseClick(routeButton);
        verify(routeButton.checked);
        verify(map.enableRouting, "GPS is on from the log, so routing starts");
        tryVerify(() => map.myCoordinateIsValid, 10000, "the phone's position comes from the log");
        verify(map.myPositionMapItem.visible);

        const line = map.myRouteToCarMapItem;
        tryVerify(() => line.path.length > 1, 15000, "a route is drawn");
        verify(line.visible);
        const phone = _testCase.window.myLastCoord;
        const car = _testCase.window.carCoord;
        verify(line.path[0].distanceTo(phone) < 1, "the route starts where the phone was asked from");
        verify(line.path[line.path.length - 1].distanceTo(car) < 1, "and ends at the car");
        // Along the streets of a grid every stretch runs east-west or north-south.
        for (let i = 1; i < line.path.length; ++i) {
            const a = line.path[i - 1];
            const b = line.path[i];
            verify(Math.abs(a.latitude - b.latitude) < 1e-6 || Math.abs(a.longitude - b.longitude) < 1e-6, "stretch " + i);
        }

        // The car drives 330 m on while the phone stands: the route is asked for and drawn again.
        const moved = QtPositioning.coordinate(car.latitude + 0.003, car.longitude);
        _testCase.window.currentLocation = { "dateTime": new Date(), "lat": moved.latitude, "lon": moved.longitude, "alt": 900, "course": 0, "speed": 0, "accuracy": 10 };
        verify(_testCase.window.getMyRouteToCar(), "the car's move asks again");
        tryVerify(() => line.path[line.path.length - 1].distanceTo(moved) < 1, 15000, "the route ends where the car is now");

        mouseClick(routeButton);
        verify(!map.enableRouting);
        verify(!line.visible);
        compare(findNamed("_lockStateItem").state, "car");
    }
}
