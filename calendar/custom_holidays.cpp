// The user's custom holidays: the sorted store and its little-endian data file.
#include "calendar/custom_holidays.h"

#include <cstring>

#include "calendar/file_store.h"

namespace {

CustomHolidayStore gStore;  // empty, not loaded, no path

const char kMagic[4] = {'N', 'C', 'D', 'T'};
constexpr size_t kHeaderSize = 8;
constexpr size_t kRecordSize = 56;
static_assert(kCustomHolidayFileMaxSize == kHeaderSize + kRecordSize * kMaxCustomHolidays,
              "the file's largest size is its header and 50 records");

uint16_t Get16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Get32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void Put16(unsigned char* p, uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

void Put32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<unsigned char>(v >> (8 * i));
    }
}

void DecodeRecord(const unsigned char* p, CustomHoliday* r) {
    r->kind = static_cast<int32_t>(Get32(p + 0));
    r->firstYear = Get16(p + 4);
    r->lastYear = Get16(p + 6);
    r->rule = static_cast<int32_t>(Get32(p + 8));
    r->month = Get16(p + 12);
    r->day = Get16(p + 14);
    r->week = Get16(p + 16);
    r->weekday = Get16(p + 18);
    uint64_t bits = static_cast<uint64_t>(Get32(p + 28)) << 32 | Get32(p + 24);
    memcpy(&r->longitude, &bits, sizeof bits);
    memcpy(r->name, p + 32, sizeof r->name);
}

// The name goes out with at most 23 bytes of text so that every written record carries its
// terminator, and with zeros after it so that no stale memory reaches the disk.
void EncodeRecord(const CustomHoliday& r, unsigned char* p) {
    memset(p, 0, kRecordSize);
    Put32(p + 0, static_cast<uint32_t>(r.kind));
    Put16(p + 4, r.firstYear);
    Put16(p + 6, r.lastYear);
    Put32(p + 8, static_cast<uint32_t>(r.rule));
    Put16(p + 12, r.month);
    Put16(p + 14, r.day);
    Put16(p + 16, r.week);
    Put16(p + 18, r.weekday);
    uint64_t bits;
    memcpy(&bits, &r.longitude, sizeof bits);
    Put32(p + 24, static_cast<uint32_t>(bits));
    Put32(p + 28, static_cast<uint32_t>(bits >> 32));
    const void* end = memchr(r.name, 0, sizeof r.name - 1);
    size_t length = end ? static_cast<const char*>(end) - r.name : sizeof r.name - 1;
    memcpy(p + 32, r.name, length);
}

// A record the holiday engine can apply safely: a custom kind and rule shape, fields in range
// (a weekday rule past 6 or a month past 12 would index beyond the calendar), and a terminated
// name (the day lists point into it).
bool IsUsableRecord(const CustomHoliday& r) {
    return (r.kind == DayOff || r.kind == Anniversary) &&
           (r.rule == ByDate || r.rule == ByWeekday) && r.month <= 12 && r.day <= 31 &&
           r.week <= 5 && r.weekday <= 6 && r.firstYear <= r.lastYear &&
           memchr(r.name, 0, sizeof r.name) != nullptr;
}

constexpr int kSortKeyCount = 9;

// The keys of the store's order, most significant first. Holidays come before anniversaries, so
// that within one pass of the holiday engine a holiday claims a shared date first; then rules for
// one month before rules for every month, every-week rules last, and by date within each group.
void FillSortKeys(const CustomHoliday& r, int keys[kSortKeyCount]) {
    bool byDate = r.rule == ByDate;
    keys[0] = r.kind;
    keys[1] = r.month == 0;
    keys[2] = !byDate && r.week == 0;
    keys[3] = r.rule;
    keys[4] = r.month == 0 ? 13 : r.month;
    keys[5] = byDate ? 0 : (r.week == 0 ? 6 : r.week);
    keys[6] = byDate ? r.day : r.weekday;
    keys[7] = r.firstYear;
    keys[8] = r.lastYear;
}

}  // namespace

CustomHolidayStore& CustomHolidays() {
    return gStore;
}

void SetCustomHolidayPath(const char* path) {
    // A path that does not fit is refused rather than cut, which would name another file.
    if (path == nullptr || strlen(path) >= sizeof gStore.path) {
        gStore.path[0] = '\0';
    } else {
        strcpy(gStore.path, path);
    }
    gStore.count = 0;
    gStore.loaded = false;
    gStore.modified = false;
}

