// Soak: the tray program's main window driven through a simulated year on a fake clock, with the
// events a resident program meets (clock set back and forward, time-zone changes, a restart of
// the taskbar, suspend and resume). Afterwards the process holds exactly the GDI and USER objects
// it held after the first day, its private bytes have not grown with the number of ticks, and
// every tick armed exactly one timer.
//
// A year of minute ticks (525,600) would take two and a half hours under Wine, where every tick
// updates five icons through the shell (about 17 ms). The year is simulated in minute ticks for
// the first and the last day and around every midnight (when the pictures of the date change),
// and in three-hour steps in between (the clock moves on and the timer fires once); the events
// come once a month. NOCTURO_SOAK_EVERY_MINUTE=1 ticks every minute instead.
#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "astro/time_zone.h"
#include "tests/win/tray_test_support.h"
#include "tray/app.h"
#include "tray/clock.h"
#include "tray/settings.h"
#include "tray/status.h"

namespace {

// --- Counting what the process holds ------------------------------------------------------------

// GetGuiResources under Wine answers 0 for every process. There, the live objects are counted by
// probing every value of the 16-bit handle index: Wine accepts a handle whose upper word is zero
// for the object at that index, whatever its generation.
constexpr uintptr_t kHandleIndexEnd = 0x10000;

int CountGdiObjects() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) {
        return static_cast<int>(reported);
    }
    int count = 0;
    for (uintptr_t i = 1; i < kHandleIndexEnd; ++i) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0) {
            ++count;
        }
    }
    return count;
}

// Windows of this process, menus, icons and cursors (user handles are even from 0x20 in Wine).
int CountUserObjects() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (reported != 0) {
        return static_cast<int>(reported);
    }
    const DWORD self = GetCurrentProcessId();
    int count = 0;
    for (uintptr_t i = 0x20; i < kHandleIndexEnd; i += 2) {
        HWND window = reinterpret_cast<HWND>(i);
        DWORD owner = 0;
        if (IsWindow(window) && GetWindowThreadProcessId(window, &owner) && owner == self) {
            ++count;
        } else if (IsMenu(reinterpret_cast<HMENU>(i))) {
            ++count;
        } else {
            ICONINFO info;
            if (GetIconInfo(reinterpret_cast<HICON>(i), &info)) {
                DeleteObject(info.hbmColor);
                DeleteObject(info.hbmMask);
                ++count;
            }
        }
    }
    return count;
}

// The private bytes. Wine leaves PrivateUsage at 0 and reports Linux's anonymous resident memory
// (RssAnon) as PagefileUsage, the field that on Windows holds the same commit charge.
SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

struct Holdings {
    int gdi;
    int user;
    SIZE_T privateBytes;
};

Holdings Measure() {
    return {CountGdiObjects(), CountUserObjects(), PrivateBytes()};
}

// The counts must see what a leak would add, or an equality after the run proves nothing.
TEST(ObjectCounts, SeeObjectsMadeAndReleased) {
    const int gdi = CountGdiObjects();
    const int user = CountUserObjects();
    HBRUSH brushes[7];
    for (HBRUSH& brush : brushes) {
        brush = CreateSolidBrush(RGB(1, 2, 3));
    }
    HMENU menus[3];
    for (HMENU& menu : menus) {
        menu = CreatePopupMenu();
    }
    EXPECT_EQ(CountGdiObjects(), gdi + 7);
    EXPECT_EQ(CountUserObjects(), user + 3);
    // A window brings companions of its own (Wine adds its input-method window).
    HWND window = CreateHiddenTestWindow();
    EXPECT_GT(CountUserObjects(), user + 3);
    for (HBRUSH brush : brushes) {
        DeleteObject(brush);
    }
    for (HMENU menu : menus) {
        DestroyMenu(menu);
    }
    DestroyWindow(window);
    EXPECT_EQ(CountGdiObjects(), gdi);
    EXPECT_EQ(CountUserObjects(), user);
    EXPECT_GT(PrivateBytes(), 0u);
}

// --- The simulated year -------------------------------------------------------------------------

