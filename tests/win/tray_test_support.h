// Helpers of the tray program's tests under Wine: a hidden window for the shell to talk to, the
// slots prepared for it, and pixel read-back of bitmaps and icons.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

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
