// The windows' Moon pictures at a window's dpi: the strip drawn for the nearest dpi at or above
// it, or its pictures resized once to the window's size and kept, and the drawing of one picture
// through the strip's disc mask. Also the dpi of a window, for the windows that follow their
// monitor.
#pragma once

#include <windows.h>

#include <cstdint>

// A strip ready to draw from, made for one dpi.
struct MoonStripSurface {
    HDC surface;       // memory surface the bitmap is selected into; null while empty
    HBITMAP bitmap;    // the strip resource, or its pictures resized; owned here
    HGDIOBJ replaced;  // the surface's own bitmap that `bitmap` replaced
    int32_t dpi;       // the dpi it was made for; 0 while empty
    int32_t size;      // picture size in pixels
    int32_t firstX;    // left edge of picture 0; the disc mask and ring sit at x = 0
    int32_t pitch;     // distance between neighbouring pictures
    bool failed;       // nothing could be made for `dpi`: no pictures until the dpi changes
};

// Makes `strip` ready for `dpi` from the strips of `module`, compatible with `reference`; keeps
// it when it was made for that dpi already, replaces it otherwise. False when there is nothing to
// draw from (a failure is remembered for the dpi, so a paint does not retry it cell by cell).
bool PrepareMoonStrip(HINSTANCE module, HDC reference, int32_t dpi, MoonStripSurface& strip);

// Draws picture `frame` (0..59) at (x, y) of dc: the disc mask is ANDed, then the picture ORed;
// `adjacent` uses the pale row and adds the ring of the adjacent months' days.
void DrawMoonPicture(HDC dc, int x, int y, const MoonStripSurface& strip, int32_t frame,
                     bool adjacent);

// Releases the surface and the bitmap, if any, and clears the record.
void ReleaseMoonStrip(MoonStripSurface& strip);

// The dpi `window` is shown at: its monitor's where the system knows per-monitor dpi
// (GetDpiForWindow, Windows 10 1607 and later), else the screen's LOGPIXELSY; 96 when neither
// answers.
int32_t WindowDpi(HWND window);
