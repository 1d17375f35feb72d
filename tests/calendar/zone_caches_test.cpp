// The calendar's caches follow the time zone: a list computed for one bias is never answered for
// another, whichever order the zones come in.
#include <gtest/gtest.h>

#include <string>

#include "astro/time_zone.h"
#include "calendar/almanac_notes.h"
#include "calendar/custom_holidays.h"
#include "calendar/holidays.h"
#include "calendar/month_model.h"
#include "calendar/seasonal_days.h"
#include "calendar/solar_terms.h"

namespace {

// Every calendar fact of every day of 2023 as one text, through the cached lookups, and the
// December month model.
std::string FactsOf2023(int32_t bias) {
    SetTimeZoneBiasOverride(bias);
    std::string facts;
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (uint16_t m = 1; m <= 12; ++m) {
        for (uint16_t d = 1; d <= kDays[m - 1]; ++d) {
            const char* holiday;
            const char* term;
            const char* seasonal1;
            const char* seasonal2;
            const DayKind kind = LookupHoliday(2023, m, d, &holiday);
            LookupSolarTerm(2023, m, d, &term);
            LookupSeasonalDays(2023, m, d, &seasonal1, &seasonal2);
            facts += std::to_string(m) + "-" + std::to_string(d) + ":" + std::to_string(kind) +
                     holiday + "|" + term + "|" + seasonal1 + "|" + seasonal2 + "|" +
                     std::to_string(ComputeDayNotes(2023, m, d).kou) + "\n";
        }
    }
    ComputeMonthModel(2023, 12);
    for (const MonthCell& cell : CurrentMonthModel().cells) {
        facts += std::to_string(cell.day) + cell.solarTermName + cell.phaseName +
                 std::to_string(cell.lunar.day) + std::to_string(cell.notes.kou) + ",";
    }
    return facts;
}

TEST(ZoneCachesTest, EachZoneGetsItsOwnFactsInAnyOrder) {
    SetCustomHolidayPath("");
    InvalidateHolidayCache();
    InvalidateMonthModel();
    const std::string japan = FactsOf2023(-540);
    const std::string west = FactsOf2023(+720);
    const std::string japanAgain = FactsOf2023(-540);
    ClearTimeZoneBiasOverride();

    EXPECT_EQ(japanAgain, japan);
    EXPECT_NE(west, japan);
    // The winter solstice, 2023-12-22 03:27 UTC, is the 22nd in Japan and the 21st at UTC-12.
    EXPECT_NE(japan.find("12-22:4|冬至|"), std::string::npos);
    EXPECT_NE(west.find("12-21:4|冬至|"), std::string::npos);
    EXPECT_EQ(west.find("12-22:4|冬至|"), std::string::npos);
    EXPECT_EQ(CurrentMonthModel().bias, -540);
    // 小寒 (候 66), 2023-01-05 21:05 UTC: the 6th in Japan, the 5th at UTC-12.
    EXPECT_NE(japan.find("1-6:4|小寒|||66\n"), std::string::npos);
    EXPECT_NE(west.find("1-5:4|小寒|||66\n"), std::string::npos);
}

}  // namespace
