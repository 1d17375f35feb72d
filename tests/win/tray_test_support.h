// Helpers of the tray program's tests under Wine: a hidden window for the shell to talk to, the
// slots prepared for it, and pixel read-back of bitmaps and icons.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "astro/time_zone.h"
#include "tray/app.h"
#include "tray/clock.h"
#include "tray/settings.h"
#include "tray/status.h"
#include "tray/tray_icons.h"

// A hidden top-level window of `procedure` (the default one when null), owned by the calling
// thread.
HWND CreateHiddenTestWindow(WNDPROC procedure = nullptr);

// Pixels of a bitmap as 0x00RRGGBB, rows top to bottom; empty when it cannot be read.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;
    uint32_t At(int x, int y) const {
        return rgb[static_cast<size_t>(y) * width + x];
    }
};
Pixels ReadBitmap(HBITMAP bitmap);

// Pixels of a bitmap resource of the running module, exactly as drawn (read as a DIB section).
Pixels ReadBitmapResource(int resource);

// Colour and mask of an icon (mask pixels 0x00FFFFFF where transparent, 0 where opaque).
struct IconPixels {
    Pixels color;
    Pixels mask;
};
IconPixels ReadIcon(HICON icon);

constexpr uint32_t kMagenta = 0x00FF00FF;
constexpr uint32_t kWhite = 0x00FFFFFF;

// Whether the shell holds an icon of window/id (a modification without any field to change
// succeeds only for an icon it knows).
bool ShellHasIcon(HWND window, UINT id);

// Sends `window` the tray callback a shell speaking version 4 sends for `event` on icon `id`.
void SendTrayEvent(HWND window, UINT id, UINT event);

// The program's slots prepared for a hidden window of `procedure`; the switches are given back and
// the icons taken out of the tray afterwards. Patterns are one digit per slot: "10011" is Moon,
// day and weekday.
class TraySlotsTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    void SwitchOn(const char* pattern);
    std::string Switches() const;
    std::string InTray() const;

    WNDPROC procedure = nullptr;
    HWND window = nullptr;
    int32_t savedEnabled[TrayIconCount] = {};
};

// The main window of the program on the slots, its settings file in the temporary folder, the
// clock and zone fixed at 15 May 2024 in Japan.
class MainWindowTest : public TraySlotsTest {
  protected:
    void SetUp() override {
        procedure = MainWindowProc;
        TraySlotsTest::SetUp();
        // The start-up continuation posted by WM_CREATE would show the splash; not here.
        MSG msg;
        while (PeekMessageA(&msg, window, WM_APP_STARTUP, WM_APP_STARTUP, PM_REMOVE)) {
        }
        char folder[MAX_PATH];
        GetTempPathA(sizeof folder, folder);
        iniPath = std::string(folder) + "nocturo-tray-test.ini";
        DeleteFileA(iniPath.c_str());
        SetSettingsPaths((std::string(folder) + "nocturo-tray-test.exe").c_str());
        SetTimeZoneBiasOverride(-540);
        SetClockOverride(SYSTEMTIME{2024, 5, 0, 15, 1, 0, 0, 0});
    }
    void TearDown() override {
        KillTimer(window, 1);
        TraySlotsTest::TearDown();
        // WM_DESTROY posted the quit message; it must not end a later message loop.
        MSG msg;
        PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        DeleteFileA(iniPath.c_str());
        SetSettingsPaths("");
        ClearClockOverride();
        ClearTimeZoneBiasOverride();
    }
    void StartWith(const char* pattern) {
        SwitchOn(pattern);
        ComputeStatus(true, true);
        AddAllIcons();
    }
    std::string Setting(const char* key) {
        char value[16];
        GetPrivateProfileStringA("Settings", key, "(none)", value, sizeof value, iniPath.c_str());
        return value;
    }

    std::string iniPath;
};
