.pragma library

// Small helpers shared by the documents.

function pad(len, str, padding) {
    let text = String(str);
    if (text.length >= len)
        return str;
    if (String(padding).length === 0)
        return text;
    while (text.length < len)
        text = padding + text;
    return text;
}

// Zeros go between the sign and the digits: -5 to width 3 is "-05".
function formatNumber(number, len) {
    if (typeof number === "number" && number < 0)
        return "-" + pad(len - 1, -number, "0");
    return pad(len, number, "0");
}

// A number written with the country prefix and the same number written with a leading zero
// share their last ten digits.
function comparePhoneNumber(num1, num2) {
    const first = String(num1);
    const second = String(num2);
    if (first.length < 10 || second.length < 10)
        return false;
    return first.slice(-10) === second.slice(-10);
}

// Persian and Arabic digits as Latin ones; everything else stays.
function latinizeNumber(num) {
    return String(num).replace(/[\u06F0-\u06F9]/g, digit => String(digit.charCodeAt(0) - 0x06F0))
            .replace(/[\u0660-\u0669]/g, digit => String(digit.charCodeAt(0) - 0x0660));
}

// Zero-filled texts of the numbers from `first` to `last`, for the lists of the pickers.
// The number written in Persian digits, for numbers read as words ("۲ دقیقه پیش").
function persianNumber(number) {
    return String(number).replace(/[0-9]/g, digit => String.fromCharCode(0x06F0 + Number(digit)));
}

function numberTexts(first, last, width) {
    const texts = [];
    for (let n = first; n <= last; ++n)
        texts.push(formatNumber(n, width));
    return texts;
}

// A typed phone number in Latin digits, "" for none, or null when it is anything but digits
// with an optional leading "+": device frames cannot escape other text.
function phoneNumber(text) {
    const latin = latinizeNumber(String(text ?? "").trim());
    if (latin === "")
        return "";
    return /^\+?[0-9]+$/.test(latin) ? latin : null;
}

const phoneNumberRule = "شماره تلفن فقط از ارقام و یک + در ابتدای آن تشکیل می‌شود.";

// A typed USSD code in Latin digits, or null unless it is digits, "*", "#" and "+" only: the
// code goes into a device frame between quotes, which nothing escapes.
function ussdCode(text) {
    const latin = latinizeNumber(String(text ?? "").trim());
    return /^[0-9*#+]+$/.test(latin) ? latin : null;
}

const ussdCodeRule = "کد USSD فقط از ارقام و نشانه‌های * و # و + تشکیل می‌شود.";
