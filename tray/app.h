// The tray program's skeleton: start-up, single instance, the hidden main window and its messages.
#pragma once

#include <windows.h>

#include <cstdint>

// Private messages of the main window (the callback of the tray icons, 32769, is in tray_icons.h).
constexpr UINT WM_APP_STARTUP = 32768;   // finishes start-up once the message loop runs
constexpr UINT WM_APP_MENUDONE = 32770;  // releases the popup menu named by wParam after tracking

// Class name of the main window; a top-level window of this class marks a running instance.
constexpr const wchar_t* kMainWindowClass = L"NOCTU";

// Name of the mutex the running instance holds for its whole life. Two starts at the same moment
// both find no window yet; only one of them can own the mutex.
constexpr const wchar_t* kInstanceMutexName = L"Local\\NocturoInstance";

// How long "-r" and "-v" wait for a running instance to close before giving up.
constexpr DWORD kCloseWaitMilliseconds = 10000;

// How often they repeat the request to close while the running instance's window stays.
constexpr DWORD kCloseAskAgainMilliseconds = 1000;

// The platform calls of the skeleton that tests replace: the message box of a second start, the
// timer, the clock and pause of the waits, and the tracking of the popup menu.
struct AppPlatformCalls {
    int (*messageBox)(HWND owner, const char* text, const char* caption, UINT type);
    UINT_PTR (*setTimer)(HWND window, UINT_PTR id, UINT milliseconds);
    uint64_t (*milliseconds)();  // a monotonic clock
    void (*pause)();             // yields between two polls of a wait
    BOOL (*trackPopupMenu)(HMENU menu, UINT flags, int x, int y, HWND owner);
};

// The program-wide calls, the system's own until a test replaces an entry.
AppPlatformCalls& AppCalls();

// The system's calls, to restore after a test.
AppPlatformCalls SystemAppCalls();

// The program: `arguments` is the command line after the program name without the separating
// blanks. "-r" closes a running instance and exits, "-v" closes it and starts anew, anything else
// with an instance running (or starting at the same moment) shows message 102. Runs the message
// loop until the main window is destroyed. Returns 0.
int RunApplication(HINSTANCE instance, const char* arguments);

// Window procedure of the class "NOCTU".
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Asks the running instance's window to close (again every kCloseAskAgainMilliseconds while it
// stays) and polls, pausing between polls, until no window of the class is left and, when
// `instanceMutex` is not null, this process owns the mutex that the instance held. False when that
// has not happened after `limitMilliseconds` of AppCalls()'s clock, so that an instance that hangs
// cannot hold a new start forever.
bool CloseRunningInstance(HWND running, HANDLE instanceMutex, DWORD limitMilliseconds);

// (Re)arms the one minute timer of `window` to fire half a second after the next full minute of
// the local clock.
void ArmMinuteTimer(HWND window);

// The minute tick: status, tray, open windows, next timer.
void RefreshOnTick(HWND window);

// After the custom holidays changed or on resume: holiday cache dropped, everything recomputed.
void FullRefresh();

// Menu command "暦注を表示": switches the selected days off or on, keeps the switch in the settings
// file and shows the change everywhere at once.
void ToggleNotes();

// Menu commands 40003..40007: switches icon `index` (0..4) on, or off unless it is the only one on.
void ToggleIcon(int index);

// The main window; null before it exists and after it was destroyed.
HWND GetMainWindow();

// The popup menu while one is loaded (between its loading and its release), else null.
HMENU CurrentPopupMenu();
