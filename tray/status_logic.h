// Pure decisions of the tray program: which picture, which colour, which interval, whether to
// recompute, what a command line or a tray event asks for. No window is needed to call them.
#pragma once

#include <cstdint>

#include "astro/time_scales.h"

// Tray Moon picture 0..27 for a phase angle in degrees [0, 360): 28 pictures of 90/7 degrees each,
// centred on multiples of 90/7; from about 353.571 degrees on the picture wraps to 0 (new Moon).
// An angle outside [0, 360) or not finite gives 0.
int32_t MoonPictureIndex(double phaseAngle);

// Tide picture 0..4 of a tide class index (大潮 中潮 小潮 長潮 若潮), wrapped by 5.
int32_t TidePictureIndex(int32_t tide);

// Cells of the calendar pictures: the month icon uses number cell month - 1 (0..11), the day icon
// number cell day - 1 (0..30), the weekday icon weekday cell 0..6 (0 = Sunday). Out-of-range input
// is wrapped into the strip.
int32_t MonthPictureCell(uint16_t month);
int32_t DayPictureCell(uint16_t day);
int32_t WeekdayPictureCell(uint16_t weekday);

// Stroke colour of the calendar pictures as 0x00BBGGRR (the Win32 COLORREF layout): red for a
// national holiday or day off (kinds 0 and 1) and for every Sunday, blue for other Saturdays, black
// otherwise. weekday 0 = Sunday.
uint32_t DayStrokeColor(int32_t dayKind, uint16_t weekday);
constexpr uint32_t kStrokeRed = 0x000000FF;
constexpr uint32_t kStrokeBlue = 0x00FF0000;
constexpr uint32_t kStrokeBlack = 0x00000000;

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
};

// The action for the callback event `event` (lParam of the tray message) of an icon that speaks the
// old protocol (plain mouse messages) or the new one (the shell's selection and context-menu
// events; the raw button releases are then ignored so that one click never acts twice).
TrayEventAction DecideTrayEvent(uint32_t event, bool oldProtocol);

// The window a click on an icon opens.
enum ActivateTarget : int32_t {
    OpenNothing = 0,
    OpenMoonInfo = 1,  // the Moon icon
    OpenCalendar = 2,  // the month, day and weekday icons
};
ActivateTarget ActivateTargetOfIcon(int index);
