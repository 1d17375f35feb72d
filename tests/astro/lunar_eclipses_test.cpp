#include "astro/lunar_eclipses.h"

#include <gtest/gtest.h>

#include <cmath>

#include "astro/time_scales.h"

namespace {

struct CatalogEclipse {
    int year, month, day;
    int minute;  // greatest eclipse, UT minutes of the day
    int kind;
    double penumbral, umbral;
    int partial, total;  // half-durations, minutes
};

static const CatalogEclipse kCatalog[] = {
#include "tests/astro/lunar_eclipse_reference.inc"
};

double JulianDateOf(int year, int month, int day) {
    SYSTEMTIME date = {};
    date.wYear = static_cast<uint16_t>(year);
    date.wMonth = static_cast<uint16_t>(month);
    date.wDay = static_cast<uint16_t>(day);
    return JulianDateFromSystemTime(date);
}

// The eclipse whose greatest eclipse falls on the UT date, or one of kind 0.
LunarEclipse EclipseOn(int year, int month, int day) {
    const double jd = JulianDateOf(year, month, day);
    const std::vector<LunarEclipse> found = LunarEclipsesBetween(jd, jd + 1);
    return found.empty() ? LunarEclipse{} : found[0];
}

// Every eclipse of the catalog, and no other, with its kind; the magnitudes within the catalog's
// rounding and 0.001 more; the half-durations within its whole minutes. Greatest eclipse within its
// rounding to the minute while Delta T is observed; later the two extrapolations part, by 2.5 min
// in 2100.
TEST(LunarEclipses, EveryEclipseOfTheCatalog) {
    const std::vector<LunarEclipse> all =
        LunarEclipsesBetween(JulianDateOf(1900, 1, 1), JulianDateOf(2101, 1, 1));
    const size_t count = sizeof kCatalog / sizeof kCatalog[0];
    ASSERT_EQ(all.size(), count);
    for (size_t i = 0; i < count; ++i) {
        const CatalogEclipse& c = kCatalog[i];
        const LunarEclipse& e = all[i];
        const double published = JulianDateOf(c.year, c.month, c.day) + c.minute / 1440.0;
        SCOPED_TRACE(testing::Message() << c.year << '-' << c.month << '-' << c.day);
        EXPECT_EQ(e.kind, c.kind);
        EXPECT_NEAR((e.greatest - published) * 1440, 0, c.year < 2025 ? 0.6 : 3);
        EXPECT_NEAR(e.umbralMagnitude, c.umbral, 0.0015);
        EXPECT_NEAR(e.penumbralMagnitude, c.penumbral, 0.0015);
        const double partial = (e.contacts[PartialEnd] - e.contacts[PartialBegin]) * 720;
        const double total = (e.contacts[TotalEnd] - e.contacts[TotalBegin]) * 720;
        EXPECT_NEAR(partial, c.partial, 0.6);
        EXPECT_NEAR(total, c.total, 0.6);
    }
}

// The years computed end with 2200: a range up to 2201-01-01 (JD 2524958.5) exactly, or beyond,
// takes the eclipses of 2200's last months and no more; an empty or unreadable range gives none.
TEST(LunarEclipses, RangeEnds) {
    const double end = 2524958.5;
    const std::vector<LunarEclipse> last = LunarEclipsesBetween(end - 200, end);
    EXPECT_FALSE(last.empty());
    EXPECT_EQ(LunarEclipsesBetween(end - 200, end + 1000).size(), last.size());
    EXPECT_TRUE(LunarEclipsesBetween(end, end + 1000).empty());
    EXPECT_TRUE(LunarEclipsesBetween(NAN, end).empty());
    EXPECT_TRUE(LunarEclipsesBetween(end - 100, end - 200).empty());
}

// At the edges of the umbra and the penumbra: which contacts occur, and in which order.
struct Threshold {
    const char* label;
    int year, month, day;
    LunarEclipseKind kind;
    bool partial, total;  // U1/U4 and U2/U3 occur
};

static const Threshold kThresholds[] = {
    {       "GrazingPartial", 1900,  6, 13,   PartialLunarEclipse,  true, false},
    {      "GrazingPartial2", 2042,  9, 29,   PartialLunarEclipse,  true, false},
    {"PenumbralOutsideUmbra", 1908, 12,  7, PenumbralLunarEclipse, false, false},
    {     "FaintestPenumbra", 1951,  2, 21, PenumbralLunarEclipse, false, false},
    {          "BarelyTotal", 2015,  4,  4,     TotalLunarEclipse,  true,  true},
};

class LunarThresholds : public testing::TestWithParam<Threshold> {};

TEST_P(LunarThresholds, ContactsInOrder) {
    const Threshold& t = GetParam();
    const LunarEclipse e = EclipseOn(t.year, t.month, t.day);
    EXPECT_EQ(e.kind, t.kind);
    const bool present[LunarContactCount] = {true, t.partial, t.total, t.total, t.partial, true};
    double last = 0;
    for (int i = 0; i < LunarContactCount; ++i) {
        EXPECT_EQ(e.contacts[i] > 0, present[i]) << i;
        if (e.contacts[i] > 0) {
            EXPECT_GT(e.contacts[i], last) << i;
            last = e.contacts[i];
        }
        if (i == TotalBegin) {
            EXPECT_GT(e.greatest, last);
        }
    }
    EXPECT_LT(e.greatest, last);
}

INSTANTIATE_TEST_SUITE_P(Edges, LunarThresholds, testing::ValuesIn(kThresholds),
                         [](const testing::TestParamInfo<Threshold>& info) {
                             return std::string(info.param.label);
                         });

// The total eclipse of 2022-11-08 as announced in Japan (JST, to the minute): U1 18:09, U2 19:16,
// greatest 19:59, U3 20:42, U4 21:49, 食分 1.364; and 1.321 on 2018-01-31.
TEST(LunarEclipses, JapaneseAlmanac) {
    const LunarEclipse e = EclipseOn(2022, 11, 8);
    const double jst = JulianDateOf(2022, 11, 8) - 9 / 24.0;
    const double announced[] = {18 * 60 + 9, 19 * 60 + 16, 20 * 60 + 42, 21 * 60 + 49};
    const int contacts[] = {PartialBegin, TotalBegin, TotalEnd, PartialEnd};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR((e.contacts[contacts[i]] - jst) * 1440, announced[i], 0.5) << i;
    }
    EXPECT_NEAR((e.greatest - jst) * 1440, 19 * 60 + 59, 0.5);
    EXPECT_NEAR(e.umbralMagnitude, 1.364, 0.0005);
    EXPECT_NEAR(EclipseOn(2018, 1, 31).umbralMagnitude, 1.321, 0.0005);
}

