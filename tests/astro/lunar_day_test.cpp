#include "astro/lunar_day.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "astro/principal_phase.h"
#include "tests/astro/civil_time.h"

namespace {

LunarDay LunarDayAt(double jd) {
    LunarDay lunar;
    ComputeLunarDay(&lunar, jd);
    return lunar;
}

// The lunar day of a local date in Japan, read at three instants of that day.
LunarDay JapaneseLunarDay(int year, int month, int day) {
    const LunarDay morning = LunarDayAt(LocalJd(kJapanBias, year, month, day, 0, 0));
    const LunarDay noon = LunarDayAt(LocalJd(kJapanBias, year, month, day, 12, 0));
    const LunarDay night = LunarDayAt(LocalJd(kJapanBias, year, month, day, 23, 59));
    EXPECT_EQ(morning.day, noon.day);
    EXPECT_EQ(night.day, noon.day);
    EXPECT_EQ(morning.month, noon.month);
    EXPECT_EQ(night.month, noon.month);
    return noon;
}

TEST(ComputeLunarDay, NewYearsDay2000) {
    ScopedBias bias(kJapanBias);
    const LunarDay lunar = JapaneseLunarDay(2000, 1, 1);
    EXPECT_EQ(lunar.rokuyo, 0);
    EXPECT_EQ(lunar.stem, 4);
    EXPECT_EQ(lunar.branch, 6);
    EXPECT_EQ(lunar.tide, 3);
}

// Lunar dates of local days in Japan: the ends of a month (which begins at local midnight, 15:00
// UTC) and the leap second month of 2023.
TEST(ComputeLunarDay, KnownDatesInJapan) {
    static const struct {
        int year, month, day;
        int lunarMonth, lunarDay, leap;
    } kDates[] = {
        {2000,  1,  1, 11, 25, 0},
        {2005,  1,  1, 11, 21, 0},
        {2004, 12, 11, 10, 30, 0},
        {2004, 12, 12, 11,  1, 0},
        {2005,  2,  8, 12, 30, 0},
        {2005,  2,  9,  1,  1, 0},
        {2023,  3, 21,  2, 30, 0},
        {2023,  3, 22,  2,  1, 1},
    };
    ScopedBias bias(kJapanBias);
    for (const auto& c : kDates) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
        const LunarDay lunar = JapaneseLunarDay(c.year, c.month, c.day);
        EXPECT_EQ(lunar.month, c.lunarMonth);
        EXPECT_EQ(lunar.day, c.lunarDay);
        EXPECT_EQ(lunar.leap, c.leap);
    }
}

// New-Moon days around the fixed rows, with the month the calendar gives and the month the
// principal-term rule alone would give.
struct MonthStart {
    const char* name;
    int year, month, day;
    int lunarMonth, leap;
    int ruleMonth, ruleLeap;
};

const MonthStart kMonthStarts[] = {
    {     "Month7Of2033", 2033,  7, 26,  7, 0,  7, 0},
    {     "Month8Of2033", 2033,  8, 25,  8, 0,  7, 1},
    {     "Month9Of2033", 2033,  9, 23,  9, 0,  8, 0},
    {    "Month10Of2033", 2033, 10, 23, 10, 0,  9, 0},
    {    "Month11Of2033", 2033, 11, 22, 11, 0, 10, 0},
    {"LeapMonth11Of2033", 2033, 12, 22, 11, 1, 11, 1},
    {    "Month12Of2033", 2034,  1, 20, 12, 0, 12, 0},
    {     "Month1Of2034", 2034,  2, 19,  1, 0,  1, 1},
    {     "Month2Of2034", 2034,  3, 20,  2, 0,  2, 0},
    {     "Month9Of1965", 1965,  9, 25,  9, 0,  8, 1},
    {    "Month10Of1965", 1965, 10, 24, 10, 0,  9, 0},
    {    "Month12Of1984", 1985,  1, 21, 12, 0,  1, 0},
    {     "Month1Of1985", 1985,  2, 20,  1, 0,  1, 1},
    {    "Month12Of2052", 2053,  1, 20, 12, 0,  1, 0},
    {     "Month1Of2053", 2053,  2, 19,  1, 0,  1, 1},
};

class MonthStarts : public testing::TestWithParam<MonthStart> {};

TEST_P(MonthStarts, FixedRowsOverrideTheRule) {
    ScopedBias bias(kJapanBias);
    const MonthStart& c = GetParam();
    const LunarDay lunar = JapaneseLunarDay(c.year, c.month, c.day);
    EXPECT_EQ(lunar.day, 1);
    EXPECT_EQ(lunar.month, c.lunarMonth);
    EXPECT_EQ(lunar.leap, c.leap);
    uint16_t ruleMonth = 0;
    int32_t ruleLeap = -1;
    const double localMidnight = UtcJd(c.year, c.month, c.day);
    LunarMonthFromPrincipalTerms(localMidnight, kJapanBias, &ruleMonth, &ruleLeap);
    EXPECT_EQ(ruleMonth, c.ruleMonth);
    EXPECT_EQ(ruleLeap, c.ruleLeap);
}

