#include "astro/civil_dates.h"

#include <gtest/gtest.h>

namespace {

TEST(CivilDays, RoundTripEveryDayOf1899To2101) {
    const int64_t first = DaysFromCivil({1899, 1, 1});
    const int64_t last = DaysFromCivil({2101, 12, 31});
    CivilDate expected = {1899, 1, 1};
    for (int64_t days = first; days <= last; ++days) {
        const CivilDate date = CivilFromDays(days);
        ASSERT_EQ(date.year, expected.year);
        ASSERT_EQ(date.month, expected.month);
        ASSERT_EQ(date.day, expected.day);
        ASSERT_EQ(DaysFromCivil(date), days);
        ASSERT_TRUE(IsValidCivilDate(date.year, date.month, date.day));
        // The next date by the calendar's month lengths, to compare with the next count.
        if (++expected.day > DaysInMonth(expected.year, expected.month)) {
            expected.day = 1;
            if (++expected.month > 12) {
                expected.month = 1;
                ++expected.year;
            }
        }
    }
    EXPECT_EQ(DaysFromCivil({1970, 1, 1}), 0);
    EXPECT_EQ(DaysFromCivil({1900, 1, 1}), -25567);
}

struct ValidityCase {
    int32_t year;
    int32_t month;
    int32_t day;
    bool valid;
};

TEST(CivilDays, LeapDaysAndImpossibleDates) {
    static const ValidityCase kCases[] = {
        {2000,  2, 29,  true},
        {1900,  2, 29, false},
        {2004,  2, 29,  true},
        {2100,  2, 29, false},
        {2024,  4, 31, false},
        {2024, 12, 31,  true},
        {2024, 13,  1, false},
        {2024,  0,  1, false},
        {2024,  1,  0, false},
        {   0,  2, 29,  true},
    };
    for (const ValidityCase& c : kCases) {
        EXPECT_EQ(IsValidCivilDate(c.year, c.month, c.day), c.valid)
            << c.year << "-" << c.month << "-" << c.day;
    }
}

}  // namespace
