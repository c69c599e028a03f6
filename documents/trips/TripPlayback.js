.pragma library

// The rules of the trip playback bar that need no objects: the chooser's entries. The moving and
// standing stretches of a trip and the area its points cover are read from the native trips.

function _clock(seconds) {
    const time = new Date(Number(seconds) * 1000);
    return String(time.getHours()).padStart(2, "0") + ":" + String(time.getMinutes()).padStart(2, "0");
}

// "All trips", then one entry per trip of two points or more, each with the index of its layer:
// a trip left out does not shift the entries after it off their layers. A trip's first point is
// where the car set off from before it, so its start time is its second point's. `tripKeys` holds
// the first two and the last Unix seconds of each trip (fewer for a shorter trip).
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
