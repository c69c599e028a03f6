.pragma library

// Jalali (Solar Hijri) <-> Gregorian by whole-number arithmetic on the 33-year cycle of 12053
// days. Dates are [year, month, day] triples with months counted from 1.

const _gregorianDaysBefore = [0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334];

function _div(a, b) {
    return Math.trunc(a / b);
}

function _isGregorianLeap(year) {
    return (year % 4 === 0 && year % 100 !== 0) || year % 400 === 0;
}

// Reads the local year, month and day of a date-time.
function fromGregorian(gDate) {
    let gy = gDate.getFullYear();
    const gm = gDate.getMonth() + 1;
    const gd = gDate.getDate();
    let jy = 0;
    if (gy > 1600) {
        jy = 979;
        gy -= 1600;
    } else {
        gy -= 621;
    }
    const gy2 = gm > 2 ? gy + 1 : gy;
    let days = 365 * gy + _div(gy2 + 3, 4) - _div(gy2 + 99, 100) + _div(gy2 + 399, 400) - 80 + gd
            + _gregorianDaysBefore[gm - 1];
    jy += 33 * _div(days, 12053);
    days %= 12053;
    jy += 4 * _div(days, 1461);
    days %= 1461;
    if (days > 365) {
        jy += _div(days - 1, 365);
        days = (days - 1) % 365;
    }
    if (days < 186)
        return [jy, 1 + _div(days, 31), 1 + days % 31];
    return [jy, 7 + _div(days - 186, 30), 1 + (days - 186) % 30];
}

// No range check: a day past the end of its month runs on into the next one.
function toGregorian(jy, jm, jd) {
    let gy = 621;
    if (jy > 979) {
        gy = 1600;
        jy -= 979;
    }
    let days = 365 * jy + _div(jy, 33) * 8 + _div(jy % 33 + 3, 4) + 78 + jd
            + (jm < 7 ? (jm - 1) * 31 : (jm - 7) * 30 + 186);
    gy += 400 * _div(days, 146097);
    days %= 146097;
    if (days > 36524) {
        days -= 1;
        gy += 100 * _div(days, 36524);
        days %= 36524;
        if (days >= 365)
            days += 1;
    }
    gy += 4 * _div(days, 1461);
    days %= 1461;
    if (days > 365) {
        gy += _div(days - 1, 365);
        days = (days - 1) % 365;
    }
    let gd = days + 1;
    const monthLengths = [31, _isGregorianLeap(gy) ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31];
    let gm = 0;
    while (gm < 11 && gd > monthLengths[gm]) {
        gd -= monthLengths[gm];
        gm += 1;
    }
    return [gy, gm + 1, gd];
}
