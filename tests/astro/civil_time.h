// Civil date-times for the astronomy tests.
#pragma once

#include <cstdint>

#include "astro/time_scales.h"
#include "astro/time_zone.h"

inline SYSTEMTIME Civil(int year, int month, int day, int hour = 0, int minute = 0,
                        int second = 0) {
    SYSTEMTIME time = {};
    time.wYear = static_cast<uint16_t>(year);
    time.wMonth = static_cast<uint16_t>(month);
    time.wDay = static_cast<uint16_t>(day);
    time.wHour = static_cast<uint16_t>(hour);
    time.wMinute = static_cast<uint16_t>(minute);
    time.wSecond = static_cast<uint16_t>(second);
    return time;
}

// UT Julian Date of a UTC date-time.
inline double UtcJd(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return JulianDateFromSystemTime(Civil(year, month, day, hour, minute, second));
}

// T of a UTC date-time.
inline JulianCenturies UtcT(int year, int month, int day, int hour = 0, int minute = 0,
                            int second = 0) {
    return CenturiesFromJulianDate(UtcJd(year, month, day, hour, minute, second));
}

// UT Julian Date of a local date-time in a zone of `bias` minutes.
inline double LocalJd(int bias, int year, int month, int day, int hour = 0, int minute = 0) {
    return UtcJd(year, month, day, hour, minute) + bias * kDaysPerMinute;
}

// Civil reading of T, shifted to a zone of `bias` minutes.
inline SYSTEMTIME LocalTimeOf(JulianCenturies T, int bias) {
    SYSTEMTIME time;
    SystemTimeFromJulianDate(JulianDateFromCenturies(T) - bias * kDaysPerMinute, &time);
    return time;
}

// Fixes the time-zone bias for one test and restores the system's afterwards.
class ScopedBias {
  public:
    explicit ScopedBias(int32_t bias) {
        SetTimeZoneBiasOverride(bias);
    }
    ~ScopedBias() {
        ClearTimeZoneBiasOverride();
    }
    ScopedBias(const ScopedBias&) = delete;
    ScopedBias& operator=(const ScopedBias&) = delete;
};

constexpr int kJapanBias = -540;
