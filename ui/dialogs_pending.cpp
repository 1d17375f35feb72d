// Stand-in for the custom holiday list until it is built: its menu command does nothing.
#include "ui/dialogs.h"

void OpenCustomHolidayListDialog(HWND) {}
