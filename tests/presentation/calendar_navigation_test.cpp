#include "presentation/calendar_navigation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct CaseName {
    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const {
        return info.param.name;
    }
};

SYSTEMTIME Clock(int year, int month, int day) {
    SYSTEMTIME t = {};
    t.wYear = static_cast<uint16_t>(year);
    t.wMonth = static_cast<uint16_t>(month);
    t.wDay = static_cast<uint16_t>(day);
    return t;
}

constexpr CalendarPosition kClock = {2026, 12};

struct MoveCase {
    const char* name;
    CalendarPosition from;
    CalendarCommand command;
    bool accepted;
    CalendarPosition to;
};

static const MoveCase kMoveCases[] = {
    {    "PreviousMonthFromFebruary1900",  {1900, 2}, PreviousMonthCommand,  true,  {1900, 1}},
    {"PreviousMonthAtJanuary1900Refused",  {1900, 1}, PreviousMonthCommand, false,  {1900, 1}},
    {    "PreviousMonthFromJanuaryWraps",  {2000, 1}, PreviousMonthCommand,  true, {1999, 12}},
    {      "PreviousYearFromJanuary1901",  {1901, 1},  PreviousYearCommand,  true,  {1900, 1}},
    {        "PreviousYearIn1900Refused",  {1900, 7},  PreviousYearCommand, false,  {1900, 7}},
    {        "NextMonthFromDecember2099", {2099, 12},     NextMonthCommand,  true,  {2100, 1}},
    {   "NextMonthAtDecember2100Refused", {2100, 12},     NextMonthCommand, false, {2100, 12}},
    {              "NextMonthWithin2100", {2100, 11},     NextMonthCommand,  true, {2100, 12}},
    {            "NextYearIn2100Refused",  {2100, 3},      NextYearCommand, false,  {2100, 3}},
    {               "NextYearKeepsMonth",  {2099, 3},      NextYearCommand,  true,  {2100, 3}},
    {     "TodayFromAnywhereGoesToClock",  {1900, 1},         TodayCommand,  true, {2026, 12}},
 // A month shown outside the range (the clock's own) still moves only toward the range.
    {   "PreviousMonthBefore1900Refused",  {1899, 5}, PreviousMonthCommand, false,  {1899, 5}},
    {   "NextMonthBefore1900MovesInward",  {1899, 5},     NextMonthCommand,  true,  {1899, 6}},
    {         "NextYearAfter2100Refused",  {2101, 5},      NextYearCommand, false,  {2101, 5}},
    { "PreviousYearAfter2100MovesInward",  {2101, 5},  PreviousYearCommand,  true,  {2100, 5}},
};

class NavigateCalendarTest : public testing::TestWithParam<MoveCase> {};

TEST_P(NavigateCalendarTest, MovesWithinTheRangeOrIsRefused) {
    const MoveCase& c = GetParam();
    const CalendarMove move = NavigateCalendar(c.from, c.command, kClock);
    EXPECT_EQ(move.accepted, c.accepted);
    EXPECT_EQ(move.position.year, c.to.year);
    EXPECT_EQ(move.position.month, c.to.month);
}

INSTANTIATE_TEST_SUITE_P(Moves, NavigateCalendarTest, testing::ValuesIn(kMoveCases), CaseName());

// Each enabled button's move is accepted and each disabled one's refused, at every month of the
// range and a little beyond it: the guards and the button rule can never disagree.
TEST(CalendarButtonStatesTest, EnabledExactlyWhenTheMoveIsAccepted) {
    for (uint16_t year = 1898; year <= 2102; ++year) {
        for (uint16_t month = 1; month <= 12; ++month) {
            const CalendarPosition p = {year, month};
            const CalendarButtons b = CalendarButtonStates(p);
            EXPECT_EQ(b.previousYear, NavigateCalendar(p, PreviousYearCommand, kClock).accepted);
            EXPECT_EQ(b.previousMonth, NavigateCalendar(p, PreviousMonthCommand, kClock).accepted);
            EXPECT_EQ(b.nextMonth, NavigateCalendar(p, NextMonthCommand, kClock).accepted);
            EXPECT_EQ(b.nextYear, NavigateCalendar(p, NextYearCommand, kClock).accepted);
        }
    }
}

