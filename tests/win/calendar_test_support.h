// A fixed clock and zone for the tests of the Moon information and calendar windows.
#pragma once

#include <windows.h>

#include <cstdint>

#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"
#include "calendar/holidays.h"
#include "calendar/month_model.h"
#include "ui/dialogs.h"
#include "ui/ui_clock.h"

// The windows' clock is fixed at `fixedLocal` in the zone of Japan (bias -540), UTC nine hours
// earlier. Each test sets it; the default is a Monday, 7 December 2026, 12:00.
inline SYSTEMTIME& FixedLocalClock() {
    static SYSTEMTIME local = {2026, 12, 1, 7, 12, 0, 0, 0};
    return local;
}

inline void ReadFixedLocal(SYSTEMTIME* local) {
    *local = FixedLocalClock();
}

inline void ReadFixedUtc(SYSTEMTIME* utc) {
    FILETIME file;
    SystemTimeToFileTime(&FixedLocalClock(), &file);
    ULARGE_INTEGER t;
    t.LowPart = file.dwLowDateTime;
    t.HighPart = file.dwHighDateTime;
    t.QuadPart -= 9ULL * 3600 * 10000000;  // UTC = local + bias, bias -540 minutes
    file.dwLowDateTime = t.LowPart;
    file.dwHighDateTime = t.HighPart;
    FileTimeToSystemTime(&file, utc);
}

inline void SetFixedLocalClock(uint16_t year, uint16_t month, uint16_t day, uint16_t hour = 12,
                               uint16_t minute = 0) {
    SYSTEMTIME t = {};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    // The day of week, as the system's clock gives it.
    FILETIME file;
    SystemTimeToFileTime(&t, &file);
    FileTimeToSystemTime(&file, &t);
    FixedLocalClock() = t;
}

// Fixed clock, Japan's zone, no custom holidays, fresh caches; undone by LeaveFixedCalendar.
inline void EnterFixedCalendar() {
    SetTimeZoneBiasOverride(-540);
    SetCustomHolidayPath("");
    CustomHolidays().count = 0;
    CustomHolidays().loaded = true;
    InvalidateHolidayCache();
    InvalidateMonthModel();
    SetFixedLocalClock(2026, 12, 7);
    SetUiClock(UiClock{ReadFixedUtc, ReadFixedLocal});
    WindowServices services = {};
    services.module = GetModuleHandleA(nullptr);
    SetWindowServices(services);
}

inline void LeaveFixedCalendar() {
    SetUiClock(UiClock{nullptr, nullptr});
    CustomHolidays().count = 0;
    InvalidateHolidayCache();
    InvalidateMonthModel();
    ClearTimeZoneBiasOverride();
}
