#include "presentation/settings_values.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ValueCase {
    const char* text;
    int32_t number;
};
static const ValueCase kValues[] = {
    {                   "1",           1},
    {                   "0",           0},
    {                   "2",           2},
    {                  "-1",          -1},
    {                  " 1",           1},
    {                "\t 7",           7},
    {                  "+3",           3},
    {                  "-0",           0},
    {               "12abc",          12},
    {                 "- 1",           0},
    {                 "yes",           0},
    {                  "on",           0},
    {                 "0x1",           0},
    {                    "",           0},
    {"00000000000000000001",           1},
    {         "99999999999",  2147483647},
    {        "-99999999999", -2147483647},
};

TEST(ParseSettingValue, ReadsLeadingDecimalNumber) {
    for (const ValueCase& c : kValues) {
        EXPECT_EQ(ParseSettingValue(c.text), c.number) << '"' << c.text << '"';
    }
}

struct PathCase {
    const char* module;
    const char* stem;  // nullptr: no paths
};
// 表 (95 5C) and ソ (83 5C) end in the byte of the backslash, which must not count as a separator.
static const PathCase kPaths[] = {
    {    "C:\\My.Apps\\app.exe",     "C:\\My.Apps\\app"},
    {           "C:\\Apps\\app",        "C:\\Apps\\app"},
    {        "C:\\My.Apps\\app",     "C:\\My.Apps\\app"},
    {   "C:\\Apps\\app.tar.exe",    "C:\\Apps\\app.tar"},
    {"/opt/x.y/nocturo-cli.exe", "/opt/x.y/nocturo-cli"},
    {     "C:\\\x95\x5c\\a.exe",      "C:\\\x95\x5c\\a"},
    {          "C:\\a.\x95\x5c",                "C:\\a"},
    {       "C:\\x.y\\\x83\x5c",    "C:\\x.y\\\x83\x5c"},
    {                        "",                nullptr},
    {                    ".exe",                nullptr},
};

TEST(DeriveFilePaths, ReplacesExtensionOfFileName) {
    for (const PathCase& c : kPaths) {
        char ini[kFilePathSize] = "x";
        char dat[kFilePathSize] = "x";
        EXPECT_EQ(DeriveFilePaths(c.module, ini, dat), c.stem != nullptr) << c.module;
        EXPECT_EQ(std::string(ini), c.stem ? std::string(c.stem) + ".ini" : "") << c.module;
        EXPECT_EQ(std::string(dat), c.stem ? std::string(c.stem) + ".dat" : "") << c.module;
    }
}

TEST(DeriveFilePaths, StemOf256BytesLeavesBothEmpty) {
    char ini[kFilePathSize];
    char dat[kFilePathSize];
    std::string stem = "C:\\" + std::string(252, 'a');  // 255 bytes: "stem.ini" takes all 260
    EXPECT_TRUE(DeriveFilePaths((stem + ".exe").c_str(), ini, dat));
    EXPECT_EQ(std::string(ini).size(), kFilePathSize - 1);
    stem += 'a';
    EXPECT_FALSE(DeriveFilePaths((stem + ".exe").c_str(), ini, dat));
    EXPECT_STREQ(ini, "");
    EXPECT_STREQ(dat, "");
}

struct VersionCase {
    uint32_t platform;
    uint32_t major;
    uint32_t minor;
    bool reverse;
};
// Platform 1 is the Windows 95 line, 2 the NT line.
static const VersionCase kVersions[] = {
    {2,  5,  0, false},
    {2,  5,  1,  true},
    {2,  5,  2,  true},
    {2,  6,  0, false},
    {2,  6,  1,  true},
    {2,  6,  2,  true},
    {2, 10,  0, false},
    {2,  4,  1, false},
    {1,  5,  1, false},
    {1,  4, 10, false},
};

TEST(ReverseTrayOrderFor, NtFrom51WithNonZeroMinor) {
    for (const VersionCase& c : kVersions) {
        EXPECT_EQ(ReverseTrayOrderFor(c.platform, c.major, c.minor), c.reverse)
            << c.platform << ' ' << c.major << '.' << c.minor;
    }
}

}  // namespace

// The files move to another folder under their own names; a trail byte 0x5C (表) is no separator.
TEST(RelocateFilePaths, KeepsTheFileNamesInTheNewFolder) {
    struct Case {
        const char* folder;
        const char* settings;
        bool moved;
    };
    const std::string tooLong(250, 'x');
    const Case cases[] = {
        {"C:\\Users\\a\\AppData\\Roaming\\Nocturo",
         "C:\\Users\\a\\AppData\\Roaming\\Nocturo\\nocturo.ini",  true                             },
        {                       "C:\\Users\\表\\",            "C:\\Users\\表\\nocturo.ini",  true},
        {                         "C:\\Users\\表",            "C:\\Users\\表\\nocturo.ini",  true},
        {                                       "", "C:\\Program Files\\月暦\\nocturo.ini", false},
        {                          tooLong.c_str(), "C:\\Program Files\\月暦\\nocturo.ini", false},
    };
    for (const Case& c : cases) {
        char ini[kFilePathSize] = "C:\\Program Files\\月暦\\nocturo.ini";
        char dat[kFilePathSize] = "C:\\Program Files\\月暦\\nocturo.dat";
        EXPECT_EQ(RelocateFilePaths(c.folder, ini, dat), c.moved) << c.folder;
        EXPECT_STREQ(ini, c.settings);
        EXPECT_EQ(std::string(dat).substr(std::string(dat).size() - 11), "nocturo.dat");
    }
    char folder[kFilePathSize];
    FolderOfPath("C:\\Program Files\\表\\nocturo.exe", folder);
    EXPECT_STREQ(folder, "C:\\Program Files\\表");
}

// WeekStart (0 or 1, default 0) and ShowEra (default on): anything but a plain choice is the
// default.
TEST(ParseChoiceSetting, TakesOnlyAChoiceOfTheRange) {
    static const struct {
        const char* text;
        int32_t fallback;
        int32_t value;
    } kCases[] = {
        {          "1", 0, 1},
        {        " 0 ", 1, 0},
        {           "", 0, 0},
        {           "", 1, 1},
        {          "2", 0, 0},
        {         "-1", 1, 1},
        {         "1x", 0, 0},
        {        "mon", 0, 0},
        { "0000000001", 0, 1},
        {"99999999999", 1, 1},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(ParseChoiceSetting(c.text, 2, c.fallback), c.value) << "'" << c.text << "'";
    }
}
