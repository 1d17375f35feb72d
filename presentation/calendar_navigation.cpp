#include "presentation/calendar_navigation.h"

#include "astro/civil_dates.h"

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

CalendarKey DecideCalendarKey(uint32_t virtualKey, bool ctrl, bool shift, bool alt) {
    const CalendarKey none = {NoCalendarKey, TodayCommand, 0};
    if (alt) {
        return none;
    }
    const bool byYear = ctrl || shift;
    switch (virtualKey) {
        case kKeyPageUp:
            return {CommandCalendarKey, byYear ? PreviousYearCommand : PreviousMonthCommand, 0};
        case kKeyPageDown:
            return {CommandCalendarKey, byYear ? NextYearCommand : NextMonthCommand, 0};
        case kKeyHome:
            return {CommandCalendarKey, TodayCommand, 0};
        case kKeyEscape:
            return {CloseCalendarKey, TodayCommand, 0};
        case kKeyLeft:
            return {ChooseCalendarKey, TodayCommand, -1};
        case kKeyRight:
            return {ChooseCalendarKey, TodayCommand, 1};
        case kKeyUp:
            return {ChooseCalendarKey, TodayCommand, -7};
        case kKeyDown:
            return {ChooseCalendarKey, TodayCommand, 7};
        case kKeyReturn:
            return {DetailCalendarKey, TodayCommand, 0};
        default:
            return none;
    }
}

int32_t AccumulateWheel(int32_t* rest, int32_t delta) {
    if ((delta > 0 && *rest < 0) || (delta < 0 && *rest > 0)) {
        *rest = 0;
    }
    // Reports are at most a few notches each; the sum stays far inside int32_t.
    const int64_t sum = static_cast<int64_t>(*rest) + delta;
    const int64_t notches = sum / kWheelNotch;  // toward zero: a part notch waits for more
    *rest = static_cast<int32_t>(sum - notches * kWheelNotch);
    return static_cast<int32_t>(notches);
}

CalendarMove ScrollCalendar(CalendarPosition position, int32_t notches) {
    CalendarMove result = {false, position};
    const CalendarCommand command = notches > 0 ? PreviousMonthCommand : NextMonthCommand;
    // The range holds 2412 months: a larger count only meets its end sooner.
    const int64_t count = notches > 0 ? notches : -static_cast<int64_t>(notches);
    for (int64_t left = count < 2412 ? count : 2412; left > 0; --left) {
        const CalendarMove move = NavigateCalendar(result.position, command, position);
        if (!move.accepted) {
            break;
        }
        result = move;
    }
    return result;
}

uint16_t StartingChosenDay(CalendarPosition shown, const SYSTEMTIME& clock) {
    return SameMonth(shown, ClockMonth(clock)) && clock.wDay >= 1 ? clock.wDay : 1;
}

CalendarChoice MoveChosenDay(CalendarPosition position, uint16_t day, int32_t days) {
    const CalendarChoice refused = {false, position, day};
    const int32_t length = DaysInMonth(position.year, position.month);
    const int32_t target = static_cast<int32_t>(day) + days;
    if (length == 0 || days < -31 || days > 31) {
        return refused;
    }
    if (target >= 1 && target <= length) {
        return {true, position, static_cast<uint16_t>(target)};
    }
    const bool back = target < 1;
    const CalendarMove move =
        NavigateCalendar(position, back ? PreviousMonthCommand : NextMonthCommand, position);
    if (!move.accepted) {
        return refused;
    }
    const int32_t newLength = DaysInMonth(move.position.year, move.position.month);
    const int32_t newDay = back ? newLength + target : target - length;
    if (newDay < 1 || newDay > newLength) {
        return refused;
    }
    return {true, move.position, static_cast<uint16_t>(newDay)};
}
