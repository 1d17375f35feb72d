#include "tray/status.h"

#include <windows.h>

#include <cstring>

#include "astro/time_scales.h"
#include "astro/time_zone.h"
#include "tray/clock.h"
#include "tray/icon_images.h"
#include "tray/program.h"
#include "tray/tray_icons.h"

namespace {

StatusMemory memory = InitialStatusMemory();

static_assert(sizeof(NOTIFYICONDATAA::szTip) == kTooltipSize,
              "the tray record carries a 128-byte tooltip");

// The long date of the local clock as the system writes it; when the system's formatter fails,
// the program's own Japanese form, so that the calendar icons never stop at an empty text.
void LongDateOfClock(const SYSTEMTIME& local, char* dest) {
    if (GetDateFormatA(GetSystemDefaultLCID(), DATE_LONGDATE, &local, nullptr, dest,
                       kTooltipSize) == 0 ||
        dest[0] == '\0') {
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
    request.moonTip = slots[MoonIconSlot].notify.szTip;

    const StatusDecision d = DecideStatus(request, &memory);
    if (d.moonCell >= 0) {
        BuildPhaseIcon(GetInstance(), MoonPicture, d.moonCell);
    }
    if (d.tideCell >= 0) {
        BuildPhaseIcon(GetInstance(), TidePicture, d.tideCell);
    }
    if (d.moonTipChanged) {
        std::memcpy(slots[MoonIconSlot].notify.szTip, d.moonTip, kTooltipSize);
        std::memcpy(slots[TideIconSlot].notify.szTip, d.moonTip, kTooltipSize);
    }
    if (d.calendarChanged) {
        for (int i = MonthIconSlot; i <= WeekdayIconSlot; ++i) {
            std::memcpy(slots[i].notify.szTip, d.calendarTip, kTooltipSize);
        }
        BuildCalendarIcons(GetInstance(), request.local, d.dayKind);
    }
    return d.changed;
}
