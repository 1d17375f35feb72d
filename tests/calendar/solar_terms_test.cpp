#include "calendar/solar_terms.h"

#include <gtest/gtest.h>

#include <string>

#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"
#include "calendar/holidays.h"

namespace {

class SolarTermTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTimeZoneBiasOverride(-540);
        SetCustomHolidayPath("");
        InvalidateHolidayCache();
    }
};

std::string Term(uint16_t year, uint16_t month, uint16_t day, bool* found = nullptr) {
    const char* name = nullptr;
    const bool f = LookupSolarTerm(year, month, day, &name);
    if (found) {
        *found = f;
    }
    return name ? std::string(name) : std::string("(null)");
}

// The instants of 2005 in Japan: 0 at 03-20 21:33, 90 at 06-21 15:46, 180 at 09-23 07:23, 270 at
// 12-22 03:34, 285 at 01-05 15:02, 315 at 02-04 02:42.
TEST_F(SolarTermTest, TermsFallOnTheirLocalDates) {
    static const struct {
        uint16_t year, month, day;
        const char* name;
    } kTerms[] = {
        {2005,  3, 20, "春分"},
        {2005,  6, 21, "夏至"},
        {2005,  9, 23, "秋分"},
        {2005, 12, 22, "冬至"},
        {2005,  1,  5, "小寒"},
        {2005,  2,  4, "立春"},
        {2006,  3, 21, "春分"},
    };
    for (const auto& c : kTerms) {
        bool found = false;
        EXPECT_EQ(Term(c.year, c.month, c.day, &found), c.name) << c.year << "-" << c.month;
        EXPECT_TRUE(found) << c.year << "-" << c.month;
    }
}

// Terms within two minutes of a local midnight, on the almanac's day (立春 2021 at 23:58:38): the
// short series put each a day late.
TEST_F(SolarTermTest, TermsNearMidnightFallOnTheAlmanacsDay) {
    static const struct {
        uint16_t year, month, day;
        const char* name;
    } kTerms[] = {
        {1950, 1, 20, "大寒"},
        {1964, 9,  7, "白露"},
        {2021, 2,  3, "立春"},
        {2030, 2, 18, "雨水"},
        {2053, 1, 19, "大寒"},
    };
    for (const auto& c : kTerms) {
        EXPECT_EQ(Term(c.year, c.month, c.day), c.name) << c.year;
        EXPECT_EQ(Term(c.year, c.month, c.day + 1), "") << c.year;
    }
}

TEST_F(SolarTermTest, AnotherYearRecomputesAndTheSentinelNeverLeaks) {
    bool found = true;
    EXPECT_EQ(Term(2005, 3, 21, &found), "");
    EXPECT_FALSE(found);
    EXPECT_EQ(Term(2006, 3, 21), "春分");
    EXPECT_EQ(Term(2005, 3, 21, &found), "");
    EXPECT_FALSE(found);
    EXPECT_EQ(Term(2005, 3, 20), "春分");
    EXPECT_EQ(Term(2005, 3, 20), "春分");
    EXPECT_EQ(Term(2005, 6, 1, &found), "");
    EXPECT_FALSE(found);
}

TEST_F(SolarTermTest, EveryYearHasTwentyFourTermDaysInTheirSeasons) {
    static const char* const kNames[] = {"小寒", "大寒", "立春", "雨水", "啓蟄", "春分",
                                         "清明", "穀雨", "立夏", "小満", "芒種", "夏至",
                                         "小暑", "大暑", "立秋", "処暑", "白露", "秋分",
                                         "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};
    const uint16_t monthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (uint16_t year = 1900; year <= 2100; ++year) {
        int count = 0;
        for (uint16_t month = 1; month <= 12; ++month) {
            for (uint16_t day = 1; day <= monthDays[month - 1]; ++day) {
                bool found = false;
                const std::string name = Term(year, month, day, &found);
                if (!found) {
                    continue;
                }
                // Two terms a month, the first between the 3rd and the 9th, in calendar order.
                ASSERT_LT(count, 24) << year;
                EXPECT_EQ(name, kNames[count]) << year << "-" << month << "-" << day;
                EXPECT_EQ(count / 2 + 1, month) << year << " " << name;
                if (count % 2 == 0) {
                    EXPECT_GE(day, 3) << year << " " << name;
                    EXPECT_LE(day, 9) << year << " " << name;
                }
                ++count;
            }
        }
        EXPECT_EQ(count, 24) << year;
    }
}

TEST_F(SolarTermTest, EquinoxTermsFallOnTheEquinoxHolidays) {
    for (uint16_t year = 1949; year <= 2100; ++year) {
        for (uint16_t month : {3, 9}) {
            for (uint16_t day = 17; day <= 25; ++day) {
                const char* holiday;
                const DayKind kind = LookupHoliday(year, month, day, &holiday);
                const bool equinoxHoliday =
                    kind == NationalHoliday &&
                    (std::string(holiday) == " 春分の日" || std::string(holiday) == " 秋分の日");
                const std::string term = Term(year, month, day);
                EXPECT_EQ(equinoxHoliday, term == "春分" || term == "秋分")
                    << year << "-" << month << "-" << day;
            }
        }
    }
}

}  // namespace
