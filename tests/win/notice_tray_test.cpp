// The morning notice in the running program: LastShown in a real settings file across ticks and
// clock changes, and the click on a notice, which Wine never sends, sent by hand.
#include "tray/notice_tray.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <cstdlib>
#include <string>

#include "tests/win/tray_test_support.h"
#include "ui/calendar_window.h"
#include "ui/dialogs.h"

namespace {

struct StateCase {
    bool queried;
    int32_t state;
    bool shows;
};
static const StateCase kStates[] = {
    {false, 0,  true}, // no answer (Wine): may show
    { true, 1,  true}, // QUNS_NOT_PRESENT: the shell queues it
    { true, 2, false}, // QUNS_BUSY
    { true, 3, false}, // QUNS_RUNNING_D3D_FULL_SCREEN
    { true, 4, false}, // QUNS_PRESENTATION_MODE
    { true, 5,  true}, // QUNS_ACCEPTS_NOTIFICATIONS
    { true, 7,  true}, // QUNS_APP (Windows 8): a store app in front, not full screen
};

TEST(NoticeMayShowIn, QuietOnlyForFullScreenAndPresentations) {
    for (const StateCase& c : kStates) {
        EXPECT_EQ(NoticeMayShowIn(c.queried, c.state), c.shows) << c.state;
    }
}

class NoticeTrayTest : public MainWindowTest {
  protected:
    std::string LastShown() {
        char value[32];
        GetPrivateProfileStringA("Notify", "LastShown", "(none)", value, sizeof value,
                                 iniPath.c_str());
        return value;
    }
    // The clock at 10:00 of a date in Japan.
    void SetMorning(uint16_t month, uint16_t day) {
        SetClockOverride(SYSTEMTIME{2024, month, 0, day, 1, 0, 0, 0});
    }
};

// The day is told once: a second tick, and a clock set back a day, leave LastShown alone; a clock
// set forward gives the new day.
TEST_F(NoticeTrayTest, LastShownFollowsTheDays) {
    StartWith("10011");
    SendMessageW(window, WM_TIMER, 1, 0);
    EXPECT_EQ(LastShown(), "2024-05-15");
    SetMorning(5, 14);
    SendMessageW(window, WM_TIMECHANGE, 0, 0);
    EXPECT_EQ(LastShown(), "2024-05-15");
    SetMorning(5, 17);
    SendMessageW(window, WM_TIMER, 1, 0);
    EXPECT_EQ(LastShown(), "2024-05-17");
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

CalendarPosition gOpenedAt = {};
uint16_t gChosenDay = 0;

void CALLBACK CloseCalendar(HWND, UINT, UINT_PTR, DWORD) {
    const MoonCalendarDialogState& state = GetMoonCalendarDialogState();
    if (state.open && state.window && IsWindowVisible(state.window)) {
        gOpenedAt = state.position;
        gChosenDay = state.chosenDay;
        SendMessageW(state.window, WM_CLOSE, 0, 0);
    }
}

// A click on the notice opens the calendar on the first day it named.
TEST_F(NoticeTrayTest, ClickOpensTheCalendarOnTheNoticesDay) {
    StartWith("10011");
    SetWindowServices(WindowServices{GetModuleHandleA(nullptr), ReadShowAge, WriteShowAge,
                                     FullRefresh, ReadWeekStart, WriteWeekStart, ReadShowEra,
                                     WriteShowEra});
    Notice notice = {
        "明日は建国記念の日", "明日  建国記念の日", {2030, 2, 11}
    };
    ASSERT_TRUE(ShowTrayNotice(notice));
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseCalendar);
    SendTrayEvent(window, 0, NIN_BALLOONUSERCLICK);
    KillTimer(nullptr, timer);
    EXPECT_EQ(gOpenedAt.year, 2030);
    EXPECT_EQ(gOpenedAt.month, 2);
    EXPECT_EQ(gChosenDay, 11);
}

}  // namespace