struct Sighting {
    const char* label;
    int year, month, day;  // UT date of greatest eclipse
    GeoPlace place;
    EclipseVisibility visibility;
};

static const Sighting kSightings[] = {
    {       "TokyoWhole", 2022, 11,  8, {35.6581, 139.7414},    EclipseVisible},
    {    "TokyoMoonrise", 2021, 11, 19, {35.6581, 139.7414},     EclipseRising},
    {     "TokyoMoonset", 2011,  6, 15, {35.6581, 139.7414},    EclipseSetting},
    {     "TokyoDaytime", 2022,  5, 16, {35.6581, 139.7414}, EclipseNotVisible},
    {"TromsoCircumpolar", 2011, 12, 10,      {69.65, 18.96},    EclipseVisible},
    {"TromsoMidnightSun", 2011,  6, 15,      {69.65, 18.96}, EclipseNotVisible},
};

class LunarSightings : public testing::TestWithParam<Sighting> {};

TEST_P(LunarSightings, Visibility) {
    const Sighting& s = GetParam();
    EXPECT_EQ(LunarEclipseVisibility(EclipseOn(s.year, s.month, s.day), s.place), s.visibility);
}

INSTANTIATE_TEST_SUITE_P(Places, LunarSightings, testing::ValuesIn(kSightings),
                         [](const testing::TestParamInfo<Sighting>& info) {
                             return std::string(info.param.label);
                         });

}  // namespace
