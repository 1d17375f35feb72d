// The custom holiday list's line format.
#include "presentation/holiday_lines.h"

#include <cstdio>
#include <cstring>

#include "presentation/shift_jis.h"

namespace {

// Weekday characters, Sunday first. A weekday past Saturday (only a damaged record has one) shows
// a full-width question mark, two bytes wide like the others.
static const char* const kWeekdayMarks[] = {"日", "月", "火", "水", "木", "金", "土", "？"};
constexpr int kUnknownWeekday = 7;

// Name field width: the editor's limit of 16 bytes of Shift_JIS.
constexpr int kNameWidth = 16;

// The name as far as it lies inside its field, in whole characters: a lead byte whose trail byte
// is missing (the field's end or the terminator comes first) is dropped, so the line never ends
// in half a character.
void CopyFieldName(const CustomHoliday& record, char* out) {
    const size_t size = sizeof record.name;
    size_t length = 0;
    while (length < size && record.name[length] != '\0') {
        const unsigned char c = static_cast<unsigned char>(record.name[length]);
        if (!IsShiftJisLeadByte(c)) {
            ++length;
        } else if (length + 1 < size && record.name[length + 1] != '\0') {
            length += 2;
        } else {
            break;
        }
    }
    memcpy(out, record.name, length);
    out[length] = '\0';
}

}  // namespace

char* FormatCustomHolidayLine(const CustomHoliday& record, char* dest) {
    const char* mark = record.kind == DayOff ? "休" : "記";

    char month[16];
    if (record.month == 0) {
        snprintf(month, sizeof month, " 毎月");
    } else {
        snprintf(month, sizeof month, " %02u月", static_cast<unsigned>(record.month));
    }

    const char* weekday = kWeekdayMarks[record.weekday <= 6 ? record.weekday : kUnknownWeekday];
    char day[32];
    if (record.rule == ByDate) {
        snprintf(day, sizeof day, "%02u日      ", static_cast<unsigned>(record.day));
    } else if (record.week == 0) {
        snprintf(day, sizeof day, "毎週%s曜日", weekday);
    } else {
        snprintf(day, sizeof day, "第%u%s曜日 ", static_cast<unsigned>(record.week), weekday);
    }

    char name[sizeof record.name + 1];
    CopyFieldName(record, name);
    snprintf(dest, kHolidayLineSize, "%s%s%s %04u-%04u %-*s", mark, month, day,
             static_cast<unsigned>(record.firstYear), static_cast<unsigned>(record.lastYear),
             kNameWidth, name);
    return dest;
}
