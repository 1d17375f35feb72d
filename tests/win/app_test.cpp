#include "tray/app.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "astro/time_zone.h"
#include "resources/resource.h"
#include "tests/win/tray_test_support.h"
#include "tray/clock.h"
#include "tray/settings.h"
#include "tray/status.h"
#include "tray/tray_icons.h"

namespace {

// --- Resources of the main window ---------------------------------------------------------------

struct MenuRow {
    UINT id;  // 0 for a separator
    const char* label;
};

static const MenuRow kMenuRows[] = {
    {40001,        "月について(&A)..."},
    {40002,           "カレンダー(&C)"},
    {    0,                              ""},
    {32771,  "休日・記念日編集(&E)"},
    {    0,                              ""},
    {40003,               "月相を表示"},
    {40004,            "潮回りを表示"},
    {    0,                              ""},
    {40005,    "日めくり(月)を表示"},
    {40006,    "日めくり(日)を表示"},
    {40007, "日めくり(曜日)を表示"},
    {    0,                              ""},
    {40008,                    "終了(&X)"},
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

TEST(ResourcesTest, StringsReadBackInCodePage932) {
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
        ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), row.id, text, sizeof text), 0);
        EXPECT_STREQ(text, row.text) << "string " << row.id;
    }
}

TEST(ResourcesTest, MessageOfASecondStartFitsItsBuffer) {
    char text[128];
    int length = LoadStringA(GetModuleHandleA(nullptr), IDS_ALREADYRUNNING, text, sizeof text);
    EXPECT_LT(length, 127);
}

TEST(ResourcesTest, ProgramIconAndTitle) {
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_NOCTURO)), nullptr);
    EXPECT_STREQ(GetAppTitle(), "Nocturo");
}

// --- The main window ----------------------------------------------------------------------------

// A window of the program's own procedure under another class name (so that it does not pass for
// a running instance), its slots prepared, the clock fixed, the settings in a temporary folder.
class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        static ATOM windowClass = 0;
        if (!windowClass) {
            WNDCLASSA c = {};
            c.lpfnWndProc = MainWindowProc;
            c.hInstance = GetModuleHandleA(nullptr);
            c.lpszClassName = "NoctuTestMain";
            windowClass = RegisterClassA(&c);
        }
        window =
            CreateWindowExA(WS_EX_TOOLWINDOW, "NoctuTestMain", "Nocturo", WS_OVERLAPPEDWINDOW, 0, 0,
                            100, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        // The start-up continuation posted by WM_CREATE would show the splash; not here.
        MSG msg;
        while (PeekMessageA(&msg, window, WM_APP_STARTUP, WM_APP_STARTUP, PM_REMOVE)) {
        }
        for (int i = 0; i < TrayIconCount; ++i) {
            savedEnabled[i] = TraySlots()[i].enabled;
        }
        char folder[MAX_PATH];
        GetTempPathA(sizeof folder, folder);
        modulePath = std::string(folder) + "nocturo-tray-test.exe";
        iniPath = std::string(folder) + "nocturo-tray-test.ini";
        DeleteFileA(iniPath.c_str());
        SetSettingsPaths(modulePath.c_str());
        SetTimeZoneBiasOverride(-540);
        SYSTEMTIME utc = {2024, 5, 0, 15, 1, 0, 0, 0};
        SetClockOverride(utc);
        PrepareSlots(window);
    }
    void TearDown() override {
        for (int i = 0; i < TrayIconCount; ++i) {
            Shell_NotifyIconA(NIM_DELETE, &TraySlots()[i].notify);
            TraySlots()[i].enabled = savedEnabled[i];
        }
        ReleaseSlots();
        KillTimer(window, 1);
        DestroyWindow(window);
        // WM_DESTROY posted the quit message; it must not end a later message loop.
        MSG msg;
        PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        DeleteFileA(iniPath.c_str());
        SetSettingsPaths("");
        ClearClockOverride();
        ClearTimeZoneBiasOverride();
    }
    void SwitchOn(const char* pattern) {
        for (int i = 0; i < TrayIconCount; ++i) {
            TraySlots()[i].enabled = pattern[i] == '1';
        }
    }
    void StartWith(const char* pattern) {
        SwitchOn(pattern);
        ComputeStatus(true, true);
        AddAllIcons();
    }
    std::string InTray() {
        std::string s;
        for (int i = 0; i < TrayIconCount; ++i) {
            s += ShellHasIcon(window, i) ? '1' : '0';
        }
        return s;
    }
    std::string Switches() {
        std::string s;
        for (int i = 0; i < TrayIconCount; ++i) {
            s += TraySlots()[i].enabled ? '1' : '0';
        }
        return s;
    }
    std::string Setting(const char* key) {
        char value[16];
        GetPrivateProfileStringA("Settings", key, "(none)", value, sizeof value, iniPath.c_str());
        return value;
    }

    HWND window = nullptr;
    int32_t savedEnabled[TrayIconCount] = {};
    std::string modulePath;
    std::string iniPath;
};

