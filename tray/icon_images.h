// The pictures of the tray icons, put together from bitmap strips of the resources at the
// system's small-icon size: 16 x 16 at 96 dpi, 20, 24 and 32 pixels from sets drawn for them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

// Which strip BuildPhaseIcon draws from.
enum PhaseIconKind : int32_t {
    MoonPicture = 0,  // 28 Moons, resource 143, cells 15 pixels apart (neighbours share a column)
    TidePicture = 1,  // 5 tide characters, resource 130, cells 16 pixels apart
};

// Key colour of every strip: pixels of this colour are transparent in the finished icon.
constexpr COLORREF kKeyColor = RGB(255, 0, 255);

// The small-icon size the tray asks for at the system dpi (SM_CXSMICON), 16 when unknown, or the
// size set by SetTrayIconSizeOverride.
int TrayIconSize();

// For tests: pictures at `size` pixels whatever the system says; 0 follows the system again.
void SetTrayIconSizeOverride(int size);

// Whether TrayIconSize() differs from the size of the pictures built last, so that a change of
// the system's scale (a settings or display change, a new taskbar) calls for new pictures.
bool TrayIconSizeChanged();

// Builds the picture `cell` (Moon 0..27, tide 0..4) at TrayIconSize() from the strips of `module`
// and hands it to slot 0 (Moon) or 1 (tide). On any failure the slot keeps its previous icon.
void BuildPhaseIcon(HINSTANCE module, PhaseIconKind kind, int32_t cell);

// Builds the month, day and weekday pictures of `date` (local reading: year, month, day, weekday)
// into slots 2, 3 and 4 at TrayIconSize(), whatever their switches, in the colour of the day: red
// for a national holiday or day off and on Sundays, blue on other Saturdays, black otherwise. On
// any failure of one picture its slot keeps its previous icon.
void BuildCalendarIcons(HINSTANCE module, const SYSTEMTIME& date, int32_t dayKind);

// Copies the width x height area at (sourceX, 0) of bitmap resource `resource` of `module` into
// `target` at (x, y). The resource is loaded afresh, through `mapping` (one entry) when it is not
// null, and released before returning. Returns false when anything failed.
bool CopyBitmapArea(HINSTANCE module, HBITMAP target, int x, int y, int width, int height,
                    int resource, int sourceX, const COLORMAP* mapping);

// Fills the monochrome `mask` (its own size, that of `color`) with 1 where `color` is magenta and
// 0 elsewhere, and turns
// those pixels of `color` black so that the icon shows the background through them. Returns false
// when anything failed.
bool MakeMask(HBITMAP color, HBITMAP mask);