INSTANTIATE_TEST_SUITE_P(ComputeLunarDay, MonthStarts, testing::ValuesIn(kMonthStarts),
                         [](const testing::TestParamInfo<MonthStart>& info) {
                             return std::string(info.param.name);
                         });

TEST(ComputeLunarDay, EveryFixedRowIsANewMoonDayInJapan) {
    ScopedBias bias(kJapanBias);
    for (int i = 0; i < LunarMonthOverrideCount; ++i) {
        const LunarMonthOverride& row = LunarMonthOverrides[i];
        const LunarDay lunar = LunarDayAt(row.key + 0.5 + 0.5 + kJapanBias * kDaysPerMinute);
        EXPECT_EQ(lunar.day, 1) << row.key;
        EXPECT_EQ(lunar.month, row.month) << row.key;
        EXPECT_EQ(lunar.leap, row.leap) << row.key;
    }
}

TEST(TideClassByLunarDay, EveryLunarDay) {
    // 大潮 0, 中潮 1, 小潮 2, 長潮 3, 若潮 4, for lunar days 1 to 30.
    const int32_t kExpected[30] = {0, 0, 1, 1, 1, 1, 2, 2, 2, 3, 4, 1, 1, 0, 0,
                                   0, 0, 1, 1, 1, 1, 2, 2, 2, 3, 4, 1, 1, 0, 0};
    ScopedBias bias(kJapanBias);
    // 2005-01-10 begins a thirty-day month.
    ASSERT_EQ(JapaneseLunarDay(2005, 2, 8).day, 30);
    for (int d = 0; d < 30; ++d) {
        const LunarDay lunar = LunarDayAt(LocalJd(kJapanBias, 2005, 1, 10 + d, 12));
        ASSERT_EQ(lunar.day, d + 1);
        EXPECT_EQ(lunar.tide, kExpected[d]) << "lunar day " << d + 1;
    }
}

TEST(ComputeLunarDay, UnusableInstantsGiveAnEmptyDay) {
    const double kUnusable[] = {std::numeric_limits<double>::quiet_NaN(),
                                std::numeric_limits<double>::infinity(), -5, 2e8};
    for (double jd : kUnusable) {
        const LunarDay lunar = LunarDayAt(jd);
        EXPECT_EQ(lunar.month, 0);
        EXPECT_EQ(lunar.day, 0);
        EXPECT_EQ(lunar.tide, 0);
        EXPECT_EQ(lunar.stem, 0);
    }
}

// Walks every local day from `first` to `last` (UTC dates standing for local ones) in the zone
// `bias` and checks the sequence of lunar dates.
void CheckEveryDay(int bias, int firstYear, int lastYear) {
    ScopedBias scoped(bias);
    const double first = LocalJd(bias, firstYear, 1, 1, 12);
    const double last = LocalJd(bias, lastYear, 12, 31, 12);
    LunarDay previous = LunarDayAt(first - 1);
    int months = 0;
    for (double jd = first; jd <= last; jd += 1) {
        const LunarDay lunar = LunarDayAt(jd);
        ASSERT_GE(lunar.day, 1) << jd;
        ASSERT_LE(lunar.day, 30) << jd;
        ASSERT_GE(lunar.month, 1) << jd;
        ASSERT_LE(lunar.month, 12) << jd;
        ASSERT_EQ(lunar.stem, (previous.stem + 1) % 10) << jd;
        ASSERT_EQ(lunar.branch, (previous.branch + 1) % 12) << jd;
        ASSERT_EQ(lunar.rokuyo, (lunar.month + lunar.day) % 6) << jd;
        if (lunar.day == 1) {
            ASSERT_GE(previous.day, 29) << jd;
            ASSERT_TRUE(lunar.month != previous.month || lunar.leap != previous.leap) << jd;
            // The new Moon that begins the month falls within this very day.
            double angle = -1;
            ASSERT_STREQ(PrincipalPhaseOfDay(jd, &angle), PhaseNames[0]) << jd;
            ++months;
        } else {
            ASSERT_EQ(lunar.day, previous.day + 1) << jd;
            ASSERT_EQ(lunar.month, previous.month) << jd;
            ASSERT_EQ(lunar.leap, previous.leap) << jd;
        }
        previous = lunar;
    }
    // 29.53 days a lunation.
    EXPECT_NEAR(months, (last - first) / 29.530589, 1.5);
}

TEST(ComputeLunarDay, EveryDayFrom1900To2100InJapan) {
    CheckEveryDay(kJapanBias, 1900, 2100);
}

TEST(ComputeLunarDay, EveryDayOf2000To2009FiveHoursWest) {
    CheckEveryDay(300, 2000, 2009);
}

