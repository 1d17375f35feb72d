#include "calendar/custom_holidays.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
typedef std::vector<unsigned char> Bytes;

namespace {

CustomHoliday Make(int32_t kind, int32_t rule, uint16_t month, uint16_t day, uint16_t week,
                   uint16_t weekday, const char* name = "A", uint16_t firstYear = 2000,
                   uint16_t lastYear = 9999) {
    CustomHoliday r = {};
    r.kind = kind;
    r.firstYear = firstYear;
    r.lastYear = lastYear;
    r.rule = rule;
    r.month = month;
    r.day = day;
    r.week = week;
    r.weekday = weekday;
    strcpy(r.name, name);
    return r;
}

Bytes Header(uint32_t count) {
    return {'N', 'C', 'D', 'T', static_cast<unsigned char>(count), 0, 0, 0};
}

// A valid 56-byte record: kind 1, 2000-9999, by date, month `month`, day 1, name "N".
Bytes Record(unsigned char month) {
    Bytes r(56, 0);
    r[0] = 1;
    r[4] = 0xD0, r[5] = 0x07, r[6] = 0x0F, r[7] = 0x27;
    r[12] = month, r[14] = 1, r[32] = 'N';
    return r;
}

class CustomHolidayFile : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; !fs::create_directory(dir_); ++i) {
            dir_ = fs::temp_directory_path() / ("nocturo-custom-" + std::to_string(i));
        }
        path_ = (dir_ / "app.dat").string();
        SetCustomHolidayPath(path_.c_str());
    }
    void TearDown() override {
        fs::remove_all(dir_);
        SetCustomHolidayPath(nullptr);  // no records left for the other tests of this program
    }
    void Write(const Bytes& bytes) {
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    Bytes Read() {
        std::ifstream in(path_, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    fs::path dir_ = fs::temp_directory_path() / "nocturo-custom";
    std::string path_;
};

Bytes Concat(std::vector<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

TEST_F(CustomHolidayFile, DamagedHeadersLoadAsEmpty) {
    const Bytes foreign = {'N', 'C', 'D', 'X', 1, 0, 0, 0};
    Bytes cut = Concat({Header(1), Record(1)});
    cut.pop_back();
    Bytes many = Header(51);  // 51 valid records: more than the store holds
    for (int i = 0; i < 51; ++i) {
        many = Concat({many, Record(1)});
    }
    const Bytes cases[] = {
        Header(0),
        many,
        Concat({Header(3), Record(1), Record(2)}),  // fewer records than announced
        Header(1),
        cut,
        Concat({foreign, Record(1)}),
        Bytes(3, 'N'),
    };
    for (const Bytes& file : cases) {
        Write(file);
        CustomHolidays().count = 7;
        CustomHolidays().modified = true;
        LoadCustomHolidays();
        EXPECT_EQ(CustomHolidayCount(), 0) << file.size() << " bytes";
        EXPECT_TRUE(CustomHolidays().loaded);
        EXPECT_FALSE(CustomHolidays().modified);
    }
}

TEST_F(CustomHolidayFile, MissingFileAndNoPathGiveEmptyStore) {
    EXPECT_EQ(CustomHolidayCount(), 0);
    SetCustomHolidayPath("");
    EXPECT_EQ(CustomHolidayCount(), 0);
    CustomHolidays().modified = true;
    EXPECT_FALSE(SaveCustomHolidays());
    EXPECT_TRUE(CustomHolidays().modified);
}

// Each row damages the middle one of three records at one byte offset.
struct Damage {
    const char* what;
    size_t offset;
    unsigned char value;
};
static const Damage kDamages[] = {
    {           "kind0",  0,    0},
    {           "kind3",  0,    3},
    {    "kindHighByte",  3,    1},
    {           "rule2",  8,    2},
    {         "month13", 12,   13},
    {           "day32", 14,   32},
    {           "week6", 16,    6},
    {        "weekday7", 18,    7},
    {  "firstAfterLast",  4, 0x10},
    {"nameUnterminated", 55,  'X'},
};

class DamagedRecord : public CustomHolidayFile, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedRecord, IsDroppedAndTheOthersKept) {
    Bytes bad = Record(2);
    if (GetParam().offset == 55) {
        memset(&bad[32], 'X', 24);
    }
    bad[GetParam().offset] = GetParam().value;
    if (GetParam().offset == 4) {
        bad[5] = 0x27;  // firstYear 10000 > lastYear 9999
    }
    Write(Concat({Header(3), Record(9), bad, Record(1)}));
    ASSERT_EQ(CustomHolidayCount(), 2);
    // Stored order is kept, not re-sorted: month 9 stays before month 1.
    EXPECT_EQ(CustomHolidayRecords()[0].month, 9);
    EXPECT_EQ(CustomHolidayRecords()[1].month, 1);
}

INSTANTIATE_TEST_SUITE_P(Fields, DamagedRecord, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(CustomHolidayFile, TrailingBytesAfterTheRecordsAreIgnored) {
    Write(Concat({Header(1), Record(4), Bytes(10, 0xEE)}));
    EXPECT_EQ(CustomHolidayCount(), 1);
}

TEST_F(CustomHolidayFile, EmptyStoreSavesEightBytes) {
    LoadCustomHolidays();
    ASSERT_TRUE(SaveCustomHolidays());
    EXPECT_EQ(Read(), Header(0));
    LoadCustomHolidays();
    EXPECT_EQ(CustomHolidayCount(), 0);
}

TEST_F(CustomHolidayFile, SavedRecordHasTheFileLayout) {
    LoadCustomHolidays();
    CustomHoliday r = Make(Anniversary, ByWeekday, 5, 0, 2, 0, "", 2001, 9999);
    memset(r.name, 0xAA, sizeof r.name);
    strcpy(r.name, "\x95\xea\x82\xcc\x93\xfa");  // 母の日 in Shift_JIS
    r.longitude = 1.5;
    InsertCustomHoliday(r);
    CustomHolidays().modified = true;
    ASSERT_TRUE(SaveCustomHolidays());
    EXPECT_FALSE(CustomHolidays().modified);
    const Bytes expected = Concat({
        Header(1),
        {2, 0, 0, 0, 0xD1, 0x07, 0x0F, 0x27, 1, 0, 0, 0, 5,
             0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
             0, 0, 0, 0, 0xF8, 0x3F, 0x95, 0xEA, 0x82, 0xCC, 0x93, 0xFA},
        Bytes(18, 0)
    });
    EXPECT_EQ(Read(), expected);
    LoadCustomHolidays();
    ASSERT_EQ(CustomHolidayCount(), 1);
    EXPECT_EQ(memcmp(&CustomHolidayRecords()[0], &r, 20), 0);  // 20..23 is padding
    EXPECT_EQ(CustomHolidayRecords()[0].longitude, 1.5);
    EXPECT_STREQ(CustomHolidayRecords()[0].name, r.name);
}

TEST_F(CustomHolidayFile, UnterminatedNameIsWrittenTerminated) {
    LoadCustomHolidays();
    CustomHoliday r = Make(DayOff, ByDate, 1, 2, 0, 0);
    memset(r.name, 'Z', sizeof r.name);
    InsertCustomHoliday(r);
    ASSERT_TRUE(SaveCustomHolidays());
    EXPECT_EQ(Read()[8 + 55], 0);
    LoadCustomHolidays();
    EXPECT_EQ(strlen(CustomHolidayRecords()[0].name), 23u);
}

TEST_F(CustomHolidayFile, FailedSaveKeepsOldFileAndModified) {
    Write(Concat({Header(1), Record(3)}));
    LoadCustomHolidays();
    InsertCustomHoliday(Make(DayOff, ByDate, 4, 1, 0, 0));
    CustomHolidays().modified = true;
    fs::create_directories(path_ + ".tmp/busy");  // the temporary file cannot be made
    EXPECT_FALSE(SaveCustomHolidays());
    EXPECT_TRUE(CustomHolidays().modified);
    EXPECT_EQ(Read(), Concat({Header(1), Record(3)}));

    SetCustomHolidayPath((dir_ / "missing" / "app.dat").string().c_str());
    LoadCustomHolidays();
    CustomHolidays().modified = true;
    EXPECT_FALSE(SaveCustomHolidays());
    EXPECT_TRUE(CustomHolidays().modified);
}

// Records in the store's order, one per row; every earlier row sorts before every later one.
struct Keys {
    int32_t kind;
    int32_t rule;
    uint16_t month;
    uint16_t day;
    uint16_t week;
    uint16_t weekday;
    uint16_t firstYear;
    uint16_t lastYear;
    const char* name;
};
static const Keys kSorted[] = {
    {1, 0,  3, 20, 0, 0, 2000, 9999,        "A"},
    {1, 0,  5,  1, 0, 0, 2000, 9999,        "A"},
    {1, 0,  5, 31, 0, 0, 2000, 9999,        "A"},
    {1, 1,  1,  0, 1, 0, 2000, 9999,        "A"}, // by weekday after every date of a month
    {1, 1, 12,  0, 5, 6, 2000, 9999,        "A"},
    {1, 1,  5,  0, 0, 0, 2000, 9999,        "A"}, // every week of May: after the n-th weekdays
    {1, 1,  6,  0, 0, 3, 2000, 9999,        "A"},
    {1, 0,  0,  1, 0, 0, 2000, 9999,        "A"}, // every month: after all one-month rules
    {1, 0,  0,  3, 0, 0, 1990, 2000,        "B"},
    {1, 0,  0,  3, 0, 0, 1990, 2001,        "A"},
    {1, 0,  0,  3, 0, 0, 1991, 9999,        "A"},
    {1, 0,  0, 10, 0, 0, 2000, 9999,       "AB"},
    {1, 0,  0, 10, 0, 0, 2000, 9999,      "ABC"},
    {1, 0,  0, 10, 0, 0, 2000, 9999,        "Z"},
    {1, 0,  0, 10, 0, 0, 2000, 9999, "\x82\xa0"}, // names compare as unsigned bytes
    {1, 1,  0,  0, 1, 6, 2000, 9999,        "A"},
    {1, 1,  0,  0, 2, 1, 2000, 9999,        "A"},
    {1, 1,  0,  0, 2, 4, 2000, 9999,        "A"},
    {1, 1,  0,  0, 0, 0, 2000, 9999,        "A"}, // every week of every month: last
    {2, 0,  1,  1, 0, 0, 2000, 9999,        "A"}, // anniversaries after every holiday
    {2, 1,  0,  0, 0, 6, 2000, 9999,        "A"},
};
constexpr int kSortedCount = sizeof kSorted / sizeof kSorted[0];

CustomHoliday FromKeys(const Keys& k) {
    return Make(k.kind, k.rule, k.month, k.day, k.week, k.weekday, k.name, k.firstYear, k.lastYear);
}

TEST(CustomHolidayOrder, EveryPairInStoreOrder) {
    for (int i = 0; i < kSortedCount; ++i) {
        for (int j = 0; j < kSortedCount; ++j) {
            int order = CompareCustomHolidays(FromKeys(kSorted[i]), FromKeys(kSorted[j]));
            EXPECT_EQ(order < 0 ? -1 : (order > 0 ? 1 : 0), i < j ? -1 : (i > j ? 1 : 0))
                << "rows " << i << " and " << j;
        }
    }
}

class CustomHolidayStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetCustomHolidayPath("");
        LoadCustomHolidays();
    }
    void TearDown() override {
        SetCustomHolidayPath(nullptr);
    }
};

TEST_F(CustomHolidayStoreTest, InsertionSorts) {
    for (int i = 0; i < kSortedCount; ++i) {
        InsertCustomHoliday(FromKeys(kSorted[(i * 8) % kSortedCount]));
    }
    ASSERT_EQ(CustomHolidays().count, kSortedCount);
    for (int i = 0; i < kSortedCount; ++i) {
        EXPECT_EQ(CompareCustomHolidays(CustomHolidays().records[i], FromKeys(kSorted[i])), 0) << i;
    }
}

TEST_F(CustomHolidayStoreTest, EqualRecordGoesAfterExisting) {
    CustomHoliday first = Make(1, 0, 5, 5, 0, 0);
    CustomHoliday second = first;
    second.longitude = 1.0;  // not an ordering key: tells the two apart
    EXPECT_EQ(InsertCustomHoliday(first), 0);
    EXPECT_EQ(InsertCustomHoliday(Make(1, 0, 6, 1, 0, 0)), 1);
    EXPECT_EQ(InsertCustomHoliday(second), 1);
    EXPECT_EQ(CustomHolidays().records[1].longitude, 1.0);
}

TEST_F(CustomHolidayStoreTest, HoldsAtMostFifty) {
    for (int i = 0; i < kMaxCustomHolidays; ++i) {
        ASSERT_GE(InsertCustomHoliday(Make(1, 0, 1 + i % 12, 1 + i % 28, 0, 0)), 0);
    }
    EXPECT_EQ(InsertCustomHoliday(Make(1, 0, 1, 1, 0, 0)), -1);
    EXPECT_EQ(CustomHolidays().count, kMaxCustomHolidays);
}

TEST_F(CustomHolidayStoreTest, EditedRecordMovesToItsPlace) {
    InsertCustomHoliday(Make(1, 0, 2, 1, 0, 0, "X"));
    InsertCustomHoliday(Make(1, 0, 4, 1, 0, 0));
    InsertCustomHoliday(Make(1, 0, 6, 1, 0, 0));
    CustomHoliday edited = CustomHolidays().records[0];
    edited.month = 5;
    RemoveCustomHoliday(0);
    EXPECT_EQ(InsertCustomHoliday(edited), 1);
    EXPECT_STREQ(CustomHolidays().records[1].name, "X");
    RemoveCustomHoliday(3);
    RemoveCustomHoliday(-1);
    EXPECT_EQ(CustomHolidays().count, 3);
}

}  // namespace
