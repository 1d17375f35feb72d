#include "tray/status.h"

#include <windows.h>

#include <cstring>

#include "astro/time_scales.h"
#include "astro/time_zone.h"
#include "presentation/shift_jis.h"
#include "tray/clock.h"
#include "tray/icon_images.h"
#include "tray/program.h"
#include "tray/settings.h"
#include "tray/tray_icons.h"
#include "ui/win32_text.h"

namespace {

StatusMemory memory = InitialStatusMemory();

// The long date of the local clock in the Japanese form; when the system's formatter fails, the
// program's own, so that the calendar icons never stop at an empty text.
void LongDateOfClock(const SYSTEMTIME& local, char* dest) {
    const std::string text = JapaneseLongDate(local);
    dest[0] = '\0';
    if (text.empty() || !AppendShiftJisText(dest, kTooltipSize, text.c_str())) {
        FormatJapaneseLongDate(dest, kTooltipSize, local.wYear, local.wMonth, local.wDay);
    }
}

}  // namespace

const StatusMemory& CurrentStatusMemory() {
    return memory;
}

bool ComputeStatus(bool iconForce, bool dateForce) {
    SYSTEMTIME utc;
    StatusRequest request = {};
    ReadUtcClock(&utc);
    ReadLocalClock(&request.local);
    char dateText[kTooltipSize];
    LongDateOfClock(request.local, dateText);

    TrayIconSlot* slots = TraySlots();
    request.iconForce = iconForce;
    request.dateForce = dateForce;
    request.julianDate = JulianDateFromSystemTime(utc);
    request.bias = TimeZoneBias();
    request.dateText = dateText;
    request.moonOn = slots[MoonIconSlot].enabled != 0;
    request.tideOn = slots[TideIconSlot].enabled != 0;
    request.calendarOn = slots[MonthIconSlot].enabled || slots[DayIconSlot].enabled ||
                         slots[WeekdayIconSlot].enabled;
    request.moonTip = slots[MoonIconSlot].tip;
    request.showNotes = ShowNotes();

    const StatusDecision d = DecideStatus(request, &memory);
    if (d.moonCell >= 0) {
        BuildPhaseIcon(GetInstance(), MoonPicture, d.moonCell);
    }
    if (d.tideCell >= 0) {
        BuildPhaseIcon(GetInstance(), TidePicture, d.tideCell);
    }
    if (d.moonTipChanged) {
        SetSlotTooltip(slots[MoonIconSlot], d.moonTip);
        SetSlotTooltip(slots[TideIconSlot], d.moonTip);
    }
    if (d.calendarChanged) {
        for (int i = MonthIconSlot; i <= WeekdayIconSlot; ++i) {
            SetSlotTooltip(slots[i], d.calendarTip);
        }
        BuildCalendarIcons(GetInstance(), request.local, d.dayKind);
    }
    return d.changed;
}
