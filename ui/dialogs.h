// Openers and refreshes of the program's windows: the Moon information dialog, the month calendar
// window and the custom holiday list. Each opener runs its window modally and only brings it to the
// foreground when it is already open.
#pragma once

#include <windows.h>

#include <cstdint>

// What the windows need from the program around them. The tray program hands its own over at
// start; tests hand theirs. Until then (and for each one left null) the module is the running one,
// "ShowAge" and "ShowEra" read as on, "WeekStart" as Sunday, none is written, and a save of the
// holidays refreshes nothing else.
struct WindowServices {
    HINSTANCE module;               // the module whose dialogs and pictures the windows load
    bool (*readShowAge)();          // "ShowAge" of the settings file
    void (*writeShowAge)(bool on);  // writes "ShowAge"
    void (*holidaysSaved)();        // after the custom holidays were saved: the full refresh
    int32_t (*readWeekStart)();     // "WeekStart": the calendar's first weekday, 0 or 1
    void (*writeWeekStart)(int32_t weekStart);
    bool (*readShowEra)();  // "ShowEra": the calendar's header names the era year
    void (*writeShowEra)(bool on);
};

void SetWindowServices(const WindowServices& services);
const WindowServices& GetWindowServices();

// Runs the dialog template `templateId` of the module modally, owned by `owner`, with `procedure`,
// unless it is open already (*open): then that one only comes to the foreground (*window, which
// the procedure keeps) and the result is IDCANCEL. Otherwise the result is the dialog's, and
// *open and *window are cleared when it ends.
INT_PTR RunSingleDialog(HWND owner, int templateId, DLGPROC procedure, bool* open, HWND* window);

// Opens the Moon information dialog owned by `owner`.
void OpenMoonInfoDialog(HWND owner);

// Recomputes and redisplays the Moon information dialog; does nothing while it is closed.
void RefreshMoonInfoDialog();

// Opens the month calendar window owned by `owner`.
void OpenMoonCalendarDialog(HWND owner);

// Opens the month calendar on year-month with `day` chosen, or, when it is open, turns it there.
// A date outside 1900-2100 or impossible opens it as OpenMoonCalendarDialog does.
void OpenMoonCalendarDialogOn(HWND owner, uint16_t year, uint16_t month, uint16_t day);

// Keeps the month calendar in step with the clock. With `full` the month it holds is computed again
// (after the holidays changed), also while the window is closed.
void RefreshMoonCalendarDialog(bool full);

// Opens the custom holiday list owned by `owner`.
void OpenCustomHolidayListDialog(HWND owner);
