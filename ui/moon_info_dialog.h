// The Moon information window (dialog 121): the Moon now, its age and illuminated fraction, and
// the local date and time of the previous new Moon and the next full Moon beside their pictures.
// Opened and refreshed through ui/dialogs.h; its state is here for the tests.
#pragma once

#include <windows.h>

#include "ui/palette.h"

// One of the three Moon pictures of the window.
struct MoonPictureSlot {
    double angle;     // phase angle in degrees the picture shows
    int placeholder;  // the hidden frame control that marks the picture's place
    HBITMAP bitmap;   // size x size, compatible with the screen; null while the window is closed
    int x;            // top-left in the dialog's client coordinates
    int y;
};

constexpr int kMoonPictureSlotCount = 3;

struct MoonInfoDialogState {
    bool open;    // while the modal loop runs
    HWND window;  // recorded on every message the dialog receives
    PaletteContext palette;
    MoonPictureSlot slots[kMoonPictureSlotCount];  // now, the new Moon, the full Moon
    int dpi;                                       // the window's; the pictures are s(32) there
    int size;                                      // the pictures' width and height in pixels
};

// The one window's state.
const MoonInfoDialogState& GetMoonInfoDialogState();

// Dialog procedure of the Moon information window.
INT_PTR CALLBACK MoonInfoDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Tells the window where the settings and holidays are kept when that is not beside the program
// (Shift_JIS; "" or null: beside it, and nothing is said). The window shows it under its version
// line.
void SetFilesPlace(const char* folder);
