import QtQuick
import QtTest
import QtPositioning
import kova.services

// The phone's position on a desktop, from the NMEA log that KOVA_NMEA_SOURCE names, read the way
// the map reads it: a position source set up from the GPS manager's answers.
TestCase {
    name: "NmeaPosition"

    GpsManager {
        id: _gps
    }

    PositionSource {
        id: _source

        name: _gps.positionPluginName
        active: true

        PluginParameter {
            name: "nmea.source"
            value: _gps.nmeaSource
        }
    }

    function test_theWalkComesInAlongItsStreet(): void {
        verify(_gps.gpsIsOn);
        _gps.turnOnGps();
        verify(_gps.gpsIsOn);
        tryVerify(() => _source.valid && _source.position.latitudeValid
                  && _source.position.longitudeValid, 10000);
        // Eastwards along the street at latitude 36.30, west of the crossing at 59.60.
        fuzzyCompare(_source.position.coordinate.latitude, 36.30, 1e-6);
        const firstLongitude = _source.position.coordinate.longitude;
        verify(firstLongitude > 59.5967 && firstLongitude < 59.6, firstLongitude);
        tryVerify(() => _source.position.coordinate.longitude > firstLongitude, 5000);
        fuzzyCompare(_source.position.coordinate.latitude, 36.30, 1e-6);
    }
}
