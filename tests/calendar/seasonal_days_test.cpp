#include "calendar/seasonal_days.h"

#include <gtest/gtest.h>

#include <string>

#include "astro/lunar_day.h"
#include "astro/searches.h"
#include "astro/time_scales.h"
#include "astro/time_zone.h"
#include "calendar/solar_terms.h"

namespace {

class SeasonalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTimeZoneBiasOverride(-540);
    }
};

struct Names {
    bool found;
    std::string first;
    std::string second;
};

Names Lookup(uint16_t year, uint16_t month, uint16_t day) {
    const char* name1 = nullptr;
    const char* name2 = nullptr;
    const bool found = LookupSeasonalDays(year, month, day, &name1, &name2);
    return {found, name1 ? name1 : "(null)", name2 ? name2 : "(null)"};
}

// Local date of a Julian date on the local scale.
SYSTEMTIME Date(double localJd) {
    SYSTEMTIME st;
    SystemTimeFromJulianDate(localJd, &st);
    return st;
}

double LocalInstant(uint16_t year, double longitude) {
    return JulianDateFromCenturies(FindSolarLongitudeInstant(year, longitude)) -
           TimeZoneBias() * kDaysPerMinute;
}

TEST_F(SeasonalTest, KnownDaysOf2005) {
    EXPECT_EQ(Lookup(2005, 2, 3).second, "節分");
    EXPECT_EQ(Lookup(2005, 5, 2).second, "八十八夜");
    EXPECT_EQ(Lookup(2005, 9, 1).first, "二百十日");
    EXPECT_EQ(Lookup(2005, 9, 11).first, "二百二十日");
    EXPECT_EQ(Lookup(2005, 3, 17).first, "春彼岸");
    EXPECT_EQ(Lookup(2005, 3, 16).found, false);
    EXPECT_EQ(Lookup(2005, 9, 20).first, "秋彼岸");
    EXPECT_EQ(Lookup(2005, 9, 26).first, "秋彼岸");
    EXPECT_EQ(Lookup(2005, 9, 27).found, false);
    const Names none = Lookup(2005, 6, 1);
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.first, "");
    EXPECT_EQ(none.second, "");
}

// 立春 2021 fell at 23:58 on 3 February, so 節分 and the end of 冬土用 were on the 2nd, and the
// days counted from 立春 follow it.
TEST_F(SeasonalTest, DaysOf2021FollowTheLateEveningRisshun) {
    EXPECT_EQ(Lookup(2021, 2, 2).second, "節分");
    EXPECT_EQ(Lookup(2021, 2, 3).found, false);
    EXPECT_EQ(Lookup(2021, 5, 1).second, "八十八夜");
    EXPECT_EQ(Lookup(2021, 8, 31).first, "二百十日");
    EXPECT_EQ(Lookup(2021, 9, 10).first, "二百二十日");
}

TEST_F(SeasonalTest, SetsubunIsTheLastDayOfWinterDoyo) {
    for (uint16_t year = 1900; year <= 2100; ++year) {
        const SYSTEMTIME risshun = Date(LocalInstant(year, 315));
        const SYSTEMTIME setsubun = Date(LocalInstant(year, 315) - 1);
        const Names n = Lookup(year, setsubun.wMonth, setsubun.wDay);
        EXPECT_EQ(n.first, "冬土用") << year;
        EXPECT_EQ(n.second, "節分") << year;
        EXPECT_FALSE(Lookup(year, risshun.wMonth, risshun.wDay).found) << year;
    }
}

TEST_F(SeasonalTest, HachijuhachiyaLiesInSpringDoyo) {
    for (uint16_t year = 1900; year <= 2100; ++year) {
        const SYSTEMTIME d = Date(LocalInstant(year, 315) + 87);
        const Names n = Lookup(year, d.wMonth, d.wDay);
        EXPECT_EQ(n.first, "春土用") << year;
        EXPECT_EQ(n.second, "八十八夜") << year;
    }
}

