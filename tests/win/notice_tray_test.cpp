// The morning notice in the running program: what it keeps in a real settings file, and the day a
// shown notice names.
#include "tray/notice_tray.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "astro/civil_dates.h"
#include "tests/win/tray_test_support.h"

namespace {

class NoticeTrayTest : public MainWindowTest {};

// A tick at or after the chosen time records the day told (the rule itself is tested natively).
TEST_F(NoticeTrayTest, ATickRecordsTheDayTold) {
    StartWith("10011");
    SendMessageW(window, WM_TIMER, 1, 0);
    char value[32];
    GetPrivateProfileStringA("Notify", "LastShown", "", value, sizeof value, iniPath.c_str());
    EXPECT_STREQ(value, "2024-05-15");
}

// Fifteen minutes before the total lunar eclipse of 3 March 2026 begins (09:50 UT) the warning
// comes, and the file keeps which eclipse it was.
TEST_F(NoticeTrayTest, EclipseWarningIsKept) {
    StartWith("10011");
    SetClockOverride(SYSTEMTIME{2026, 3, 0, 3, 9, 35, 0, 0});
    SendMessageW(window, WM_TIMER, 1, 0);
    char value[32];
    GetPrivateProfileStringA("Notify", "EclipseWarned", "", value, sizeof value, iniPath.c_str());
    EXPECT_NEAR(std::atof(value), 2461102.91, 0.01);
}

// A notice the shell takes names the day a click on it opens (the click's decoding and the calendar
// opened on a day are tested on their own).
TEST_F(NoticeTrayTest, AShownNoticeKeepsItsFirstDay) {
    StartWith("10011");
    const Notice notice = {
        "明日は建国記念の日", "明日  建国記念の日", {2030, 2, 11}
    };
    ASSERT_TRUE(ShowTrayNotice(notice));
    EXPECT_EQ(DaysFromCivil(LastNoticeDay()), DaysFromCivil({2030, 2, 11}));
}

}  // namespace