TEST_F(MainWindowTest, SwitchingOnReaddsEveryIconThatIsOn) {
    StartWith("10011");
    ToggleIcon(1);
    EXPECT_EQ(Switches(), "11011");
    EXPECT_EQ(InTray(), "11011");
    EXPECT_EQ(Setting("TideIcon"), "1");
    EXPECT_EQ(std::strncmp(TraySlots()[TideIconSlot].notify.szTip, "月齢", 4), 0);
}

TEST_F(MainWindowTest, SwitchingOnACalendarIconShowsTheDateAtOnce) {
    StartWith("10000");
    ASSERT_EQ(TraySlots()[MonthIconSlot].notify.hIcon, nullptr);
    ToggleIcon(2);
    EXPECT_EQ(InTray(), "10100");
    EXPECT_NE(TraySlots()[MonthIconSlot].notify.hIcon, nullptr);
    EXPECT_EQ(std::strncmp(TraySlots()[MonthIconSlot].notify.szTip, "2024年5月15日", 13), 0);
}

TEST_F(MainWindowTest, SwitchingOffRemovesThatIconAlone) {
    StartWith("10011");
    ToggleIcon(3);
    EXPECT_EQ(Switches(), "10001");
    EXPECT_EQ(InTray(), "10001");
    EXPECT_EQ(Setting("DayIcon"), "0");
}

TEST_F(MainWindowTest, TheOnlyIconThatIsOnCannotBeSwitchedOff) {
    StartWith("00010");
    ToggleIcon(3);
    EXPECT_EQ(Switches(), "00010");
    EXPECT_EQ(InTray(), "00010");
    EXPECT_EQ(Setting("DayIcon"), "(none)");  // nothing written
}