TEST_F(SeasonalTest, DoyoRunsFromItsLongitudeToTheDayBeforeTheSeasonsStart) {
    struct Period {
        double start;
        double end;  // the 立 term that ends it
        const char* name;
    };
    static const Period kPeriods[] = {
        { 27.0,  45.0, "春土用"},
        {117.0, 135.0, "夏土用"},
        {207.0, 225.0, "秋土用"},
        {297.0, 315.0, "冬土用"},
    };
    for (uint16_t year = 1900; year <= 2100; ++year) {
        for (const Period& p : kPeriods) {
            const double first = LocalInstant(year, p.start);
            const SYSTEMTIME before = Date(first - 1);
            EXPECT_NE(Lookup(year, before.wMonth, before.wDay).first, p.name) << year;
            const SYSTEMTIME end = Date(LocalInstant(year, p.end));
            int days = 0;
            for (double d = first;; d += 1) {
                const SYSTEMTIME st = Date(d);
                if (st.wMonth == end.wMonth && st.wDay == end.wDay) {
                    break;
                }
                ASSERT_LT(days, 25) << year << " " << p.name;
                EXPECT_EQ(Lookup(year, st.wMonth, st.wDay).first, p.name)
                    << year << "-" << st.wMonth << "-" << st.wDay;
                ++days;
            }
            EXPECT_GE(days, 17) << year << " " << p.name;
            EXPECT_LE(days, 20) << year << " " << p.name;
            const Names atEnd = Lookup(year, end.wMonth, end.wDay);
            EXPECT_NE(atEnd.first, p.name) << year;
            EXPECT_NE(atEnd.second, p.name) << year;
        }
    }
}

TEST_F(SeasonalTest, HiganWeeksSurroundTheEquinoxes) {
    for (uint16_t year = 1900; year <= 2100; ++year) {
        for (double longitude : {0.0, 180.0}) {
            const char* name = longitude == 0.0 ? "春彼岸" : "秋彼岸";
            const double equinox = LocalInstant(year, longitude);
            for (int k = -4; k <= 4; ++k) {
                const SYSTEMTIME st = Date(equinox + k);
                const bool inWeek = k >= -3 && k <= 3;
                EXPECT_EQ(Lookup(year, st.wMonth, st.wDay).first == name, inWeek)
                    << year << " " << name << " " << k;
            }
        }
    }
}

// The 社日 is a 戊 day, the one nearest the equinox day; a 癸 equinox day lies five days from two
// of them, and then the spring 社日 is the earlier one when the equinox falls before local noon,
// the autumn 社日 always the earlier one.
TEST_F(SeasonalTest, ShanichiIsTheNearestBoeDay) {
    int fiveBefore = 0;
    int fiveAfter = 0;
    int insideHigan = 0;
    for (uint16_t year = 1900; year <= 2100; ++year) {
        for (double longitude : {0.0, 180.0}) {
            const bool spring = longitude == 0.0;
            const char* name = spring ? "春社日" : "秋社日";
            const double instant = LocalInstant(year, longitude);
            int found = 0;
            for (int k = -6; k <= 6; ++k) {
                const SYSTEMTIME st = Date(instant + k);
                const Names n = Lookup(year, st.wMonth, st.wDay);
                if (n.first != name && n.second != name) {
                    continue;
                }
                ++found;
                LunarDay lunar;
                ComputeLunarDay(&lunar, instant + k + TimeZoneBias() * kDaysPerMinute);
                EXPECT_EQ(lunar.stem, 4) << year << " " << name;
                EXPECT_LE(k, 5) << year << " " << name;
                EXPECT_GE(k, -5) << year << " " << name;
                if (k == -5 || k == 5) {
                    const bool morning = Date(instant).wHour < 12;
                    EXPECT_EQ(k, spring && !morning ? 5 : -5) << year << " " << name;
                    (k < 0 ? fiveBefore : fiveAfter)++;
                }
                if (k >= -3 && k <= 3) {
                    // A single day inside the week comes second.
                    EXPECT_EQ(n.first, spring ? "春彼岸" : "秋彼岸") << year;
                    EXPECT_EQ(n.second, name) << year;
                    ++insideHigan;
                }
            }
            EXPECT_EQ(found, 1) << year << " " << name;
        }
    }
    // The cases the noon rule decides do occur in these two centuries.
    EXPECT_GT(fiveBefore, 0);
    EXPECT_GT(fiveAfter, 0);
    EXPECT_GT(insideHigan, 0);
}

}  // namespace
