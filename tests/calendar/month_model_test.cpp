#include "calendar/month_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "astro/time_scales.h"
#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"
#include "calendar/holidays.h"

namespace {

class MonthModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTimeZoneBiasOverride(-540);
        SetCustomHolidayPath("");
        InvalidateHolidayCache();
        InvalidateMonthModel();
    }
    void TearDown() override {
        SetCustomHolidayPath("");
        InvalidateHolidayCache();
        InvalidateMonthModel();
    }
};

const MonthCell& CellOf(uint16_t year, uint16_t month, uint16_t day) {
    ComputeMonthModel(year, month);
    for (const MonthCell& cell : CurrentMonthModel().cells) {
        if (!cell.outside && cell.day == day) {
            return cell;
        }
    }
    ADD_FAILURE() << "no cell for " << day;
    return CurrentMonthModel().cells[0];
}

TEST_F(MonthModelTest, MonthBeginningOnSundayStartsInCellZero) {
    ComputeMonthModel(2009, 2);  // 28 days from a Sunday
    const MonthModel& model = CurrentMonthModel();
    EXPECT_EQ(model.year, 2009);
    EXPECT_EQ(model.month, 2);
    for (int i = 0; i < 42; ++i) {
        const MonthCell& cell = model.cells[i];
        EXPECT_EQ(cell.weekday, i % 7) << i;
        if (i < 28) {
            EXPECT_EQ(cell.day, i + 1) << i;
            EXPECT_EQ(cell.outside, 0) << i;
        } else {
            EXPECT_EQ(cell.day, i - 27) << i;  // 1 to 14 March
            EXPECT_EQ(cell.outside, 1) << i;
        }
    }
}

struct GridEnd {
    const char* name;
    uint16_t year, month, weekStart;
    uint16_t firstDay, firstOutside;  // cell 0
    uint16_t lastDay;                 // cell 41, always of the month after
};

// The range's ends in both orders: 1 January 1900 is a Monday, 1 December 2100 a Wednesday.
static const GridEnd kGridEnds[] = {
    { "January1900SundayFirst", 1900,  1, 0, 31, 1, 10},
    { "January1900MondayFirst", 1900,  1, 1,  1, 0, 11},
    {"December2100SundayFirst", 2100, 12, 0, 28, 1,  8},
    {"December2100MondayFirst", 2100, 12, 1, 29, 1,  9},
};

class MonthGridEndTest : public MonthModelTest, public testing::WithParamInterface<GridEnd> {};

TEST_P(MonthGridEndTest, WeeksStartOnTheChosenDay) {
    const GridEnd& c = GetParam();
    ComputeMonthModel(c.year, c.month, c.weekStart);
    const MonthModel& model = CurrentMonthModel();
    EXPECT_EQ(model.cells[0].weekday, c.weekStart);
    EXPECT_EQ(model.cells[0].day, c.firstDay);
    EXPECT_EQ(model.cells[0].outside, c.firstOutside);
    EXPECT_EQ(model.cells[41].day, c.lastDay);
    EXPECT_EQ(model.cells[41].outside, 1);
}

INSTANTIATE_TEST_SUITE_P(RangeEnds, MonthGridEndTest, testing::ValuesIn(kGridEnds),
                         [](const testing::TestParamInfo<GridEnd>& info) {
                             return std::string(info.param.name);
                         });

// A day's cell is the same record, bit for bit, whichever day leads the week; a change of order
// alone recomputes the model.
TEST_F(MonthModelTest, MondayFirstCellsEqualSundayFirstCells) {
    ComputeMonthModel(2023, 10);  // begins on a Sunday: six days more ahead with Monday first
    const MonthModel sunday = CurrentMonthModel();
    EXPECT_TRUE(ComputeMonthModel(2023, 10, 1));
    const MonthModel& monday = CurrentMonthModel();
    EXPECT_EQ(monday.cells[6].day, 1);
    for (int k = 0; k < 36; ++k) {
        // Exactly: the same instants.
        EXPECT_EQ(monday.cells[k + 6].phaseAngle, sunday.cells[k].phaseAngle) << k;
        EXPECT_EQ(monday.cells[k + 6].lunar.day, sunday.cells[k].lunar.day) << k;
    }
}

TEST_F(MonthModelTest, MonthBeginningOnSaturdayShowsSixDaysBefore) {
    ComputeMonthModel(2005, 1);
    const MonthModel& model = CurrentMonthModel();
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(model.cells[i].day, 26 + i);
        EXPECT_EQ(model.cells[i].outside, 1);
    }
    EXPECT_EQ(model.cells[6].day, 1);
    EXPECT_EQ(model.cells[6].weekday, 6);
    EXPECT_EQ(model.cells[6].outside, 0);
    EXPECT_EQ(model.cells[6].holidayKind, NationalHoliday);
    EXPECT_STREQ(model.cells[6].holidayName, "元日");
    EXPECT_EQ(model.cells[36].day, 31);
    EXPECT_EQ(model.cells[37].outside, 1);
}

TEST_F(MonthModelTest, DecemberShowsNewYearsDayOfTheNextYear) {
    int checked = 0;
    for (uint16_t year = 1949; year <= 2099; ++year) {
        ComputeMonthModel(year, 12);
        const MonthModel& model = CurrentMonthModel();
        int i = 28;
        while (i < 42 && !(model.cells[i].outside && model.cells[i].day == 1)) {
            ++i;
        }
        if (i == 42) {
            continue;  // December ends on a Saturday of the sixth row: no January cell
        }
        EXPECT_EQ(model.cells[i].holidayKind, NationalHoliday) << year;
        EXPECT_STREQ(model.cells[i].holidayName, "元日") << year;
        EXPECT_STREQ(model.cells[i - 1].holidayName, "") << year;
        ++checked;
    }
    // A December ends on a Saturday of the sixth row only when its first day is a Friday or a
    // Saturday after a 31-day run: most years show the next January.
    EXPECT_GT(checked, 100);
}

