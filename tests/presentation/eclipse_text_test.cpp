#include "presentation/eclipse_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A local midnight of 2018 in Japan on the UT scale; the instants below are seconds after it.
constexpr double kMidnight = 2458150.125;

struct Reading {
    const char* name;
    double second;
    int day;  // of February 2018
    const char* clock;
};

// The last half second of a date reads as the next date's midnight, never 24:00:00, so that an
// eclipse's contact after midnight shows a time of its own date.
static const Reading kReadings[] = {
    {       "Midnight",     0.00, 1, "00:00:00"},
    {"UnderHalfSecond",     0.49, 1, "00:00:00"},
    { "OverHalfSecond",     0.51, 1, "00:00:01"},
    {"LastWholeSecond", 86399.49, 1, "23:59:59"},
    { "LastHalfSecond", 86399.51, 2, "00:00:00"},
};

class EclipseClock : public testing::TestWithParam<Reading> {};

TEST_P(EclipseClock, RoundsToTheNearestSecondAcrossMidnight) {
    const Reading& r = GetParam();
    const double jd = kMidnight + r.second / 86400;
    char clock[16];
    EXPECT_STREQ(FormatEclipseClock(clock, sizeof clock, jd, -540), r.clock);
    SYSTEMTIME local;
    LocalSecondOf(jd, -540, &local);
    EXPECT_EQ(local.wDay, r.day);
    EXPECT_EQ(local.wMonth, 2);
}

INSTANTIATE_TEST_SUITE_P(Readings, EclipseClock, testing::ValuesIn(kReadings),
                         [](const testing::TestParamInfo<Reading>& info) {
                             return std::string(info.param.name);
                         });

// A partial lunar eclipse names the contacts it has and no other; a solar eclipse the place does
// not see says so and nothing more.
TEST(EclipseDetails, OnlyTheContactsThatOccur) {
    EclipseAtPlace partial = {};
    partial.moon = true;
    partial.kind = PartialLunarEclipse;
    partial.magnitude = 0.5;
    partial.greatest = kMidnight + 0.5;
    partial.lunar.contacts[PenumbralBegin] = kMidnight + 0.4;
    partial.lunar.contacts[PartialBegin] = kMidnight + 0.45;
    partial.lunar.contacts[PartialEnd] = kMidnight + 0.55;
    partial.lunar.contacts[PenumbralEnd] = kMidnight + 0.6;
    partial.visibility = EclipseSetting;
    EXPECT_EQ(ComposeEclipseDetails(partial, -540, " "),
              "半影食の始め 09:36:00 部分食の始め 10:48:00 食の最大 12:00:00 部分食の終わり "
              "13:12:00 半影食の終わり 14:24:00 食分 0.500 月入帯食");
    EclipseAtPlace unseen = {};
    unseen.kind = TotalSolarEclipse;
    unseen.globalGreatest = kMidnight;
    EXPECT_EQ(ComposeEclipseDetails(unseen, -540, " "), "見えない");
    EXPECT_STREQ(EclipseKindName(false, 5), "");
    EXPECT_STREQ(EclipseVisibilityName(true, static_cast<EclipseVisibility>(4)), "");
}

// The listing's range may end at the last instant of 2200 exactly (JD 2524958.5), and stays
// within the years kept.
TEST(EclipsesAtPlace, RangeEndingWithTheLastYear) {
    EXPECT_FALSE(EclipsesAtPlace(2524958.5 - 200, 2524958.5, {35.6581, 139.7414}).empty());
}

}  // namespace
