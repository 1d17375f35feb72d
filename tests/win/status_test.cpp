#include "tray/status.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "astro/time_zone.h"
#include "tests/win/tray_test_support.h"
#include "tray/clock.h"
#include "tray/settings.h"

namespace {

constexpr int32_t kJapanBias = -540;

// ComputeStatus on a fixed Japanese clock, with the slots of a hidden window.
class StatusTest : public TraySlotsTest {
  protected:
    void SetUp() override {
        SetTimeZoneBiasOverride(kJapanBias);
        TraySlotsTest::SetUp();
        SwitchOn("11111");
    }
    void TearDown() override {
        ClearClockOverride();
        ClearTimeZoneBiasOverride();
        TraySlotsTest::TearDown();
    }
    // Sets the clock to a Japanese local time.
    void SetLocal(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
        SYSTEMTIME local = {year, month, 0, day, hour, minute, second, 0};
        ASSERT_TRUE(SetClockOverride(local));
        AdvanceClockOverride(static_cast<int64_t>(kJapanBias) * 60 * 1000);
    }
    const char* Tip(int slot) {
        return TraySlots()[slot].tip;
    }
    // The long date the system's locale service gives for the clock's local date: 2000年1月1日 on
    // Windows, 2000年1月1日土曜日 under Wine, whose Japanese long form adds the weekday.
    std::string LongDate() {
        SYSTEMTIME local;
        ReadLocalClock(&local);
        char text[128] = "";
        GetDateFormatA(GetSystemDefaultLCID(), DATE_LONGDATE, &local, nullptr, text, sizeof text);
        return text;
    }
    static bool StartsWith(const char* text, const std::string& prefix) {
        return std::strncmp(text, prefix.c_str(), prefix.size()) == 0;
    }
};

TEST_F(StatusTest, NewYear2000ReadsAsALongDateRokuyoAndHoliday) {
    SetLocal(2000, 1, 1, 12, 0, 0);
    EXPECT_TRUE(ComputeStatus(true, true));
    const std::string date = LongDate();
    EXPECT_TRUE(StartsWith(date.c_str(), "2000年1月1日")) << date;
    EXPECT_EQ(CurrentStatusMemory().lastDateText, date);
    for (int slot = MonthIconSlot; slot <= WeekdayIconSlot; ++slot) {
        EXPECT_EQ(Tip(slot), date + " 大安 元日") << "slot " << slot;
        EXPECT_NE(TraySlots()[slot].notify.hIcon, nullptr);
    }
    // The previous new Moon fell on 8 December 1999 at 7:32 JST, 24.19 days before; lunar day 25
    // has the tide 長潮.
    EXPECT_STREQ(Tip(MoonIconSlot), "月齢24.19 長潮");
    EXPECT_STREQ(Tip(TideIconSlot), Tip(MoonIconSlot));
    EXPECT_NE(TraySlots()[MoonIconSlot].notify.hIcon, nullptr);
    EXPECT_NE(TraySlots()[TideIconSlot].notify.hIcon, nullptr);
}

TEST_F(StatusTest, NewYear2000IsDrawnRedThoughASaturday) {
    SetLocal(2000, 1, 1, 12, 0, 0);
    ComputeStatus(true, true);
    IconPixels weekday = ReadIcon(TraySlots()[WeekdayIconSlot].notify.hIcon);
    ASSERT_EQ(weekday.color.width, 16);
    int red = 0;
    int blue = 0;
    for (uint32_t pixel : weekday.color.rgb) {
        red += pixel == 0x00FF0000;
        blue += pixel == 0x000000FF;
    }
    EXPECT_GT(red, 0);
    EXPECT_EQ(blue, 0);
}

// A day without holiday, term or seasonal day: the date and the rokuyo, then, while the selected
// days are switched on, its 一粒万倍日.
TEST_F(StatusTest, PlainDayShowsDateRokuyoAndTheSelectedDaysWhenOn) {
    SetLocal(2024, 5, 15, 9, 0, 0);
    const std::string date = LongDate() + " ";
    SetShowNotes(false);
    ComputeStatus(true, true);
    const char* tip = Tip(DayIconSlot);
    ASSERT_TRUE(StartsWith(tip, date)) << tip;
    // Lunisolar 4/8 of 2024: (4 + 8) mod 6 gives 大安.
    EXPECT_STREQ(tip + date.size(), "大安") << tip;
    SetShowNotes(true);
    ComputeStatus(true, true);
    EXPECT_STREQ(Tip(DayIconSlot) + date.size(), "大安 一粒万倍日") << Tip(DayIconSlot);
}

TEST_F(StatusTest, TwentySecondsLaterNothingIsDoneThirtyFiveSecondsLaterTheGateOpens) {
    SetLocal(2024, 5, 15, 10, 0, 0);
    ComputeStatus(true, true);
    const double first = CurrentStatusMemory().lastCenturies;
    HICON moon = TraySlots()[MoonIconSlot].notify.hIcon;
    std::strcpy(TraySlots()[MoonIconSlot].tip, "marker");

    AdvanceClockOverride(20000);
    EXPECT_FALSE(ComputeStatus(false, false));
    EXPECT_EQ(CurrentStatusMemory().lastCenturies, first);
    EXPECT_STREQ(Tip(MoonIconSlot), "marker");

    AdvanceClockOverride(15000);
    EXPECT_TRUE(ComputeStatus(false, false));  // the tooltip differs from the marker
    EXPECT_GT(CurrentStatusMemory().lastCenturies, first);
    EXPECT_EQ(std::strncmp(Tip(MoonIconSlot), "月齢", 4), 0);
    // Same picture, no force: the icon is not built again.
    EXPECT_EQ(TraySlots()[MoonIconSlot].notify.hIcon, moon);
    // Past the gate again with nothing new: no change reported.
    AdvanceClockOverride(31000);
    EXPECT_FALSE(ComputeStatus(false, false));
}

TEST_F(StatusTest, ForceBuildsThePicturesAgain) {
    SetLocal(2024, 5, 15, 10, 0, 0);
    ComputeStatus(true, true);
    HICON moon = TraySlots()[MoonIconSlot].notify.hIcon;
    HICON day = TraySlots()[DayIconSlot].notify.hIcon;
    EXPECT_TRUE(ComputeStatus(true, false));
    EXPECT_NE(TraySlots()[MoonIconSlot].notify.hIcon, moon);
    EXPECT_EQ(TraySlots()[DayIconSlot].notify.hIcon, day);  // same date: calendar untouched
}

TEST_F(StatusTest, FirstCallAfterMidnightRebuildsEverythingWithinTheGate) {
    SetLocal(2024, 5, 15, 23, 59, 50);
    ComputeStatus(true, true);
    HICON moon = TraySlots()[MoonIconSlot].notify.hIcon;
    HICON tide = TraySlots()[TideIconSlot].notify.hIcon;
    HICON day = TraySlots()[DayIconSlot].notify.hIcon;
    EXPECT_TRUE(StartsWith(CurrentStatusMemory().lastDateText, "2024年5月15日"));

    AdvanceClockOverride(15000);
    EXPECT_TRUE(ComputeStatus(false, false));
    EXPECT_TRUE(StartsWith(CurrentStatusMemory().lastDateText, "2024年5月16日"));
    EXPECT_NE(TraySlots()[MoonIconSlot].notify.hIcon, moon);
    EXPECT_NE(TraySlots()[TideIconSlot].notify.hIcon, tide);
    EXPECT_NE(TraySlots()[DayIconSlot].notify.hIcon, day);
    EXPECT_TRUE(StartsWith(Tip(DayIconSlot), LongDate() + " ")) << Tip(DayIconSlot);
}

TEST_F(StatusTest, MoonAndTideOffLeaveTheirTooltipAlone) {
    SwitchOn("00011");
    std::strcpy(TraySlots()[MoonIconSlot].tip, "keep");
    SetLocal(2024, 5, 15, 10, 0, 0);
    ComputeStatus(true, true);
    EXPECT_STREQ(Tip(MoonIconSlot), "keep");
    EXPECT_EQ(std::strncmp(Tip(DayIconSlot), "2024年5月15日", 13), 0);
}

TEST_F(StatusTest, CalendarOffLeavesItsTooltipButFollowsTheDate) {
    SwitchOn("10000");
    for (int slot = MonthIconSlot; slot <= WeekdayIconSlot; ++slot) {
        std::strcpy(TraySlots()[slot].tip, "keep");
    }
    SetLocal(2024, 5, 15, 23, 59, 50);
    ComputeStatus(true, true);
    AdvanceClockOverride(15000);
    ComputeStatus(false, false);
    EXPECT_TRUE(StartsWith(CurrentStatusMemory().lastDateText, "2024年5月16日"));
    for (int slot = MonthIconSlot; slot <= WeekdayIconSlot; ++slot) {
        EXPECT_STREQ(Tip(slot), "keep");
        EXPECT_EQ(TraySlots()[slot].notify.hIcon, nullptr);
    }
}

}  // namespace
