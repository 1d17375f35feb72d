// The start-up splash: the title picture, borderless and centred on the screen, for one second.
#pragma once

#include <windows.h>

#include "ui/palette.h"

// Process-wide state of the one splash window.
struct SplashState {
    HBITMAP bitmap;  // the picture (bitmap 153) while the splash is open; null otherwise
    int width;       // of the picture in pixels
    int height;
    PaletteContext palette;  // made from the picture's colour table on palette displays
};

// The splash state, for the dialog procedure and for tests.
SplashState& GetSplashState();

// Runs the splash (dialog 151 of `module`) modally, owned by owner (may be null), and returns when
// it has closed: after its first timer tick, one second after it appeared.
void ShowSplash(HINSTANCE module, HWND owner);

// Dialog procedure of the splash: shows bitmap 153 filling a client area of exactly its size and
// ends the dialog with 1 on the first timer tick or a close request.
INT_PTR CALLBACK SplashDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
