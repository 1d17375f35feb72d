#include "astro/time_scales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/astro/civil_time.h"

namespace {

void ExpectCivil(const SYSTEMTIME& t, int year, int month, int day, int hour, int minute,
                 int second) {
    EXPECT_EQ(t.wYear, year);
    EXPECT_EQ(t.wMonth, month);
    EXPECT_EQ(t.wDay, day);
    EXPECT_EQ(t.wHour, hour);
    EXPECT_EQ(t.wMinute, minute);
    EXPECT_EQ(t.wSecond, second);
    EXPECT_EQ(t.wMilliseconds, 0);
}

TEST(JulianDate, J2000BothWays) {
    EXPECT_EQ(JulianDateFromSystemTime(Civil(2000, 1, 1, 12)), 2451545.0);
    SYSTEMTIME t;
    SystemTimeFromJulianDate(2451545.0, &t);
    ExpectCivil(t, 2000, 1, 1, 12, 0, 0);
    EXPECT_EQ(t.wDayOfWeek, 6);
    EXPECT_NEAR(JulianDateFromSystemTime(Civil(2005, 1, 1, 10, 20, 59)) -
                    JulianDateFromSystemTime(Civil(2005, 1, 1, 10, 20, 0)),
                59.0 / 86400, 1e-9);
}

TEST(JulianDate, GregorianReformOf1582) {
    SYSTEMTIME t;
    SystemTimeFromJulianDate(2299160.5, &t);
    ExpectCivil(t, 1582, 10, 15, 0, 0, 0);
    EXPECT_EQ(t.wDayOfWeek, 5);
    SystemTimeFromJulianDate(2299159.5, &t);
    ExpectCivil(t, 1582, 10, 4, 0, 0, 0);
    EXPECT_EQ(t.wDayOfWeek, 4);
    // The Gregorian rule applies to every date, so the last Julian-calendar day does not come
    // back: proleptic Gregorian 1582-10-04 is the Julian calendar's 1582-09-24.
    EXPECT_EQ(JulianDateFromSystemTime(Civil(1582, 10, 4)), 2299149.5);
    SystemTimeFromJulianDate(JulianDateFromSystemTime(Civil(1582, 10, 4)), &t);
    ExpectCivil(t, 1582, 9, 24, 0, 0, 0);
    EXPECT_EQ(JulianDateFromSystemTime(Civil(1582, 10, 15)), 2299160.5);
}

// Dates that do not exist convert linearly to their neighbours.
struct LinearCase {
    const char* name;
    int year, month, day;
    int realYear, realMonth, realDay;
};

const LinearCase kLinearCases[] = {
    {    "DayZeroOfMarch", 2005,  3,  0, 2005,  2, 28},
    {  "February30th2005", 2005,  2, 30, 2005,  3,  2},
    {  "February30th2004", 2004,  2, 30, 2004,  3,  1},
    {           "Month13", 2005, 13,  1, 2006,  1,  1},
    {           "Month14", 2005, 14,  1, 2006,  2,  1},
    {            "Month0", 2005,  0,  1, 2004, 12,  1},
    {         "April31st", 2005,  4, 31, 2005,  5,  1},
    {"February29thOf1900", 1900,  2, 29, 1900,  3,  1},
    {"February29thOf2000", 2000,  2, 29, 2000,  2, 29},
};

class NonexistentDates : public testing::TestWithParam<LinearCase> {};

TEST_P(NonexistentDates, ConvertToTheNeighbouringRealDate) {
    const LinearCase& c = GetParam();
    SYSTEMTIME t;
    SystemTimeFromJulianDate(JulianDateFromSystemTime(Civil(c.year, c.month, c.day)), &t);
    ExpectCivil(t, c.realYear, c.realMonth, c.realDay, 0, 0, 0);
}

INSTANTIATE_TEST_SUITE_P(JulianDate, NonexistentDates, testing::ValuesIn(kLinearCases),
                         [](const testing::TestParamInfo<LinearCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(JulianDate, EveryDayFrom1900To2100RoundTrips) {
    const double first = JulianDateFromSystemTime(Civil(1900, 1, 1));
    const double last = JulianDateFromSystemTime(Civil(2100, 12, 31));
    SYSTEMTIME previous;
    SystemTimeFromJulianDate(first - 1, &previous);
    for (double jd = first; jd <= last; jd += 1) {
        SYSTEMTIME t;
        SystemTimeFromJulianDate(jd, &t);
        ASSERT_EQ(JulianDateFromSystemTime(t), jd);
        ASSERT_EQ(t.wHour, 0);
        ASSERT_EQ(t.wDayOfWeek, (previous.wDayOfWeek + 1) % 7);
        const bool sameMonth = t.wMonth == previous.wMonth && t.wDay == previous.wDay + 1;
        const bool newMonth = t.wDay == 1 && (t.wMonth == previous.wMonth % 12 + 1);
        ASSERT_TRUE(sameMonth || newMonth) << t.wYear << "-" << t.wMonth << "-" << t.wDay;
        previous = t;
    }
}

TEST(JulianDate, EverySecondOfADayRoundTrips) {
    for (int s = 0; s < 86400; ++s) {
        const SYSTEMTIME in = Civil(2031, 12, 20, s / 3600, s / 60 % 60, s % 60);
        SYSTEMTIME out;
        SystemTimeFromJulianDate(JulianDateFromSystemTime(in), &out);
        ASSERT_EQ(out.wHour * 3600 + out.wMinute * 60 + out.wSecond, s);
        ASSERT_EQ(out.wDay, 20);
    }
}

TEST(JulianDate, HalfASecondBeforeMidnightIsHour24OfTheSameDate) {
    SYSTEMTIME t;
    SystemTimeFromJulianDate(2451545.5 - 0.4 / 86400, &t);
    ExpectCivil(t, 2000, 1, 1, 24, 0, 0);
    EXPECT_EQ(t.wDayOfWeek, 6);
    SystemTimeFromJulianDate(2451545.5 - 0.6 / 86400, &t);
    ExpectCivil(t, 2000, 1, 1, 23, 59, 59);
}

TEST(JulianDate, UnusableJulianDatesGiveAnEmptyRecord) {
    const double kUnusable[] = {std::numeric_limits<double>::quiet_NaN(),
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                -1,
                                1e8 + 1,
                                1e300};
    for (double jd : kUnusable) {
        SYSTEMTIME t = Civil(2005, 1, 1, 1, 1, 1);
        SystemTimeFromJulianDate(jd, &t);
        ExpectCivil(t, 0, 0, 0, 0, 0, 0);
        EXPECT_EQ(t.wDayOfWeek, 0);
    }
}

// Delta T is 64.99872 s at J2000.0, twice that a century later, none a century earlier.
TEST(Centuries, DeltaTGrowsByItsValueEachCentury) {
    const double kSecondsPerCentury = 36525.0 * 86400;
    EXPECT_NEAR(CenturiesFromJulianDate(2451545.0), 0.0007523 / 36525, 1e-15);
    EXPECT_NEAR((CenturiesFromJulianDate(2451545.0 + 36525) - 1) * kSecondsPerCentury, 2 * 64.99872,
                1e-3);
    EXPECT_NEAR((CenturiesFromJulianDate(2451545.0 - 36525) + 1) * kSecondsPerCentury, 0, 1e-3);
    EXPECT_NEAR(CenturiesFromSystemTime(Civil(2005, 1, 1)), 0.0500069, 1e-7);
}

TEST(Centuries, RoundTripAddsUnderHalfAMillisecond) {
    for (double jd = 2415020.5; jd < 2488434.5; jd += 97.3) {
        const double back = JulianDateFromCenturies(CenturiesFromJulianDate(jd));
        ASSERT_NEAR((back - jd) * 86400, 0.00043, 0.00007) << jd;
    }
}

// Japan's day begins at 15:00 UTC, a day five hours west of Greenwich at 05:00 UTC.
TEST(LocalDay, StartsAtLocalMidnight) {
    const double japanStart = UtcJd(2005, 2, 7, 15);
    EXPECT_EQ(LocalDayStart(UtcJd(2005, 2, 8, 14, 59), kJapanBias), japanStart);
    EXPECT_EQ(LocalDayStart(UtcJd(2005, 2, 8, 15, 0), kJapanBias), japanStart + 1);
    EXPECT_EQ(LocalDayStart(UtcJd(2005, 2, 8, 15, 0) - 1e-9, kJapanBias), japanStart);
    EXPECT_NEAR(LocalDayStart(UtcJd(2005, 7, 1, 3), 300), UtcJd(2005, 6, 30, 5), 1e-9);
    EXPECT_NEAR(LocalDayStart(UtcJd(2005, 7, 1, 5), 300), UtcJd(2005, 7, 1, 5), 1e-9);
    EXPECT_EQ(LocalDayStart(UtcJd(2005, 7, 1, 23, 59, 59), 0), UtcJd(2005, 7, 1));
}

}  // namespace
