// Pure decisions of the tray program: which interval, whether to recompute, what a command line,
// a menu command or a tray event asks for. No window is needed to call them.
#pragma once

#include <cstdint>

#include "astro/time_scales.h"

// Milliseconds from a local clock reading (second 0..59, millisecond 0..999) to half a second past
// the next full minute: 1..60000, and 1..500 within the first half second of a minute. Readings
// outside the ranges (a leap second) still give 1..60000.
uint32_t MinuteTimerInterval(uint16_t second, uint16_t millisecond);

// 30 seconds in Julian centuries, 30 / (86400 * 36525).
constexpr double kStatusGateCenturies = 9.506426344208685e-9;

// Whether a status computation at T goes on to the pictures and tooltips: always when forced,
// otherwise only when the clock has moved more than 30 seconds (either way) from lastCenturies, the
// T of the last computation that went through (-1.0 before the first).
bool PassesStatusGate(bool iconForce, JulianCenturies T, double lastCenturies);

// What the program was asked to do by its command line.
enum StartOption : int32_t {
    StartNormally = 0,   // anything else, empty included
    CloseRunning = 1,    // "-r": close the running instance and exit
    RestartRunning = 2,  // "-v": close the running instance and start anew
};

// The arguments of a raw command line: the text after the program name (quoted or bare) with the
// blanks that separate it from the name skipped. Never null; "" when there are none.
const char* ArgumentsOfCommandLine(const char* commandLine);

// The option the whole argument text names, compared without regard to letter case: "-r", "-R",
// "-v", "-V"; anything else (e.g. "-r x", "-rv") is StartNormally. A null text is StartNormally.
StartOption ParseStartOption(const char* arguments);

// What a start does, given its option and whether another instance runs (its window was found,
// or it holds the instance mutex while it is still starting).
enum StartAction : int32_t {
    StartProgram = 0,           // no other instance: run
    ShowRunningMessage = 1,     // message 102, then end
    EndQuietly = 2,             // "-r" with nothing to close
    CloseRunningThenEnd = 3,    // "-r"
    CloseRunningThenStart = 4,  // "-v"
};
StartAction DecideStart(StartOption option, bool instanceRunning);

// Whether the release message of a popup menu (carrying the number of the menu it was posted
// for) releases the loaded menu: only the message of the menu that is loaded now, and never while
// a menu is being tracked. A message left in the queue from an earlier menu must not pull a later
// menu away from under the user.
bool ReleasesPopupMenu(bool tracking, uint32_t messageMenu, uint32_t loadedMenu);

// The five tray icons by slot; the display order may run the other way.
enum TrayIconIndex : int32_t {
    MoonIconSlot = 0,
    TideIconSlot = 1,
    MonthIconSlot = 2,
    DayIconSlot = 3,
    WeekdayIconSlot = 4,
    TrayIconCount = 5,
};

// Tray icon index 0..4 switched by a menu command id (40003..40007), or -1 for any other id.
int ToggleIndexOfCommand(uint32_t commandId);

// What toggling an icon does, given whether it is on and how many icons are on.
enum ToggleAction : int32_t {
    SwitchOn = 0,
    SwitchOff = 1,
    KeepOn = 2,  // the only icon that is on stays on
};
ToggleAction DecideToggle(bool enabled, int enabledCount);

// What a tray icon's callback event asks for.
enum TrayEventAction : int32_t {
    IgnoreEvent = 0,
    ShowPopupMenu = 1,
    RefreshStatus = 2,
    ActivateIcon = 3,
    ShowNoticeDay = 4,  // a click on the notice: the calendar on the day it names
};

// The action for the callback event `event` (lParam of the tray message) of an icon that speaks the
// old protocol (plain mouse messages) or the new one (the shell's selection and context-menu
// events; the raw button releases are then ignored so that one click never acts twice).
TrayEventAction DecideTrayEvent(uint32_t event, bool oldProtocol);

// The notification protocol versions an icon can be told to speak: none (the first layout),
// 3 (the shell's selection events) and 4 (the same events in a new callback layout).
constexpr uint32_t kTrayFirstProtocol = 0;
constexpr uint32_t kTrayProtocol3 = 3;
constexpr uint32_t kTrayProtocol4 = 4;

// A tray callback message taken apart.
struct TrayCallback {
    int32_t icon;     // slot index 0..4, or -1 when the message names none of ours
    uint32_t event;   // the mouse or shell event
    bool hasAnchor;   // version 4: where the event happened, the icon's place for a key
    int32_t anchorX;  // screen coordinates, negative left of or above the primary screen
    int32_t anchorY;
};

// Reads the callback's parameters in the layout of the protocol the icon speaks, `versions`
// holding each slot's (TrayIconCount of them). From version 4 on, the event is the low word of
// lParam and the icon's id its high word, while wParam carries the anchor point; before it,
// wParam is the id and lParam the event, and the event's place is the pointer's. A message whose
// id is no slot, or whose layout does not match what that slot was told, names no icon.
TrayCallback DecodeTrayCallback(uint64_t wParam, uint64_t lParam, const uint32_t* versions);

// The window a click on an icon opens.
enum ActivateTarget : int32_t {
    OpenNothing = 0,
    OpenMoonInfo = 1,  // the Moon icon
    OpenCalendar = 2,  // the month, day and weekday icons
};
ActivateTarget ActivateTargetOfIcon(int index);
