// Civil dates of the proleptic Gregorian calendar in integer arithmetic: validity, day counts and
// the dates of day counts. Exact for every year of the int32 range.
#pragma once

#include <cstdint>

// A date of the proleptic Gregorian calendar.
struct CivilDate {
    int32_t year;
    int32_t month;  // 1..12
    int32_t day;    // 1..31
};

// Whether `year` has a 29 February: every fourth year, but not the centuries other than every
// fourth one (1900 has none, 2000 has one).
bool IsLeapYear(int32_t year);

// Days of `month` (1..12) in `year`: 28..31; 0 for a month outside 1..12.
int32_t DaysInMonth(int32_t year, int32_t month);

// Whether year-month-day names a real date (month 1..12, day 1..DaysInMonth).
bool IsValidCivilDate(int32_t year, int32_t month, int32_t day);

// Days since 1970-01-01 (negative before it) of a valid date, and the date of such a count.
int64_t DaysFromCivil(const CivilDate& date);
CivilDate CivilFromDays(int64_t days);

// The date `count` days after `date` (before it when negative).
CivilDate AddDays(const CivilDate& date, int64_t count);
