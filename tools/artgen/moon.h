// Moon pictures of the artwork generator: the 28 tray Moons with their curved terminator and the
// 60 + 60 frames, mask and ring of the calendar's Moon strip.
#pragma once

#include "canvas.h"

// Palette indices of a tray Moon picture.
struct TrayMoonColours {
    uint8_t background;
    uint8_t dark;
    uint8_t lit;
    uint8_t rim;
};

// Draws the size x size tray Moon (16 by default; 20, 24 and 32 for the larger icons) at
// `phaseDegrees` (0 new, 90 first quarter, 180 full, 270 last quarter; any value, reduced to
// [0, 360)) with its top-left corner at (left, top): a disc size - 2 pixels across with a
// one-pixel rim, lit from the right while waxing and from the left while waning. Only the square
// of size - 2 at (left + 1, top + 1) differs from the background, so pictures size - 1 pixels
// apart can share their border column.
void DrawTrayMoon(IndexedImage& image, int left, int top, double phaseDegrees,
                  const TrayMoonColours& colours, int size = 16);

// Palette indices of one row of calendar Moon frames.
struct StripColours {
    uint8_t background;
    uint8_t unlit;
    uint8_t lit;
    uint8_t edge;
};

// Offset u in [-1, 1] of the calendar frames' terminator x = u * r * (1 - k * (y / r)^2) (r the
// disc radius, k a slight bow) for which the part of the disc right of it has the area
// `litFraction` (0..1) of the disc. u = 1 leaves nothing lit, u = -1 everything.
double StripTerminatorOffset(double litFraction);

// The terminator offset of calendar frame `frame` (0..59; 0 new Moon, 30 full Moon): up to frame
// 30 the lit part grows from the right edge with an area of frame / 30 of the disc, then it
// shrinks toward the left edge with (60 - frame) / 30, proportional to the phase angle.
double StripFrameOffset(int frame);

// Draws calendar frame `frame` with the terminator offset `offset` (StripFrameOffset(frame)) as a
// disc size - 2 pixels across centred in the size x size square at (left, top) on the background
// (32 for 96 dpi; 40, 48 and 64 for 120, 144 and 192); frames after 30 are lit from the left.
// Pixels lit between a quarter and three quarters take the edge colour.
void DrawStripFrame(IndexedImage& image, int left, int top, int frame, double offset,
                    const StripColours& colours, int size = 32);

// Whether pixel (i, j) of a size x size square lies inside the disc of `diameter` (at most size)
// centred in the square.
bool InStripDisc(int i, int j, int diameter, int size = 32);
