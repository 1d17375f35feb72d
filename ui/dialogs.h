// Openers and refreshes of the program's windows: the Moon information dialog, the month calendar
// window and the custom holiday list. Each opener runs its window modally and only brings it to the
// foreground when it is already open.
#pragma once

#include <windows.h>

// Opens the Moon information dialog owned by `owner`.
void OpenMoonInfoDialog(HWND owner);

// Recomputes and redisplays the Moon information dialog; does nothing while it is closed.
void RefreshMoonInfoDialog();

// Opens the month calendar window owned by `owner`.
void OpenMoonCalendarDialog(HWND owner);

// Keeps the month calendar in step with the clock. With `full` the month it holds is computed again
// (after the holidays changed), also while the window is closed.
void RefreshMoonCalendarDialog(bool full);

// Opens the custom holiday list owned by `owner`.
void OpenCustomHolidayListDialog(HWND owner);