struct RefreshCase {
    const char* name;
    CalendarPosition position;
    SYSTEMTIME clock;
    bool todayShown;
    uint16_t markedDay;
    CalendarRefreshAction action;
    CalendarPosition after;
};

static const RefreshCase kRefreshCases[] = {
    {            "SameDayNothing",{2026, 12},Clock(2026, 12, 7),true,  7,KeepCalendar, {2026, 12}                                                                             },
    {    "MidnightMovesHighlight",
     {2026, 12},
     Clock(2026, 12, 8),
     true,  7,
     RepaintCalendar, {2026, 12}                                                                      },
    {     "ClockEntersShownMonth",
     {2026, 12},
     Clock(2026, 12, 1),
     false,  0,
     RepaintCalendar, {2026, 12}                                                                      },
    {           "OtherMonthStays", {2026, 10}, Clock(2026, 12, 7), false,  7, KeepCalendar, {2026, 10}},
    {"LastMidnightOfMonthFollows",
     {2026, 11},
     Clock(2026, 12, 1),
     true, 30,
     FollowClockCalendar, {2026, 12}                                                                  },
    { "NewYearFollowsIntoJanuary",
     {2026, 12},
     Clock(2027,  1, 1),
     true, 31,
     FollowClockCalendar,  {2027, 1}                                                                  },
    {      "ClockPast2100Clamped",
     {2100, 5},
     Clock(2101,  3, 1),
     true,  1,
     FollowClockCalendar, {2100, 12}                                                                  },
    {    "ClockBefore1900Clamped",
     {1900, 5},
     Clock(1899,  3, 1),
     true,  1,
     FollowClockCalendar,  {1900, 1}                                                                  },
};

class DecideCalendarRefreshTest : public testing::TestWithParam<RefreshCase> {};

TEST_P(DecideCalendarRefreshTest, FollowsTheClockOnlyFromToday) {
    const RefreshCase& c = GetParam();
    const CalendarRefresh r = DecideCalendarRefresh(c.position, c.clock, c.todayShown, c.markedDay);
    EXPECT_EQ(r.action, c.action);
    EXPECT_EQ(r.position.year, c.after.year);
    EXPECT_EQ(r.position.month, c.after.month);
}

INSTANTIATE_TEST_SUITE_P(Ticks, DecideCalendarRefreshTest, testing::ValuesIn(kRefreshCases),
                         CaseName());

TEST(IsCalendarTodayTest, OnlyTheClocksDayOfTheMonthOnDisplay) {
    const SYSTEMTIME clock = Clock(2026, 12, 7);
    EXPECT_TRUE(IsCalendarToday({2026, 12}, 7, false, clock));
    EXPECT_FALSE(IsCalendarToday({2026, 12}, 7, true, clock));  // an adjacent month's 7th
    EXPECT_FALSE(IsCalendarToday({2026, 11}, 7, false, clock));
    EXPECT_FALSE(IsCalendarToday({2025, 12}, 7, false, clock));
    EXPECT_FALSE(IsCalendarToday({2026, 12}, 8, false, clock));
}

struct ChoiceCase {
    const char* name;
    CalendarPosition from;
    uint16_t day;
    int32_t days;
    bool accepted;
    CalendarPosition to;
    uint16_t toDay;
};

