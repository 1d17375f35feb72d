#include "tray/status_logic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace {

// --- Moon and tide pictures -----------------------------------------------------------------

struct PictureCase {
    const char* name;
    double angle;
    int32_t picture;
};

std::ostream& operator<<(std::ostream& os, const PictureCase& c) {
    return os << c.name;
}

// Edges of the first and last pictures: 6.43 * 7/90 + 0.5 = 1.0001; 353.58 * 7/90 + 0.5 = 28.0007
// wraps to the new Moon.
static const PictureCase kPictureCases[] = {
    {           "NewMoon",    0.0,  0},
    {"JustBelowFirstEdge",   6.42,  0},
    {"JustAboveFirstEdge",   6.43,  1},
    {      "FirstQuarter",   90.0,  7},
    {          "FullMoon",  180.0, 14},
    {       "LastQuarter",  270.0, 21},
    { "JustBelowLastEdge", 353.57, 27},
    { "JustAboveLastEdge", 353.58,  0},
    {  "AlmostFullCircle",  359.9,  0},
};

class MoonPictureTest : public testing::TestWithParam<PictureCase> {};

TEST_P(MoonPictureTest, PictureOfAngle) {
    EXPECT_EQ(MoonPictureIndex(GetParam().angle), GetParam().picture);
}