// Every timer the program arms, through the replaced timer call.
struct TimerLog {
    int64_t armed;
    UINT lastInterval;
    UINT longest;
};
TimerLog timers;

UINT_PTR CountTimer(HWND, UINT_PTR id, UINT milliseconds) {
    ++timers.armed;
    timers.lastInterval = milliseconds;
    timers.longest = milliseconds > timers.longest ? milliseconds : timers.longest;
    return id;
}

constexpr int64_t kMinute = 60000;
constexpr int64_t kHour = 60 * kMinute;
constexpr int64_t kDay = 24 * kHour;
constexpr int kDays = 366;  // 2024
constexpr int kMinutesAroundMidnight = 6;
constexpr int64_t kCoarseStep = 3 * kHour;

// NOCTURO_SOAK_EVERY_MINUTE=1 ticks every minute of the year (about two and a half hours under
// Wine); the test command runs the shorter schedule.
bool EveryMinute() {
    char value[8];
    return GetEnvironmentVariableA("NOCTURO_SOAK_EVERY_MINUTE", value, sizeof value) > 0 &&
           value[0] == '1';
}

class Soak : public TraySlotsTest {
  protected:
    void SetUp() override {
        procedure = MainWindowProc;
        TraySlotsTest::SetUp();
        MSG msg;
        while (PeekMessageA(&msg, window, WM_APP_STARTUP, WM_APP_STARTUP, PM_REMOVE)) {
        }
        char folder[MAX_PATH];
        GetTempPathA(sizeof folder, folder);
        SetSettingsPaths((std::string(folder) + "nocturo-soak.exe").c_str());
        SetTimeZoneBiasOverride(-540);
        // Local 2024-01-01 00:00:00.500 in Japan.
        SetClockOverride(SYSTEMTIME{2023, 12, 0, 31, 15, 0, 0, 500});
        timers = {};
        AppCalls().setTimer = CountTimer;
        SwitchOn("11111");
        ComputeStatus(true, true);
        AddAllIcons();
        // The start-up continuation: registers "TaskbarCreated", shows the splash for a second
        // and arms the first timer.
        SendMessageA(window, WM_APP_STARTUP, 0, 0);
    }
    void TearDown() override {
        AppCalls() = SystemAppCalls();
        TraySlotsTest::TearDown();
        MSG msg;
        PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        char folder[MAX_PATH];
        GetTempPathA(sizeof folder, folder);
        DeleteFileA((std::string(folder) + "nocturo-soak.ini").c_str());
        SetSettingsPaths("");
        ClearClockOverride();
        ClearTimeZoneBiasOverride();
    }

    // The timer fires when it was due: the clock moves on by the interval last armed.
    void Tick() {
        AdvanceClockOverride(timers.lastInterval);
        Fire();
    }
    // The clock moved by `milliseconds` (a coarse step, or the system clock was set).
    void Jump(int64_t milliseconds) {
        AdvanceClockOverride(milliseconds);
        Fire();
    }
    void Fire() {
        const int64_t before = timers.armed;
        SendMessageA(window, WM_TIMER, 1, 0);
        ++ticks;
        ticksArmingOneTimer += timers.armed == before + 1 ? 1 : 0;
    }
    void Minutes(int count) {
        for (int i = 0; i < count; ++i) {
            Tick();
            ++minuteTicks;
            minuteTicksOnTheMinute += timers.lastInterval == kMinute ? 1 : 0;
        }
    }
    // The rest of a day (its first minutes already ticked), minute ticks again before midnight.
    void CoarseDay(int minutesDone) {
        if (EveryMinute()) {
            Minutes(24 * 60 - minutesDone);
            return;
        }
        int64_t left = kDay - static_cast<int64_t>(minutesDone) * kMinute -
                       static_cast<int64_t>(kMinutesAroundMidnight / 2) * kMinute;
        while (left >= kCoarseStep) {
            Jump(kCoarseStep);
            left -= kCoarseStep;
        }
        Jump(left);
        Minutes(kMinutesAroundMidnight / 2);
    }

