// The start-up splash: the title picture, borderless and centred on the screen, for one second;
// at the program's first start also a few lines on where Windows 11 puts new tray icons.
#pragma once

#include <windows.h>

#include <string>

#include "ui/palette.h"

// Process-wide state of the one splash window.
struct SplashState {
    HBITMAP bitmap;  // the picture (bitmap 153) while the splash is open; null otherwise
    int width;       // of the picture in pixels
    int height;
    PaletteContext palette;  // made from the picture's colour table on palette displays
    std::wstring hint;       // the first start's lines under the picture; empty otherwise
    RECT hintBox;            // where they are drawn, in client coordinates
};

// The splash state, for the dialog procedure and for tests.
SplashState& GetSplashState();

// Runs the splash (dialog 151 of `module`) modally, owned by owner (may be null), and returns when
// it has closed: after its first timer tick, one second after it appeared. With `firstStart` it
// also says (string 114) how to keep the icons on the Windows 11 taskbar, for eight seconds or
// until clicked.
void ShowSplash(HINSTANCE module, HWND owner, bool firstStart = false);

// Dialog procedure of the splash: shows bitmap 153 filling a client area of exactly its size
// (lParam 0) or with the hint below it (lParam 1), and ends the dialog with 1 on the first timer
// tick, a click or a close request.
INT_PTR CALLBACK SplashDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
