// Time scales of the astronomy core: civil date-times, Julian Dates on the UT scale, and the time
// argument T of the series (Julian centuries of dynamical time from J2000.0).
#pragma once

#include <cstdint>

#if defined(_WIN32)
// The platform's own record; these two headers define it without the rest of the Win32 API.
#include <minwindef.h>
#include <minwinbase.h>
#else
// The eight 16-bit fields of the Win32 civil date-time record, in the same order.
struct SYSTEMTIME {
    uint16_t wYear;
    uint16_t wMonth;
    uint16_t wDayOfWeek;  // 0 = Sunday
    uint16_t wDay;
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
};
#endif

// Julian centuries of 36525 days of dynamical time from J2000.0 (JD 2451545.0 TT).
typedef double JulianCenturies;

// Every result must follow its algorithm bit for bit; fast-math would reorder and contract the
// series and move new Moons and solar terms across midnights.
#if defined(__FAST_MATH__)
#error "Nocturo must not be compiled with fast-math: its results must be bit-exact"
#endif

// The stored value of 1/1440: minutes of the time-zone bias to days.
constexpr double kDaysPerMinute = 0.0006944444444444445;

// The stored value of 1/36525: days to Julian centuries.
constexpr double kCenturiesPerDay = 2.7378507871321012e-05;

// The stored value of pi/180: degrees to radians.
constexpr double kRadiansPerDegree = 0.017453292519943295;

// Julian Date of a civil date-time (UTC or local; the result is on the same scale). The Gregorian
// rule is applied to every date. No field is checked and the result is linear in the day, so day 0
// or 30 February convert to the neighbouring real dates; the calendar relies on that to detect
// dates that do not exist. Milliseconds and the day of week are not read.
double JulianDateFromSystemTime(const SYSTEMTIME& time);

// Civil date, time and weekday of a Julian Date, seconds rounded to the nearest whole second.
// A fraction within half a second of the next midnight gives hour 24, minute 0, second 0 of the
// same date (never carried into the next date). Milliseconds are 0. A JD that is not finite or
// lies outside 0 .. 1e8 fills every field with 0.
void SystemTimeFromJulianDate(double jd, SYSTEMTIME* out);

// Julian Date of 1 January 00:00 of `year` (on the scale of the reading, as for
// JulianDateFromSystemTime).
double JulianDateOfNewYear(int32_t year);

// T of a UT Julian Date; Delta T is modelled as 0.0007523 days per century, 64.99872 s at J2000.0.
JulianCenturies CenturiesFromJulianDate(double jd);

// UT Julian Date of T; the inverse of CenturiesFromJulianDate to within half a millisecond.
double JulianDateFromCenturies(JulianCenturies T);

// T of a SYSTEMTIME that holds a UTC reading.
JulianCenturies CenturiesFromSystemTime(const SYSTEMTIME& utc);

// UT Julian Date of the local midnight that begins the local day containing jd, for a zone whose
// bias is `bias` minutes (UTC = local + bias).
double LocalDayStart(double jd, int32_t bias);
