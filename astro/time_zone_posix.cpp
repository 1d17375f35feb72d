#include <time.h>

#include "astro/time_zone_platform.h"

int32_t PlatformTimeZoneBias() {
    // tzset() rereads TZ and the zone file, so a change of zone is seen by the next computation.
    // `timezone` is the standard-time offset in seconds west of UTC (the sign of the bias) and
    // never includes daylight saving.
    tzset();
    return static_cast<int32_t>(timezone / 60);
}
