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
