#include "tray/app.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"
#include "calendar/holidays.h"
#include "calendar/month_model.h"
#include "resources/resource.h"
#include "tests/win/tray_test_support.h"
#include "tray/clock.h"
#include "tray/settings.h"
#include "tray/status.h"

namespace {

// --- Resources of the main window ---------------------------------------------------------------

struct MenuRow {
    UINT id;  // 0 for a separator
    const char* label;
};

static const MenuRow kMenuRows[] = {
    {40001,            "月について(&A)..."},
    {40002,               "カレンダー(&C)"},
    {    0,                                  ""},
    {32771,      "休日・記念日編集(&E)"},
    {40011,            "場所の設定(&P)..."},
    {40014,      "お知らせの設定(&N)..."},
    {    0,                                  ""},
    {40003,                   "月相を表示"},
    {40004,                "潮回りを表示"},
    {    0,                                  ""},
    {40005,        "日めくり(月)を表示"},
    {40006,        "日めくり(日)を表示"},
    {40007,     "日めくり(曜日)を表示"},
    {40010,               "暦注を表示(&K)"},
    {    0,                                  ""},
    {40009, "Windows の起動時に実行(&S)"},
    {    0,                                  ""},
    {40008,                        "終了(&X)"},
};

TEST(ResourcesTest, MenuHoldsTheRightMenuWithItsItemsInOrder) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_RIGHTMENU));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 1);
    char text[64];
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "RightMenu");
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    const int count = static_cast<int>(sizeof kMenuRows / sizeof kMenuRows[0]);
    ASSERT_EQ(GetMenuItemCount(popup), count);
    for (int i = 0; i < count; ++i) {
        const MenuRow& row = kMenuRows[i];
        if (row.id == 0) {
            EXPECT_TRUE(GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR) << "item " << i;
            continue;
        }
        EXPECT_EQ(GetMenuItemID(popup, i), row.id) << "item " << i;
        GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, row.label) << "item " << i;
    }
    DestroyMenu(menu);
}

// The message of a second start must also fit its 128-byte buffer whole.
TEST(ResourcesTest, StringsReadBackInCodePage932AndTheProgramIconLoads) {
    struct Row {
        UINT id;
        const char* text;
    };
    static const Row kRows[] = {
        {102, "既に起動しています。\n操作するには、タスクトレイのアイコンを右クリックします。"},
        {103,                                                                                                      "月齢を消す"},
        {104,                                                                                                      "月齢を書く"},
        {105,                                                         "無効な日付指定です。再入力してください。"},
        {106,                                                                                 "名称を入力してください。"},
    };
    for (const Row& row : kRows) {
        char text[128];
        const int length = LoadStringA(GetModuleHandleA(nullptr), row.id, text, sizeof text);
        EXPECT_GT(length, 0);
        EXPECT_LT(length, 127);
        EXPECT_STREQ(text, row.text) << "string " << row.id;
    }
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_NOCTURO)), nullptr);
}

// --- The main window ----------------------------------------------------------------------------

// A window of the program's own procedure under another class name (so that it does not pass for
// a running instance), its slots prepared, the clock fixed, the settings in a temporary folder.

struct ToggleCase {
    const char* name;
    const char* before;
    int index;
    const char* after;  // switches and icons in the tray
    const char* key;
    const char* setting;  // "(none)": nothing written
};

// Switching one on adds every icon that is on again, with its picture and tooltip at once.
static const ToggleCase kToggleCases[] = {
    {  "SwitchingOnReaddsEveryIconThatIsOn", "10011", 1, "11011",  "TideIcon",      "1"},
    {"SwitchingOnACalendarIconShowsTheDate", "10000", 2, "10100", "MonthIcon",      "1"},
    {    "SwitchingOffRemovesThatIconAlone", "10011", 3, "10001",   "DayIcon",      "0"},
    {      "TheOnlyIconThatIsOnCannotGoOff", "00010", 3, "00010",   "DayIcon", "(none)"},
};

class ToggleIconTest : public MainWindowTest, public testing::WithParamInterface<ToggleCase> {};

