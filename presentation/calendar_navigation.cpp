#include "presentation/calendar_navigation.h"

namespace {

bool AfterFirstMonth(CalendarPosition p) {
    return p.year > kCalendarFirstYear || (p.year == kCalendarFirstYear && p.month > 1);
}

bool BeforeLastMonth(CalendarPosition p) {
    return p.year < kCalendarLastYear || (p.year == kCalendarLastYear && p.month < 12);
}

CalendarPosition ClockMonth(const SYSTEMTIME& clock) {
    return {clock.wYear, clock.wMonth};
}

bool SameMonth(CalendarPosition a, CalendarPosition b) {
    return a.year == b.year && a.month == b.month;
}

}  // namespace

CalendarMove NavigateCalendar(CalendarPosition position, CalendarCommand command,
                              CalendarPosition clock) {
    CalendarPosition p = position;
    switch (command) {
        case PreviousMonthCommand:
            if (!AfterFirstMonth(p)) {
                return {false, position};
            }
            if (p.month <= 1) {
                p = {static_cast<uint16_t>(p.year - 1), 12};
            } else {
                p.month = static_cast<uint16_t>(p.month - 1);
            }
            return {true, p};
        case NextMonthCommand:
            if (!BeforeLastMonth(p)) {
                return {false, position};
            }
            if (p.month >= 12) {
                p = {static_cast<uint16_t>(p.year + 1), 1};
            } else {
                p.month = static_cast<uint16_t>(p.month + 1);
            }
            return {true, p};
        case PreviousYearCommand:
            if (p.year <= kCalendarFirstYear) {
                return {false, position};
            }
            p.year = static_cast<uint16_t>(p.year - 1);
            return {true, p};
        case NextYearCommand:
            if (p.year >= kCalendarLastYear) {
                return {false, position};
            }
            p.year = static_cast<uint16_t>(p.year + 1);
            return {true, p};
        case TodayCommand:
            return {true, clock};
    }
    return {false, position};
}

CalendarButtons CalendarButtonStates(CalendarPosition position) {
    return {position.year > kCalendarFirstYear, AfterFirstMonth(position),
            BeforeLastMonth(position), position.year < kCalendarLastYear};
}

CalendarPosition ClampCalendarPosition(CalendarPosition clock) {
    if (clock.year < kCalendarFirstYear) {
        return {kCalendarFirstYear, 1};
    }
    if (clock.year > kCalendarLastYear) {
        return {kCalendarLastYear, 12};
    }
    return clock;
}

CalendarRefresh DecideCalendarRefresh(CalendarPosition position, const SYSTEMTIME& clock,
                                      bool todayShown, uint16_t markedDay) {
    const CalendarPosition now = ClockMonth(clock);
    if (SameMonth(position, now)) {
        const bool stale = !todayShown || markedDay != clock.wDay;
        return {stale ? RepaintCalendar : KeepCalendar, position};
    }
    if (!todayShown) {
        // The user is looking at another month.
        return {KeepCalendar, position};
    }
    // The grid showed today and the clock has left that month (midnight at a month's end, or the
    // clock was set): follow it.
    return {FollowClockCalendar, ClampCalendarPosition(now)};
}

bool IsCalendarToday(CalendarPosition shown, uint16_t day, bool outside, const SYSTEMTIME& clock) {
    return !outside && SameMonth(shown, ClockMonth(clock)) && day == clock.wDay;
}
