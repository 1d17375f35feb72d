// Stand-ins for the program's windows until they are built: the menu commands and icon clicks that
// open them do nothing, and the calendar's month is still recomputed when the holidays change.
#include "ui/dialogs.h"

#include "calendar/month_model.h"

void OpenMoonCalendarDialog(HWND) {}

void RefreshMoonCalendarDialog(bool full) {
    if (full) {
        InvalidateMonthModel();
    }
}

void OpenCustomHolidayListDialog(HWND) {}