// The new Moon a lunar day reuses from the days before must give the day a fresh search gives.
std::string Describe(const LunarDay& lunar) {
    return std::to_string(lunar.month) + (lunar.leap ? "L/" : "/") + std::to_string(lunar.day) +
           " rokuyo " + std::to_string(lunar.rokuyo) + " stem " + std::to_string(lunar.stem) +
           " branch " + std::to_string(lunar.branch) + " tide " + std::to_string(lunar.tide);
}

LunarDay FreshLunarDayAt(double jd) {
    ResetAstroCaches();
    return LunarDayAt(jd);
}

// Noon of `count` consecutive local days in the zone `bias`, computed in a row as a month view
// does, against each day computed with nothing remembered.
void CheckRunAgainstFreshDays(int bias, double firstNoon, int count) {
    ScopedBias scoped(bias);
    ResetAstroCaches();
    std::vector<LunarDay> run;
    run.reserve(count);
    for (int d = 0; d < count; ++d) {
        run.push_back(LunarDayAt(firstNoon + d));
    }
    for (int d = 0; d < count; ++d) {
        ASSERT_EQ(Describe(run[d]), Describe(FreshLunarDayAt(firstNoon + d)))
            << "bias " << bias << " jd " << firstNoon + d;
    }
}

TEST(ComputeLunarDayReuse, EveryDayFrom1900To2100InJapanMatchesFreshSearch) {
    const double first = LocalJd(kJapanBias, 1900, 1, 1, 12);
    const double last = LocalJd(kJapanBias, 2100, 12, 31, 12);
    CheckRunAgainstFreshDays(kJapanBias, first, static_cast<int>(last - first) + 1);
}

// Runs of eleven days, each run computed for four zones in turn, so that every run starts with
// the new Moon of another zone remembered.
TEST(ComputeLunarDayReuse, InterleavedZonesMatchFreshSearch) {
    const int32_t kZones[] = {kJapanBias, 0, 300, -600};
    const double first = UtcJd(2030, 1, 1, 12);
    const double last = UtcJd(2036, 12, 31, 12);
    std::vector<LunarDay> run[4];
    ResetAstroCaches();
    for (double block = first; block <= last; block += 11) {
        for (int z = 0; z < 4; ++z) {
            ScopedBias scoped(kZones[z]);
            for (int d = 0; d < 11; ++d) {
                run[z].push_back(LunarDayAt(block + d));
            }
        }
    }
    for (int z = 0; z < 4; ++z) {
        ScopedBias scoped(kZones[z]);
        for (size_t i = 0; i < run[z].size(); ++i) {
            ASSERT_EQ(Describe(run[z][i]), Describe(FreshLunarDayAt(first + i)))
                << "bias " << kZones[z] << " jd " << first + i;
        }
    }
}

// Days visited 17 apart, wrapping back over a stretch of 400: jumps forward within and beyond a
// month of the remembered new Moon, and back before it.
TEST(ComputeLunarDayReuse, ScatteredDaysMatchFreshSearch) {
    ScopedBias scoped(kJapanBias);
    const double first = LocalJd(kJapanBias, 2023, 1, 1, 12);
    ResetAstroCaches();
    std::vector<LunarDay> run;
    for (int i = 0; i < 1200; ++i) {
        run.push_back(LunarDayAt(first + (i * 17) % 400));
    }
    for (int i = 0; i < 1200; ++i) {
        const double jd = first + (i * 17) % 400;
        ASSERT_EQ(Describe(run[i]), Describe(FreshLunarDayAt(jd))) << "jd " << jd;
    }
}

// New Moons of 1900-2100 that searches from different day ends place on either side of a whole
// minute (UTC), and a zone whose local midnight falls on that minute: the value a search finds
// decides the day of the month, so such a new Moon must not be reused.
struct NewMoonAtMidnight {
    const char* name;
    int year;
    int month;
    int day;  // UTC date of the new Moon
    int32_t bias;
};

const NewMoonAtMidnight kNewMoonsAtMidnight[] = {
    {"Jan1919", 1919,  1,  2,  504},
    {"Jan1942", 1942,  1, 16, -149},
    {"Sep1966", 1966,  9, 14, -287},
    {"Jul2026", 2026,  7, 14,  583},
    {"Jan2061", 2061,  1, 21, -524},
    {"Dec2065", 2065, 12, 27,  507},
};

class NewMoonsAtMidnight : public testing::TestWithParam<NewMoonAtMidnight> {};

TEST_P(NewMoonsAtMidnight, MatchFreshSearch) {
    const NewMoonAtMidnight& c = GetParam();
    CheckRunAgainstFreshDays(c.bias, LocalJd(c.bias, c.year, c.month, c.day, 12) - 35, 70);
}

INSTANTIATE_TEST_SUITE_P(ComputeLunarDayReuse, NewMoonsAtMidnight,
                         testing::ValuesIn(kNewMoonsAtMidnight),
                         [](const testing::TestParamInfo<NewMoonAtMidnight>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
