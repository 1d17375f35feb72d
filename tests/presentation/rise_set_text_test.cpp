#include "presentation/rise_set_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A local midnight of 2024 in Japan on the UT scale; the instants below are seconds after it.
constexpr double kDayStart = 2460310.125;

DayEvents OneEvent(double second) {
    DayEvents e = {};
    e.dayStart = kDayStart;
    e.count[Sunrise] = 1;
    e.jd[Sunrise][0] = kDayStart + second / 86400;
    return e;
}

// Boundaries of the rounding, a hundredth of a second on either side (a Julian Date near 2.46e6
// resolves about 40 microseconds).
struct Rounding {
    const char* name;
    double second;
    const char* seconds;
    const char* minutes;
};

const Rounding kRoundings[] = {
    {              "Midnight",     0.00, "00:00:00", "00:00"},
    {   "JustUnderHalfSecond",     0.49, "00:00:00", "00:00"},
    {    "JustOverHalfSecond",     0.51, "00:00:01", "00:00"},
    {   "JustUnderHalfMinute",    29.99, "00:00:30", "00:00"},
    {    "JustOverHalfMinute",    30.01, "00:00:30", "00:01"},
    {"SecondsRoundMinutesNot", 45269.60, "12:34:30", "12:34"},
    {       "LastWholeSecond", 86399.49, "23:59:59", "24:00"},
    { "LastHalfSecondReads24", 86399.60, "24:00:00", "24:00"},
    {      "LastMinuteBefore", 86369.99, "23:59:30", "23:59"},
};

class Roundings : public testing::TestWithParam<Rounding> {};

TEST_P(Roundings, NearestSecondAndMinute) {
    const Rounding& r = GetParam();
    const DayEvents e = OneEvent(r.second);
    char text[32];
    EXPECT_STREQ(FormatEventSeconds(text, sizeof text, e, Sunrise), r.seconds);
    EXPECT_STREQ(FormatEventMinutes(text, sizeof text, e, Sunrise), r.minutes);
    EXPECT_EQ(RoundedSecondOfDay(e, e.jd[Sunrise][0]) < 86400, std::strcmp(r.seconds, "24") < 0);
}

INSTANTIATE_TEST_SUITE_P(RiseSetText, Roundings, testing::ValuesIn(kRoundings),
                         [](const testing::TestParamInfo<Rounding>& info) {
                             return std::string(info.param.name);
                         });

TEST(FormatEventSeconds, TwoEventsJoinedNoneAsDash) {
    DayEvents e = {};
    e.dayStart = kDayStart;
    e.count[Moonrise] = 2;
    e.jd[Moonrise][0] = kDayStart + 452.57 / 86400;
    e.jd[Moonrise][1] = kDayStart + 86361.05 / 86400;
    char text[18];
    EXPECT_STREQ(FormatEventSeconds(text, sizeof text, e, Moonrise), "00:07:33,23:59:21");
    EXPECT_STREQ(FormatEventMinutes(text, sizeof text, e, Moonrise), "00:08,23:59");
    EXPECT_STREQ(FormatEventSeconds(text, sizeof text, e, Moonset), "-");
    // A kind outside the five reads as none.
    EXPECT_STREQ(FormatEventSeconds(text, sizeof text, e, DayEventKindCount), "-");
}

// The windows' mark for none is two horizontal bars, 0x815C each in Shift_JIS: a trail byte that
// is a backslash in ASCII and must come out intact.
TEST(FormatEventMinutes, NoneIsTwoBarsInShiftJis) {
    const DayEvents e = {};
    char text[12];
    FormatEventMinutes(text, sizeof text, e, Moonrise);
    EXPECT_EQ(std::strcmp(text, "\x81\x5C\x81\x5C"), 0);
}

// The text is cut to the room given, terminator included; no room leaves dest untouched.
TEST(FormatEventSeconds, CutToTheRoomGiven) {
    const DayEvents e = OneEvent(3723.0);
    char text[8] = "xxxxxxx";
    EXPECT_STREQ(FormatEventSeconds(text, 5, e, Sunrise), "01:0");
    FormatEventSeconds(text, 0, e, Sunrise);
    EXPECT_STREQ(text, "01:0");
}

}  // namespace

namespace {

// A date without moonrise: the Moon window's line shows the bars in its place.
TEST(ComposeRiseSetLines, NamesEveryEventAndBarsTheMissingOne) {
    DayEvents e = OneEvent(6 * 3600 + 50 * 60 + 26);
    e.count[MoonTransit] = 1;
    e.jd[MoonTransit][0] = kDayStart + (41 * 60) / 86400.0;
    char moon[64];
    char sun[64];
    ComposeRiseSetLines(e, moon, sun, sizeof moon);
    EXPECT_STREQ(moon, "月の出 ――  南中 00:41  月の入 ――");
    EXPECT_STREQ(sun, "日の出 06:50  日の入 ――");
    char heading[24];
    ComposeRisePlaceLine(heading, sizeof heading, "鹿児島県 鹿児島市");
    EXPECT_STREQ(heading, "今日の月と太陽（鹿児島");
}

}  // namespace
