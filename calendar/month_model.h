// The 42 computed days (six weeks, Sunday or Monday first) around one month of the calendar window.
#pragma once

#include <cstdint>

#include "astro/lunar_day.h"
#include "astro/time_scales.h"
#include "calendar/almanac_notes.h"

struct MonthCell {
    uint16_t day;
    uint16_t weekday;     // 0 = Sunday
    int32_t outside;      // 1: the month before or after
    int32_t holidayKind;  // DayKind
    int32_t isSolarTerm;
    int32_t isSeasonal;
    const char* holidayName;  // non-owning, never null
    const char* solarTermName;
    const char* seasonalName1;
    const char* seasonalName2;
    double phaseAngle;  // at local noon; exactly 0/90/180/270 on a principal phase's day
    double moonAge;     // at local noon, days
    const char* phaseName;
    LunarDay lunar;
    DayNotes notes;  // the selected days, the 候 and the 節月 of the date
};

struct MonthModel {
    uint16_t year;  // 0 = empty
    uint16_t month;
    int32_t bias;        // the time-zone bias the days were computed in
    uint16_t weekStart;  // the weekday of the first column: 0 Sunday, 1 Monday
    MonthCell cells[42];
};

// Fills every field of *cell but `outside` (set to 0) for the local date whose local noon is the
// local Julian Date localNoon, universalNoon being the same instant in UT (localNoon + bias/1440).
// Returns that local date. The month model and the CLI's day listing share it, so a listed day is
// the calendar window's cell of that day, bit for bit.
SYSTEMTIME ComputeMonthCell(MonthCell* cell, double localNoon, double universalNoon);

// The program's one model.
const MonthModel& CurrentMonthModel();

// Days of the month before that a grid shows ahead of the 1st: the 1st falls on `firstWeekday`
// (0 = Sunday) and the grid's weeks start on `weekStart` (0 Sunday, 1 Monday; any other value is
// taken modulo 7). 0..6.
int32_t LeadingGridDays(uint16_t firstWeekday, uint16_t weekStart);

// Fills the model for year/month in the zone of TimeZoneBias, its weeks starting on `weekStart`
// (0 Sunday, 1 Monday), unless it already holds them for that zone and week start. Returns whether
// it computed the model anew.
bool ComputeMonthModel(uint16_t year, uint16_t month, uint16_t weekStart = 0);

// Forces the next ComputeMonthModel to recompute, even for the same month.
void InvalidateMonthModel();