TEST_P(ToggleIconTest, SwitchesTrayAndSettings) {
    const ToggleCase& c = GetParam();
    StartWith(c.before);
    const TrayIconSlot& slot = TraySlots()[c.index];
    const NOTIFYICONDATAW& notify = slot.notify;
    if (c.index >= MonthIconSlot && c.before[c.index] == '0') {
        ASSERT_EQ(notify.hIcon, nullptr);  // a calendar icon that is off is not drawn
    }
    ToggleIcon(c.index);
    EXPECT_EQ(Switches(), c.after);
    EXPECT_EQ(InTray(), c.after);
    EXPECT_EQ(Setting(c.key), c.setting);
    if (c.after[c.index] == '1') {
        EXPECT_NE(notify.hIcon, nullptr);
        const std::string tip = c.index < MonthIconSlot ? "月齢" : "2024年5月15日";
        EXPECT_EQ(std::string(slot.tip).substr(0, tip.size()), tip);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ToggleIconTest, testing::ValuesIn(kToggleCases),
                         [](const testing::TestParamInfo<ToggleCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(MainWindowTest, CheckMarksFollowTheSwitches) {
    SwitchOn("01101");
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_RIGHTMENU));
    HMENU popup = GetSubMenu(menu, 0);
    CheckMenuItem(popup, IDM_MOONINFO, MF_BYCOMMAND | MF_CHECKED);
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    for (int i = 0; i < TrayIconCount; ++i) {
        UINT state = GetMenuState(popup, IDM_TOGGLEMOON + i, MF_BYCOMMAND);
        EXPECT_EQ((state & MF_CHECKED) != 0, "01101"[i] == '1') << "icon " << i;
    }
    // Other items are left alone.
    EXPECT_TRUE(GetMenuState(popup, IDM_MOONINFO, MF_BYCOMMAND) & MF_CHECKED);
    DestroyMenu(menu);
}

TEST_F(MainWindowTest, MenuCommandsToggleAndExitCloses) {
    StartWith("10011");
    SendMessageA(window, WM_COMMAND, IDM_TOGGLEWEEKDAY, 0);
    EXPECT_EQ(Switches(), "10010");
    SendMessageA(window, WM_COMMAND, 12345, 0);  // ignored
    SendMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, window, WM_CLOSE, WM_CLOSE, PM_REMOVE));
}

TEST_F(MainWindowTest, TaskbarRestartAddsTheIconsAgain) {
    StartWith("10011");
    // The start-up continuation registers the message; its splash is of no concern here.
    SendMessageA(window, WM_APP_STARTUP, 0, 0);
    KillTimer(window, 1);
    DeleteAllIcons();
    ASSERT_EQ(InTray(), "00000");
    SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(InTray(), "10011");
}

TEST_F(MainWindowTest, DestroyRemovesTheIconsAndPostsQuit) {
    StartWith("10011");
    DestroyWindow(window);
    window = nullptr;
    EXPECT_EQ(InTray(), "00000");
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
}

