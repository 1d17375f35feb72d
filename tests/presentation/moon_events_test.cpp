#include "presentation/moon_events.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const GeoPlace kTokyo = {35.6581, 139.7414};

double UtcJd(int year, int month, int day) {
    SYSTEMTIME t = {};
    t.wYear = static_cast<uint16_t>(year);
    t.wMonth = static_cast<uint16_t>(month);
    t.wDay = static_cast<uint16_t>(day);
    return JulianDateFromSystemTime(t);
}

// The marks fall on the local date of the maximum: the total lunar eclipse of 2025-09-07 18:11
// UTC is on 8 September in Japan and on the 7th by the UTC clock; 2026's nearest full Moon is
// 24 December in Japan.
struct MarkCase {
    int32_t bias;
    int year, month, day;
    uint32_t marks;
};

const MarkCase kMarkCases[] = {
    {-540, 2025,  9,  8,    MarkLunarEclipse},
    {-540, 2025,  9,  7,                   0},
    {   0, 2025,  9,  7,    MarkLunarEclipse},
    {-540, 2026,  3,  3,    MarkLunarEclipse},
    {-540, 2026, 12, 24, MarkNearestFullMoon},
    {-540, 2026,  8, 13,                   0}, // a total solar eclipse Japan does not see
};

TEST(MoonEventMarksOfDay, OnTheLocalDateOfTheMaximum) {
    for (const MarkCase& c : kMarkCases) {
        EXPECT_EQ(MoonEventMarksOfDay(static_cast<uint16_t>(c.year), static_cast<uint16_t>(c.month),
                                      static_cast<uint16_t>(c.day), c.bias, kTokyo),
                  c.marks)
            << c.year << '-' << c.month << '-' << c.day << " bias " << c.bias;
    }
}

// A calendar page asks for its month alone, and skips the eclipse computation where no syzygy is
// near a node: every month must still hold exactly the eclipses of its year's list (checked over
// 1900-2100 at four places when written; here sixty years at Tokyo).
TEST(MoonEventsOfMonth, EveryMonthHoldsItsYearsEclipses) {
    int seen = 0;
    for (uint16_t year = 1980; year <= 2040; ++year) {
        const double from = UtcJd(year, 1, 1) - 540 * kDaysPerMinute;
        const double to = UtcJd(year + 1, 1, 1) - 540 * kDaysPerMinute;
        int inYear[13] = {};
        for (const EclipseAtPlace& e : EclipsesAtPlace(from - 1, to + 1, kTokyo)) {
            SYSTEMTIME local;
            LocalSecondOf(EclipseDateInstant(e), -540, &local);
            inYear[local.wMonth] +=
                local.wYear == year && EclipseSeen(e) && e.visibility != EclipseNotVisible;
        }
        for (uint16_t month = 1; month <= 12; ++month) {
            const size_t held = MoonEventsOfMonth(year, month, -540, kTokyo).eclipses.size();
            ASSERT_EQ(held, static_cast<size_t>(inYear[month])) << year << '-' << month;
            seen += inYear[month];
        }
    }
    EXPECT_GT(seen, 61);  // more than one a year
}

TEST(ComposeMoonEventLines, TheEclipseAndTheNearestFullMoonInWords) {
    const std::string eclipse = ComposeMoonEventLines(2026, 3, 3, -540, kTokyo);
    EXPECT_EQ(eclipse.rfind("皆既月食\n", 0), 0u) << eclipse;
    EXPECT_NE(eclipse.find("食の最大 20:33:43"), std::string::npos) << eclipse;
    EXPECT_EQ(eclipse.back(), std::string("見える").back());
    EXPECT_EQ(ComposeMoonEventLines(2026, 12, 24, -540, kTokyo),
              "今年最も地球に近い満月（356,738 km）");
    EXPECT_EQ(ComposeMoonEventLines(2026, 12, 25, -540, kTokyo), "");
}

TEST(MoonWindowLines, DistanceNextEclipseAndNearestFullMoon) {
    char line[64];
    EXPECT_STREQ(ComposeMoonDistanceLine(line, sizeof line, 384400.4),
                 "月までの距離 384,400 km  視直径 31′05″");
    EXPECT_STREQ(FormatKilometres(line, sizeof line, 999.5), "1,000");
    EclipseAtPlace next;
    ASSERT_TRUE(FindNextSeenEclipse(UtcJd(2026, 1, 1), -540, kTokyo, &next));
    char second[64];
    ComposeNextEclipseLines(line, second, sizeof line, true, next, -540);
    EXPECT_STREQ(line, "次に見える食 2026年3月3日 皆既月食");
    EXPECT_STREQ(second, "  食の最大 20:34 見える");
    // During the eclipse it is still the next one; once it has ended, the following one.
    ASSERT_TRUE(FindNextSeenEclipse(next.greatest, -540, kTokyo, &next));
    char again[64];
    ComposeNextEclipseLines(again, second, sizeof again, true, next, -540);
    EXPECT_STREQ(again, line);
    ASSERT_TRUE(FindNextSeenEclipse(next.end + 1e-4, -540, kTokyo, &next));
    EXPECT_GT(next.greatest, UtcJd(2026, 3, 4));
    ComposeNearestFullMoonLine(line, sizeof line, FullMoonsOfYear(2026, -540), -540);
    EXPECT_STREQ(line, "今年最も近い満月 12月24日 356,738 km");
}

}  // namespace
