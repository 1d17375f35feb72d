// Faults of the settings file, read through the system's profile service: a file another program
// holds open, a huge one, binary bytes, sections missing, a folder in its place. The switches come
// out as the settings code promises (the value when readable, the slot's default otherwise, never
// every icon off) and missing keys are written back when the file can be written.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tray/settings.h"

namespace fs = std::filesystem;

namespace {

struct SettingsFault {
    const char* name;
    std::string (*content)();  // the file's bytes
    const char* switches;      // the five switches read, "10011" being the slots' defaults
    bool showAge;
    bool repaired;  // whether every key reads back afterwards as the switch read
};

std::string Repeat(const std::string& text, size_t times) {
    std::string all;
    all.reserve(text.size() * times);
    for (size_t i = 0; i < times; ++i) {
        all += text;
    }
    return all;
}

// Bytes of every value but those that make lines, sections and keys, from a fixed sequence.
std::string BinaryNoise(size_t size) {
    std::string bytes;
    uint32_t x = 2463534242u;
    while (bytes.size() < size) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        const char c = static_cast<char>(x & 0xFF);
        if (c != '\r' && c != '\n' && c != '[' && c != ']' && c != '=' && c != ';') {
            bytes += c;
        }
    }
    return bytes;
}

static const SettingsFault kFaults[] = {
    {                          "EmptyFile",[] { return std::string(); },"10011",  true,  true                                                                                             },
    {                  "OtherSectionsOnly",
     [] { return std::string("[Window]\r\nMoonIcon=0\r\nShowAge=0\r\n[Other]\r\nX=1\r\n"); },
     "10011",  true,  true                                                                                         },
    {                        "BinaryNoise",            [] { return BinaryNoise(64 * 1024); }, "10011",  true,  true},
    {"NoiseWithZeroBytesBeforeTheSections",
     [] {
     return std::string("\0\0\xFF\xFE\0", 5) + BinaryNoise(1000) +
     "\r\n[Settings]\r\nTideIcon=1\r\nMonthIcon=1\r\n[Calendar]\r\nShowAge=0\r\n";
     }, "11111", false,  true                                                                                      },
 // Two megabytes of other keys before the section, and a line without its end at the end.
    {                           "HugeFile",
     [] {
     return "[Other]\r\n" + Repeat("SomeKey=" + std::string(100, 'v') + "\r\n", 20000) +
     "[Settings]\r\nMoonIcon=0\r\nTideIcon=1\r\n[Calendar]\r\nShowAge=0";
     }, "01011", false,  true                                                                                      },
 // A value far longer than the buffer: only its beginning decides.
    {                         "HugeValues",
     [] {
     return "[Settings]\r\nMoonIcon=" + std::string(100000, '0') +
     "\r\nTideIcon=" + std::string(100000, '7') + "\r\n";
     }, "01011",  true, false                                                                                      },
};

class SettingsFaultTest : public testing::TestWithParam<SettingsFault> {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / "nocturo-settings-faults";
        fs::create_directories(dir_);
        // One file per case: the profile service caches the file it read last.
        SetSettingsPaths((dir_ / (std::string(GetParam().name) + ".exe")).string().c_str());
        path_ = GetSettingsPath();
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
        SetSettingsPaths("");
    }
    void Write(const std::string& bytes) {
        std::ofstream(path_, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string Read() {
        ReadIconSettings(slots_, TrayIconCount);
        std::string switches;
        for (const TrayIconSlot& slot : slots_) {
            switches += slot.enabled ? '1' : '0';
        }
        return switches;
    }
    // The switches as the file now says, "?" for a key that is not there.
    std::string OnFile() {
        std::string switches;
        for (const TrayIconSlot& slot : slots_) {
            char value[8];
            GetPrivateProfileStringA("Settings", slot.settingsKey, "?", value, sizeof value,
                                     path_.c_str());
            switches += value;
        }
        return switches;
    }

    fs::path dir_;
    std::string path_;
    TrayIconSlot slots_[TrayIconCount] = {
        {   "MoonIcon", 1, nullptr, nullptr, {}, ""},
        {   "TideIcon", 0, nullptr, nullptr, {}, ""},
        {  "MonthIcon", 0, nullptr, nullptr, {}, ""},
        {    "DayIcon", 1, nullptr, nullptr, {}, ""},
        {"WeekDayIcon", 1, nullptr, nullptr, {}, ""},
    };
};

TEST_P(SettingsFaultTest, SwitchesAndRepairAsPromised) {
    const SettingsFault& fault = GetParam();
    Write(fault.content());
    EXPECT_EQ(Read(), fault.switches);
    EXPECT_EQ(ReadShowAge(), fault.showAge);
    if (fault.repaired) {
        EXPECT_EQ(OnFile(), fault.switches);
    }
    // A second start reads what the first one repaired: the same switches.
    EXPECT_EQ(Read(), fault.switches);
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsFaultTest, testing::ValuesIn(kFaults),
                         [](const testing::TestParamInfo<SettingsFault>& info) {
                             return std::string(info.param.name);
                         });

class SettingsUnavailable : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / "nocturo-settings-unavailable";
        fs::create_directories(dir_);
        SetSettingsPaths(
            (dir_ /
             (std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".exe"))
                .string()
                .c_str());
        path_ = GetSettingsPath();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
        SetSettingsPaths("");
    }
    std::string Read() {
        ReadIconSettings(slots_, TrayIconCount);
        std::string switches;
        for (const TrayIconSlot& slot : slots_) {
            switches += slot.enabled ? '1' : '0';
        }
        return switches;
    }
    fs::path dir_;
    std::string path_;
    TrayIconSlot slots_[TrayIconCount] = {
        {   "MoonIcon", 0, nullptr, nullptr, {}, ""},
        {   "TideIcon", 0, nullptr, nullptr, {}, ""},
        {  "MonthIcon", 0, nullptr, nullptr, {}, ""},
        {    "DayIcon", 1, nullptr, nullptr, {}, ""},
        {"WeekDayIcon", 0, nullptr, nullptr, {}, ""},
    };
};

// Another program holds the file open without sharing: nothing can be read or written, so every
// switch keeps its default, and the file is as it was once released.
TEST_F(SettingsUnavailable, FileHeldOpenWithoutSharingGivesTheDefaults) {
    const std::string content = "[Settings]\r\nDayIcon=0\r\nTideIcon=1\r\n";
    std::ofstream(path_, std::ios::binary) << content;
    HANDLE held = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::string switches = Read();
    const bool showAge = ReadShowAge();
    CloseHandle(held);
    EXPECT_EQ(switches, "00010");
    EXPECT_TRUE(showAge);
    std::ifstream in(path_, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), content);
}

// A folder where the file should be: defaults, and no icon left off for lack of a file.
TEST_F(SettingsUnavailable, FolderInPlaceOfTheFileGivesTheDefaults) {
    fs::create_directories(path_ + "/inside");
    slots_[3].enabled = 0;
    EXPECT_EQ(Read(), "10000");
    EXPECT_TRUE(ReadShowAge());
    EXPECT_TRUE(fs::is_directory(path_));
}

}  // namespace
