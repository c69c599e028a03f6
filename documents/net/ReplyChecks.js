.pragma library

// The one check every app-interface reply passes before a document sees it: the fields each
// command's users read, in the types they read them. The server is not trusted; a reply that
// fails is malformed, and its caller takes the error path with nothing stored.

function isText(value) {
    return typeof value === "string";
}

function isFiniteNumber(value) {
    return typeof value === "number" && Number.isFinite(value);
}

function isObject(value) {
    return value !== null && typeof value === "object" && !Array.isArray(value);
}

// A device's serial number: a whole number of at most 15 digits, as a number or as its digits.
function isImei(value) {
    if (typeof value === "string")
        return /^[0-9]{1,15}$/.test(value) && Number(value) > 0;
    return Number.isSafeInteger(value) && value > 0 && value < 1e15;
}

// Field name -> test, for fields that may be missing but have one type when present.
function optionalProblem(object, fields, where) {
    for (const name in fields) {
        if (object[name] !== undefined && object[name] !== null && !fields[name](object[name]))
            return where + name + " has the wrong type";
    }
    return "";
}

const deviceTextFields = ["simNumber", "ownerName", "ownerLastname", "ownerPhoneNumber", "ownerMeliCode",
                          "vehicleCpmpany", "vehicleModel", "vehicleColor", "vehiclePlaque", "deviceFirstUse"];

function deviceProblem(device, index) {
    const where = "devices[" + index + "].";
    if (!isObject(device))
        return "devices[" + index + "] is not an object";
    if (!isImei(device.imei))
        return where + "imei is not a serial number";
    const fields = { "registered": value => typeof value === "boolean", "ownerId": isFiniteNumber };
    for (const name of deviceTextFields)
        fields[name] = isText;
    return optionalProblem(device, fields, where);
}

const alarmTimeFields = ["doorTime", "trunkTime", "carSwitchTime", "powerDisconnectTime", "geoFenceInTime",
                         "geoFenceOutTime", "carringTime", "overSpeedTime", "shockTime"];

// A share token goes into a link's query: letters, digits, "-" and "_" only.
function isShareToken(value) {
    return typeof value === "string" && /^[A-Za-z0-9_-]{1,128}$/.test(value);
}

function shareTokenProblem(reply) {
    return optionalProblem(reply, {
                               "authToken": isShareToken,
                               "expireTimestamp": value => isFiniteNumber(value) || isText(value)
                           }, "");
}

// What a valid reply of each command must hold; commands not named here carry only the envelope.
const validReplyProblems = {
    "appOpen": reply => {
        const problem = optionalProblem(reply, { "message": isText, "title": isText, "appConfigs": isObject }, "");
        if (problem || !isObject(reply.appConfigs))
            return problem;
        return optionalProblem(reply.appConfigs, { "support_tels": isText, "trackingurl": isText }, "appConfigs.");
    },
    "getStatus": reply => {
        if (!isText(reply.status))
            return "status is not a text";
        const fields = { "events": value => Number.isSafeInteger(value) && value >= 0 };
        for (const name of alarmTimeFields)
            fields[name] = isFiniteNumber;
        return optionalProblem(reply, fields, "");
    },
    "login": reply => {
        if (!Array.isArray(reply.devices) || reply.devices.length === 0)
            return "devices is not a list of devices";
        for (let i = 0; i < reply.devices.length; ++i) {
            const problem = deviceProblem(reply.devices[i], i);
            if (problem)
                return problem;
        }
        return optionalProblem(reply, {
                                   "rootLogin": value => typeof value === "boolean",
                                   "username": isText,
                                   "aliasUsername": isText,
                                   "message": isText,
                                   "messageTitle": isText
                               }, "");
    },
    "setDeviceSimNumber": reply => isText(reply.simNumber) ? "" : "simNumber is not a text",
    "setAliasUsername": reply => optionalProblem(reply, { "errorCode": isFiniteNumber }, ""),
    "getShareToken": shareTokenProblem,
    "createShareToken": shareTokenProblem,
    "dropShareToken": shareTokenProblem
};

// Why `reply` cannot be a reply to `command`, or "" when it can.
function problem(command, reply) {
    if (!isObject(reply))
        return "the reply is not an object";
    if (typeof reply.isValid !== "boolean")
        return "isValid is not a boolean";
    if (!reply.isValid)
        return isText(reply.errorText) ? "" : "errorText is not a text";
    const check = validReplyProblems[command];
    return check ? check(reply) : "";
}
