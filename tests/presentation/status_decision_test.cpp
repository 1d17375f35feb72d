#include "presentation/status_decision.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "astro/time_scales.h"
#include "astro/time_zone.h"
#include "calendar/holidays.h"
#include "tests/astro/civil_time.h"

namespace {

// A tray program's moments, driven through DecideStatus as the Win32 side does it.
class StatusDecisionTest : public testing::Test {
  protected:
    void SetUp() override {
        SetTimeZoneBiasOverride(-540);
        memory = InitialStatusMemory();
        tip[0] = '\0';
    }
    void TearDown() override {
        ClearTimeZoneBiasOverride();
    }
    // The moment UTC year-month-day hour:minute:second, seen in the zone of `bias`.
    StatusDecision At(int year, int month, int day, int hour, int minute, int second,
                      int32_t bias = -540, bool force = false, bool notes = false) {
        SetTimeZoneBiasOverride(bias);
        const SYSTEMTIME utc = Civil(year, month, day, hour, minute, second);
        StatusRequest r = {};
        r.iconForce = force;
        r.dateForce = force;
        r.julianDate = JulianDateFromSystemTime(utc);
        SystemTimeFromJulianDate(r.julianDate - bias * kDaysPerMinute, &r.local);
        dateText = std::to_string(r.local.wYear) + "/" + std::to_string(r.local.wMonth) + "/" +
                   std::to_string(r.local.wDay);
        r.bias = bias;
        r.dateText = dateText.c_str();
        r.moonOn = r.tideOn = r.calendarOn = true;
        r.moonTip = tip;
        r.showNotes = notes;
        StatusDecision d = DecideStatus(r, &memory);
        if (d.moonTipChanged) {
            std::strcpy(tip, d.moonTip);
        }
        return d;
    }

    StatusMemory memory;
    char tip[kTooltipSize];
    std::string dateText;
};

TEST_F(StatusDecisionTest, FirstMomentBuildsEverythingThenTheGateHoldsForThirtySeconds) {
    StatusDecision d = At(2024, 5, 14, 15, 0, 0);
    EXPECT_TRUE(d.passed);
    EXPECT_GE(d.moonCell, 0);
    EXPECT_GE(d.tideCell, 0);
    EXPECT_TRUE(d.calendarChanged);
    EXPECT_TRUE(d.changed);
    // Local 2024-05-15 00:00 in Japan: the rokuyo of the day stands in the tooltip.
    EXPECT_NE(std::strstr(d.calendarTip, "大安"), nullptr) << d.calendarTip;

    d = At(2024, 5, 14, 15, 0, 30);
    EXPECT_FALSE(d.passed);
    EXPECT_FALSE(d.changed);
    d = At(2024, 5, 14, 15, 0, 31);
    EXPECT_TRUE(d.passed);
    // Same pictures, same date: nothing to build, only the age in the tooltip may move.
    EXPECT_EQ(d.moonCell, -1);
    EXPECT_EQ(d.tideCell, -1);
    EXPECT_FALSE(d.calendarChanged);
}

TEST_F(StatusDecisionTest, ANewDateRebuildsThePicturesAndTheCalendarTooltipAtOnce) {
    At(2024, 5, 14, 14, 59, 50);  // local 23:59:50
    const StatusDecision d = At(2024, 5, 14, 15, 0, 5);
    EXPECT_TRUE(d.passed);
    EXPECT_GE(d.moonCell, 0);
    EXPECT_TRUE(d.calendarChanged);
}

// The same local date in another zone can hold other facts: the winter solstice of 2023 falls on
// 12-22 in Japan and on 12-21 twelve hours west of Greenwich.
TEST_F(StatusDecisionTest, AChangedZoneRecomputesTheCalendarFactsOfTheSameDate) {
    At(2023, 12, 21, 4, 0, 0);  // 13:00 on 12-21 in Japan: no term
    StatusDecision d = At(2023, 12, 21, 4, 0, 10, -540);
    EXPECT_FALSE(d.passed);
    d = At(2023, 12, 22, 4, 0, 10, +720);  // 16:00 on 12-21 at UTC-12
    EXPECT_TRUE(d.calendarChanged);
    EXPECT_NE(std::strstr(d.calendarTip, "冬至"), nullptr) << d.calendarTip;
    d = At(2023, 12, 22, 4, 0, 20, -540);  // back in Japan: 12-22 13:00, the solstice's day
    EXPECT_TRUE(d.calendarChanged);
    EXPECT_NE(std::strstr(d.calendarTip, "冬至"), nullptr) << d.calendarTip;
}

TEST_F(StatusDecisionTest, IconsThatAreOffGetNoPictures) {
    StatusRequest r = {};
    SYSTEMTIME utc = Civil(2024, 5, 14, 15, 0, 0);
    r.iconForce = r.dateForce = true;
    r.julianDate = JulianDateFromSystemTime(utc);
    r.local = utc;
    r.bias = 0;
    r.dateText = "x";
    r.moonTip = "";
    const StatusDecision d = DecideStatus(r, &memory);
    EXPECT_TRUE(d.passed);
    EXPECT_EQ(d.moonCell, -1);
    EXPECT_EQ(d.tideCell, -1);
    EXPECT_FALSE(d.moonTipChanged);
    EXPECT_FALSE(d.calendarChanged);
    EXPECT_FALSE(d.changed);
}

}  // namespace

// 15 March 2024 in Japan is 天赦日 and 一粒万倍日 at once: with the notes on, the calendar tooltip
// ends with them, joined; off, it ends with its facts.
TEST_F(StatusDecisionTest, TheSelectedDaysFollowTheFactsOnlyWhenSwitchedOn) {
    const std::string on = At(2024, 3, 15, 3, 0, 0, -540, true, true).calendarTip;
    const std::string off = At(2024, 3, 15, 3, 0, 0, -540, true, false).calendarTip;
    EXPECT_NE(on.find(" 天赦日・一粒万倍日"), std::string::npos) << on;
    EXPECT_EQ(on.rfind(off, 0), 0u) << off;
    EXPECT_EQ(off.find("天赦日"), std::string::npos) << off;
}
