.pragma library

.import "JsTools.js" as JsTools
.import "JalaliDate.js" as JalaliDate

// The rules by which the window turns the car's data into what it shows: no objects, no state,
// so each can be checked on its own.

// Alarm bits of a status reply, in the order their notifications are shown.
const alarmKinds = [
    { "bit": 1, "title": "هشدار باز شدن درب‌ها", "timeField": "doorTime" },
    { "bit": 2, "title": "هشدار باز شدن صندوق یا کاپوت", "timeField": "trunkTime" },
    { "bit": 4, "title": "هشدار باز شدن سوئیچ خودرو", "timeField": "carSwitchTime" },
    { "bit": 8, "title": "هشدار قطع برق خودرو (سرقت باطری)", "timeField": "powerDisconnectTime" },
    { "bit": 16, "title": "هشدار ورود به محدوده غیر مجاز", "timeField": "geoFenceInTime" },
    { "bit": 32, "title": "هشدار خروج از محدوده", "timeField": "geoFenceOutTime" },
    { "bit": 64, "title": "هشدار حمل جرثقیل", "timeField": "carringTime" },
    { "bit": 128, "title": "هشدار سرعت غیرمجاز", "timeField": "overSpeedTime" },
    { "bit": 256, "title": "هشدار تکان خوردن خودرو", "timeField": "shockTime" }
];

// Which page value each device setting fills: [page, page property, settings key].
const settingsCopies = [
    ["alarms", "geoFenceAlarmType", "geoFenceAlarmType"],
    ["alarms", "doorAlarmType", "doorAlarmType"],
    ["alarms", "trunkAlarmType", "trunkAlarmType"],
    ["alarms", "switchAlarmType", "switchAlarmType"],
    ["alarms", "carringAlarmType", "carryingAlarmType"],
    ["alarms", "powerDisconnectAlarmType", "powerDisconnectAlarmType"],
    ["alarms", "overSpeedAlarmType", "overSpeedAlarmType"],
    ["alarms", "shakeAlarmType", "shockAlertType"],
    ["alarms", "shockSensitivity", "shockSensitivity"],
    ["alarms", "overSpeed", "overSpeed"],
    ["sending", "sendRate", "sendRate"],
    ["sending", "logResolation", "logResolation"],
    ["dashboard", "carOnState", "sw3"],
    ["dashboard", "autoLockState", "autoLock"],
    ["dashboard", "multiAlarm", "multiAlarm"],
    ["listen", "listenUser1", "listen_Users1"],
    ["listen", "listenUser2", "listen_Users2"],
    ["listen", "listenUser3", "listen_Users3"],
    ["deviceInfo", "tamper", "tamper"]
];

// The new map bearing that turns the map towards the car's course: small differences are left
// alone, and turns of more than half a circle go the short way across north.
function followHeading(course, bearing) {
    const d = course - bearing;
    if (Math.abs(d) <= 30)
        return bearing;
    if (d > 0)
        return d > 180 ? bearing - (360 - d) : course;
    return Math.abs(d) > 180 ? bearing + (360 + d) : course;
}

// What the dashboard and the live-values panel show of the car's last location and status:
// "---" until the first record arrives ("--:--" and "--" for the clock and the date). Numbers
// are rounded; speed (km/h) and altitude are padded to three digits.
function readings(location, status) {
    const time = location && location.dateTime ? new Date(location.dateTime) : null;
    const timeKnown = time !== null && !isNaN(time.getTime());
    const jalali = timeKnown ? JalaliDate.fromGregorian(time) : null;
    const onPower = !!(status && status.powerDetect);
    const text = (known, value) => known ? String(value) : "---";
    return {
        "date": jalali ? [JsTools.formatNumber(jalali[0], 4), JsTools.formatNumber(jalali[1], 2), JsTools.formatNumber(jalali[2], 2)].join("-") : "--",
        "time": timeKnown ? JsTools.formatNumber(time.getHours(), 2) + ":" + JsTools.formatNumber(time.getMinutes(), 2) : "--:--",
        "seconds": timeKnown ? JsTools.formatNumber(time.getSeconds(), 2) : "--",
        "speed": location ? JsTools.formatNumber(Math.round(Number(location.speed) * 3.6), 3) : "---",
        "alt": location ? JsTools.formatNumber(Math.round(Number(location.alt)), 3) : "---",
        "course": text(!!location, Math.round(Number(location?.course))),
        // A set charging flag on external power means the battery is full.
        "battery": !status ? "---" : onPower ? (status.charging ? "Full" : "Charge") : String(status.battryPercent),
        "batteryUnitVisible": !onPower,
        "batteryState": !onPower ? "use" : status.charging ? "full" : "charging",
        // 0xFFFF: the device could not read the credit.
        "sim": text(!!status && status.simCharge !== 0xFFFF, status?.simCharge),
        "gsm": text(!!status, status?.gsmSignal),
        "gps": text(!!location, location?.accuracy)
    };
}

