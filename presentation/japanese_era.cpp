#include "presentation/japanese_era.h"

#include <cstdio>
#include <cstring>

#include "astro/civil_dates.h"
#include "presentation/shift_jis.h"

namespace {

// The eras since the Gregorian calendar's adoption, in date order.
static const JapaneseEra kBuiltInEras[] = {
  // year month day firstYear  name
    {1873,  1,  1, 1868, "明治"},
    {1912,  7, 30, 1912, "大正"},
    {1926, 12, 25, 1926, "昭和"},
    {1989,  1,  8, 1989, "平成"},
    {2019,  5,  1, 2019, "令和"},
};
constexpr int32_t kBuiltInCount = sizeof kBuiltInEras / sizeof kBuiltInEras[0];

struct EraTable {
    JapaneseEra eras[kMaxJapaneseEras];
    int32_t count;
};

EraTable MakeBuiltInTable() {
    EraTable table = {};
    for (int32_t i = 0; i < kBuiltInCount; ++i) {
        table.eras[i] = kBuiltInEras[i];
    }
    table.count = kBuiltInCount;
    return table;
}

EraTable eraTable = MakeBuiltInTable();

int64_t DateKey(uint16_t year, uint16_t month, uint16_t day) {
    return (static_cast<int64_t>(year) * 100 + month) * 100 + day;
}

int64_t EraKey(const JapaneseEra& era) {
    return DateKey(era.year, era.month, era.day);
}

// `count` decimal digits at text, nothing else; -1 otherwise.
int32_t Digits(const char* text, int32_t count) {
    int32_t value = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

void ResetJapaneseEras() {
    eraTable = MakeBuiltInTable();
}

bool AddJapaneseEra(const JapaneseEra& era) {
    if (eraTable.count >= kMaxJapaneseEras || era.name[0] == '\0' ||
        std::memchr(era.name, '\0', sizeof era.name) == nullptr ||
        !IsValidCivilDate(era.year, era.month, era.day) || era.firstYear > era.year ||
        EraKey(era) <= EraKey(eraTable.eras[eraTable.count - 1])) {
        return false;
    }
    eraTable.eras[eraTable.count++] = era;
    return true;
}

int32_t AddJapaneseEras(JapaneseEra* eras, int32_t count) {
    const int32_t n = count < kMaxJapaneseEras ? count : kMaxJapaneseEras;
    for (int32_t i = 1; i < n; ++i) {
        for (int32_t j = i; j > 0 && EraKey(eras[j]) < EraKey(eras[j - 1]); --j) {
            const JapaneseEra swap = eras[j];
            eras[j] = eras[j - 1];
            eras[j - 1] = swap;
        }
    }
    int32_t taken = 0;
    for (int32_t i = 0; i < n; ++i) {
        taken += AddJapaneseEra(eras[i]) ? 1 : 0;
    }
    return taken;
}

const JapaneseEra* FindJapaneseEra(uint16_t year, uint16_t month, uint16_t day, int32_t* eraYear) {
    *eraYear = 0;
    if (!IsValidCivilDate(year, month, day)) {
        return nullptr;
    }
    const int64_t key = DateKey(year, month, day);
    for (int32_t i = eraTable.count - 1; i >= 0; --i) {
        const JapaneseEra& era = eraTable.eras[i];
        if (key >= EraKey(era)) {
            *eraYear = year - era.firstYear + 1;
            return &era;
        }
    }
    return nullptr;
}

char* FormatJapaneseEraYear(char* dest, size_t size, uint16_t year, uint16_t month, uint16_t day) {
    if (size == 0) {
        return dest;
    }
    dest[0] = '\0';
    int32_t eraYear = 0;
    const JapaneseEra* era = FindJapaneseEra(year, month, day, &eraYear);
    if (era == nullptr) {
        return dest;
    }
    char text[48];
    if (eraYear == 1) {
        std::snprintf(text, sizeof text, "%s元年", era->name);
    } else {
        std::snprintf(text, sizeof text, "%s%d年", era->name, static_cast<int>(eraYear));
    }
    AppendShiftJisText(dest, size, text);
    return dest;
}

char* FormatMonthEraYear(char* dest, size_t size, uint16_t year, uint16_t month) {
    const int32_t last = DaysInMonth(year, month);
    return FormatJapaneseEraYear(dest, size, year, month, static_cast<uint16_t>(last));
}

char* FormatLongDateWithEra(char* dest, size_t size, uint16_t year, uint16_t month, uint16_t day,
                            uint16_t weekday) {
    static const char* const kWeekdays[7] = {"日", "月", "火", "水", "木", "金", "土"};
    if (size == 0) {
        return dest;
    }
    dest[0] = '\0';
    char era[48];
    FormatJapaneseEraYear(era, sizeof era, year, month, day);
    char text[96];
    if (era[0] != '\0') {
        std::snprintf(text, sizeof text, "%u年（%s）%u月%u日(%s)", static_cast<unsigned>(year), era,
                      static_cast<unsigned>(month), static_cast<unsigned>(day),
                      kWeekdays[weekday % 7]);
    } else {
        std::snprintf(text, sizeof text, "%u年%u月%u日(%s)", static_cast<unsigned>(year),
                      static_cast<unsigned>(month), static_cast<unsigned>(day),
                      kWeekdays[weekday % 7]);
    }
    AppendShiftJisText(dest, size, text);
    return dest;
}

bool ParseRegistryEra(const char* valueName, const char* data, JapaneseEra* era) {
    // "YYYY MM DD", exactly.
    if (std::strlen(valueName) != 10 || valueName[4] != ' ' || valueName[7] != ' ') {
        return false;
    }
    const int32_t year = Digits(valueName, 4);
    const int32_t month = Digits(valueName + 5, 2);
    const int32_t day = Digits(valueName + 8, 2);
    if (year < 1 || month < 0 || day < 0 || !IsValidCivilDate(year, month, day)) {
        return false;
    }
    // The name ends at the first "_" that is a character of its own, not the trail byte of one
    // (ダ is 0x83 0x5F).
    size_t length = 0;
    while (data[length] != '\0' && data[length] != '_') {
        length +=
            IsShiftJisLeadByte(static_cast<unsigned char>(data[length])) && data[length + 1] != '\0'
                ? 2
                : 1;
    }
    if (length == 0 || length >= sizeof era->name) {
        return false;
    }
    *era = JapaneseEra{};
    era->year = static_cast<uint16_t>(year);
    era->month = static_cast<uint16_t>(month);
    era->day = static_cast<uint16_t>(day);
    era->firstYear = era->year;
    std::memcpy(era->name, data, length);
    era->name[length] = '\0';
    return true;
}
