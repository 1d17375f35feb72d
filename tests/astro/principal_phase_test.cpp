#include "astro/principal_phase.h"

#include <gtest/gtest.h>

#include <vector>

#include "astro/lunar_day.h"
#include "astro/searches.h"
#include "tests/astro/civil_time.h"

namespace {

TEST(PrincipalPhaseOfDay, January2005InJapan) {
    ScopedBias bias(kJapanBias);
    // Last quarter 01-03 17:45 UTC (01-04 local), new Moon 01-10, first quarter 01-17, full
    // Moon 01-25. 新月 is 0x90 0x56 0x8C 0x8E in code page 932.
    const struct {
        int day;
        const char* name;
        double angle;
    } kPhaseDays[] = {
        { 4,           "下弦", 270},
        {10, "\x90\x56\x8C\x8E",   0},
        {17,           "上弦",  90},
        {25,           "満月", 180}
    };
    for (int day = 1; day <= 31; ++day) {
        const char* expectedName = "";
        double expectedAngle = -1;
        for (const auto& p : kPhaseDays) {
            if (p.day == day) {
                expectedName = p.name;
                expectedAngle = p.angle;
            }
        }
        double angle = -1;
        EXPECT_STREQ(PrincipalPhaseOfDay(LocalJd(kJapanBias, 2005, 1, day, 12), &angle),
                     expectedName)
            << "2005-01-" << day;
        EXPECT_EQ(angle, expectedAngle) << "2005-01-" << day;
    }
}

TEST(PrincipalPhaseOfDay, WholeDayCountsFromMidnightToMidnight) {
    ScopedBias bias(kJapanBias);
    // The full Moon at 19:32 local time belongs to 2005-01-25 from its first to its last minute.
    EXPECT_STREQ(PrincipalPhaseOfDay(LocalJd(kJapanBias, 2005, 1, 25, 0, 0), nullptr), "満月");
    EXPECT_STREQ(PrincipalPhaseOfDay(LocalJd(kJapanBias, 2005, 1, 25, 23, 59), nullptr), "満月");
    EXPECT_STREQ(PrincipalPhaseOfDay(LocalJd(kJapanBias, 2005, 1, 26, 0, 0), nullptr), "");
    // In UTC the new Moon of 2005-01-10 12:02 is on the same date; three hours further west of
    // Japan the date still holds.
    SetTimeZoneBiasOverride(0);
    EXPECT_STREQ(PrincipalPhaseOfDay(UtcJd(2005, 1, 10, 1), nullptr), "新月");
    SetTimeZoneBiasOverride(-360);
    EXPECT_STREQ(PrincipalPhaseOfDay(UtcJd(2005, 1, 10, 1), nullptr), "新月");
}

// Every principal phase of 1900-2100, found by search, lies on a day that reports it, and the
// days that report a phase cycle through the four phases six to nine days apart.
TEST(PrincipalPhaseOfDay, AgreesWithTheSearchedInstantsFrom1900To2100) {
    ScopedBias bias(kJapanBias);
    const double first = LocalJd(kJapanBias, 1900, 1, 1, 12);
    const double last = LocalJd(kJapanBias, 2100, 12, 31, 12);
    double previousDay = 0;
    double previousAngle = -1;
    int found = 0;
    for (double jd = first; jd <= last; jd += 1) {
        double angle = -1;
        const char* name = PrincipalPhaseOfDay(jd, &angle);
        if (name[0] == '\0') {
            ASSERT_EQ(angle, -1);
            continue;
        }
        ++found;
        const int k = static_cast<int>(angle / 90);
        ASSERT_STREQ(name, PhaseNames[k]);
        const JulianCenturies instant =
            FindPhaseInstant(angle, CenturiesFromJulianDate(jd), Nearest);
        const double dayStart = LocalDayStart(jd, kJapanBias);
        const double instantJd = JulianDateFromCenturies(instant);
        ASSERT_GE(instantJd, dayStart - 1e-5) << jd;
        ASSERT_LT(instantJd, dayStart + 1 + 1e-5) << jd;
        if (previousAngle >= 0) {
            ASSERT_EQ(angle, previousAngle == 270 ? 0 : previousAngle + 90) << jd;
            ASSERT_GE(jd - previousDay, 6) << jd;
            ASSERT_LE(jd - previousDay, 9) << jd;
        }
        previousDay = jd;
        previousAngle = angle;
    }
    EXPECT_NEAR(found, (last - first) / 29.530589 * 4, 4);
}

// The angle at one day's end serves as the next day's beginning only where the two midnights are
// the same T; a day computed in a row must report what it reports with nothing remembered.
struct PhaseOfDay {
    const char* name;
    double angle;
};

PhaseOfDay PhaseOfDayAt(double jd, bool fresh = false) {
    if (fresh) {
        ResetAstroCaches();
    }
    PhaseOfDay result = {nullptr, -1};
    result.name = PrincipalPhaseOfDay(jd, &result.angle);
    return result;
}

TEST(PrincipalPhaseOfDay, DaysInARowMatchFreshComputationFrom1900To2100) {
    ScopedBias bias(kJapanBias);
    const double first = LocalJd(kJapanBias, 1900, 1, 1, 12);
    const double last = LocalJd(kJapanBias, 2100, 12, 31, 12);
    ResetAstroCaches();
    std::vector<PhaseOfDay> run;
    for (double jd = first; jd <= last; jd += 1) {
        run.push_back(PhaseOfDayAt(jd));
    }
    for (size_t i = 0; i < run.size(); ++i) {
        const PhaseOfDay fresh = PhaseOfDayAt(first + i, true);
        ASSERT_EQ(run[i].name, fresh.name) << first + i;
        ASSERT_EQ(run[i].angle, fresh.angle) << first + i;
    }
}

// Each day asked for in two zones in turn: the end of a day in one zone is not the beginning of
// the next day in the other.
TEST(PrincipalPhaseOfDay, AlternatingZonesMatchFreshComputation) {
    const int32_t kZones[] = {kJapanBias, 300};
    const double first = UtcJd(2005, 1, 1, 12);
    std::vector<PhaseOfDay> run;
    ResetAstroCaches();
    for (int d = 0; d < 400; ++d) {
        for (int32_t zone : kZones) {
            ScopedBias bias(zone);
            run.push_back(PhaseOfDayAt(first + d));
        }
    }
    for (int d = 0; d < 400; ++d) {
        for (int z = 0; z < 2; ++z) {
            ScopedBias bias(kZones[z]);
            const PhaseOfDay fresh = PhaseOfDayAt(first + d, true);
            ASSERT_EQ(run[2 * d + z].name, fresh.name) << kZones[z] << " " << first + d;
            ASSERT_EQ(run[2 * d + z].angle, fresh.angle) << kZones[z] << " " << first + d;
        }
    }
}

}  // namespace
