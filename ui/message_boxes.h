// The program's warnings to the user, through one replaceable call so that tests can watch them
// without a modal box waiting for a click.
#pragma once

#include <windows.h>

// The message box call every warning goes through, with Shift_JIS texts; the wide message box
// unless a test replaced it.
struct MessageBoxHooks {
    int (*show)(HWND owner, const char* text, const char* caption, UINT type);
};

// The ui-wide hooks. Setting `show` to null restores the wide message box.
MessageBoxHooks& GetMessageBoxHooks();

// Shows string `stringId` of the windows' module with the caption "Nocturo", a warning icon and an
// OK button, owned by `owner` so that the window waits behind it. Returns when it was dismissed.
void ShowWarning(HWND owner, int stringId);
