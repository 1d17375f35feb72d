// The custom holiday editor's rules: working values, records, the date check, the year texts.
#include "presentation/holiday_editor.h"

#include <cstdio>
#include <cstring>

#include "presentation/settings_values.h"
#include "presentation/shift_jis.h"

namespace {

// The civil date (year, month, day) at midnight, through a Julian Date and back. A day past the
// end of its month comes back in a later month, which is how a date that does not exist shows.
SYSTEMTIME RoundTrip(int32_t year, int32_t month, int32_t day) {
    SYSTEMTIME date = {};
    date.wYear = static_cast<uint16_t>(year);
    date.wMonth = static_cast<uint16_t>(month);
    date.wDay = static_cast<uint16_t>(day);
    SYSTEMTIME back;
    SystemTimeFromJulianDate(JulianDateFromSystemTime(date), &back);
    return back;
}

bool DateExists(int32_t year, int32_t month, int32_t day) {
    return RoundTrip(year, month, day).wMonth == month;
}

// Day of the month of the week-th (1..5) weekday (0 = Sunday) of a month; past the month's end
// when the month has no such weekday.
int32_t NthWeekdayDay(int32_t year, int32_t month, int32_t week, int32_t weekday) {
    const int32_t firstWeekday = RoundTrip(year, month, 1).wDayOfWeek;
    return (weekday - firstWeekday + 7) % 7 + 7 * (week - 1) + 1;
}

}  // namespace

HolidayEditorFields NewHolidayEditorFields(const SYSTEMTIME& today) {
    HolidayEditorFields fields = {};
    fields.firstYear = today.wYear;
    fields.lastYear = today.wYear;
    fields.month = today.wMonth;
    fields.day = today.wDay;
    fields.week = (today.wDay + 6) / 7;
    fields.weekday = today.wDayOfWeek;
    fields.byDate = true;
    fields.dayOff = false;
    return fields;
}

HolidayEditorFields HolidayEditorFieldsFromRecord(const CustomHoliday& record) {
    HolidayEditorFields fields = {};
    char name[sizeof record.name + 1];
    memcpy(name, record.name, sizeof record.name);
    name[sizeof record.name] = '\0';
    CopyHolidayName(fields.name, name);
    fields.firstYear = record.firstYear;
    fields.lastYear = record.lastYear;
    fields.month = record.month;
    fields.dayOff = record.kind == DayOff;
    fields.byDate = record.rule == ByDate;
    if (fields.byDate) {
        fields.day = record.day;
    } else {
        fields.week = record.week;
        fields.weekday = record.weekday;
    }
    return fields;
}

CustomHoliday CustomHolidayFromEditorFields(const HolidayEditorFields& fields) {
    CustomHoliday record = {};
    record.kind = fields.dayOff ? DayOff : Anniversary;
    record.firstYear = fields.firstYear;
    record.lastYear = fields.lastYear;
    record.month = static_cast<uint16_t>(fields.month);
    if (fields.byDate) {
        record.rule = ByDate;
        record.day = static_cast<uint16_t>(fields.day);
    } else {
        record.rule = ByWeekday;
        record.week = static_cast<uint16_t>(fields.week);
        record.weekday = static_cast<uint16_t>(fields.weekday);
    }
    record.longitude = 0.0;
    CopyHolidayName(record.name, fields.name);
    return record;
}

void CopyHolidayName(char* dest, const char* text) {
    dest[0] = '\0';
    AppendShiftJisText(dest, kHolidayNameSize, text);
}

HolidayDateVerdict ValidateHolidayDate(const HolidayDateChoice& choice) {
    if (choice.firstYear > choice.lastYear) {
        return {false, HolidayEditorControl::FirstYear};
    }
    const HolidayDateVerdict refused = {
        false, choice.byDate ? HolidayEditorControl::DayList : HolidayEditorControl::WeekdayList};
    const HolidayDateVerdict accepted = {true, HolidayEditorControl::None};
    if (choice.monthSelection < 0 || choice.monthSelection > 12) {
        return refused;
    }
    const int32_t firstMonth = choice.monthSelection == 0 ? 1 : choice.monthSelection;
    const int32_t lastMonth = choice.monthSelection == 0 ? 12 : choice.monthSelection;

    if (choice.byDate) {
        const int32_t day = choice.daySelection + 1;
        if (day < 1 || day > 31) {
            return refused;
        }
        // At most 201 years of 12 months: the years are the editor's 1900..2100.
        for (int32_t year = choice.firstYear; year <= choice.lastYear; ++year) {
            for (int32_t month = firstMonth; month <= lastMonth; ++month) {
                if (DateExists(year, month, day)) {
                    return accepted;
                }
            }
        }
        return refused;
    }

    // Every week needs its weekday too: the record would otherwise name no day at all.
    const int32_t week = choice.weekSelection;
    const int32_t weekday = choice.weekdaySelection;
    if (week < 0 || week > 5 || weekday < 0 || weekday > 6) {
        return refused;
    }
    if (week == 0) {
        return accepted;
    }
    for (int32_t year = choice.firstYear; year <= choice.lastYear; ++year) {
        for (int32_t month = firstMonth; month <= lastMonth; ++month) {
            if (DateExists(year, month, NthWeekdayDay(year, month, week, weekday))) {
                return accepted;
            }
        }
    }
    return refused;
}

bool CorrectYearText(const char* text, char* dest, size_t size) {
    int32_t year = ParseSettingValue(text);
    if (year < kEditorFirstYear) {
        year = kEditorFirstYear;
    } else if (year > kEditorLastYear) {
        year = kEditorLastYear;
    }
    snprintf(dest, size, "%d", static_cast<int>(year));
    return strcmp(dest, text) != 0;
}
