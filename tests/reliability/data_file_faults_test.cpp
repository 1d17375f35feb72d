// Faults around the custom-holiday data file: saves that fail at each step, and files cut short or
// damaged at every byte. A failed save leaves the old file and every record in memory as they were;
// a damaged file loads as documented (an empty store, or the usable records) and never faults.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "calendar/custom_holidays.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/resource.h>
#endif

namespace fs = std::filesystem;
typedef std::vector<unsigned char> Bytes;

namespace {

constexpr size_t kHeaderSize = 8;
constexpr size_t kRecordSize = 56;

CustomHoliday Make(int32_t kind, int32_t rule, uint16_t month, uint16_t day, uint16_t week,
                   uint16_t weekday, const char* name) {
    CustomHoliday r = {};
    r.kind = kind;
    r.firstYear = 1990;
    r.lastYear = 9999;
    r.rule = rule;
    r.month = month;
    r.day = day;
    r.week = week;
    r.weekday = weekday;
    strcpy(r.name, name);
    return r;
}

// Three records in store order, with names of full length and Shift_JIS bytes (a 0x5C trail).
const CustomHoliday kRecords[] = {
    Make(DayOff, ByDate, 3, 14, 0, 0, "\x83\x5C\x83\x74\x83\x67\x95\x5C"),
    Make(DayOff, ByWeekday, 11, 0, 2, 1, "ABCDEFGHIJKLMNOPQRSTUVW"),
    Make(Anniversary, ByDate, 7, 7, 0, 0, "tanabata"),
};
constexpr int kRecordCount = static_cast<int>(sizeof kRecords / sizeof kRecords[0]);

bool SameRecord(const CustomHoliday& a, const CustomHoliday& b) {
    return a.kind == b.kind && a.firstYear == b.firstYear && a.lastYear == b.lastYear &&
           a.rule == b.rule && a.month == b.month && a.day == b.day && a.week == b.week &&
           a.weekday == b.weekday && memcmp(&a.longitude, &b.longitude, sizeof(double)) == 0 &&
           strcmp(a.name, b.name) == 0;
}

// Whether the store holds exactly the records of kRecords.
testing::AssertionResult StoreHoldsTheRecords() {
    const CustomHolidayStore& store = CustomHolidays();
    if (store.count != kRecordCount) {
        return testing::AssertionFailure() << "count " << store.count;
    }
    for (int i = 0; i < kRecordCount; ++i) {
        if (!SameRecord(store.records[i], kRecords[i])) {
            return testing::AssertionFailure() << "record " << i << " differs";
        }
    }
    return testing::AssertionSuccess();
}

class DataFileFaults : public testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; !fs::create_directory(dir_); ++i) {
            dir_ = fs::temp_directory_path() / ("nocturo-faults-" + std::to_string(i));
        }
        path_ = (dir_ / "nocturo.dat").string();
        SetCustomHolidayPath(path_.c_str());
        LoadCustomHolidays();
        for (const CustomHoliday& r : kRecords) {
            InsertCustomHoliday(r);
        }
        ASSERT_TRUE(SaveCustomHolidays());
        saved_ = Read();
        ASSERT_EQ(saved_.size(), kHeaderSize + kRecordSize * kRecordCount);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::all, ignored);
        fs::remove_all(dir_, ignored);
        SetCustomHolidayPath(nullptr);
    }
    Bytes Read() const {
        std::ifstream in(path_, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    void Write(const Bytes& bytes) const {
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    fs::path dir_ = fs::temp_directory_path() / "nocturo-faults";
    std::string path_;
    Bytes saved_;  // the file as the records were saved
};

// --- Saves that fail ----------------------------------------------------------------------------

struct SaveFault {
    const char* name;
    // Makes the next save fail; the returned call takes the fault away again.
    std::function<std::function<void()>(const fs::path& dir, const std::string& path)> inject;
};

#ifndef _WIN32
// Lets a process write at most `bytes` bytes into any file: the write past the limit fails with
// EFBIG (SIGXFSZ ignored, or it would end the process), half-way through the records.
std::function<void()> LimitFileSize(rlim_t bytes) {
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    struct sigaction ignore = {};
    struct sigaction previous;
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    struct rlimit limit = old;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
    return [old, previous] {
        setrlimit(RLIMIT_FSIZE, &old);
        sigaction(SIGXFSZ, &previous, nullptr);
    };
}
#endif

static const SaveFault kSaveFaults[] = {
    {"FolderInPlaceOfTheTemporaryFile",
     [](const fs::path&, const std::string& path) -> std::function<void()> {
 fs::create_directories(path + ".tmp/busy");
 return [path] { fs::remove_all(path + ".tmp"); };
 }    },
    {         "DataPathTakenByAFolder",
     [](const fs::path& dir, const std::string& path) -> std::function<void()> {
 fs::rename(path, dir / "moved");
 fs::create_directories(path + "/busy");
 return [dir, path] {
 fs::remove_all(path);
 fs::rename(dir / "moved", path);
 };
 }},
    {      "FolderRemovedUnderTheFile",
     [](const fs::path& dir, const std::string&) -> std::function<void()> {
 fs::rename(dir, dir.string() + "-away");
 return [dir] { fs::rename(dir.string() + "-away", dir); };
 }},
#ifdef _WIN32
  // Another program (an editor, a backup tool) holds the file open without sharing.
    {     "FileHeldOpenWithoutSharing",
     [](const fs::path&, const std::string& path) -> std::function<void()> {
 HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
 FILE_ATTRIBUTE_NORMAL, nullptr);
 return [held] { CloseHandle(held); };
 }    },
#else
    // The disk fills up (or a quota ends) after the header and one record.
    {"WriteFailsHalfWay",
     [](const fs::path&, const std::string&) -> std::function<void()> {
         return LimitFileSize(kHeaderSize + kRecordSize + 10);
     }},
    {"NothingCanBeWritten",
     [](const fs::path&, const std::string&) -> std::function<void()> { return LimitFileSize(0); }},
#endif
};

class SaveFaultTest : public DataFileFaults, public testing::WithParamInterface<SaveFault> {};

TEST_P(SaveFaultTest, OldFileStaysAndNoRecordIsLost) {
    RemoveCustomHoliday(1);
    CustomHolidays().modified = true;
    const std::function<void()> heal = GetParam().inject(dir_, path_);
    const bool saved = SaveCustomHolidays();
    heal();
    EXPECT_FALSE(saved);
    EXPECT_TRUE(CustomHolidays().modified);
    EXPECT_EQ(Read(), saved_);
    EXPECT_FALSE(fs::exists(path_ + ".tmp"));
    EXPECT_EQ(CustomHolidays().count, kRecordCount - 1);

    // Nothing in memory was lost: with the fault gone, the edit reaches the file.
    InsertCustomHoliday(kRecords[1]);
    EXPECT_TRUE(StoreHoldsTheRecords());
    ASSERT_TRUE(SaveCustomHolidays());
    EXPECT_FALSE(CustomHolidays().modified);
    LoadCustomHolidays();
    EXPECT_TRUE(StoreHoldsTheRecords());
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveFaultTest, testing::ValuesIn(kSaveFaults),
                         [](const testing::TestParamInfo<SaveFault>& info) {
                             return std::string(info.param.name);
                         });

// --- Files cut short or damaged -----------------------------------------------------------------

// Cut anywhere before its end, the file no longer holds the records its header counts: it is
// damaged and gives an empty store. Bytes past the last record are not read.
TEST_F(DataFileFaults, FileCutAtEveryByteLoadsEmpty) {
    for (size_t length = 0; length < saved_.size(); ++length) {
        Write(Bytes(saved_.begin(), saved_.begin() + static_cast<std::ptrdiff_t>(length)));
        LoadCustomHolidays();
        EXPECT_EQ(CustomHolidays().count, 0) << "cut at " << length;
    }
    Bytes longer = saved_;
    longer.insert(longer.end(), 3000, 0xFF);
    Write(longer);
    LoadCustomHolidays();
    EXPECT_TRUE(StoreHoldsTheRecords());
}

// One byte inverted at each offset: in the header, the file is foreign or damaged (empty store);
// in a record, that record alone is dropped or loads with the changed field, and every other
// record loads unchanged, in its order.
TEST_F(DataFileFaults, ByteDamagedAtEveryOffsetTouchesOnlyItsRecord) {
    for (size_t offset = 0; offset < saved_.size(); ++offset) {
        Bytes damaged = saved_;
        damaged[offset] ^= 0xFF;
        Write(damaged);
        LoadCustomHolidays();
        const CustomHolidayStore& store = CustomHolidays();
        if (offset < kHeaderSize) {
            EXPECT_EQ(store.count, 0) << "offset " << offset;
            continue;
        }
        const int hit = static_cast<int>((offset - kHeaderSize) / kRecordSize);
        ASSERT_GE(store.count, kRecordCount - 1) << "offset " << offset;
        ASSERT_LE(store.count, kRecordCount) << "offset " << offset;
        const bool dropped = store.count == kRecordCount - 1;
        int loaded = 0;
        for (int i = 0; i < kRecordCount; ++i) {
            if (i == hit) {
                loaded += dropped ? 0 : 1;
                continue;
            }
            EXPECT_TRUE(SameRecord(store.records[loaded], kRecords[i]))
                << "offset " << offset << ", record " << i;
            ++loaded;
        }
        for (int i = 0; i < store.count; ++i) {
            EXPECT_NE(memchr(store.records[i].name, 0, sizeof store.records[i].name), nullptr);
        }
    }
}

}  // namespace
