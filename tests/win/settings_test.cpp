#include "tray/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The settings file of a program at <temp>\<test name>.exe, one file per test so that no test
// reads another's file from the profile service's cache.
class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::path dir = fs::temp_directory_path() / "nocturo-settings-test";
        fs::create_directories(dir);
        exe_ =
            (dir / (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                    ".exe"))
                .string();
        SetSettingsPaths(exe_.c_str());
        fs::remove(GetSettingsPath(), ignored_);
    }
    void TearDown() override {
        fs::remove(GetSettingsPath(), ignored_);
        SetSettingsPaths("");
    }
    void Write(const std::string& text) {
        std::ofstream(GetSettingsPath(), std::ios::binary) << text;
    }
    // The file's non-empty lines, without line ends.
    std::vector<std::string> Lines() {
        std::ifstream in(GetSettingsPath(), std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (!line.empty()) {
                lines.push_back(line);
            }
        }
        return lines;
    }
    std::vector<int> Read() {
        ReadIconSettings(slots_, TrayIconCount);
        std::vector<int> enabled;
        for (const TrayIconSlot& slot : slots_) {
            enabled.push_back(slot.enabled);
        }
        return enabled;
    }
    std::string exe_;
    std::error_code ignored_;
    TrayIconSlot slots_[TrayIconCount] = {
        {   "MoonIcon", 1, nullptr, nullptr, {}, ""},
        {   "TideIcon", 0, nullptr, nullptr, {}, ""},
        {  "MonthIcon", 0, nullptr, nullptr, {}, ""},
        {    "DayIcon", 1, nullptr, nullptr, {}, ""},
        {"WeekDayIcon", 1, nullptr, nullptr, {}, ""},
    };
};

TEST_F(SettingsFile, PathsBesideProgram) {
    std::string stem = exe_.substr(0, exe_.size() - 4);
    EXPECT_EQ(GetSettingsPath(), stem + ".ini");
    EXPECT_EQ(GetDataPath(), stem + ".dat");
}

TEST_F(SettingsFile, MissingFileIsWrittenWithDefaults) {
    EXPECT_EQ(Read(), (std::vector<int>{1, 0, 0, 1, 1}));
    EXPECT_TRUE(ReadShowAge());
    const std::vector<std::string> expected = {
        "[Settings]", "MoonIcon=1",    "TideIcon=0", "MonthIcon=0",
        "DayIcon=1",  "WeekDayIcon=1", "[Calendar]", "ShowAge=1",
    };
    EXPECT_EQ(Lines(), expected);
}

TEST_F(SettingsFile, EmptyValueCountsAsMissing) {
    Write("[Settings]\r\nMoonIcon=1\r\nTideIcon=\r\nMonthIcon=1\r\nDayIcon=0\r\nWeekDayIcon=0\r\n");
    EXPECT_EQ(Read(), (std::vector<int>{1, 0, 1, 0, 0}));
    EXPECT_EQ(Lines()[2], "TideIcon=0");
}

TEST_F(SettingsFile, AllOffSwitchesMoonOn) {
    Write(
        "[Settings]\r\nMoonIcon=0\r\nTideIcon=0\r\nMonthIcon=0\r\nDayIcon=0\r\nWeekDayIcon=0\r\n");
    EXPECT_EQ(Read(), (std::vector<int>{1, 0, 0, 0, 0}));
    EXPECT_EQ(Lines()[1], "MoonIcon=1");
}

TEST_F(SettingsFile, NumbersOtherThanZeroMeanOn) {
    const struct {
        const char* value;
        int enabled;
    } cases[] = {
        {  "2", 1},
        { "-1", 1},
        { " 1", 1},
        {"yes", 0},
        { "on", 0},
        {"0x1", 0}
    };
    for (const auto& c : cases) {
        Write(std::string("[settings]\r\nmoonicon=1\r\ntideicon=") + c.value + "\r\n");
        EXPECT_EQ(Read()[1], c.enabled) << c.value;
    }
}

TEST_F(SettingsFile, ToggleReplacesValueInPlace) {
    Read();
    WriteIconSetting("DayIcon", false);
    WriteIconSetting("TideIcon", true);
    EXPECT_EQ(Lines()[2], "TideIcon=1");
    EXPECT_EQ(Lines()[4], "DayIcon=0");
    EXPECT_EQ(Read(), (std::vector<int>{1, 1, 0, 0, 1}));
}

TEST_F(SettingsFile, ShowAgeIsReadAndWritten) {
    Write("[Calendar]\r\nShowAge=0\r\n");
    EXPECT_FALSE(ReadShowAge());
    WriteShowAge(true);
    EXPECT_TRUE(ReadShowAge());
    EXPECT_EQ(Lines(), (std::vector<std::string>{"[Calendar]", "ShowAge=1"}));
}

// [Place] through the profile service: names and keys in any case, the values as the dialog wrote
// them; one value missing or out of range gives the default for all three. Nothing is written.
TEST_F(SettingsFile, PlaceIsReadWrittenAndFallsBackAsAWhole) {
    EXPECT_TRUE(WritePlaceSetting({
        "Naha", {26.2124, 127.6809}
    }));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"[Place]", "Name=Naha", "Latitude=26.2124",
                                                 "Longitude=127.6809"}));
    Write("[place]\r\nname=Naha\r\nlatitude= 26.2124\r\nLONGITUDE=127.6809\r\n");
    EXPECT_STREQ(ReadPlaceSetting().name, "Naha");
    EXPECT_EQ(ReadPlaceSetting().place.longitude, 127.6809);
    for (const char* file : {"[Place]\r\nName=Naha\r\nLatitude=26.2124\r\n",
                             "[Place]\r\nName=Naha\r\nLatitude=95\r\nLongitude=127.6809\r\n"}) {
        Write(file);
        EXPECT_STREQ(ReadPlaceSetting().name, "東京") << file;
        EXPECT_EQ(ReadPlaceSetting().place.latitude, 35.6581) << file;
    }
    EXPECT_EQ(Lines().size(), 4u);  // the last file as it was written
}

TEST_F(SettingsFile, WithoutPathNothingIsReadOrWritten) {
    SetSettingsPaths(std::string(300, 'a').c_str());
    EXPECT_STREQ(GetSettingsPath(), "");
    EXPECT_STREQ(GetDataPath(), "");
    slots_[3].enabled = 0;
    slots_[4].enabled = 0;
    slots_[0].enabled = 0;
    EXPECT_EQ(Read(), (std::vector<int>{0, 0, 0, 0, 0}));
    WriteIconSetting("MoonIcon", true);
    EXPECT_FALSE(WritePlaceSetting(DefaultPlaceSetting()));
    EXPECT_TRUE(ReadShowAge());
    EXPECT_FALSE(fs::exists(exe_.substr(0, exe_.size() - 4) + ".ini"));
}

TEST(LoadSettings, UsesTheProgramsOwnPath) {
    char module[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, module, sizeof module), 4u);
    std::string stem(module, strlen(module) - 4);
    std::error_code ignored;
    fs::remove(stem + ".ini", ignored);
    LoadSettings();
    EXPECT_EQ(GetSettingsPath(), stem + ".ini");
    EXPECT_EQ(GetDataPath(), stem + ".dat");
    EXPECT_TRUE(fs::exists(stem + ".ini"));
    EXPECT_EQ(TraySlots()[MoonIconSlot].enabled, 1);
    EXPECT_EQ(TraySlots()[TideIconSlot].enabled, 0);
    fs::remove(stem + ".ini", ignored);
    SetSettingsPaths("");
}

}  // namespace