TEST_F(MonthModelTest, FullMoonDayHasExactAngle) {
    const MonthCell& full = CellOf(2005, 1, 25);
    EXPECT_EQ(full.phaseAngle, 180.0);
    EXPECT_STREQ(full.phaseName, "満月");
    const MonthCell& after = CellOf(2005, 1, 26);
    EXPECT_STREQ(after.phaseName, "");
    EXPECT_GT(after.phaseAngle, 180.0);
    const MonthCell& newMoon = CellOf(2005, 1, 10);
    EXPECT_EQ(newMoon.phaseAngle, 0.0);
    EXPECT_STREQ(newMoon.phaseName, "新月");
    EXPECT_GT(newMoon.moonAge, 29.0);  // at local noon the new Moon of 21:03 is still to come
}

TEST_F(MonthModelTest, CellsCarryTheDaysFacts) {
    const MonthCell& c = CellOf(2005, 1, 10);
    EXPECT_STREQ(c.holidayName, " 成人の日");
    const MonthCell& y2k = CellOf(2000, 1, 1);
    EXPECT_EQ(y2k.lunar.month, 11);
    EXPECT_EQ(y2k.lunar.day, 25);
    EXPECT_EQ(y2k.lunar.rokuyo, 0);
    EXPECT_NEAR(y2k.moonAge, 24.56 - 0.375, 0.01);  // local noon is nine hours before 12:00 UTC
    const MonthCell& equinox = CellOf(2005, 3, 20);
    EXPECT_EQ(equinox.isSolarTerm, 1);
    EXPECT_STREQ(equinox.solarTermName, "春分");
    EXPECT_EQ(equinox.isSeasonal, 1);
    EXPECT_STREQ(equinox.seasonalName1, "春彼岸");
    const MonthCell& plain = CellOf(2005, 6, 1);
    EXPECT_EQ(plain.holidayKind, NoEntry);
    EXPECT_EQ(plain.isSolarTerm, 0);
    EXPECT_EQ(plain.isSeasonal, 0);
    EXPECT_STREQ(plain.solarTermName, "");
    EXPECT_STREQ(plain.seasonalName1, "");
    EXPECT_STREQ(plain.seasonalName2, "");
}

TEST_F(MonthModelTest, HeldMonthIsNotRecomputedUntilInvalidated) {
    CustomHolidayCount();
    ComputeMonthModel(2005, 6);
    EXPECT_STREQ(CellOf(2005, 6, 15).holidayName, "");
    CustomHoliday mine = {};
    mine.kind = DayOff;
    mine.firstYear = 2005;
    mine.lastYear = 2005;
    mine.rule = ByDate;
    mine.month = 6;
    mine.day = 15;
    std::strcpy(mine.name, "mine");
    InsertCustomHoliday(mine);
    InvalidateHolidayCache();
    ComputeMonthModel(2005, 6);
    EXPECT_STREQ(CellOf(2005, 6, 15).holidayName, "");
    InvalidateMonthModel();
    EXPECT_STREQ(CellOf(2005, 6, 15).holidayName, "mine");
    EXPECT_EQ(CellOf(2005, 6, 15).holidayKind, DayOff);
}

// Every fact of a cell, the doubles by their bits.
std::string Describe(const MonthCell& c) {
    uint64_t angle;
    uint64_t age;
    std::memcpy(&angle, &c.phaseAngle, sizeof angle);
    std::memcpy(&age, &c.moonAge, sizeof age);
    std::ostringstream text;
    text << c.day << " " << c.weekday << " " << c.holidayKind << " " << c.isSolarTerm << " "
         << c.isSeasonal << " " << c.holidayName << "|" << c.solarTermName << "|" << c.seasonalName1
         << "|" << c.seasonalName2 << "|" << c.phaseName << " " << angle << " " << age << " "
         << c.lunar.month << " " << c.lunar.day << " " << c.lunar.leap << " " << c.lunar.rokuyo
         << " " << c.lunar.stem << " " << c.lunar.branch << " " << c.lunar.tide;
    return text.str();
}

// A day computed on its own from its local noon is the model's cell of that day, bit for bit,
// whichever month's grid holds it: the CLI's day listing relies on this.
TEST_F(MonthModelTest, CellDoesNotDependOnTheGridThatHoldsIt) {
    const double b = TimeZoneBias() * kDaysPerMinute;
    for (uint16_t year : {1900, 1965, 2033, 2100}) {
        for (uint16_t month = 1; month <= 12; month += 5) {
            ComputeMonthModel(year, month);
            const MonthModel model = CurrentMonthModel();
            SYSTEMTIME first = {};
            first.wYear = year;
            first.wMonth = month;
            first.wDay = 1;
            first.wHour = 12;
            const double firstNoon = JulianDateFromSystemTime(first);
            SystemTimeFromJulianDate(firstNoon, &first);
            for (int i = 0; i < 42; i += 3) {
                const double noon = firstNoon - first.wDayOfWeek + i;
                MonthCell alone;
                const SYSTEMTIME date = ComputeMonthCell(&alone, noon, noon + b);
                EXPECT_EQ(date.wDay, model.cells[i].day);
                EXPECT_EQ(Describe(alone), Describe(model.cells[i]))
                    << year << "-" << month << " cell " << i;
            }
        }
    }
}

}  // namespace
