#include "tray/status_logic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

// Names each case of a table after its `name` field.
struct CaseName {
    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const {
        return info.param.name;
    }
};

// --- Moon and tide pictures -----------------------------------------------------------------

struct PictureCase {
    const char* name;
    double angle;
    int32_t picture;
};

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

INSTANTIATE_TEST_SUITE_P(Angles, MoonPictureTest, testing::ValuesIn(kPictureCases), CaseName());

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

TEST(MoonPictureTest, AnglesOutsideTheCircleGiveTheNewMoonTidesWrap) {
    EXPECT_EQ(MoonPictureIndex(-0.001), 0);
    EXPECT_EQ(MoonPictureIndex(360.0), 0);
    EXPECT_EQ(MoonPictureIndex(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(MoonPictureIndex(std::numeric_limits<double>::infinity()), 0);
    for (int32_t tide = 0; tide < 5; ++tide) {
        EXPECT_EQ(TidePictureIndex(tide), tide);
    }
    EXPECT_EQ(TidePictureIndex(5), 0);
    EXPECT_EQ(TidePictureIndex(-1), 4);
}

// --- Calendar pictures --------------------------------------------------------------------------

TEST(CalendarCellTest, LastCellsAndImpossibleFieldsStayInsideTheStrips) {
    EXPECT_EQ(MonthPictureCell(1), 0);
    EXPECT_EQ(MonthPictureCell(12), 11);
    EXPECT_EQ(MonthPictureCell(0), 11);
    EXPECT_EQ(DayPictureCell(1), 0);
    EXPECT_EQ(DayPictureCell(31), 30);
    EXPECT_EQ(DayPictureCell(0), 30);
    EXPECT_EQ(WeekdayPictureCell(0), 0);
    EXPECT_EQ(WeekdayPictureCell(6), 6);
    EXPECT_EQ(WeekdayPictureCell(7), 0);
}

struct ColorCase {
    const char* name;
    int32_t dayKind;
    uint16_t weekday;
    uint32_t color;
};

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

INSTANTIATE_TEST_SUITE_P(Days, DayColorTest, testing::ValuesIn(kColorCases), CaseName());

// --- Minute timer -------------------------------------------------------------------------------

struct IntervalCase {
    const char* name;
    uint16_t second;
    uint16_t millisecond;
    uint32_t interval;
};

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

INSTANTIATE_TEST_SUITE_P(Readings, MinuteTimerTest, testing::ValuesIn(kIntervalCases), CaseName());

TEST(MinuteTimerTest, EveryReadingFiresHalfASecondPastTheNextMinuteLeapSecondsToo) {
    for (uint16_t s = 0; s < 60; ++s) {
        for (uint16_t ms = 0; ms < 1000; ++ms) {
            uint32_t interval = MinuteTimerInterval(s, ms);
            ASSERT_GE(interval, 1u);
            ASSERT_LE(interval, 60000u);
            uint32_t firesAt = (s * 1000u + ms + interval) % 60000u;
            ASSERT_EQ(firesAt, 500u) << s << "." << ms;
        }
    }
    // A leap second never arms an empty interval.
    EXPECT_GE(MinuteTimerInterval(60, 500), 1u);
    EXPECT_GE(MinuteTimerInterval(60, 999), 1u);
}

// --- 30-second gate -----------------------------------------------------------------------------

constexpr double kCenturiesPerSecond = 1.0 / (86400.0 * 36525.0);

// A clock set back passes like one moved on; exactly 30 seconds is still held back.
TEST(StatusGateTest, HeldBackWithinThirtySecondsEitherWayUnlessForcedOrFirst) {
    const double last = 0.25;
    EXPECT_FALSE(PassesStatusGate(false, last + 20 * kCenturiesPerSecond, last));
    EXPECT_TRUE(PassesStatusGate(false, last + 35 * kCenturiesPerSecond, last));
    EXPECT_FALSE(PassesStatusGate(false, last - 20 * kCenturiesPerSecond, last));
    EXPECT_TRUE(PassesStatusGate(false, last - 35 * kCenturiesPerSecond, last));
    EXPECT_FALSE(PassesStatusGate(false, kStatusGateCenturies, 0.0));
    EXPECT_TRUE(PassesStatusGate(false, std::nextafter(kStatusGateCenturies, 1.0), 0.0));
    EXPECT_TRUE(PassesStatusGate(true, last, last));
    EXPECT_TRUE(PassesStatusGate(false, last, -1.0));
}

// --- Command line -------------------------------------------------------------------------------

struct CommandLineCase {
    const char* name;
    const char* commandLine;
    const char* arguments;
};

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

INSTANTIATE_TEST_SUITE_P(Lines, CommandLineTest, testing::ValuesIn(kCommandLineCases), CaseName());

TEST(StartOptionTest, OptionsIgnoreLetterCaseAnythingElseStartsNormally) {
    EXPECT_STREQ(ArgumentsOfCommandLine(nullptr), "");
    EXPECT_EQ(ParseStartOption("-r"), CloseRunning);
    EXPECT_EQ(ParseStartOption("-R"), CloseRunning);
    EXPECT_EQ(ParseStartOption("-v"), RestartRunning);
    EXPECT_EQ(ParseStartOption("-V"), RestartRunning);
    for (const char* text : {"", "-", "r", "-r x", "-rv", "-r ", "/r", "--r", "-x"}) {
        EXPECT_EQ(ParseStartOption(text), StartNormally) << '"' << text << '"';
    }
    EXPECT_EQ(ParseStartOption(nullptr), StartNormally);
}

// --- Menu toggles and tray events ---------------------------------------------------------------

TEST(ToggleTest, CommandsMapToTheFiveIconsTheOnlyIconOnStays) {
    EXPECT_EQ(ToggleIndexOfCommand(40003), 0);
    EXPECT_EQ(ToggleIndexOfCommand(40007), 4);
    EXPECT_EQ(ToggleIndexOfCommand(40002), -1);
    EXPECT_EQ(ToggleIndexOfCommand(40008), -1);
    EXPECT_EQ(ToggleIndexOfCommand(32771), -1);
    // The only icon that is on cannot be switched off.
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

INSTANTIATE_TEST_SUITE_P(Events, TrayEventTest, testing::ValuesIn(kTrayEventCases), CaseName());

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