static const ChoiceCase kChoiceCases[] = {
    {          "WithinTheMonth", {2026, 12},  8,  7,  true, {2026, 12}, 15},
    {      "RightIntoNextMonth", {2026, 11}, 30,  1,  true, {2026, 12},  1},
    {      "UpIntoLeapFebruary",  {2024, 3},  3, -7,  true,  {2024, 2}, 25},
    {     "DownOverTheYearsEnd", {2026, 12}, 29,  7,  true,  {2027, 1},  5},
    {        "LeftIntoDecember",  {2027, 1},  1, -1,  true, {2026, 12}, 31},
    {"LeftAtTheFirstDayRefused",  {1900, 1},  1, -1, false,  {1900, 1},  1},
    { "UpAtTheFirstWeekRefused",  {1900, 1},  6, -7, false,  {1900, 1},  6},
    {    "UpInFirstMonthWithin",  {1900, 1},  8, -7,  true,  {1900, 1},  1},
    {"RightAtTheLastDayRefused", {2100, 12}, 31,  1, false, {2100, 12}, 31},
    {"DownAtTheLastWeekRefused", {2100, 12}, 25,  7, false, {2100, 12}, 25},
};

class MoveChosenDayTest : public testing::TestWithParam<ChoiceCase> {};

TEST_P(MoveChosenDayTest, CrossesMonthsAsTheButtonsDo) {
    const ChoiceCase& c = GetParam();
    const CalendarChoice choice = MoveChosenDay(c.from, c.day, c.days);
    EXPECT_EQ(choice.accepted, c.accepted);
    EXPECT_EQ(choice.position.year, c.to.year);
    EXPECT_EQ(choice.position.month, c.to.month);
    EXPECT_EQ(choice.day, c.toDay);
}

INSTANTIATE_TEST_SUITE_P(Days, MoveChosenDayTest, testing::ValuesIn(kChoiceCases), CaseName());

TEST(StartingChosenDayTest, TodayInItsMonthElseTheFirst) {
    EXPECT_EQ(StartingChosenDay({2026, 12}, Clock(2026, 12, 8)), 8);
    EXPECT_EQ(StartingChosenDay({2026, 11}, Clock(2026, 12, 8)), 1);
    EXPECT_EQ(StartingChosenDay({2025, 12}, Clock(2026, 12, 8)), 1);
}

// Reports of one notch, of a high-resolution wheel in parts, and a turn back part-way.
TEST(AccumulateWheelTest, CountsWholeNotchesAndKeepsTheRest) {
    static const struct {
        int32_t delta;
        int32_t notches;
        int32_t rest;
    } kReports[] = {
        { 120,  1,   0},
        {-240, -2,   0},
        {  40,  0,  40},
        {  40,  0,  80},
        {  60,  1,  20},
        { -30,  0, -30}, // the 20 carried forward is dropped on the turn
        { -90, -1,   0},
        { 250,  2,  10},
    };
    int32_t rest = 0;
    for (const auto& r : kReports) {
        EXPECT_EQ(AccumulateWheel(&rest, r.delta), r.notches) << r.delta;
        EXPECT_EQ(rest, r.rest) << r.delta;
    }
}

TEST(ScrollCalendarTest, OneMonthANotchStoppingAtTheEnds) {
    const CalendarMove back = ScrollCalendar({1900, 3}, 5);
    EXPECT_TRUE(back.accepted);
    EXPECT_EQ(back.position.month, 1);
    EXPECT_FALSE(ScrollCalendar({1900, 1}, 1).accepted);
    const CalendarMove forward = ScrollCalendar({2099, 11}, -3);
    EXPECT_EQ(forward.position.year, 2100);
    EXPECT_EQ(forward.position.month, 2);
}

TEST(DecideCalendarKeyTest, PagesByMonthOrYearAndLeavesAltAlone) {
    EXPECT_EQ(DecideCalendarKey(kKeyPageUp, false, false, false).command, PreviousMonthCommand);
    EXPECT_EQ(DecideCalendarKey(kKeyPageUp, true, false, false).command, PreviousYearCommand);
    EXPECT_EQ(DecideCalendarKey(kKeyPageDown, false, true, false).command, NextYearCommand);
    EXPECT_EQ(DecideCalendarKey(kKeyUp, false, false, false).days, -7);
    EXPECT_EQ(DecideCalendarKey(kKeyPageUp, false, false, true).action, NoCalendarKey);
    EXPECT_EQ(DecideCalendarKey('A', false, false, false).action, NoCalendarKey);
}

}  // namespace
