// The window "日の詳細": one day of the calendar in words, the same text as the calendar's day
// tooltip, for readers who choose the day with the keyboard. Closes with OK or Esc.
#pragma once

#include <windows.h>

#include <string>

// Runs the window modally over `owner` with `text` (UTF-16, lines broken by CR LF); the window
// grows or shrinks to the text. Returns when it is closed.
void OpenDayDetailDialog(HWND owner, const std::wstring& text);

// Dialog procedure of the window; lParam of WM_INITDIALOG is the text (const std::wstring*).
INT_PTR CALLBACK DayDetailDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
