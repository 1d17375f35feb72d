// Pure decisions of the tray status: which picture, which interval, whether to recompute.
#pragma once

#include <cstdint>

// Tray Moon picture 0..27 for a phase angle in degrees: 28 pictures of 90/7 degrees each, centred on
// multiples of 90/7; from about 353.571 degrees on the picture wraps to 0 (new Moon).
int32_t MoonPictureIndex(double phaseAngle);
