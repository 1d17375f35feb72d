// The platform's own reading of the time-zone bias, behind TimeZoneBias and its override. One
// implementation per platform.
#pragma once

#include <cstdint>

// Standard-time bias of the local zone in minutes, UTC = local + bias; daylight saving never
// applied. A failed platform call gives the last successful reading (0 before any).
int32_t PlatformTimeZoneBias();
