// The clock the windows read: the system's by default, a fixed one in tests, benchmarks and the
// README pictures, so that "today" and "now" can be chosen.
#pragma once

#include <windows.h>

struct UiClock {
    void (*readUtc)(SYSTEMTIME* utc);      // GetSystemTime by default
    void (*readLocal)(SYSTEMTIME* local);  // GetLocalTime by default
};

// Replaces the windows' clock; a null field returns to the system's reading.
void SetUiClock(const UiClock& clock);

// The windows' current readings.
void ReadUiUtcClock(SYSTEMTIME* utc);
void ReadUiLocalClock(SYSTEMTIME* local);
