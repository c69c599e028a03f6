.pragma library

.import "JalaliDate.js" as JalaliDate
.import "JsTools.js" as JsTools

// The settings menu's rules, without a window: which entries a login sees, and the names the
// banner shows for the device's model and SIM operator.

const usersDetail = "تغییر رمز عبور، نام کاربری";
const fingerprintDetail = "، فعال‌سازی اثرانگشت";

// The shown entries, in the full menu's order. options: dualSim (the SMS service sends from
// either of two SIMs), fingerprint (the phone has a reader with the owner's finger) and rootLogin.
function menuEntries(fullMenu, options) {
    const shown = [];
    for (const entry of fullMenu) {
        if (entry.name === "Menu_SimCards" && !options.dualSim)
            continue;
        if (entry.rootAccess && !options.rootLogin)
            continue;
        const copy = Object.assign({}, entry);
        if (entry.name === "Menu_Users")
            copy.detail = usersDetail + (options.fingerprint ? fingerprintDetail : "");
        shown.push(copy);
    }
    return shown;
}

const _modelNames = { "0": "Kova_Lite", "1": "Kova_Plus", "2": "Kova_Lite868" };

// The device model from the first character of its firmware version.
function modelName(firmwareVersion) {
    const first = String(firmwareVersion ?? "").charAt(0);
    return _modelNames[first] ?? first;
}

const _operatorNames = ["نامعلوم", "ایرانسل", "همراه اول", "رایتل"];

function operatorName(code) {
    const index = Number(code);
    if (code === undefined || code === null || code === "" || !Number.isInteger(index))
        return "نامشخص";
    return _operatorNames[index] ?? "نامشخص";
}

// An ISO date (yyyy-MM-dd...) as a Jalali yyyy-MM-dd; anything unreadable gives "".
function installationDate(isoDate) {
    const match = /^(\d{4})-(\d{2})-(\d{2})/.exec(String(isoDate ?? ""));
    if (!match)
        return "";
    const day = new Date(Number(match[1]), Number(match[2]) - 1, Number(match[3]));
    if (isNaN(day.getTime()))
        return "";
    const jalali = JalaliDate.fromGregorian(day);
    return JsTools.formatNumber(jalali[0], 4) + "-" + JsTools.formatNumber(jalali[1], 2) + "-" + JsTools.formatNumber(jalali[2], 2);
}

// An alarm report type: bit 0 a call, bit 1 an SMS.
function alarmType(call, sms) {
    return (call ? 1 : 0) + (sms ? 2 : 0);
}

// A report number as the device frame carries it: "x" stands for none.
function reportField(number) {
    return number === "" ? "x" : number;
}

// A listen-in number as the device frame carries it: a blank stands for none.
function listenField(number) {
    return number === "" ? " " : number;
}

// Frames have no escaping, so a host or path holding a separator or a bracket would break
// its frame; blanks, control characters and anything beyond ASCII do not survive the SMS.
function isFrameText(text) {
    return /^[!-~]*$/.test(text) && !/[,\[\]{}]/.test(text);
}

// The frame that points the device at the address `split` (a record of Tools.urlSplit), or ""
// when the address cannot be sent.
function serverFrame(split) {
    if (!split || !split.valid || split.host === "" || split.path === "" || !(split.port > 0))
        return "";
    if (!isFrameText(split.host) || !isFrameText(split.path))
        return "";
    return "[oribel,12," + split.host + "," + split.path + "," + split.port + "]}]";
}

const sendRateRange = { "low": 60, "high": 3600 };
const distanceRange = { "low": 30, "high": 10000 };

// The whole number a text holds within the range, or null. A validator passes texts still
// being typed ("5" on the way to "50") and, by locale, Persian digits and group separators.
function rangedNumber(text, range) {
    const latin = JsTools.latinizeNumber(String(text ?? "").trim());
    const value = Number(latin);
    return /^[0-9]+$/.test(latin) && value >= range.low && value <= range.high ? value : null;
}

// Why no sending frame can be made from the edited value and the other one as the device
// reported it: the edited value is out of range, the other has not been reported yet, or the
// reported one is itself out of range (then the owner is told which and what it is).
function sendingRefusal(rateEdited, sendRate, distance) {
    const edited = rateEdited ? sendRate : distance;
    if (rangedNumber(edited, rateEdited ? sendRateRange : distanceRange) === null)
        return "عدد وارد شده خارج از محدوده مجاز است";
    const other = String((rateEdited ? distance : sendRate) ?? "").trim();
    if (other === "")
        return "تنظیمات دستگاه هنوز دریافت نشده است";
    const range = rateEdited ? distanceRange : sendRateRange;
    return (rateEdited ? "فاصله نقاط" : "نرخ ارسال") + " گزارش‌شده از دستگاه (" + other + ") خارج از محدوده مجاز ("
            + range.low + "~" + range.high + ") است؛ هر دو مقدار با هم ارسال می‌شوند";
}

// Send rate first, then the distance between points; "" when either is out of its range.
function sendingFrame(sendRate, distance) {
    const rate = rangedNumber(sendRate, sendRateRange);
    const metres = rangedNumber(distance, distanceRange);
    return rate === null || metres === null ? "" : "[oribel,13," + rate + "," + metres + "]}]";
}
