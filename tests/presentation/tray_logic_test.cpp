#include "presentation/tray_logic.h"

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
    {   "BalloonClick", 0x0405, ShowNoticeDay, ShowNoticeDay},
};

class TrayEventTest : public testing::TestWithParam<TrayEventCase> {};

TEST_P(TrayEventTest, ActionInBothProtocols) {
    EXPECT_EQ(DecideTrayEvent(GetParam().event, true), GetParam().oldProtocol);
    EXPECT_EQ(DecideTrayEvent(GetParam().event, false), GetParam().newProtocol);
}

INSTANTIATE_TEST_SUITE_P(Events, TrayEventTest, testing::ValuesIn(kTrayEventCases), CaseName());

// The callback's layout follows the protocol the icon was told: with version 4 wParam is the
// event's point (x 40, y 700; x -1280, y -2 on a screen left of and above the primary one) and
// lParam the event and the id.
struct TrayCallbackCase {
    const char* name;
    uint32_t versions[TrayIconCount];
    uint64_t wParam;
    uint64_t lParam;
    int32_t icon;
    uint32_t event;
    bool hasAnchor;
    int32_t x;
    int32_t y;
};

static const TrayCallbackCase kTrayCallbackCases[] = {
    {       "V4Select", {4, 4, 4, 4, 4}, 0x02BC0028, 0x00030400,  3, 0x0400,  true,    40, 700},
    {"V4MenuLeftAbove", {4, 4, 4, 4, 4}, 0xFFFEFB00, 0x0001007B,  1, 0x007B,  true, -1280,  -2},
    { "V4BalloonClick", {4, 0, 0, 0, 0}, 0x02BC0028, 0x00000405,  0, 0x0405,  true,    40, 700},
    {     "V4NoSuchId", {4, 4, 4, 4, 4}, 0x02BC0028, 0x00070200, -1,      0, false,     0,   0},
    {  "V3ContextMenu", {3, 3, 3, 3, 3},          2, 0x0000007B,  2, 0x007B, false,     0,   0},
    { "V3PointAsIndex", {3, 3, 3, 3, 3}, 0x02BC0028, 0x00000202, -1,      0, false,     0,   0},
    {  "OldLayoutToV4", {0, 0, 4, 0, 0},          2, 0x00000202, -1,      0, false,     0,   0},
};

class TrayCallbackTest : public testing::TestWithParam<TrayCallbackCase> {};

TEST_P(TrayCallbackTest, IconEventAndPlaceOfTheLayout) {
    const TrayCallbackCase& c = GetParam();
    const TrayCallback decoded = DecodeTrayCallback(c.wParam, c.lParam, c.versions);
    EXPECT_EQ(decoded.icon, c.icon);
    if (c.icon >= 0) {
        EXPECT_EQ(decoded.event, c.event);
        EXPECT_EQ(decoded.hasAnchor, c.hasAnchor);
        EXPECT_EQ(decoded.anchorX, c.x);
        EXPECT_EQ(decoded.anchorY, c.y);
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, TrayCallbackTest, testing::ValuesIn(kTrayCallbackCases),
                         CaseName());

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
