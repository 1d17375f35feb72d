#include "calendar/almanac_notes.h"

#include <gtest/gtest.h>

#include <string>

#include "astro/civil_dates.h"
#include "astro/time_zone.h"

namespace {

// Dates from published Japanese almanacs for 2023-2025, in Japan's zone.
struct PublishedNote {
    const char* name;
    uint16_t year, month, day;
    uint32_t flags;  // these bits must be set
};

const PublishedNote kPublished[] = {
    {      "Tensha20240101", 2024,  1,  1,       NoteTenshanichi | NoteKinoeNe},
    {      "Tensha20240315", 2024,  3, 15, NoteTenshanichi | NoteIchiryuManbai},
    {      "Tensha20240530", 2024,  5, 30,                     NoteTenshanichi},
    {      "Tensha20240729", 2024,  7, 29,                     NoteTenshanichi},
    {      "Tensha20240812", 2024,  8, 12,                     NoteTenshanichi},
    {      "Tensha20241011", 2024, 10, 11,                     NoteTenshanichi},
    {      "Tensha20241226", 2024, 12, 26,       NoteTenshanichi | NoteKinoeNe},
    {      "Jugoya20230929", 2023,  9, 29,                          NoteJugoya},
    {      "Jugoya20240917", 2024,  9, 17,                          NoteJugoya},
    {     "Jusanya20241015", 2024, 10, 15,                         NoteJusanya},
 // 2014 had a leap 9th month: its 13th is the "later" 十三夜.
    {"NochiJusanya20141105", 2014, 11,  5,                  NoteNochiNoJusanya},
};

class Published : public testing::TestWithParam<PublishedNote> {};

TEST_P(Published, NotesIncludeTheAlmanacsDay) {
    SetTimeZoneBiasOverride(-540);
    const PublishedNote& p = GetParam();
    const DayNotes notes = ComputeDayNotes(p.year, p.month, p.day);
    ClearTimeZoneBiasOverride();
    EXPECT_EQ(notes.flags & p.flags, p.flags) << std::hex << notes.flags;
}

INSTANTIATE_TEST_SUITE_P(AlmanacNotes, Published, testing::ValuesIn(kPublished),
                         [](const testing::TestParamInfo<PublishedNote>& info) {
                             return std::string(info.param.name);
                         });

// No other day of 2024 is a 天赦日: the season rule must not let a 戊寅 of summer through.
TEST(AlmanacNotes, TenshanichiOf2024AreExactlySeven) {
    SetTimeZoneBiasOverride(-540);
    std::string days;
    for (CivilDate d = {2024, 1, 1}; d.year == 2024; d = AddDays(d, 1)) {
        const DayNotes notes =
            ComputeDayNotes(2024, static_cast<uint16_t>(d.month), static_cast<uint16_t>(d.day));
        if (notes.flags & NoteTenshanichi) {
            days += std::to_string(d.month) + "/" + std::to_string(d.day) + " ";
        }
    }
    ClearTimeZoneBiasOverride();
    EXPECT_EQ(days, "1/1 3/15 5/30 7/29 8/12 10/11 12/26 ");
}

LunarDay Lunar(uint16_t month, uint16_t day, int32_t leap, int32_t stem, int32_t branch) {
    LunarDay lunar = {};
    lunar.month = month;
    lunar.day = day;
    lunar.leap = leap;
    lunar.stem = stem;
    lunar.branch = branch;
    return lunar;
}

// Rules on a chosen lunisolar day, at dates whose 節月 is known: 2024-02-03 is the last day of
// 節月 12 and 2024-02-04 (立春, 17:27 in Japan) the first of 節月 1.
struct RuleCase {
    const char* name;
    uint16_t month, day;  // of 2024
    LunarDay lunar;
    uint32_t flags;  // exactly
};

const RuleCase kRules[] = {
    {"BranchUshiBeforeRisshun", 2,  3, Lunar(12, 24, 0, 1,  1),                             0},
    {    "BranchUshiOnRisshun", 2,  4, Lunar(12, 25, 0, 1,  1),             NoteIchiryuManbai},
    {  "BranchNeBeforeRisshun", 2,  3, Lunar(12, 24, 0, 2,  0),             NoteIchiryuManbai},
    {    "SanrinboIOfMonthOne", 2, 10,  Lunar(1,  1, 0, 1, 11),                  NoteSanrinbo},
    {           "TsuchinotoMi", 2, 10,  Lunar(1,  2, 0, 5,  5), NoteMiNoHi | NoteTsuchinotoMi},
    {       "FujojuMonthSeven", 8, 10,  Lunar(7,  3, 0, 0,  1),                    NoteFujoju},
    {"FujojuLeapUsesBaseMonth", 8, 10,  Lunar(1, 27, 1, 0,  1),                    NoteFujoju},
    {        "FujojuDayThirty", 8, 10, Lunar(12, 30, 0, 0,  1),                    NoteFujoju},
    {          "NochiNoJugoya", 8, 10,  Lunar(8, 15, 1, 0,  1),             NoteNochiNoJugoya},
};

class Rules : public testing::TestWithParam<RuleCase> {};

TEST_P(Rules, GiveExactlyTheseNotes) {
    SetTimeZoneBiasOverride(-540);
    const RuleCase& r = GetParam();
    const DayNotes notes = DayNotesOf(2024, r.month, r.day, r.lunar);
    ClearTimeZoneBiasOverride();
    EXPECT_EQ(notes.flags, r.flags) << std::hex << notes.flags;
}

INSTANTIATE_TEST_SUITE_P(AlmanacNotes, Rules, testing::ValuesIn(kRules),
                         [](const testing::TestParamInfo<RuleCase>& info) {
                             return std::string(info.param.name);
                         });

int64_t Days(int32_t year, int32_t month, int32_t day) {
    return DaysFromCivil({year, month, day});
}

// Published 2024 starts: 東風解凍 on 立春, 桜始開 on 03-25; 鶏始乳 of 2025 on 01-30.
TEST(AlmanacNotes, KouStartsOnPublishedDates) {
    SetTimeZoneBiasOverride(-540);
    int64_t days = 0;
    EXPECT_TRUE(KouStartDay(2024, 0, &days));
    EXPECT_EQ(days, Days(2024, 2, 4));
    EXPECT_TRUE(KouStartDay(2024, 10, &days));
    EXPECT_EQ(days, Days(2024, 3, 25));
    EXPECT_TRUE(KouStartDay(2025, 71, &days));
    EXPECT_EQ(days, Days(2025, 1, 30));
    EXPECT_EQ(ComputeDayNotes(2024, 3, 24).kou, 9);
    EXPECT_EQ(ComputeDayNotes(2024, 3, 25).kou, 10);
    EXPECT_EQ(ComputeDayNotes(2024, 2, 3).solarMonth, 12);
    EXPECT_EQ(ComputeDayNotes(2024, 2, 4).solarMonth, 1);
    ClearTimeZoneBiasOverride();
}

// Across a century, each day's 候 is the day before's or the next one (71 wraps to 0), and every
// 候 lasts four to six days: no season is skipped or doubled at a new year, where the Sun stands
// near 280° and a civil year may hold that longitude twice or not at all.
TEST(AlmanacNotes, KouFollowEachOtherEveryDayOfACentury) {
    SetTimeZoneBiasOverride(-540);
    const LunarDay none = {};
    int32_t previous = DayNotesOf(1949, 12, 31, none).kou;
    int run = 0;
    int shortest = 99;
    int longest = 0;
    for (CivilDate d = {1950, 1, 1}; d.year <= 2050; d = AddDays(d, 1)) {
        const int32_t kou =
            DayNotesOf(static_cast<uint16_t>(d.year), static_cast<uint16_t>(d.month),
                       static_cast<uint16_t>(d.day), none)
                .kou;
        ++run;
        if (kou != previous) {
            ASSERT_EQ(kou, (previous + 1) % kKouCount) << d.year << "-" << d.month << "-" << d.day;
            if (previous >= 0 && d.year > 1950) {
                shortest = run < shortest ? run : shortest;
                longest = run > longest ? run : longest;
            }
            run = 0;
            previous = kou;
        }
    }
    ClearTimeZoneBiasOverride();
    EXPECT_GE(shortest, 4);
    EXPECT_LE(longest, 6);
}

// Names stay whole: three are outside code page 932 and are kept as UTF-8. (The expected text
// stands outside the assertion, whose own text of its arguments is converted to code page 932.)
TEST(AlmanacNotes, KouNamesAreUtf8) {
    const std::string names = std::string(KouName(1)) + KouName(62) + KouName(68) + KouReading(71);
    const std::string expected = u8"黄鶯睍睆鱖魚群雉始雊にわとりはじめてとやにつく";
    EXPECT_EQ(names, expected);
    EXPECT_STREQ(KouName(72), "");
    EXPECT_STREQ(DayNoteName(12), "");
}

}  // namespace