INSTANTIATE_TEST_SUITE_P(Angles, MoonPictureTest, testing::ValuesIn(kPictureCases),
                         [](const testing::TestParamInfo<PictureCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(MoonPictureTest, EveryTenthOfADegreeGivesAPictureInRangeThatNeverStepsBack) {
    int32_t previous = 0;
    for (int tenth = 0; tenth < 3600; ++tenth) {
        int32_t picture = MoonPictureIndex(tenth * 0.1);
        ASSERT_GE(picture, 0);
        ASSERT_LE(picture, 27);
        if (picture != 0 || previous != 27) {
            ASSERT_GE(picture, previous) << "angle " << tenth * 0.1;
        }
        previous = picture;
    }
}

TEST(MoonPictureTest, AnglesOutsideTheCircleGiveTheNewMoon) {
    EXPECT_EQ(MoonPictureIndex(-0.001), 0);
    EXPECT_EQ(MoonPictureIndex(360.0), 0);
    EXPECT_EQ(MoonPictureIndex(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(MoonPictureIndex(std::numeric_limits<double>::infinity()), 0);
}

TEST(TidePictureTest, TideClassesMapOneToOneAndWrap) {
    for (int32_t tide = 0; tide < 5; ++tide) {
        EXPECT_EQ(TidePictureIndex(tide), tide);
    }
    EXPECT_EQ(TidePictureIndex(5), 0);
    EXPECT_EQ(TidePictureIndex(-1), 4);
}

// --- Calendar pictures --------------------------------------------------------------------------

TEST(CalendarCellTest, DecemberTheThirtyFirstAndSaturdayUseTheLastCells) {
    EXPECT_EQ(MonthPictureCell(1), 0);
    EXPECT_EQ(MonthPictureCell(12), 11);
    EXPECT_EQ(DayPictureCell(1), 0);
    EXPECT_EQ(DayPictureCell(31), 30);
    EXPECT_EQ(WeekdayPictureCell(0), 0);
    EXPECT_EQ(WeekdayPictureCell(6), 6);
}

TEST(CalendarCellTest, ImpossibleFieldsStayInsideTheStrips) {
    EXPECT_EQ(MonthPictureCell(0), 11);
    EXPECT_EQ(DayPictureCell(0), 30);
    EXPECT_EQ(WeekdayPictureCell(7), 0);
}

struct ColorCase {
    const char* name;
    int32_t dayKind;
    uint16_t weekday;
    uint32_t color;
};

std::ostream& operator<<(std::ostream& os, const ColorCase& c) {
    return os << c.name;
}

static const ColorCase kColorCases[] = {
    {"SaturdayNationalHoliday", 0, 6,   kStrokeRed},
    {         "SaturdayDayOff", 1, 6,   kStrokeRed},
    {    "SaturdayAnniversary", 2, 6,  kStrokeBlue},
    {      "SaturdaySolarTerm", 3, 6,  kStrokeBlue},
    {          "PlainSaturday", 4, 6,  kStrokeBlue},
    {            "PlainSunday", 4, 0,   kStrokeRed},
    {      "SundayAnniversary", 2, 0,   kStrokeRed},
    {  "MondayNationalHoliday", 0, 1,   kStrokeRed},
    {        "WednesdayDayOff", 1, 3,   kStrokeRed},
    {      "FridayAnniversary", 2, 5, kStrokeBlack},
    {      "TuesdaySeasonMark", 3, 2, kStrokeBlack},
    {          "PlainThursday", 4, 4, kStrokeBlack},
};

class DayColorTest : public testing::TestWithParam<ColorCase> {};

TEST_P(DayColorTest, StrokeColorOfTheDay) {
    EXPECT_EQ(DayStrokeColor(GetParam().dayKind, GetParam().weekday), GetParam().color);
}

INSTANTIATE_TEST_SUITE_P(Days, DayColorTest, testing::ValuesIn(kColorCases),
                         [](const testing::TestParamInfo<ColorCase>& info) {
                             return std::string(info.param.name);
                         });

// --- Minute timer -------------------------------------------------------------------------------

struct IntervalCase {
    const char* name;
    uint16_t second;
    uint16_t millisecond;
    uint32_t interval;
};

std::ostream& operator<<(std::ostream& os, const IntervalCase& c) {
    return os << c.name;
}

static const IntervalCase kIntervalCases[] = {
    {          "HalfMinute", 30, 250, 30250},
    {     "FirstHalfSecond",  0, 300,   200},
    {     "ExactlyHalfPast",  0, 500, 60000},
    {     "LastMillisecond", 59, 999,   501},
    {          "FullMinute",  0,   0,   500},
    {  "JustPastHalfSecond",  0, 501, 59999},
    {"JustBeforeHalfSecond",  0, 499,     1},
};

class MinuteTimerTest : public testing::TestWithParam<IntervalCase> {};

TEST_P(MinuteTimerTest, IntervalToHalfASecondPastTheMinute) {
    EXPECT_EQ(MinuteTimerInterval(GetParam().second, GetParam().millisecond), GetParam().interval);
}

INSTANTIATE_TEST_SUITE_P(Readings, MinuteTimerTest, testing::ValuesIn(kIntervalCases),
                         [](const testing::TestParamInfo<IntervalCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(MinuteTimerTest, EveryReadingOfAMinuteFiresAtHalfASecondPastTheNextFullMinute) {
    for (uint16_t s = 0; s < 60; ++s) {
        for (uint16_t ms = 0; ms < 1000; ++ms) {
            uint32_t interval = MinuteTimerInterval(s, ms);
            ASSERT_GE(interval, 1u);
            ASSERT_LE(interval, 60000u);
            uint32_t firesAt = (s * 1000u + ms + interval) % 60000u;
            ASSERT_EQ(firesAt, 500u) << s << "." << ms;
        }
    }
}

TEST(MinuteTimerTest, LeapSecondNeverArmsAnEmptyInterval) {
    EXPECT_GE(MinuteTimerInterval(60, 500), 1u);
    EXPECT_GE(MinuteTimerInterval(60, 999), 1u);
}

// --- 30-second gate -----------------------------------------------------------------------------

constexpr double kCenturiesPerSecond = 1.0 / (86400.0 * 36525.0);

TEST(StatusGateTest, TwentySecondsAreHeldBackThirtyFiveSecondsPass) {
    const double last = 0.25;
    EXPECT_FALSE(PassesStatusGate(false, last + 20 * kCenturiesPerSecond, last));
    EXPECT_TRUE(PassesStatusGate(false, last + 35 * kCenturiesPerSecond, last));
}

TEST(StatusGateTest, ClockSetBackPassesLikeClockMovedOn) {
    const double last = 0.25;
    EXPECT_FALSE(PassesStatusGate(false, last - 20 * kCenturiesPerSecond, last));
    EXPECT_TRUE(PassesStatusGate(false, last - 35 * kCenturiesPerSecond, last));
}

TEST(StatusGateTest, ExactlyThirtySecondsIsHeldBack) {
    EXPECT_FALSE(PassesStatusGate(false, kStatusGateCenturies, 0.0));
    EXPECT_TRUE(PassesStatusGate(false, std::nextafter(kStatusGateCenturies, 1.0), 0.0));
}

TEST(StatusGateTest, ForcePassesAlwaysAndTheFirstCallPasses) {
    EXPECT_TRUE(PassesStatusGate(true, 0.25, 0.25));
    EXPECT_TRUE(PassesStatusGate(false, 0.25, -1.0));
}

// --- Command line -------------------------------------------------------------------------------

struct CommandLineCase {
    const char* name;
    const char* commandLine;
    const char* arguments;
};

std::ostream& operator<<(std::ostream& os, const CommandLineCase& c) {
    return os << c.name;
}

static const CommandLineCase kCommandLineCases[] = {
    { "QuotedWithOption", "\"C:\\Program Files\\Nocturo\\nocturo.exe\" -r",   "-r"},
    { "QuotedManyBlanks",            "\"C:\\My.Apps\\nocturo.exe\"  \t -v",   "-v"},
    {"QuotedNoArguments",                      "\"C:\\Apps\\nocturo.exe\"",     ""},
    {    "QuotedNoBlank",                    "\"C:\\Apps\\nocturo.exe\"-r",   "-r"},
    {   "BareWithOption",                       "C:\\Apps\\nocturo.exe -V",   "-V"},
    {  "BareNoArguments",                                    "nocturo.exe",     ""},
    { "TwoArgumentsKept",                               "nocturo.exe -r x", "-r x"},
    {    "UnclosedQuote",                     "\"C:\\Apps\\nocturo.exe -r",     ""},
    {            "Empty",                                               "",     ""},
};

class CommandLineTest : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, ArgumentsAfterTheProgramName) {
    EXPECT_STREQ(ArgumentsOfCommandLine(GetParam().commandLine), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(Lines, CommandLineTest, testing::ValuesIn(kCommandLineCases),
                         [](const testing::TestParamInfo<CommandLineCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(CommandLineTest, NullLineHasNoArguments) {
    EXPECT_STREQ(ArgumentsOfCommandLine(nullptr), "");
}

TEST(StartOptionTest, OptionsIgnoreLetterCase) {
    EXPECT_EQ(ParseStartOption("-r"), CloseRunning);
    EXPECT_EQ(ParseStartOption("-R"), CloseRunning);
    EXPECT_EQ(ParseStartOption("-v"), RestartRunning);
    EXPECT_EQ(ParseStartOption("-V"), RestartRunning);
}

TEST(StartOptionTest, AnythingElseStartsNormally) {
    for (const char* text : {"", "-", "r", "-r x", "-rv", "-r ", "/r", "--r", "-x"}) {
        EXPECT_EQ(ParseStartOption(text), StartNormally) << '"' << text << '"';
    }
    EXPECT_EQ(ParseStartOption(nullptr), StartNormally);
}

// --- Menu toggles and tray events ---------------------------------------------------------------

TEST(ToggleTest, CommandsMapToTheFiveIcons) {
    EXPECT_EQ(ToggleIndexOfCommand(40003), 0);
    EXPECT_EQ(ToggleIndexOfCommand(40007), 4);
    EXPECT_EQ(ToggleIndexOfCommand(40002), -1);
    EXPECT_EQ(ToggleIndexOfCommand(40008), -1);
    EXPECT_EQ(ToggleIndexOfCommand(32771), -1);
}

TEST(ToggleTest, OnlyIconOnCannotBeSwitchedOff) {
    EXPECT_EQ(DecideToggle(true, 1), KeepOn);
    EXPECT_EQ(DecideToggle(true, 2), SwitchOff);
    EXPECT_EQ(DecideToggle(true, 5), SwitchOff);
    EXPECT_EQ(DecideToggle(false, 1), SwitchOn);
    EXPECT_EQ(DecideToggle(false, 4), SwitchOn);
}

struct TrayEventCase {
    const char* name;
    uint32_t event;
    TrayEventAction oldProtocol;
    TrayEventAction newProtocol;
};

std::ostream& operator<<(std::ostream& os, const TrayEventCase& c) {
    return os << c.name;
}

static const TrayEventCase kTrayEventCases[] = {
    {    "ContextMenu", 0x007B, ShowPopupMenu, ShowPopupMenu},
    {      "MouseMove", 0x0200, RefreshStatus, RefreshStatus},
    {   "LeftButtonUp", 0x0202,  ActivateIcon,   IgnoreEvent},
    {  "RightButtonUp", 0x0205, ShowPopupMenu,   IgnoreEvent},
    {         "Select", 0x0400,  ActivateIcon,  ActivateIcon},
    {      "KeySelect", 0x0401,  ActivateIcon,  ActivateIcon},
    { "LeftButtonDown", 0x0201,   IgnoreEvent,   IgnoreEvent},
    {"LeftDoubleClick", 0x0203,   IgnoreEvent,   IgnoreEvent},
    {"RightButtonDown", 0x0204,   IgnoreEvent,   IgnoreEvent},
    {   "BalloonShown", 0x0402,   IgnoreEvent,   IgnoreEvent},
};

class TrayEventTest : public testing::TestWithParam<TrayEventCase> {};

TEST_P(TrayEventTest, ActionInBothProtocols) {
    EXPECT_EQ(DecideTrayEvent(GetParam().event, true), GetParam().oldProtocol);
    EXPECT_EQ(DecideTrayEvent(GetParam().event, false), GetParam().newProtocol);
}

INSTANTIATE_TEST_SUITE_P(Events, TrayEventTest, testing::ValuesIn(kTrayEventCases),
                         [](const testing::TestParamInfo<TrayEventCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(ActivateTest, TideIconOpensNothingCalendarIconsOpenTheCalendar) {
    EXPECT_EQ(ActivateTargetOfIcon(0), OpenMoonInfo);
    EXPECT_EQ(ActivateTargetOfIcon(1), OpenNothing);
    EXPECT_EQ(ActivateTargetOfIcon(2), OpenCalendar);
    EXPECT_EQ(ActivateTargetOfIcon(3), OpenCalendar);
    EXPECT_EQ(ActivateTargetOfIcon(4), OpenCalendar);
    EXPECT_EQ(ActivateTargetOfIcon(5), OpenNothing);
    EXPECT_EQ(ActivateTargetOfIcon(-1), OpenNothing);
}

}  // namespace
