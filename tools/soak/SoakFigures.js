.pragma library

// Growth of the resident memory per hour, in KiB, from samples {ms, kib}: the slope of a
// least-squares line, so a passing spike at either end weighs no more than any other sample.
// 0 with fewer than two distinct sample times.
function growthPerHour(samples) {
    const count = samples.length;
    if (count < 2)
        return 0;
    const hours = samples.map(sample => sample.ms / 3600000);
    const meanHours = hours.reduce((sum, value) => sum + value, 0) / count;
    const meanKib = samples.reduce((sum, sample) => sum + sample.kib, 0) / count;
    let covariance = 0;
    let variance = 0;
    for (let i = 0; i < count; ++i) {
        covariance += (hours[i] - meanHours) * (samples[i].kib - meanKib);
        variance += (hours[i] - meanHours) ** 2;
    }
    return variance > 0 ? covariance / variance : 0;
}

// Where the window stands after an outage, given the times (ms, 0 for not yet) at which the
// server first answered again (answeredAt), the window came back online (onlineAt) and it had
// its first status reply since the server answered (statusAt). It is back once it is online and
// has a fresh status; within `boundMs` of the server's answer that is "recovered", later "late".
// Without both, it is "stuck" once `boundMs` have passed, "waiting" before.
// Returns {state, seconds}: seconds from the server's answer to the window's return.
function recovery(answeredAt, onlineAt, statusAt, nowMs, boundMs) {
    if (!answeredAt)
        return {"state": "waiting", "seconds": 0};
    if (onlineAt && statusAt) {
        const backMs = Math.max(onlineAt, statusAt, answeredAt) - answeredAt;
        return {"state": backMs <= boundMs ? "recovered" : "late", "seconds": backMs / 1000};
    }
    const waitedMs = nowMs - answeredAt;
    return {"state": waitedMs > boundMs ? "stuck" : "waiting", "seconds": waitedMs / 1000};
}
