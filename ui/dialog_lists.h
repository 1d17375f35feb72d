// Filling a dialog's list boxes and combo boxes from the list data stored beside its template.
#pragma once

#include <windows.h>

// Appends the strings of the list data resource (type 240) named resourceNumber, found in the
// module the dialog was created from, to the dialog's controls in stored order. Without such a
// resource, or when it cannot be loaded, nothing is added; a damaged or unknown record ends the
// filling there.
void FillDialogLists(HWND dialog, int resourceNumber);