// After this long a position is no longer the car's place now.
const stalePositionMs = 10 * 60 * 1000;

// How old a position taken at dateTime is at now, in words, and whether it is stale; no words
// when the time is not known. A device clock a little ahead of the phone's reads as just now.
function positionAge(dateTime, now) {
    const taken = dateTime ? new Date(dateTime) : null;
    if (taken === null || isNaN(taken.getTime()))
        return { "text": "", "stale": false };
    const ms = now.getTime() - taken.getTime();
    const minutes = Math.floor(ms / 60000);
    const hours = Math.floor(minutes / 60);
    const days = Math.floor(hours / 24);
    const stale = ms > stalePositionMs;
    let text;
    if (minutes < 1)
        text = "همین الان";
    else if (hours < 1)
        text = JsTools.persianNumber(minutes) + " دقیقه پیش";
    else if (days < 1)
        text = JsTools.persianNumber(hours) + " ساعت پیش";
    else
        text = JsTools.persianNumber(days) + " روز پیش";
    return { "text": stale ? text + " (قدیمی)" : text, "stale": stale };
}

// The car a screen controls, as its owner knows it: model and plate, or the serial number
// when neither is on record.
function carLine(device) {
    const model = String(device?.vehicleModel ?? "").trim();
    const plate = String(device?.vehiclePlaque ?? "").trim();
    if (model === "" && plate === "")
        return device?.imei !== undefined ? "S/N:" + device.imei : "";
    return [model, plate].filter(part => part !== "").join(" · ");
}

// Jalali date and local time, e.g. "1403/01/01  09:05:03".
function toJdateString(gDate) {
    const j = JalaliDate.fromGregorian(gDate);
    return JsTools.formatNumber(j[0], 4) + "/" + JsTools.formatNumber(j[1], 2) + "/" + JsTools.formatNumber(j[2], 2) + "  "
            + JsTools.formatNumber(gDate.getHours(), 2) + ":" + JsTools.formatNumber(gDate.getMinutes(), 2) + ":"
            + JsTools.formatNumber(gDate.getSeconds(), 2);
}

// The notifications a status reply asks for, in bit order: [{ title, text }].
function eventAlerts(reply) {
    const events = Number(reply.events) || 0;
    return alarmKinds.filter(kind => (events & kind.bit) !== 0).map(kind => ({
                "title": kind.title,
                "text": "زمان وقوع: " + toJdateString(new Date(Number(reply[kind.timeField]) * 1000))
            }));
}

// What a settings record writes into the pages: [{ page, property, value }]. A record missing
// a key leaves that page value as it was; a report number "x" means none.
function settingsAssignments(settings) {
    const out = [];
    for (const [page, property, key] of settingsCopies) {
        if (settings[key] !== undefined)
            out.push({ "page": page, "property": property, "value": settings[key] });
    }
    const reportNumber = value => value === "x" ? "" : value;
    if (settings.reportCenter1 !== undefined)
        out.push({ "page": "alarms", "property": "reportNumber1", "value": reportNumber(settings.reportCenter1) });
    if (settings.reportCenter2 !== undefined)
        out.push({ "page": "alarms", "property": "reportNumber2", "value": reportNumber(settings.reportCenter2) });
    if (settings.serverUrlAddress !== undefined)
        out.push({ "page": "server", "property": "serverUrl",
                   "value": settings.serverUrlAddress + ":" + settings.serverUrlPort + settings.serverUrlPath });
    return out;
}

