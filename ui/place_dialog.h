// The place dialog (template 156): the observer's place of the risings and settings, chosen from
// the prefectural offices or typed as a name, a latitude and a longitude. OK checks the fields,
// saves them to the settings file and has the program refresh its windows; キャンセル changes
// nothing.
#pragma once

#include <windows.h>

// The dialog while it runs; window is null when it is closed.
struct PlaceDialog {
    bool open;
    HWND window;
};

const PlaceDialog& GetPlaceDialog();

// Opens the dialog owned by `owner`, on the current place (GetUiPlace); only brings it to the
// foreground when it is already open. Returns IDOK when a new place was saved, IDCANCEL when the
// user cancelled (or the dialog was already open), -1 when it could not be made.
INT_PTR OpenPlaceDialog(HWND owner);

INT_PTR CALLBACK PlaceDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
