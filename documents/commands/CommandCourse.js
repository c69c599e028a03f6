.pragma library

.import "Style.js" as Style

// What a device frame asks of the car, in the owner's words, and how its course ends: the
// settings report that shows it done, the SMS answer that answers it, or neither (restart,
// factory reset, USSD), whose entries stay "sent".

// [code, asked in words, settings keys its arguments become, in order]; a key of null skips
// that argument.
const _settingFrames = [
    [11, "شماره‌های دریافت هشدار", ["reportCenter1", "reportCenter2"]],
    [12, "آدرس سرور دستگاه", ["serverUrlAddress", "serverUrlPath", "serverUrlPort"]],
    [13, "نرخ ارسال داده", ["sendRate", "logResolation"]],
    [15, "شماره‌های مجاز به شنود", ["listen_Users1", "listen_Users2", "listen_Users3"]],
    [18, "محدوده مجاز خودرو", ["geoFenceInOut", null]],
    [19, "نحوه اعلام هشدار محدوده", ["geoFenceAlarmType"]],
    [22, "هشدار سرعت غیرمجاز", ["overSpeed", "overSpeedAlarmType"]],
    [23, "هشدار باز شدن درب‌ها", ["doorAlarmType"]],
    [24, "هشدار باز شدن سوئیچ", ["switchAlarmType"]],
    [26, "هشدار باز شدن صندوق یا کاپوت", ["trunkAlarmType"]],
    [27, "هشدار قطع برق خودرو", ["powerDisconnectAlarmType"]],
    [28, "هشدار حمل با جرثقیل", ["carryingAlarmType"]],
    [33, "حساسیت و هشدار تکان خوردن", ["shockSensitivity", "shockAlertType"]],
    [34, "رمز اضطراری", ["forceUnlockNumber1", "forceUnlockNumber2"]]
];

// Frames that switch something on or off: [code, the port they must name or null, the settings
// key their flag becomes, [asked, done] when on, [asked, done] when off].
const _switchFrames = [
    [14, "3", "sw3", ["قطع برق خودرو", "خودرو برق را قطع کرد"], ["وصل برق خودرو", "خودرو برق را وصل کرد"]],
    [30, null, "multiAlarm", ["فعال کردن هشدارهای دزدگیری", "خودرو هشدارهای دزدگیری را فعال کرد"],
        ["خاموش کردن هشدارهای دزدگیری", "خودرو هشدارهای دزدگیری را خاموش کرد"]]
];

const _plainFrames = {
    "0": "راه‌اندازی دوباره دستگاه",
    "1": "بازگشت دستگاه به تنظیمات کارخانه",
    "2": "پاک کردن حافظه دستگاه",
    "16": "اجرای کد USSD روی سیم‌کارت دستگاه"
};

// The code and arguments of "[oribel,NN,...]}]", or null.
function parts(frame) {
    const match = /^\[oribel,(\d+)(?:,(.*))?\]\}\]$/.exec(String(frame));
    if (!match)
        return null;
    return { "code": Number(match[1]), "args": match[2] === undefined ? [] : match[2].split(",") };
}

// { asked, doneText, effect: { key: value } or null, answeredBySms }. doneText is what the
// message says once the car has done it.
function course(frame) {
    const p = parts(frame);
    if (!p)
        return { "asked": "دستور ناشناخته", "doneText": "", "effect": null, "answeredBySms": false };
    const switching = _switchFrames.find(row => row[0] === p.code && (row[1] === null || row[1] === p.args[0]));
    if (switching) {
        const flag = p.args[p.args.length - 1];
        const effect = {};
        effect[switching[2]] = flag;
        const words = flag === "1" ? switching[3] : switching[4];
        return { "asked": words[0], "doneText": words[1], "effect": effect, "answeredBySms": false };
    }
    if (p.code === 55)
        return { "asked": "درخواست وضعیت خودرو با پیامک", "doneText": "خودرو به درخواست پیامکی پاسخ داد", "effect": null, "answeredBySms": true };
    const setting = _settingFrames.find(row => row[0] === p.code);
    if (setting) {
        const effect = {};
        setting[2].forEach((key, i) => {
            if (key !== null)
                effect[key] = p.args[i];
        });
        if (p.code === 18)
            effect.geoFencePolygon = p.args[1];
        return { "asked": setting[1], "doneText": "خودرو «" + setting[1] + "» را اعمال کرد", "effect": effect, "answeredBySms": false };
    }
    const asked = _plainFrames[String(p.code)] ?? "دستور " + p.code;
    return { "asked": asked, "doneText": "", "effect": null, "answeredBySms": false };
}

// A blank listen-in slot travels as " " and a report number as "x"; flags may come back as
// booleans.
function _same(reported, sent) {
    if (typeof reported === "boolean")
        reported = reported ? 1 : 0;
    return String(reported).trim() === String(sent).trim();
}

const _base64Digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The bytes of a Base64 block, or null when it is not one.
function _base64Bytes(block) {
    const digits = String(block).replace(/=+$/, "");
    if (!/^[A-Za-z0-9+/]*$/.test(digits))
        return null;
    const bytes = [];
    let value = 0, bits = 0;
    for (const digit of digits) {
        value = (value << 6 | _base64Digits.indexOf(digit)) & 0xffff;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push(value >> bits & 0xff);
        }
    }
    return bytes;
}

// The zone as the frame carries it: little-endian 32-bit latitude, longitude pairs in
// ten-millionths of a degree, cut toward zero.
function _sameZone(reported, block) {
    const points = Array.from(reported ?? []);
    const bytes = _base64Bytes(block);
    if (!bytes || bytes.length !== points.length * 8)
        return false;
    const int32 = at => bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24;
    return points.every((point, i) => Math.abs(Math.trunc(point.latitude * 1e7) - int32(i * 8)) <= 1
                        && Math.abs(Math.trunc(point.longitude * 1e7) - int32(i * 8 + 4)) <= 1);
}

// Whether a settings report shows every value the frame set.
function shows(effect, settings) {
    if (!effect || !settings)
        return false;
    return Object.keys(effect).every(key => settings[key] !== undefined
                                     && (key === "geoFencePolygon" ? _sameZone(settings[key], effect[key])
                                                                   : _same(settings[key], effect[key])));
}

// How the history shows each state: its word, icon and colour.
function stateLook(state) {
    switch (state) {
    case "done":
        return { "text": "انجام شد", "icon": "qrc:/graphics/checkmark.png", "color": Style.commandDone };
    case "answered":
        return { "text": "پاسخ داد", "icon": "qrc:/graphics/getOffline.png", "color": Style.commandAnswered };
    case "failed":
        return { "text": "ارسال نشد", "icon": "qrc:/graphics/close.png", "color": Style.commandFailed };
    case "noAnswer":
        return { "text": "بی‌پاسخ", "icon": "qrc:/graphics/clock.png", "color": Style.commandNoAnswer };
    }
    return { "text": "ارسال شد", "icon": "qrc:/graphics/document-send.png", "color": Style.commandSent };
}
