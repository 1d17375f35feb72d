#include "presentation/startup_entry.h"

#include <gtest/gtest.h>

namespace {

const char kProgram[] = "C:\\Program Files\\月暦\\nocturo.exe";

TEST(QuoteProgramPath, QuotesThePathOrRefusesWhatDoesNotFit) {
    char quoted[64];
    EXPECT_TRUE(QuoteProgramPath(kProgram, quoted, sizeof quoted));
    EXPECT_STREQ(quoted, "\"C:\\Program Files\\月暦\\nocturo.exe\"");
    char small[8];
    EXPECT_FALSE(QuoteProgramPath(kProgram, small, sizeof small));
    EXPECT_STREQ(small, "");
    EXPECT_FALSE(QuoteProgramPath("", quoted, sizeof quoted));
}

struct RunValueCase {
    const char* value;
    const char* target;
    bool namesProgram;
};

// Quoted and unquoted values, with arguments, other case and slashes, another program.
static const RunValueCase kRunValues[] = {
    {"\"C:\\Program Files\\月暦\\nocturo.exe\"", "C:\\Program Files\\月暦\\nocturo.exe",  true},
    {"\"c:/program files/月暦/NOCTURO.EXE\" -v",    "c:/program files/月暦/NOCTURO.EXE",  true},
    { "C:\\Program Files\\月暦\\nocturo.exe -v", "C:\\Program Files\\月暦\\nocturo.exe",  true},
    {                "  C:\\Tools\\nocturo.exe  ",                 "C:\\Tools\\nocturo.exe", false},
    {   "\"C:\\Program Files\\Other\\other.exe\"",    "C:\\Program Files\\Other\\other.exe", false},
    {                                "\"unclosed",                               "unclosed", false},
    {                                          "",                                       "", false},
};

TEST(RunValueTarget, FindsTheProgramAValueStarts) {
    for (const RunValueCase& c : kRunValues) {
        char target[128];
        RunValueTarget(c.value, target, sizeof target);
        EXPECT_STREQ(target, c.target) << c.value;
        EXPECT_EQ(RunValueNamesProgram(c.value, kProgram), c.namesProgram) << c.value;
    }
}

// The trail byte of a double-byte character is no letter to fold: ア (0x83 0x41) and チ
// (0x83 0x60) differ, though 0x41 and 0x61 are "A" and "a".
TEST(SameWindowsPath, FoldsLettersButNotTrailBytes) {
    EXPECT_TRUE(SameWindowsPath("C:\\A\\b.EXE", "c:/a/B.exe"));
    EXPECT_FALSE(SameWindowsPath("C:\\ア", "C:\\\x83\x61"));
    EXPECT_FALSE(SameWindowsPath("C:\\a", "C:\\ab"));
}

struct RepointCase {
    const char* name;
    const char* value;
    bool targetExists;
    bool repoint;
};

static const RepointCase kRepoints[] = {
    {        "MovedFolder",                   "\"D:\\Old\\nocturo.exe\"", false,  true},
    {"StillThereElsewhere",                   "\"D:\\Old\\nocturo.exe\"",  true, false},
    {        "AlreadyThis", "\"C:\\Program Files\\月暦\\nocturo.exe\"", false, false},
    {     "AnotherProgram",                     "\"D:\\Old\\other.exe\"", false, false},
    {         "EmptyValue",                                           "", false, false},
};

TEST(RunValueNeedsRepointing, OnlyAGoneNocturoElsewhere) {
    for (const RepointCase& c : kRepoints) {
        EXPECT_EQ(RunValueNeedsRepointing(c.value, kProgram, c.targetExists), c.repoint) << c.name;
    }
}

}  // namespace
