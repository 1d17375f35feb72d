// Starting with Windows: the "Nocturo" value under the user's Run key. No other registry value is
// written, and nothing needs administrator rights.
#pragma once

#include <windows.h>

#include <string>

// The user's Run key, under HKEY_CURRENT_USER.
constexpr const wchar_t* kRunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Whether the Run value exists and starts this program (the menu item's check mark).
bool StartsWithWindows();

// The menu command: deletes the Run value when it starts this program, writes it (the program's
// path in double quotes) otherwise. A failure is told in a message box owned by `owner`, and the
// registry is left as it was. Returns whether the change was made.
bool ToggleStartWithWindows(HWND owner);

// At start: a Run value that names a nocturo.exe which no longer exists (the folder was moved) is
// pointed at this program; any other value, or none, is left alone.
void RepointStartupEntry();
