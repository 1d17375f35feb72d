#include "astro/civil_dates.h"

namespace {

// Civil-from-days over 400-year eras of 146,097 days, counted from 0000-03-01 so that the leap
// day ends a year.
constexpr int64_t kDaysPerEra = 146097;
constexpr int64_t kEpochFromMarch0 = 719468;  // days from 0000-03-01 to 1970-01-01

}  // namespace

bool IsLeapYear(int32_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int32_t DaysInMonth(int32_t year, int32_t month) {
    static const int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidCivilDate(int32_t year, int32_t month, int32_t day) {
    return day >= 1 && day <= DaysInMonth(year, month);
}

int64_t DaysFromCivil(const CivilDate& date) {
    const int64_t y = static_cast<int64_t>(date.year) - (date.month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;                                          // [0, 399]
    const int64_t monthFromMarch = date.month > 2 ? date.month - 3 : date.month + 9;  // [0, 11]
    const int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + date.day - 1;          // [0, 365]
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * kDaysPerEra + dayOfEra - kEpochFromMarch0;
}

CivilDate CivilFromDays(int64_t days) {
    days += kEpochFromMarch0;
    const int64_t era = (days >= 0 ? days : days - (kDaysPerEra - 1)) / kDaysPerEra;
    const int64_t dayOfEra = days - era * kDaysPerEra;  // [0, 146096]
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;  // [0, 399]
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;  // [0, 11]
    CivilDate date;
    date.day = static_cast<int32_t>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    date.month =
        static_cast<int32_t>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    date.year = static_cast<int32_t>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

CivilDate AddDays(const CivilDate& date, int64_t count) {
    return CivilFromDays(DaysFromCivil(date) + count);
}