// Within the gate only a forced computation goes through.
TEST_F(MainWindowTest, ResumeForcesARecomputationMouseMovementPassesTheGate) {
    StartWith("10011");
    double last = CurrentStatusMemory().lastCenturies;
    AdvanceClockOverride(5000);
    SendMessageA(window, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_EQ(CurrentStatusMemory().lastCenturies, last);
    SendMessageA(window, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_GT(CurrentStatusMemory().lastCenturies, last);
    last = CurrentStatusMemory().lastCenturies;
    AdvanceClockOverride(10000);
    SendTrayEvent(window, 0, WM_MOUSEMOVE);
    EXPECT_EQ(CurrentStatusMemory().lastCenturies, last);
    AdvanceClockOverride(25000);
    SendTrayEvent(window, 0, WM_MOUSEMOVE);
    EXPECT_GT(CurrentStatusMemory().lastCenturies, last);
    last = CurrentStatusMemory().lastCenturies;
    AdvanceClockOverride(60000);
    SendTrayEvent(window, 7, WM_MOUSEMOVE);  // no such icon: ignored
    EXPECT_EQ(CurrentStatusMemory().lastCenturies, last);
}

// The timers the program arms, as the replaced timer call saw them.
std::vector<UINT> armedIntervals;

UINT_PTR RecordTimer(HWND, UINT_PTR id, UINT milliseconds) {
    armedIntervals.push_back(milliseconds);
    return id;
}

TEST_F(MainWindowTest, TimeChangeRefreshesAndArmsTheTimerForHalfPastTheMinute) {
    StartWith("10011");
    armedIntervals.clear();
    AppCalls().setTimer = RecordTimer;
    const double last = CurrentStatusMemory().lastCenturies;
    // Local 10:00:59.900: the tick is due 600 ms later.
    SetClockOverride(SYSTEMTIME{2024, 5, 0, 15, 1, 0, 59, 900});
    SendMessageA(window, WM_TIMECHANGE, 0, 0);
    AdvanceClockOverride(600);
    SendMessageA(window, WM_TIMER, 1, 0);
    AppCalls() = SystemAppCalls();
    EXPECT_GT(CurrentStatusMemory().lastCenturies, last);
    EXPECT_EQ(armedIntervals, (std::vector<UINT>{600, 60000}));
}

// What the holiday editor's OK sets off: the saved record reaches the tooltip and the calendar at
// once through the full refresh, and is read back from the file by the next start.
TEST_F(MainWindowTest, ASavedHolidayShowsInTheTooltipAndTheCalendarAndSurvivesARestart) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    const std::string dataPath = std::string(folder) + "nocturo-tray-test.dat";
    DeleteFileA(dataPath.c_str());
    SetCustomHolidayPath(dataPath.c_str());
    StartWith("10011");
    ASSERT_EQ(std::string(TraySlots()[DayIconSlot].tip).find("創立記念日"), std::string::npos);

    CustomHoliday record = {};
    record.kind = DayOff;
    record.firstYear = 2000;
    record.lastYear = 2100;
    record.rule = ByDate;
    record.month = 5;
    record.day = 15;
    std::strcpy(record.name, "創立記念日");
    ASSERT_GE(InsertCustomHoliday(record), 0);
    ASSERT_TRUE(SaveCustomHolidays());
    FullRefresh();
    EXPECT_NE(std::string(TraySlots()[DayIconSlot].tip).find("創立記念日"), std::string::npos)
        << TraySlots()[DayIconSlot].tip;
    ComputeMonthModel(2024, 5);
    EXPECT_STREQ(CurrentMonthModel().cells[17].holidayName, "創立記念日");  // 15 May, a Wednesday

    // The next start reads the file afresh.
    SetCustomHolidayPath(dataPath.c_str());
    InvalidateHolidayCache();
    InvalidateMonthModel();
    ComputeMonthModel(2024, 5);
    EXPECT_STREQ(CurrentMonthModel().cells[17].holidayName, "創立記念日");

    SetCustomHolidayPath("");
    InvalidateHolidayCache();
    InvalidateMonthModel();
    DeleteFileA(dataPath.c_str());
}

// --- The popup menu -----------------------------------------------------------------------------

// Stands for the menu's own modal loop: while "tracking", the tray reports a second right click
// and the release message of an earlier menu arrives.
int trackedMenus = 0;
HMENU menuDuringTracking = nullptr;
HWND trackingOwner = nullptr;

BOOL TrackWithNestedEvents(HMENU, UINT, int, int, HWND owner) {
    ++trackedMenus;
    trackingOwner = owner;
    SendTrayEvent(owner, MoonIconSlot, WM_CONTEXTMENU);
    SendMessageA(owner, WM_APP_MENUDONE, 0, 0);
    menuDuringTracking = CurrentPopupMenu();
    return TRUE;
}

TEST_F(MainWindowTest, ASecondMenuRequestOrAStaleReleaseWhileTrackingChangesNothing) {
    StartWith("10011");
    trackedMenus = 0;
    AppCalls().trackPopupMenu = TrackWithNestedEvents;
    SendTrayEvent(window, MoonIconSlot, WM_CONTEXTMENU);
    EXPECT_EQ(trackedMenus, 1);
    EXPECT_NE(menuDuringTracking, nullptr);
    EXPECT_EQ(CurrentPopupMenu(), menuDuringTracking);

    // Its own release message, queued behind, frees the menu.
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, window, WM_APP_MENUDONE, WM_APP_MENUDONE, PM_REMOVE));
    SendMessageA(window, WM_APP_MENUDONE, msg.wParam - 1, 0);  // an earlier menu's: ignored
    EXPECT_NE(CurrentPopupMenu(), nullptr);
    SendMessageA(window, WM_APP_MENUDONE, msg.wParam, 0);
    EXPECT_EQ(CurrentPopupMenu(), nullptr);
    AppCalls() = SystemAppCalls();
}

// --- Start-up -----------------------------------------------------------------------------------

// A window of the class "NOCTU" on a thread of its own, standing for a running instance; with
// `hangs` it ignores the request to close.
class RunningInstance {
  public:
    explicit RunningInstance(bool hangs) : thread_([this, hangs] { Run(hangs); }) {
        while (!window_) {
            Sleep(1);
        }
    }
    ~RunningInstance() {
        PostMessageA(window_, WM_APP + 1, 0, 0);
        thread_.join();
    }
    HWND window() const {
        return window_;
    }

