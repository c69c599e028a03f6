.pragma library

.import "JalaliDate.js" as JalaliDate
.import "JsTools.js" as JsTools

// The share link and its texts, apart from the page that shows them.

// Where a link points when the server's configuration names no tracking page.
const defaultBase = "http://www.oribel.example/tracking/";

function base(trackingUrl) {
    return typeof trackingUrl === "string" && trackingUrl !== "" ? trackingUrl : defaultBase;
}

function url(linkBase, imei, authToken) {
    return linkBase + "?imei=" + imei + "&authToken=" + authToken;
}

// The server sends milliseconds since the epoch or a date-time text; anything that makes no
// date leaves the expiry unknown.
function expiry(timestamp) {
    if (typeof timestamp !== "number" && typeof timestamp !== "string")
        return undefined;
    const date = new Date(timestamp);
    return Number.isNaN(date.getTime()) ? undefined : date;
}

// "HH:mm dd-mm-yyyy": in the right-to-left line the date reads year first, zero-filled as every
// other date of the app; two empty parts while unknown.
function expiryText(date) {
    if (!(date instanceof Date))
        return " ";
    const jalali = JalaliDate.fromGregorian(date);
    return JsTools.formatNumber(date.getHours(), 2) + ":" + JsTools.formatNumber(date.getMinutes(), 2) + " "
            + [JsTools.formatNumber(jalali[2], 2), JsTools.formatNumber(jalali[1], 2), JsTools.formatNumber(jalali[0], 4)].join("-");
}

function expiryLine(date) {
    return "اعتبار تا : " + expiryText(date);
}

function passwordLine(password) {
    return "کلمه عبور: " + password;
}

// A link made on another phone, or before this phone kept which link its password was for.
const unknownPasswordLine = "کلمه عبور این لینک در این گوشی ثبت نشده است.";

// Six decimal digits from a random hexadecimal token: its first 48 bits modulo a million, which
// favours no password by more than a part in 280 million.
function password(token) {
    const bits = parseInt(String(token).slice(0, 12), 16);
    return Number.isFinite(bits) ? String(bits % 1000000).padStart(6, "0") : "";
}

// What the platform's share sheet gets: the tracker's name, then the link, password and expiry.
function shareText(link, password, date) {
    const indent = "        ";
    return ["ردیاب اوریبل", indent + link, indent + passwordLine(password), indent + expiryLine(date)].join("\n");
}
