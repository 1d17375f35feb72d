// The tray program's skeleton: start-up, single instance, the hidden main window and its messages.
#pragma once

#include <windows.h>

// Private messages of the main window (the callback of the tray icons, 32769, is in tray_icons.h).
constexpr UINT WM_APP_STARTUP = 32768;   // finishes start-up once the message loop runs
constexpr UINT WM_APP_MENUDONE = 32770;  // releases the popup menu after it was tracked

// Class name of the main window; a top-level window of this class marks a running instance.
constexpr const char* kMainWindowClass = "NOCTU";

// How long "-r" and "-v" wait for a running instance to close before giving up.
constexpr DWORD kCloseWaitMilliseconds = 10000;

// The program: `arguments` is the command line after the program name without the separating
// blanks. "-r" closes a running instance and exits, "-v" closes it and starts anew, anything else
// with an instance running shows message 102. Runs the message loop until the main window is
// destroyed. Returns 0.
int RunApplication(HINSTANCE instance, const char* arguments);

// Window procedure of the class "NOCTU".
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Asks the running instance's window to close and polls, yielding between polls, until no window
// of the class is left. False when one is still there after `limitMilliseconds`, so that an
// instance that hangs cannot hold a new start forever.
bool CloseRunningInstance(HWND running, DWORD limitMilliseconds);

// (Re)arms the one minute timer of `window` to fire half a second after the next full minute of
// the local clock.
void ArmMinuteTimer(HWND window);

// The minute tick: status, tray, open windows, next timer.
void RefreshOnTick(HWND window);

// After the custom holidays changed or on resume: holiday cache dropped, everything recomputed.
void FullRefresh();

// Menu commands 40003..40007: switches icon `index` (0..4) on, or off unless it is the only one on.
void ToggleIcon(int index);

// The main window; null before it exists and after it was destroyed.
HWND GetMainWindow();
