// The status of the moment: which pictures and tooltips the five tray icons show.
#pragma once

#include <cstdint>

// Reads the clock, computes the Moon, tide and calendar facts of this moment, builds the pictures
// whose index changed (all of them with iconForce, the calendar pictures at a new local date or
// with dateForce) and writes the tooltips into the tray slots. Without a force flag and on the same
// date, a call within 30 seconds of the last one that went through returns false at once. Returns
// true when a picture was built or a tooltip changed.
bool ComputeStatus(bool iconForce, bool dateForce);

// The memory of the last computations, for inspection by tests.
struct StatusMemory {
    char lastDateText[128];  // long date of the local clock as last seen, Shift_JIS
    double lastCenturies;    // T of the last call past the 30-second gate; -1.0 before the first
    int32_t lastMoonCell;    // Moon picture last built, -1 before the first
    int32_t lastTideCell;    // tide picture last built, -1 before the first
};
const StatusMemory& CurrentStatusMemory();
