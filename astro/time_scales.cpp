#include "astro/time_scales.h"

#include <cmath>

namespace {

constexpr double kDaysPerSecond = 1.1574074074074073e-05;             // 1/86400
constexpr double kCenturiesPerDynamicalDay = 2.7378507307409962e-05;  // 1/36525.0007523
constexpr double kPerGregorianCentury = 2.7379070069885075e-05;       // 1/36524.25
constexpr double kPerJulianYear = 0.0027378507871321013;              // 1/365.25
constexpr double kPerMonthLength = 0.03267963176590926;               // 1/30.6001

// Beyond this the day count no longer fits the integer arithmetic below; no caller gets near it.
constexpr double kLargestJulianDate = 1e8;

}  // namespace

double JulianDateFromSystemTime(const SYSTEMTIME& time) {
    int32_t Y = time.wYear;
    int32_t M = time.wMonth;
    if (M <= 2) {
        Y = Y - 1;
        M = M + 12;
    }
    const int32_t A = Y / 100;
    const int32_t I = static_cast<int32_t>(365.25 * Y) + static_cast<int32_t>(30.6001 * (M + 1)) +
                      (A / 4) - A + 2;
    const int32_t S = time.wHour * 3600 + time.wMinute * 60 + time.wSecond;
    return I + (S * kDaysPerSecond + time.wDay) + 1720994.5;
}

void SystemTimeFromJulianDate(double jd, SYSTEMTIME* out) {
    *out = SYSTEMTIME{};
    // The negated test also rejects NaN; every conversion to an integer below is then defined.
    if (!(jd >= 0 && jd <= kLargestJulianDate)) {
        return;
    }
    const double a = jd + 0.5;
    const int32_t Z = static_cast<int32_t>(a);
    const double F = a - Z;
    const int32_t S = static_cast<int32_t>(F * 86400 + 0.5);
    int32_t A = Z;
    if (Z >= 2299161) {
        const int32_t alpha = static_cast<int32_t>((Z - 1867216.25) * kPerGregorianCentury);
        A = Z + 1 + alpha - (alpha / 4);
    }
    const int32_t B = A + 1524;
    const int32_t C = static_cast<int32_t>((B - 122.1) * kPerJulianYear);
    const int32_t D = static_cast<int32_t>(C * 365.25);
    const int32_t E = static_cast<int32_t>((B - D) * kPerMonthLength);
    const int32_t day = B - D - static_cast<int32_t>(E * 30.6001);
    const int32_t month = E <= 13 ? E - 1 : E - 13;
    const int32_t year = month > 2 ? C - 4716 : C - 4715;
    const int32_t hour = S / 3600;
    const int32_t minute = (S - hour * 3600) / 60;
    out->wYear = static_cast<uint16_t>(year);
    out->wMonth = static_cast<uint16_t>(month);
    out->wDayOfWeek = static_cast<uint16_t>((Z + 1) % 7);
    out->wDay = static_cast<uint16_t>(day);
    out->wHour = static_cast<uint16_t>(hour);
    out->wMinute = static_cast<uint16_t>(minute);
    out->wSecond = static_cast<uint16_t>(S - hour * 3600 - minute * 60);
    out->wMilliseconds = 0;
}

JulianCenturies CenturiesFromJulianDate(double jd) {
    const double deltaT = (1 + (jd - 2451545) * kCenturiesPerDay) * 0.0007523;
    return (jd + deltaT - 2451545) * kCenturiesPerDay;
}

double JulianDateFromCenturies(JulianCenturies T) {
    return ((T * 36525 + 2451545) * 36525 + 1816.8197285) * kCenturiesPerDynamicalDay;
}

JulianCenturies CenturiesFromSystemTime(const SYSTEMTIME& utc) {
    return CenturiesFromJulianDate(JulianDateFromSystemTime(utc));
}

double LocalDayStart(double jd, int32_t bias) {
    const double b = bias * kDaysPerMinute;
    return std::floor(jd - b - 0.5) + 0.5 + b;
}

double JulianDateOfNewYear(int32_t year) {
    SYSTEMTIME date = {};
    date.wYear = static_cast<uint16_t>(year);
    date.wMonth = 1;
    date.wDay = 1;
    return JulianDateFromSystemTime(date);
}
