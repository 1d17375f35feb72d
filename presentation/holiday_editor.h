// The rules of the custom holiday editor, without any window: its working values, the record they
// stand for, the check that the chosen date occurs at all, and the correction of the year texts.
#pragma once

#include <cstddef>
#include <cstdint>

#include "astro/time_scales.h"
#include "calendar/custom_holidays.h"

// Bytes of a name, the terminator included: 16 bytes of Shift_JIS text at most, which the list's
// name column is made for.
constexpr size_t kHolidayNameSize = 17;

// The years the editor offers; a record's years lie within them.
constexpr int32_t kEditorFirstYear = 1900;
constexpr int32_t kEditorLastYear = 2100;

// The editor's working values: what its controls show when it opens and hold when it is confirmed.
struct HolidayEditorFields {
    char name[kHolidayNameSize];
    uint16_t firstYear;
    uint16_t lastYear;
    int32_t month;    // 0 = every month, 1..12
    int32_t day;      // 1..31; 0 when the values came from a weekday record (no day chosen)
    int32_t week;     // 0 = every week, 1..5 = first to fifth
    int32_t weekday;  // 0 = Sunday .. 6 = Saturday
    bool byDate;      // a day of the month (日付) rather than a weekday (曜日)
    bool dayOff;      // a day off (休日) rather than an anniversary
};

// Values for a new entry on the local date `today` (year, month, day and day of week are read):
// one year, today's month and day, today's weekday with its ordinal in the month (1..5), by date,
// no name, an anniversary.
HolidayEditorFields NewHolidayEditorFields(const SYSTEMTIME& today);

// Values that show `record` in the editor. The fields the record's rule does not use start empty:
// a weekday record has no day chosen, a date record the week 毎週 and Sunday. A name that fills
// its field past 16 bytes is cut at a character boundary.
HolidayEditorFields HolidayEditorFieldsFromRecord(const CustomHoliday& record);

// The record the values stand for: kind DayOff or Anniversary, the fields of the chosen method
// only (the others 0), longitude 0.
CustomHoliday CustomHolidayFromEditorFields(const HolidayEditorFields& fields);

// Copies an entered name into dest (kHolidayNameSize bytes), cut to 16 bytes at a character
// boundary: an edit control may hand over more bytes than that when its limit counts characters.
void CopyHolidayName(char* dest, const char* text);

// What the editor's controls hold when the user confirms.
struct HolidayDateChoice {
    uint16_t firstYear;
    uint16_t lastYear;
    bool byDate;
    int32_t monthSelection;    // 0 = every month, 1..12; -1 none
    int32_t daySelection;      // day - 1; -1 none
    int32_t weekSelection;     // 0 = every week, 1..5; -1 none
    int32_t weekdaySelection;  // 0 = Sunday .. 6; -1 none
};

// The control that takes the focus after a refused choice, for the user to correct.
enum class HolidayEditorControl {
    None,
    FirstYear,
    DayList,
    WeekdayList,
};

struct HolidayDateVerdict {
    bool valid;
    HolidayEditorControl focus;  // None when valid
};

// Whether the chosen date or weekday occurs at least once within the years firstYear..lastYear
// and the chosen months: a day must exist in one of those months (29 February only in a leap
// year), the n-th weekday must fall inside its month, 毎週 always occurs. Refused, with the focus
// to move: years in reverse order (the first-year edit), otherwise the day list for a date and the
// weekday list for a weekday. A missing selection is refused too.
HolidayDateVerdict ValidateHolidayDate(const HolidayDateChoice& choice);

// The correction of a year edit's text when it loses the focus, or before the editor is confirmed.
// The text's leading decimal number (leading blanks and a sign allowed, 0 when there is none) is
// taken; below 1900 the text becomes "1900", above 2100 "2100", and a number within the range is
// written back bare, without blanks or trailing characters, so that the text always shows the
// year the editor reads. Writes the text to show into dest (size bytes) and returns whether it
// differs from `text`.
bool CorrectYearText(const char* text, char* dest, size_t size);
