#include "tray/clock.h"

#include "astro/time_zone.h"

namespace {

// 100-nanosecond units of FILETIME.
constexpr int64_t kTicksPerMillisecond = 10000;
constexpr int64_t kTicksPerMinute = 60 * 1000 * kTicksPerMillisecond;

bool overrideSet = false;
int64_t overrideTicks = 0;  // FILETIME of the fixed UTC instant

int64_t TicksOf(const FILETIME& ft) {
    return static_cast<int64_t>((static_cast<uint64_t>(ft.dwHighDateTime) << 32) |
                                ft.dwLowDateTime);
}

void SystemTimeOfTicks(int64_t ticks, SYSTEMTIME* out) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(ticks) & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32);
    FileTimeToSystemTime(&ft, out);
}

}  // namespace

void ReadUtcClock(SYSTEMTIME* utc) {
    if (!overrideSet) {
        GetSystemTime(utc);
        return;
    }
    SystemTimeOfTicks(overrideTicks, utc);
}

void ReadLocalClock(SYSTEMTIME* local) {
    if (!overrideSet) {
        GetLocalTime(local);
        return;
    }
    SystemTimeOfTicks(overrideTicks - static_cast<int64_t>(TimeZoneBias()) * kTicksPerMinute,
                      local);
}

bool SetClockOverride(const SYSTEMTIME& utc) {
    FILETIME ft;
    if (!SystemTimeToFileTime(&utc, &ft)) {
        return false;
    }
    overrideTicks = TicksOf(ft);
    overrideSet = true;
    return true;
}

void AdvanceClockOverride(int64_t milliseconds) {
    if (overrideSet) {
        overrideTicks += milliseconds * kTicksPerMillisecond;
    }
}

void ClearClockOverride() {
    overrideSet = false;
}
