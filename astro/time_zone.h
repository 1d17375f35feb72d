// The local zone's offset from UTC, read afresh by every computation that needs local days.
#pragma once

#include <cstdint>

// Minutes with UTC = local time + bias (-540 for Japan). On Windows the Bias field of
// GetTimeZoneInformation; elsewhere the standard-time offset of the local zone. Daylight saving is
// never applied. While an override is set, the override is returned instead.
int32_t TimeZoneBias();

// Fixes TimeZoneBias for the whole process (the CLI's --bias, tests).
void SetTimeZoneBiasOverride(int32_t bias);
void ClearTimeZoneBiasOverride();