    // Once a month, the events of a resident program's life. Returns the minutes they took.
    int MonthlyEvents(int month) {
        static const int32_t kBiases[] = {0, 300, -330, -600, -540};
        // The user sets the clock back an hour, then forward three days and back again.
        Jump(-kHour);
        SendMessageA(window, WM_TIMECHANGE, 0, 0);
        Jump(3 * kDay);
        SendMessageA(window, WM_TIMECHANGE, 0, 0);
        Jump(-3 * kDay + kHour);
        SendMessageA(window, WM_TIMECHANGE, 0, 0);
        // Another time zone for a while, then Japan again.
        SetTimeZoneBiasOverride(kBiases[month % 4]);
        SendMessageA(window, WM_WININICHANGE, 0, 0);
        Minutes(30);
        SetTimeZoneBiasOverride(-540);
        SendMessageA(window, WM_WININICHANGE, 0, 0);
        // Explorer restarts: the icons are gone until the taskbar announces itself.
        DeleteAllIcons();
        SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        // A night of suspension.
        SendMessageA(window, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
        AdvanceClockOverride(8 * kHour);
        SendMessageA(window, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
        Jump(-8 * kHour);
        ++events;
        return 30;
    }

    int64_t ticks = 0;
    int64_t ticksArmingOneTimer = 0;
    int64_t minuteTicks = 0;
    int64_t minuteTicksOnTheMinute = 0;
    int events = 0;
};

TEST_F(Soak, AYearLeavesNoObjectOrMemoryBehindAndWakesOnceAMinute) {
    Minutes(24 * 60);  // the first day, minute by minute
    const Holdings dayOne = Measure();
    const int64_t ticksOfDayOne = ticks;

    Holdings midYear = {};
    for (int day = 1; day < kDays - 1; ++day) {
        Minutes(kMinutesAroundMidnight / 2);
        SYSTEMTIME local;
        ReadLocalClock(&local);
        const int eventMinutes = local.wDay == 15 ? MonthlyEvents(local.wMonth) : 0;
        CoarseDay(kMinutesAroundMidnight / 2 + eventMinutes);
        if (day == kDays / 2) {
            midYear = Measure();
        }
    }
    Minutes(24 * 60);  // the last day into the new year, minute by minute
    const Holdings end = Measure();

    SYSTEMTIME local;
    ReadLocalClock(&local);
    EXPECT_EQ(local.wYear, 2025);
    EXPECT_EQ(InTray(), "11111");
    EXPECT_EQ(events, 12);

    // Every tick armed exactly one timer, at most a minute ahead; on the minute, a full minute.
    EXPECT_EQ(ticksArmingOneTimer, ticks);
    EXPECT_LE(timers.longest, static_cast<UINT>(kMinute));
    EXPECT_EQ(minuteTicksOnTheMinute, minuteTicks);

    EXPECT_EQ(end.gdi, dayOne.gdi);
    EXPECT_EQ(end.user, dayOne.user);
    EXPECT_EQ(midYear.gdi, dayOne.gdi);
    EXPECT_EQ(midYear.user, dayOne.user);
    // The heap may take a few more pages after the first day; a leak of 16 bytes a tick (the
    // smallest heap block) would pass the bound within the ticks that follow it.
    const int64_t growth =
        static_cast<int64_t>(end.privateBytes) - static_cast<int64_t>(dayOne.privateBytes);
    const int64_t bound = 64 * 1024;
    EXPECT_GT(16 * (ticks - ticksOfDayOne), bound);
    EXPECT_LT(growth, bound);

    std::printf(
        "soak: %lld ticks (%lld of them minute ticks), %d event rounds; day 1: %d GDI, %d USER, "
        "%llu private bytes; mid-year: %d GDI, %d USER, %llu; end: %d GDI, %d USER, %llu\n",
        static_cast<long long>(ticks), static_cast<long long>(minuteTicks), events, dayOne.gdi,
        dayOne.user, static_cast<unsigned long long>(dayOne.privateBytes), midYear.gdi,
        midYear.user, static_cast<unsigned long long>(midYear.privateBytes), end.gdi, end.user,
        static_cast<unsigned long long>(end.privateBytes));
}

}  // namespace
