#!/usr/bin/env python3
"""Writes the phone's NMEA log of a walk in the development server's town, one fix a second.

The walker keeps to the streets of the server's road grid (east-west streets every 0.005 degrees
of latitude from 36.30, north-south streets every 0.006 degrees of longitude from 59.60): east
along the street at latitude 36.30, then north at the crossing at longitude 59.60.

    tools/make-walk-nmea.py > tests/system/data/walk.nmea
"""
import datetime
import math
import sys

SPEED = 1.4  # metres per second, an easy walk
SECONDS = 300
START = datetime.datetime(2025, 3, 21, 6, 30, 0, tzinfo=datetime.timezone.utc)
ALTITUDE = 1002.0
# The walk's corners, (latitude, longitude).
CORNERS = [(36.30, 59.5968), (36.30, 59.60), (36.31, 59.60)]

EARTH_RADIUS = 6371007.2
KNOTS_PER_MPS = 3600 / 1852


def metres_between(a, b):
    lat1, lon1, lat2, lon2 = map(math.radians, (*a, *b))
    h = (math.sin((lat2 - lat1) / 2) ** 2
         + math.cos(lat1) * math.cos(lat2) * math.sin((lon2 - lon1) / 2) ** 2)
    return 2 * EARTH_RADIUS * math.asin(math.sqrt(h))


def course(a, b):
    if a[0] == b[0]:
        return 90.0 if b[1] > a[1] else 270.0
    return 0.0 if b[0] > a[0] else 180.0


def position(walked):
    """Where the walker is after `walked` metres, and which way it faces."""
    for a, b in zip(CORNERS, CORNERS[1:]):
        length = metres_between(a, b)
        if walked <= length:
            f = walked / length
            return (a[0] + f * (b[0] - a[0]), a[1] + f * (b[1] - a[1])), course(a, b)
        walked -= length
    raise ValueError("the walk is longer than its streets")


def degrees_minutes(value, degree_digits):
    degrees = int(value)
    minutes = (value - degrees) * 60
    return f"{degrees:0{degree_digits}d}{minutes:08.5f}"


def sentence(body):
    checksum = 0
    for c in body.encode("ascii"):
        checksum ^= c
    return f"${body}*{checksum:02X}\r\n"


def main():
    out = sys.stdout
    for second in range(SECONDS):
        (lat, lon), heading = position(second * SPEED)
        at = START + datetime.timedelta(seconds=second)
        time = at.strftime("%H%M%S.00")
        date = at.strftime("%d%m%y")
        la = degrees_minutes(lat, 2)
        lo = degrees_minutes(lon, 3)
        out.write(sentence(f"GPRMC,{time},A,{la},N,{lo},E,{SPEED * KNOTS_PER_MPS:.2f},"
                           f"{heading:.1f},{date},,,A"))
        out.write(sentence(f"GPGGA,{time},{la},N,{lo},E,1,09,0.8,{ALTITUDE:.1f},M,-23.0,M,,"))


if __name__ == "__main__":
    main()
