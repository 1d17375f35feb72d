// One line of the custom holiday list: the record's mark, month, day or weekday rule, years and
// name in fixed columns for a fixed-pitch font.
#pragma once

#include <cstddef>

#include "calendar/custom_holidays.h"

// Bytes of a line buffer, the terminator included: room for the longest name a record can hold.
constexpr size_t kHolidayLineSize = 136;

// Writes the list line of `record` into dest (kHolidayLineSize bytes) and returns dest. The line
// is the mark ("休" for a day off, "記" otherwise), the month (" 毎月" or " 05月"), the day
// ("03日" and six spaces, "毎週日曜日" or "第2月曜日" and a space), then " 2005-2100 " and the
// name padded with spaces to 16 bytes: 44 bytes for a name of up to 16 bytes, so that every
// column starts at the same cell whatever the variant. A name longer than 16 bytes is shown whole
// and shifts nothing before it; only the bytes inside the record's 24-byte name field are read,
// so an unterminated name from a damaged file stops at the end of the field.
char* FormatCustomHolidayLine(const CustomHoliday& record, char* dest);