  private:
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m == WM_CLOSE && GetWindowLongPtrA(w, GWLP_USERDATA)) {
            return 0;
        }
        if (m == WM_APP + 1) {
            DestroyWindow(w);
        }
        if (m == WM_APP + 1 || m == WM_DESTROY) {
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcW(w, m, wp, lp);
    }
    void Run(bool hangs) {
        WNDCLASSW c = {};
        c.lpfnWndProc = Proc;
        c.hInstance = GetModuleHandleW(nullptr);
        c.lpszClassName = kMainWindowClass;
        RegisterClassW(&c);
        HWND w = CreateWindowExW(0, kMainWindowClass, L"Nocturo", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10,
                                 nullptr, nullptr, c.hInstance, nullptr);
        SetWindowLongPtrA(w, GWLP_USERDATA, hangs);
        window_ = w;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            DispatchMessageA(&msg);
        }
        if (IsWindow(w)) {
            DestroyWindow(w);
        }
        UnregisterClassW(kMainWindowClass, c.hInstance);
    }

    std::atomic<HWND> window_{nullptr};
    std::thread thread_;
};

TEST(StartupTest, CloseOptionWithoutARunningInstanceEndsAtOnce) {
    ASSERT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr);
    EXPECT_EQ(RunApplication(GetModuleHandleA(nullptr), "-r"), 0);
    EXPECT_EQ(RunApplication(GetModuleHandleA(nullptr), "-R"), 0);
    EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr);
}

TEST(StartupTest, CloseOptionClosesTheRunningInstance) {
    RunningInstance running(false);
    ASSERT_EQ(FindWindowW(kMainWindowClass, nullptr), running.window());
    EXPECT_EQ(RunApplication(GetModuleHandleA(nullptr), "-R"), 0);
    EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr);
}

// A clock that moves 100 ms at every pause of a wait, and counts the pauses.
uint64_t fakeNow = 0;
int pauses = 0;

uint64_t FakeMilliseconds() {
    return fakeNow;
}

void FakePause() {
    ++pauses;
    fakeNow += 100;
    Sleep(1);  // lets the instance's thread answer
}

// Message boxes the program showed, by text and caption.
std::vector<std::string> shownMessages;

int RecordMessageBox(HWND, const char* text, const char* caption, UINT) {
    shownMessages.push_back(std::string(caption) + ": " + text);
    return IDOK;
}

class StartupWithFakes : public testing::Test {
  protected:
    void SetUp() override {
        fakeNow = 0;
        pauses = 0;
        shownMessages.clear();
        AppCalls().milliseconds = FakeMilliseconds;
        AppCalls().pause = FakePause;
        AppCalls().messageBox = RecordMessageBox;
    }
    void TearDown() override {
        AppCalls() = SystemAppCalls();
    }
};

const char kRunningMessage[] =
    "Nocturo: 既に起動しています。\n操作するには、タスクトレイのアイコンを右クリックします。";

TEST_F(StartupWithFakes, WaitForAHungInstanceEndsAfterTheLimit) {
    RunningInstance running(true);
    EXPECT_FALSE(CloseRunningInstance(running.window(), nullptr, 300));
    EXPECT_EQ(pauses, 3);
    EXPECT_NE(FindWindowW(kMainWindowClass, nullptr), nullptr);
}

TEST_F(StartupWithFakes, ASecondStartWithoutOptionsShowsMessage102AndEnds) {
    RunningInstance running(false);
    EXPECT_EQ(RunApplication(GetModuleHandleA(nullptr), ""), 0);
    EXPECT_EQ(shownMessages, std::vector<std::string>{kRunningMessage});
    EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), running.window());
}

TEST_F(StartupWithFakes, RestartWithAHungInstanceShowsMessage102AfterTheLimit) {
    RunningInstance running(true);
    EXPECT_EQ(RunApplication(GetModuleHandleA(nullptr), "-v"), 0);
    EXPECT_EQ(shownMessages, std::vector<std::string>{kRunningMessage});
    EXPECT_EQ(fakeNow, uint64_t{kCloseWaitMilliseconds});
    EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), running.window());
}

// Another process holding the instance mutex stands for an instance that is still starting.
TEST_F(StartupWithFakes, AnInstanceStartingAtTheSameMomentIsFoundByItsMutex) {
    HANDLE held = nullptr;
    std::atomic<bool> release{false};
    std::thread holder([&] {
        held = CreateMutexW(nullptr, TRUE, kInstanceMutexName);
        while (!release) {
            Sleep(1);
        }
        ReleaseMutex(held);
        CloseHandle(held);
    });
    while (!held) {
        Sleep(1);
    }
    EXPECT_EQ(RunApplication(GetModuleHandleA(nullptr), ""), 0);
    release = true;
    holder.join();
    EXPECT_EQ(shownMessages, std::vector<std::string>{kRunningMessage});
}

}  // namespace