int32_t DecodeCustomHolidayFile(const unsigned char* bytes, size_t size,
                                CustomHoliday records[kMaxCustomHolidays]) {
    if (bytes == nullptr || size < kHeaderSize || memcmp(bytes, kMagic, sizeof kMagic) != 0) {
        return 0;
    }
    uint32_t count = Get32(bytes + 4);
    if (count < 1 || count > kMaxCustomHolidays || size < kHeaderSize + kRecordSize * count) {
        return 0;
    }
    // Stored order is kept: a file in another order still loads, and the holiday engine only
    // needs each record to be usable on its own.
    int32_t kept = 0;
    for (uint32_t i = 0; i < count; ++i) {
        CustomHoliday record;
        DecodeRecord(bytes + kHeaderSize + kRecordSize * i, &record);
        if (IsUsableRecord(record)) {
            records[kept++] = record;
        }
    }
    return kept;
}

size_t EncodeCustomHolidayFile(const CustomHoliday* records, int32_t count,
                               unsigned char bytes[kCustomHolidayFileMaxSize]) {
    if (count < 0 || count > kMaxCustomHolidays) {
        return 0;
    }
    memcpy(bytes, kMagic, sizeof kMagic);
    Put32(bytes + 4, static_cast<uint32_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        EncodeRecord(records[i], bytes + kHeaderSize + kRecordSize * i);
    }
    return kHeaderSize + kRecordSize * count;
}

void LoadCustomHolidays() {
    gStore.count = 0;
    gStore.loaded = true;
    gStore.modified = false;
    if (gStore.path[0] == '\0') {
        return;
    }
    unsigned char bytes[kCustomHolidayFileMaxSize];
    size_t got = 0;
    if (!ReadFileBytes(gStore.path, bytes, sizeof bytes, &got)) {
        return;
    }
    gStore.count = DecodeCustomHolidayFile(bytes, got, gStore.records);
}

bool SaveCustomHolidays() {
    if (gStore.path[0] == '\0') {
        return false;
    }
    unsigned char bytes[kCustomHolidayFileMaxSize];
    const size_t size = EncodeCustomHolidayFile(gStore.records, gStore.count, bytes);
    if (size == 0 || !ReplaceFileContents(gStore.path, bytes, size)) {
        return false;
    }
    gStore.modified = false;
    return true;
}

int32_t CustomHolidayCount() {
    if (!gStore.loaded) {
        LoadCustomHolidays();
    }
    return gStore.count;
}

const CustomHoliday* CustomHolidayRecords() {
    if (!gStore.loaded) {
        LoadCustomHolidays();
    }
    return gStore.records;
}

bool IsCustomHolidayName(const char* name) {
    const CustomHoliday* records = CustomHolidayRecords();
    for (int32_t i = 0; i < CustomHolidayCount(); ++i) {
        if (name == records[i].name) {
            return true;
        }
    }
    return false;
}

int CompareCustomHolidays(const CustomHoliday& a, const CustomHoliday& b) {
    int aKeys[kSortKeyCount];
    int bKeys[kSortKeyCount];
    FillSortKeys(a, aKeys);
    FillSortKeys(b, bKeys);
    for (int k = 0; k < kSortKeyCount; ++k) {
        if (aKeys[k] != bKeys[k]) {
            return aKeys[k] < bKeys[k] ? -1 : 1;
        }
    }
    for (size_t i = 0; i < sizeof a.name; ++i) {
        unsigned char ca = static_cast<unsigned char>(a.name[i]);
        unsigned char cb = static_cast<unsigned char>(b.name[i]);
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
        if (ca == 0) {
            break;
        }
    }
    return 0;
}

int InsertCustomHoliday(const CustomHoliday& record) {
    if (gStore.count < 0 || gStore.count >= kMaxCustomHolidays) {
        return -1;
    }
    const CustomHoliday added = record;  // `record` may live in the array being shifted
    int gap = gStore.count;
    while (gap > 0 && CompareCustomHolidays(gStore.records[gap - 1], added) > 0) {
        gStore.records[gap] = gStore.records[gap - 1];
        --gap;
    }
    gStore.records[gap] = added;
    ++gStore.count;
    return gap;
}

void RemoveCustomHoliday(int index) {
    if (index < 0 || index >= gStore.count) {
        return;
    }
    memmove(&gStore.records[index], &gStore.records[index + 1],
            sizeof(CustomHoliday) * (gStore.count - index - 1));
    --gStore.count;
}
