// Fuzz target: the custom-holiday data file as the program reads it, through a real file. Whatever
// the bytes, the store holds only usable records, saving it and loading the result gives the same
// records, and the holiday engine applies them without fault.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "calendar/custom_holidays.h"
#include "calendar/holidays.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// A private folder per process: parallel fuzzing jobs must not read each other's file. It goes
// when the process ends normally (a crash leaves it for the post-mortem).
std::string folderPath;

void RemoveFolder() {
    const std::string path = folderPath + "/nocturo.dat";
    unlink(path.c_str());
    unlink((path + ".tmp").c_str());
    rmdir(folderPath.c_str());
}

const std::string& DataPath() {
    static const std::string path = [] {
        char folder[] = "/tmp/nocturo-fuzz-XXXXXX";
        if (!mkdtemp(folder)) {
            std::perror("mkdtemp");
            std::abort();
        }
        folderPath = folder;
        std::atexit(RemoveFolder);
        return folderPath + "/nocturo.dat";
    }();
    return path;
}

bool WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    const bool ok = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

bool SameRecord(const CustomHoliday& a, const CustomHoliday& b) {
    return a.kind == b.kind && a.firstYear == b.firstYear && a.lastYear == b.lastYear &&
           a.rule == b.rule && a.month == b.month && a.day == b.day && a.week == b.week &&
           a.weekday == b.weekday && std::memcmp(&a.longitude, &b.longitude, sizeof(double)) == 0 &&
           std::strcmp(a.name, b.name) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = DataPath();
    FUZZ_CHECK(WriteFile(path, data, size));
    SetCustomHolidayPath(path.c_str());
    LoadCustomHolidays();

    CustomHolidayStore& store = CustomHolidays();
    FUZZ_CHECK(store.loaded && !store.modified);
    FUZZ_CHECK(store.count >= 0 && store.count <= kMaxCustomHolidays);
    if (size < 8 || std::memcmp(data, "NCDT", 4) != 0) {
        FUZZ_CHECK(store.count == 0);
    }
    for (int i = 0; i < store.count; ++i) {
        const CustomHoliday& r = store.records[i];
        FUZZ_CHECK(r.kind == DayOff || r.kind == Anniversary);
        FUZZ_CHECK(r.rule == ByDate || r.rule == ByWeekday);
        FUZZ_CHECK(r.month <= 12 && r.day <= 31 && r.week <= 5 && r.weekday <= 6);
        FUZZ_CHECK(r.firstYear <= r.lastYear);
        FUZZ_CHECK(std::memchr(r.name, 0, sizeof r.name) != nullptr);
    }

    // What was loaded survives a save and a load unchanged.
    static CustomHoliday loaded[kMaxCustomHolidays];
    const int count = store.count;
    std::memcpy(loaded, store.records, sizeof(CustomHoliday) * count);
    if (count > 0) {
        FUZZ_CHECK(SaveCustomHolidays());
        LoadCustomHolidays();
        FUZZ_CHECK(store.count == count);
        for (int i = 0; i < count; ++i) {
            FUZZ_CHECK(SameRecord(store.records[i], loaded[i]));
        }
    }

    // The holiday engine applies the records in a year they name (or a year of the table). A
    // year costs two dozen solar searches: only a file with records is worth one.
    uint16_t year = 2024;
    if (count > 0 && loaded[0].firstYear >= 1900 && loaded[0].firstYear <= 2100) {
        year = loaded[0].firstYear;
    }
    InvalidateHolidayCache();
    for (uint16_t month = 1; month <= 12 && count > 0; ++month) {
        const char* name = nullptr;
        const DayKind kind = LookupHoliday(year, month, 1, &name);
        FUZZ_CHECK(name != nullptr);
        FUZZ_CHECK(kind >= NationalHoliday && kind <= NoEntry);
    }
    SetCustomHolidayPath("");
    InvalidateHolidayCache();
    return 0;
}
