#pragma once

#include <QString>

// Where the desktop build reads the phone's position from: KOVA_NMEA_SOURCE names an NMEA log
// file or a device ("serial:/dev/ttyUSB0", "socket://host:port"), in the form the positioning
// "nmea" plugin takes for its "nmea.source" parameter.
namespace NmeaSource {

// The plugin's source for the variable's value, or empty when it is unset or names a file that
// cannot be read (that one with a warning: GPS stays off rather than on without positions).
// A file is given as an absolute path.
QString fromEnvironment();

} // namespace NmeaSource