// How far ahead of the phone's clock a device's time may be before the answer is taken as
// made up: clocks drift, but not by a day.
const offlineClockSlackMs = 86400000;

// The device's SMS answer to the offline request, or null when the text is something else or
// holds a value no device sends.
// location is null when the device had no valid fix.
function parseOfflineAnswer(message) {
    let answer;
    try {
        answer = JSON.parse(message);
    } catch (e) {
        return null;
    }
    if (!answer || answer.id !== 55 || !Array.isArray(answer.info))
        return null;
    const location = answer.info[0];
    const status = answer.info[1];
    if (!Array.isArray(location) || location.length < 7 || !Array.isArray(status) || status.length < 11)
        return null;
    // Every field is checked before any is used: the SMS channel is not trusted.
    const isNumber = value => typeof value === "number" && Number.isFinite(value);
    if (!location.slice(0, 7).every(isNumber) || !status.slice(0, 11).every(isNumber))
        return null;
    if (Math.abs(location[1]) > 90 || Math.abs(location[2]) > 180 || location[4] < 0 || location[0] < 0
            || location[0] * 1000 > Date.now() + offlineClockSlackMs)
        return null;
    return {
        "location": location[6] ? {
                                      "dateTime": new Date(location[0] * 1000),
                                      "lat": location[1],
                                      "lon": location[2],
                                      "alt": location[3],
                                      "speed": location[4],
                                      "course": location[5],
                                      "isValid": location[6],
                                      "accuracy": status[9]
                                  } : null,
        "status": {
            "door": status[0],
            "trunk": status[1],
            "carSwitch": status[2],
            "powerDetect": status[3],
            "charging": status[4],
            "carring": status[6],
            "simCharge": status[7],
            "battryPercent": status[8],
            "gsmSignal": status[9],
            "gpsSignal": status[10]
        },
        "carOnState": status[5]
    };
}

// The stored index is kept only while it still names one of the devices.
function chooseDeviceIndex(deviceList, storedIndex) {
    if (deviceList && storedIndex >= 0 && storedIndex < deviceList.length)
        return storedIndex;
    return 0;
}

// Seconds as hh:mm:ss; a day or more wraps around.
function formatDuration(seconds) {
    return new Date(seconds * 1000).toISOString().substring(11, 19);
}

function formatSpeed(metresPerSecond) {
    return (metresPerSecond * 3.6).toFixed(1) + " km/h";
}

// Seconds of the local day of `day` gone by at `now`: all of it for a past day (23 or 25 hours
// where the clocks change), none for a day to come.
function dayGoneBy(day, now) {
    const start = new Date(day.getFullYear(), day.getMonth(), day.getDate());
    const end = new Date(day.getFullYear(), day.getMonth(), day.getDate() + 1);
    return Math.floor(Math.max(0, Math.min(end.getTime(), now.getTime()) - start.getTime()) / 1000);
}

// The texts of the trip statistics popup: index 0 sums up every path, k >= 1 shows path k. The
// day's stop time is what of the `daySeconds` gone by was not spent driving; the average speed
// is the distance over the driving time.
function tripFigureTexts(figures, index, daySeconds) {
    const list = Array.from(figures ?? []);
    let distance = 0, drivingTime = 0, stopTime = 0, maxSpeed = 0;
    if (index === 0) {
        for (const path of list) {
            distance += Number(path.distance) || 0;
            drivingTime += Number(path.drivingTime) || 0;
            maxSpeed = Math.max(maxSpeed, Number(path.maxSpeed) || 0);
        }
        stopTime = Math.max(0, (Number(daySeconds) || 0) - drivingTime);
    } else if (index >= 1 && index <= list.length) {
        const path = list[index - 1];
        distance = Number(path.distance) || 0;
        drivingTime = Number(path.drivingTime) || 0;
        stopTime = Number(path.stopTime) || 0;
        maxSpeed = Number(path.maxSpeed) || 0;
    }
    const avrageSpeed = drivingTime > 0 ? distance / drivingTime : 0;
    return {
        "distance": distance / 1000 + " km",
        "drivingTime": formatDuration(drivingTime),
        "stopTime": formatDuration(stopTime),
        "maxSpeed": formatSpeed(maxSpeed),
        "avrageSpeed": formatSpeed(avrageSpeed)
    };
}
