// Fuzz target: the custom-holiday data file's bytes as the reader decodes them, straight from
// memory (the file layer under it only reads and replaces whole files, and is tested on its own).
// Whatever the bytes, only usable records come out, and writing them and reading the result gives
// the same records. What the holiday engine makes of them is the target holiday_rules.
#include <cstdint>
#include <cstring>

#include "calendar/custom_holidays.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

bool SameRecord(const CustomHoliday& a, const CustomHoliday& b) {
    return a.kind == b.kind && a.firstYear == b.firstYear && a.lastYear == b.lastYear &&
           a.rule == b.rule && a.month == b.month && a.day == b.day && a.week == b.week &&
           a.weekday == b.weekday && std::memcmp(&a.longitude, &b.longitude, sizeof(double)) == 0 &&
           std::strcmp(a.name, b.name) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CustomHoliday loaded[kMaxCustomHolidays];
    const int32_t count = DecodeCustomHolidayFile(data, size, loaded);
    FUZZ_CHECK(count >= 0 && count <= kMaxCustomHolidays);
    if (size < 8 || std::memcmp(data, "NCDT", 4) != 0) {
        FUZZ_CHECK(count == 0);
    }
    for (int i = 0; i < count; ++i) {
        const CustomHoliday& r = loaded[i];
        FUZZ_CHECK(r.kind == DayOff || r.kind == Anniversary);
        FUZZ_CHECK(r.rule == ByDate || r.rule == ByWeekday);
        FUZZ_CHECK(r.month <= 12 && r.day <= 31 && r.week <= 5 && r.weekday <= 6);
        FUZZ_CHECK(r.firstYear <= r.lastYear);
        FUZZ_CHECK(std::memchr(r.name, 0, sizeof r.name) != nullptr);
    }

    // What was read survives a write and a read unchanged.
    static unsigned char bytes[kCustomHolidayFileMaxSize];
    static CustomHoliday again[kMaxCustomHolidays];
    if (count > 0) {
        const size_t written = EncodeCustomHolidayFile(loaded, count, bytes);
        FUZZ_CHECK(written == 8 + 56 * static_cast<size_t>(count));
        FUZZ_CHECK(DecodeCustomHolidayFile(bytes, written, again) == count);
        for (int i = 0; i < count; ++i) {
            FUZZ_CHECK(SameRecord(again[i], loaded[i]));
        }
    }

    return 0;
}
