// The status of the moment: which pictures and tooltips the five tray icons show.
#pragma once

#include "presentation/status_decision.h"

// Reads the clock, the zone and the date text, lets DecideStatus decide the moment and carries
// the decision out: builds the pictures it names and writes the tooltips into the tray slots.
// Without a force flag, on the same date and in the same zone, a call within 30 seconds of the
// last one that went through returns false at once. Returns true when a picture was built or a
// tooltip changed.
bool ComputeStatus(bool iconForce, bool dateForce);

// The memory of the last computations, for inspection by tests.
const StatusMemory& CurrentStatusMemory();
