.pragma library

// The rules of the trip playback bar that need no objects: the chooser's entries, the moving and
// standing stretches of a trip, and the area its points cover. A trip maps the decimal Unix
// seconds of each point to its location record; such keys enumerate in ascending order.

// A car slower than this stands.
const movingSpeed = 1;

function _clock(seconds) {
    const time = new Date(Number(seconds) * 1000);
    return String(time.getHours()).padStart(2, "0") + ":" + String(time.getMinutes()).padStart(2, "0");
}

// "All trips", then one entry per trip of two points or more, each with the index of its layer:
// a trip left out does not shift the entries after it off their layers. A trip's first point is
// where the car set off from before it, so its start time is its second point's. `tripKeys` holds
// the keys of each trip in order.
function chooserEntries(tripKeys, colors) {
    const entries = [{ "key": "همه مسیرها", "pathColor": "black", "pathIndex": -1 }];
    for (let i = 0; i < tripKeys.length; ++i) {
        const keys = tripKeys[i];
        if (keys.length < 2)
            continue;
        entries.push({
            "key": _clock(keys[1]) + " ~ " + _clock(keys[keys.length - 1]),
            "pathColor": colors[i % colors.length],
            "pathIndex": i
        });
    }
    return entries;
}

// Where along [start, end] the car starts or stops moving: [{ position, moving }], the time
// before the first point counting as standing.
function motionChanges(trip, keys) {
    const changes = [];
    if (keys.length < 2)
        return changes;
    const start = Number(keys[0]);
    const length = Number(keys[keys.length - 1]) - start;
    let moving = false;
    for (const key of keys) {
        const nowMoving = Number(trip[key]?.speed) >= movingSpeed;
        if (nowMoving === moving)
            continue;
        moving = nowMoving;
        changes.push({ "position": (Number(key) - start) / length, "moving": moving });
    }
    return changes;
}

// The four corners of the area the trips cover as { lat, lon }, south-west first and on round;
// empty without points.
function corners(trips) {
    let south = Infinity, west = Infinity, north = -Infinity, east = -Infinity;
    for (const trip of trips) {
        for (const point of Object.values(trip ?? {})) {
            south = Math.min(south, point.lat);
            north = Math.max(north, point.lat);
            west = Math.min(west, point.lon);
            east = Math.max(east, point.lon);
        }
    }
    if (!(south <= north && west <= east))
        return [];
    return [{ "lat": south, "lon": west }, { "lat": north, "lon": west }, { "lat": north, "lon": east },
            { "lat": south, "lon": east }];
}
