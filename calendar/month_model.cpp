// The 42 computed days of the calendar window, kept until another month is asked for.
#include "calendar/month_model.h"

#include "astro/principal_phase.h"
#include "astro/searches.h"
#include "astro/longitudes.h"
#include "astro/time_zone.h"
#include "calendar/holidays.h"
#include "calendar/seasonal_days.h"
#include "calendar/solar_terms.h"

namespace {

MonthModel monthModel;

}  // namespace

const MonthModel& CurrentMonthModel() {
    return monthModel;
}

SYSTEMTIME ComputeMonthCell(MonthCell* cell, double localNoon, double universalNoon) {
    SYSTEMTIME date;
    SystemTimeFromJulianDate(localNoon, &date);
    cell->day = date.wDay;
    cell->weekday = date.wDayOfWeek;
    cell->outside = 0;

    cell->holidayKind = LookupHoliday(date.wYear, date.wMonth, date.wDay, &cell->holidayName);
    cell->isSolarTerm = LookupSolarTerm(date.wYear, date.wMonth, date.wDay, &cell->solarTermName);
    cell->isSeasonal = LookupSeasonalDays(date.wYear, date.wMonth, date.wDay, &cell->seasonalName1,
                                          &cell->seasonalName2);

    // Through the civil reading, so the instant is the whole second of local noon however the
    // caller arrived at it.
    SYSTEMTIME utc;
    SystemTimeFromJulianDate(universalNoon, &utc);
    const JulianCenturies T = CenturiesFromSystemTime(utc);
    cell->phaseAngle = MoonPhaseAngle(T);
    cell->moonAge = MoonAge(T);
    cell->phaseName = PrincipalPhaseOfDay(universalNoon, &cell->phaseAngle);

    ComputeLunarDay(&cell->lunar, universalNoon);
    cell->notes = DayNotesOf(date.wYear, date.wMonth, date.wDay, cell->lunar);
    return date;
}

int32_t LeadingGridDays(uint16_t firstWeekday, uint16_t weekStart) {
    return (firstWeekday % 7 + 7 - weekStart % 7) % 7;
}

bool ComputeMonthModel(uint16_t year, uint16_t month, uint16_t weekStart) {
    const int32_t bias = TimeZoneBias();
    // Year 0 marks an empty model, so a request for year 0 is never taken as already held.
    if (monthModel.year != 0 && monthModel.year == year && monthModel.month == month &&
        monthModel.bias == bias && monthModel.weekStart == weekStart) {
        return false;
    }
    monthModel.year = year;
    monthModel.month = month;
    monthModel.bias = bias;
    monthModel.weekStart = weekStart;

    const double b = bias * kDaysPerMinute;
    SYSTEMTIME first = {};
    first.wYear = year;
    first.wMonth = month;
    first.wDay = 1;
    first.wHour = 12;
    double J = JulianDateFromSystemTime(first);
    SYSTEMTIME firstDate;
    SystemTimeFromJulianDate(J, &firstDate);
    // Whole days back from a whole-day noon: the same Julian Dates whichever weekday leads.
    J = J - LeadingGridDays(firstDate.wDayOfWeek, weekStart);
    double U = J + b;

    for (MonthCell& cell : monthModel.cells) {
        const SYSTEMTIME date = ComputeMonthCell(&cell, J, U);
        cell.outside = date.wMonth != month ? 1 : 0;
        U = U + 1;
        J = U - b;
    }
    return true;
}

void InvalidateMonthModel() {
    monthModel.year = 0;
}
