// Logical palettes for the windows that show the 16-colour Moon and splash pictures: made from a
// bitmap's colour table on displays that work with a colour palette, realised when painting and
// when the system asks, released when the window goes. On true-colour displays they do nothing.
#pragma once

#include <windows.h>

// The palette of one window and the state of one paint.
struct PaletteContext {
    HPALETTE palette;          // null when none was made (no palette display, or a failure)
    HPALETTE previousPalette;  // set only between BeginPalettePaint and EndPalettePaint
    HDC paintDc;               // the device context of the paint under way
};

// Whether the helpers treat the display as palette-based. Device asks the display
// (RASTERCAPS has RC_PALETTE); the other two settings let tests exercise either kind of display.
enum class PaletteDisplayMode { Device, Palette, TrueColour };

// Sets the process-wide display mode; Device at start.
void SetPaletteDisplayMode(PaletteDisplayMode mode);

// True when palettes are to be made and realised on the display of dc.
bool IsPaletteDisplay(HDC dc);

// Entries of the dialog palette that precede the Moon strip's colour table.
constexpr int kFixedPaletteEntries = 17;

// Builds a logical palette whatever the display: the fixed colours first when withFixedColours,
// then the colour table of bitmap when it is a DIB section of 8 bits per pixel or fewer (as many
// entries as it declares used, or 2 to the power of its depth when it declares 0). windowDc is the
// device context the bitmap is read through. Returns null when there are no entries or creation
// fails. The caller owns the palette.
HPALETTE BuildPaletteFromBitmap(HDC windowDc, HBITMAP bitmap, bool withFixedColours);

// Makes context.palette from the colour table of the splash picture (bitmap 153 of window's
// module) on a palette display; clears the context first. True when a palette was made.
bool CreateBitmapPalette(HWND window, PaletteContext& context);

// Makes context.palette from the 17 fixed colours followed by the colour table of the Moon strip
// (bitmap 141 of window's module) on a palette display; clears the context first. True when a
// palette was made.
bool CreateDialogPalette(HWND window, PaletteContext& context);

// Releases context.palette, if any, and clears it.
void DeletePalette(PaletteContext& context);

// Answer to WM_QUERYNEWPALETTE: realises the window's palette in the foreground (making the dialog
// palette first when the context has none) and repaints the window when that changed the system
// palette. Always 1.
LRESULT OnQueryNewPalette(HWND window, PaletteContext& context);

// Answer to WM_PALETTECHANGED, changedBy being the window that changed the system palette: unless
// that is window itself, realises the palette in the background and remaps the window's colours.
void OnPaletteChanged(HWND window, HWND changedBy, PaletteContext& context);

// BeginPaint with the window's palette selected in the foreground and realised, when it has one.
// Returns the paint device context (null when BeginPaint failed).
HDC BeginPalettePaint(HWND window, PAINTSTRUCT& paint, PaletteContext& context);

// Selects the palette that BeginPalettePaint replaced back into the paint device context, then
// EndPaint.
void EndPalettePaint(HWND window, PAINTSTRUCT& paint, PaletteContext& context);