TEST_F(MainWindowTest, CheckMarksFollowTheSwitches) {
    SwitchOn("01101");
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_RIGHTMENU));
    HMENU popup = GetSubMenu(menu, 0);
    CheckMenuItem(popup, IDM_MOONINFO, MF_BYCOMMAND | MF_CHECKED);
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    const char* expected = "01101";
    for (int i = 0; i < TrayIconCount; ++i) {
        UINT state = GetMenuState(popup, IDM_TOGGLEMOON + i, MF_BYCOMMAND);
        EXPECT_EQ((state & MF_CHECKED) != 0, expected[i] == '1') << "icon " << i;
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

TEST_F(MainWindowTest, ResumeRecomputesOtherPowerEventsDoNot) {
    StartWith("10011");
    const double first = CurrentStatusMemory().lastCenturies;
    AdvanceClockOverride(5000);  // within the gate: only a forced computation goes through
    SendMessageA(window, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_EQ(CurrentStatusMemory().lastCenturies, first);
    SendMessageA(window, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_GT(CurrentStatusMemory().lastCenturies, first);
}

TEST_F(MainWindowTest, MouseMovementRecomputesPastTheGate) {
    StartWith("10011");
    const double first = CurrentStatusMemory().lastCenturies;
    AdvanceClockOverride(10000);
    SendMessageA(window, WM_APP_TRAY, 0, WM_MOUSEMOVE);
    EXPECT_EQ(CurrentStatusMemory().lastCenturies, first);
    AdvanceClockOverride(25000);
    SendMessageA(window, WM_APP_TRAY, 0, WM_MOUSEMOVE);
    EXPECT_GT(CurrentStatusMemory().lastCenturies, first);
    const double second = CurrentStatusMemory().lastCenturies;
    AdvanceClockOverride(60000);
    SendMessageA(window, WM_APP_TRAY, 7, WM_MOUSEMOVE);  // no such icon: ignored
    EXPECT_EQ(CurrentStatusMemory().lastCenturies, second);
}

TEST_F(MainWindowTest, TimeChangeRefreshesAndArmsTheTimerForHalfPastTheMinute) {
    StartWith("10011");
    // Local 10:00:59.900: the tick is due 600 ms later.
    SYSTEMTIME utc = {2024, 5, 0, 15, 1, 0, 59, 900};
    SetClockOverride(utc);
    SendMessageA(window, WM_TIMECHANGE, 0, 0);
    const DWORD start = GetTickCount();
    MSG msg;
    bool ticked = false;
    while (!ticked && GetTickCount() - start < 3000) {
        ticked = PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE) != 0;
        Sleep(10);
    }
    EXPECT_TRUE(ticked);
    EXPECT_GE(GetTickCount() - start, 400u);
}

// --- Start-up -----------------------------------------------------------------------------------

// A window of the class "NOCTU" on a thread of its own, standing for a running instance; with
// `hangs` it ignores the request to close.
class RunningInstance {
  public:
    explicit RunningInstance(bool hangs) : hangs_(hangs) {
        thread_ = std::thread([this] { Run(); });
        while (!ready_) {
            Sleep(1);
        }
    }
    ~RunningInstance() {
        if (window_) {
            PostMessageA(window_, WM_APP + 1, 0, 0);
        }
        thread_.join();
    }
    HWND window() const {
        return window_;
    }

  private:
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<RunningInstance*>(GetWindowLongPtrA(w, GWLP_USERDATA));
        if (m == WM_CLOSE && self && self->hangs_) {
            return 0;
        }
        if (m == WM_APP + 1 || m == WM_DESTROY) {
            if (m == WM_APP + 1) {
                DestroyWindow(w);
            }
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcA(w, m, wp, lp);
    }
    void Run() {
        WNDCLASSA c = {};
        c.lpfnWndProc = Proc;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = kMainWindowClass;
        RegisterClassA(&c);
        HWND w = CreateWindowExA(0, kMainWindowClass, "Nocturo", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        window_ = w;
        ready_ = true;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            DispatchMessageA(&msg);
        }
        if (IsWindow(w)) {
            DestroyWindow(w);
        }
        UnregisterClassA(kMainWindowClass, GetModuleHandleA(nullptr));
    }

    bool hangs_;
    std::atomic<HWND> window_{nullptr};
    std::atomic<bool> ready_{false};
    std::thread thread_;
};

TEST(StartupTest, CloseOptionWithoutARunningInstanceEndsAtOnce) {
    ASSERT_EQ(FindWindowA(kMainWindowClass, nullptr), nullptr);
    EXPECT_EQ(RunApplication(GetModuleHandleA(nullptr), "-r"), 0);
    EXPECT_EQ(RunApplication(GetModuleHandleA(nullptr), "-R"), 0);
    EXPECT_EQ(FindWindowA(kMainWindowClass, nullptr), nullptr);
}

TEST(StartupTest, CloseOptionClosesTheRunningInstance) {
    RunningInstance running(false);
    ASSERT_EQ(FindWindowA(kMainWindowClass, nullptr), running.window());
    EXPECT_EQ(RunApplication(GetModuleHandleA(nullptr), "-R"), 0);
    EXPECT_EQ(FindWindowA(kMainWindowClass, nullptr), nullptr);
}

TEST(StartupTest, WaitForAHungInstanceEndsAfterTheLimit) {
    RunningInstance running(true);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(CloseRunningInstance(running.window(), 300));
    const DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 300u);
    EXPECT_LT(waited, 3000u);
    EXPECT_NE(FindWindowA(kMainWindowClass, nullptr), nullptr);
}

}  // namespace
