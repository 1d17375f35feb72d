// The program's clock: the system's UTC and local readings, or a fixed instant set by tests.
#pragma once

#include <windows.h>

#include <cstdint>

// The UTC reading of the clock (GetSystemTime), or the override while one is set.
void ReadUtcClock(SYSTEMTIME* utc);

// The local reading of the clock (GetLocalTime), or, while an override is set, the override's
// instant shifted by TimeZoneBias (UTC = local + bias; daylight saving not applied).
void ReadLocalClock(SYSTEMTIME* local);

// Fixes the clock of the whole process at the UTC instant `utc` (milliseconds honoured, the day of
// week recomputed). Returns false, leaving the previous state, when `utc` is not a valid date-time.
bool SetClockOverride(const SYSTEMTIME& utc);

// Moves a set override by `milliseconds` (may be negative); does nothing without an override.
void AdvanceClockOverride(int64_t milliseconds);

// Returns to the system's clock.
void ClearClockOverride();
