// Inputs at the edges of what the calendar accepts, found by fuzzing: each case once faulted or
// gave a wrong answer. The inputs themselves also stay in the fuzz corpus.
#include <gtest/gtest.h>

#include "astro/time_zone.h"
#include "calendar/month_model.h"

namespace {

struct MonthDays {
    uint16_t day[42];
    uint16_t weekday[42];
    int32_t outside[42];
};

MonthDays DaysOf(uint16_t year, uint16_t month) {
    ComputeMonthModel(year, month);
    MonthDays days;
    for (int i = 0; i < 42; ++i) {
        days.day[i] = CurrentMonthModel().cells[i].day;
        days.weekday[i] = CurrentMonthModel().cells[i].weekday;
        days.outside[i] = CurrentMonthModel().cells[i].outside;
    }
    return days;
}

// Year 0 marks the empty model. A request for year 0 once found the emptied model "already
// holding" it: the cells of the month last shown, or null names on a model never filled.
TEST(MonthModelEdges, YearZeroIsComputedNotTakenForTheEmptyModel) {
    SetTimeZoneBiasOverride(-540);
    ComputeMonthModel(2024, 5);
    InvalidateMonthModel();
    EXPECT_TRUE(ComputeMonthModel(0, 5));
    const MonthDays afterEmptying = DaysOf(0, 5);
    // The same month computed from a model that held another month: the same days.
    ComputeMonthModel(2023, 7);
    const MonthDays afterAnotherMonth = DaysOf(0, 5);
    for (int i = 0; i < 42; ++i) {
        EXPECT_EQ(afterEmptying.day[i], afterAnotherMonth.day[i]) << "cell " << i;
        EXPECT_EQ(afterEmptying.weekday[i], afterAnotherMonth.weekday[i]) << "cell " << i;
        EXPECT_EQ(afterEmptying.outside[i], afterAnotherMonth.outside[i]) << "cell " << i;
    }

    InvalidateMonthModel();
    SetTimeZoneBiasOverride(0);
    EXPECT_TRUE(ComputeMonthModel(0, 0));
    for (const MonthCell& cell : CurrentMonthModel().cells) {
        EXPECT_NE(cell.holidayName, nullptr);
        EXPECT_NE(cell.phaseName, nullptr);
    }
    ClearTimeZoneBiasOverride();
    InvalidateMonthModel();
}

}  // namespace
