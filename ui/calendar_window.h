// The month calendar window (dialog 122, "Moon Calendar"): one month between January 1900 and
// December 2100 with buttons to move by month and year, to return to today and to switch the
// Moon-age figures; kept in step with the clock by the tray's refreshes. Opened and refreshed
// through ui/dialogs.h; its state is here for the tests.
#pragma once

#include <windows.h>

#include <string>

#include "presentation/calendar_navigation.h"
#include "ui/calendar_drawing.h"
#include "ui/palette.h"

struct MoonCalendarDialogState {
    bool open;                  // from the opener's start until the modal run returns
    HWND window;                // recorded on every message the dialog receives
    CalendarPosition position;  // the month on display, always the month model's
    bool showAge;               // cells show the Moon age; the caption of button 1120 follows
    int dpi;                    // the window's, read when it opens and at each change of dpi
    CalendarPaintMarks marks;   // what the last paint highlighted
    CalendarDrawingResources drawing;
    PaletteContext palette;
    HWND dayTip;         // the tooltip of the day under the pointer; owned by the window
    int32_t hoverCell;   // the cell 0..41 it speaks of, -1 for none
    uint16_t chosenDay;  // the chosen day of the month on display, drawn with a focus frame
    uint16_t weekStart;  // the first column's weekday: 0 Sunday, 1 Monday ("WeekStart")
    bool showEra;        // the title names the era year ("ShowEra")
    bool gridFocused;    // the keyboard focus is on the grid (the window itself), not a button
    int32_t wheelRest;   // wheel units carried toward the next whole notch
    HHOOK keyFilter;     // the window's key filter in the modal loop; owned by the window
};

// The day tooltip's text of cell k of the month on display (UTF-16): the day in words, its
// selected days only while they are switched on (CalendarNotesShown); "" outside 0..41.
std::wstring CalendarDayTipText(int32_t k);

// The calendar's answer to a key pressed in its window, whichever of its controls has the focus:
// the moves of the buttons, Esc, the chosen day's arrows and Enter (DecideCalendarKey). Returns
// false for a key left to the window's controls, and for Enter on a focused button, which presses
// it.
bool OnCalendarKey(HWND window, uint32_t virtualKey, bool ctrl, bool shift);

// The one window's state.
const MoonCalendarDialogState& GetMoonCalendarDialogState();

// Dialog procedure of the month calendar window.
INT_PTR CALLBACK MoonCalendarDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
