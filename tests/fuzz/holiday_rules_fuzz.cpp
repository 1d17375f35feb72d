// Fuzz target: the user's own holidays as the holiday engine applies them. The bytes are a data
// file, decoded as the program reads it; whatever records come out are applied to the national
// list of a year they name (or a year of the table), as a lookup in that year would, and the list
// stays a list the lookups can walk: sorted, no two entries on one date, every entry a real date
// with a name.
#include <cstdint>

#include "calendar/custom_holidays.h"
#include "calendar/holidays.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CustomHoliday loaded[kMaxCustomHolidays];
    const int32_t count = DecodeCustomHolidayFile(data, size, loaded);
    if (count == 0) {
        return 0;
    }
    uint16_t year = 2024;
    if (loaded[0].firstYear >= 1900 && loaded[0].firstYear <= 2100) {
        year = loaded[0].firstYear;
    }
    // The national list of a year costs two dozen solar searches and does not depend on the
    // records: it is built once per year (the program's store is empty here).
    static YearHolidayList national[201];
    YearHolidayList& base = national[year - 1900];
    if (base.year != year) {
        base.year = year;
        base.count = 0;
        BuildYearHolidays(&base);
    }
    static YearHolidayList list;
    list = base;
    ApplyHolidayRules(&list, loaded, count);
    FUZZ_CHECK(list.year == year && list.count >= base.count && list.count <= 366);
    for (int32_t i = 0; i < list.count; ++i) {
        const DayEntry& e = list.entries[i];
        FUZZ_CHECK(e.name != nullptr);
        FUZZ_CHECK(e.kind >= NationalHoliday && e.kind <= Anniversary);
        FUZZ_CHECK(e.month >= 1 && e.month <= 12 && e.day >= 1 && e.day <= 31 && e.span >= 1);
        FUZZ_CHECK(i == 0 || CompareDayEntries(list.entries[i - 1], e) < 0);
    }
    return 0;
}
