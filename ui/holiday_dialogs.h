// The custom holiday list and its editor: the user's own holidays and anniversaries, added, edited
// and deleted in the store at once, written to the data file on OK and put back on ｷｬﾝｾﾙ.
#pragma once

#include <windows.h>

#include "presentation/holiday_editor.h"

// The list dialog while it runs; window is null when it is closed.
struct CustomHolidayListDialog {
    bool open;
    HWND window;
};

// The editor while it runs; window is null when it is closed.
struct CustomHolidayEditDialog {
    bool open;
    HWND window;
};

const CustomHolidayListDialog& GetCustomHolidayListDialog();
const CustomHolidayEditDialog& GetCustomHolidayEditDialog();

// The editor's working values: filled before each run, holding the accepted values after an OK.
HolidayEditorFields& GetHolidayEditorFields();

// Runs the editor modally, owned by `owner`, on the working values. Returns IDOK (1) when the user
// confirmed a valid entry, IDCANCEL (2) when they cancelled, -1 when the dialog could not be made.
INT_PTR RunCustomHolidayEditDialog(HWND owner);

// Shows the day list for a date rule, the week and weekday lists for a weekday rule, by the
// working values' `byDate`; nothing while the editor is closed.
void ShowMethodControls();

// Dialog procedures of templates 154 (the list) and 155 (the editor).
INT_PTR CALLBACK CustomHolidayListDialogProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);
INT_PTR CALLBACK CustomHolidayEditDialogProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);
