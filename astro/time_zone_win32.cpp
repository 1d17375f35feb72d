#include <windows.h>

#include "astro/time_zone_platform.h"

int32_t PlatformTimeZoneBias() {
    // Only the standard Bias counts: the daylight bias and the call's result (whether daylight
    // saving is in force) are deliberately ignored.
    static int32_t lastBias = 0;
    TIME_ZONE_INFORMATION info;
    if (GetTimeZoneInformation(&info) != TIME_ZONE_ID_INVALID) {
        lastBias = static_cast<int32_t>(info.Bias);
    }
    return lastBias;
}
