// The month calendar's moves without a window: its buttons between January 1900 and December
// 2100, which of them are enabled, and how a clock tick keeps the grid and today's highlight in
// step with the clock.
#pragma once

#include <cstdint>

#include "astro/time_scales.h"

// The month on display.
struct CalendarPosition {
    uint16_t year;
    uint16_t month;  // 1..12
};

constexpr uint16_t kCalendarFirstYear = 1900;
constexpr uint16_t kCalendarLastYear = 2100;

enum CalendarCommand : int32_t {
    PreviousMonthCommand,
    NextMonthCommand,
    PreviousYearCommand,
    NextYearCommand,
    TodayCommand,
};

struct CalendarMove {
    bool accepted;              // false: the command is refused at a limit, nothing changes
    CalendarPosition position;  // the new month when accepted, the old one otherwise
};

// The month `command` leads to from `position`. The month and year moves stay within January
// 1900 - December 2100 and are refused at its ends (also when the button is disabled: a click
// sent to a disabled button still arrives on some systems); today goes to the clock's month
// whatever its year.
CalendarMove NavigateCalendar(CalendarPosition position, CalendarCommand command,
                              CalendarPosition clock);

struct CalendarButtons {
    bool previousYear;
    bool previousMonth;
    bool nextMonth;
    bool nextYear;
};

// Which move buttons are enabled at `position`: each unless its move is refused there.
CalendarButtons CalendarButtonStates(CalendarPosition position);

// The clock's month limited to the range: before 1900 January 1900, after 2100 December 2100.
CalendarPosition ClampCalendarPosition(CalendarPosition clock);

enum CalendarRefreshAction : int32_t {
    KeepCalendar,         // nothing to do
    RepaintCalendar,      // today's highlight is out of date: repaint the month on display
    FollowClockCalendar,  // the grid showed today and the clock left its month: turn to `position`
};

struct CalendarRefresh {
    CalendarRefreshAction action;
    CalendarPosition position;  // the month to show after the action
};

// What a clock tick does to the window on `position`, given the local clock and what the last
// paint highlighted (todayShown, markedDay).
CalendarRefresh DecideCalendarRefresh(CalendarPosition position, const SYSTEMTIME& clock,
                                      bool todayShown, uint16_t markedDay);

// Whether a cell is today's: a day of the month on display (not `outside`), that month being the
// clock's, with the clock's day.
bool IsCalendarToday(CalendarPosition shown, uint16_t day, bool outside, const SYSTEMTIME& clock);

// What a key does in the calendar window.
enum CalendarKeyAction : int32_t {
    NoCalendarKey,       // not the calendar's: left to the window's controls
    CommandCalendarKey,  // a move of the buttons: `command`
    CloseCalendarKey,    // Esc
    ChooseCalendarKey,   // an arrow: the chosen day moves by `days`
    DetailCalendarKey,   // Enter: the chosen day's detail window
};

struct CalendarKey {
    CalendarKeyAction action;
    CalendarCommand command;  // for CommandCalendarKey
    int32_t days;             // for ChooseCalendarKey: -7, -1, +1 or +7
};

// Virtual-key codes of the keys the calendar answers (the Win32 values).
constexpr uint32_t kKeyReturn = 0x0D;
constexpr uint32_t kKeyEscape = 0x1B;
constexpr uint32_t kKeyPageUp = 0x21;
constexpr uint32_t kKeyPageDown = 0x22;
constexpr uint32_t kKeyHome = 0x24;
constexpr uint32_t kKeyLeft = 0x25;
constexpr uint32_t kKeyUp = 0x26;
constexpr uint32_t kKeyRight = 0x27;
constexpr uint32_t kKeyDown = 0x28;

// The calendar's answer to the key `virtualKey` pressed with or without Ctrl and Shift:
// PageUp/PageDown a month back or forward, with Ctrl or Shift a year; Home today; Esc closes;
// the arrows move the chosen day by a day or a week; Enter opens its detail. Any other key, and
// these with Alt (the access keys), is NoCalendarKey.
CalendarKey DecideCalendarKey(uint32_t virtualKey, bool ctrl, bool shift, bool alt);

// One notch of a mouse wheel, in the units of its reports.
constexpr int32_t kWheelNotch = 120;

// Adds a wheel report of `delta` units (positive away from the user) to the rest *rest carried
// from earlier reports and returns the whole notches now due, the remainder staying in *rest. A
// high-resolution wheel's small reports thus add up to one notch every 120 units; a turn in the
// other direction drops what was carried the other way.
int32_t AccumulateWheel(int32_t* rest, int32_t delta);

// The month moves of `notches` (positive away from the user: back in time), one month a notch,
// applied from `position` as the buttons would until one is refused at the range's end. Returns
// the month reached and whether any move was made.
CalendarMove ScrollCalendar(CalendarPosition position, int32_t notches);

// The chosen day of the calendar, always a day of the month on display.
struct CalendarChoice {
    bool accepted;  // false: the move was refused at the range's end, nothing changes
    CalendarPosition position;
    uint16_t day;
};

// The day chosen when `shown` comes on display: today when the clock's date lies in it, else the
// 1st.
uint16_t StartingChosenDay(CalendarPosition shown, const SYSTEMTIME& clock);

// The chosen day `day` of `position` moved by `days` (-31..31): within the month, or into the
// month before or after it by the month buttons' rules, which refuse at January 1900 and December
// 2100.
CalendarChoice MoveChosenDay(CalendarPosition position, uint16_t day, int32_t days);
