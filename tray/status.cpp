#include "tray/status.h"

#include <windows.h>

#include <cstring>

#include "astro/longitudes.h"
#include "astro/lunar_day.h"
#include "astro/searches.h"
#include "astro/time_scales.h"
#include "calendar/holidays.h"
#include "tray/clock.h"
#include "tray/icon_images.h"
#include "tray/status_logic.h"
#include "tray/tooltips.h"
#include "tray/tray_icons.h"

namespace {

StatusMemory memory = {"", -1.0, -1, -1};

static_assert(sizeof(NOTIFYICONDATAA::szTip) == kTooltipSize,
              "the tray record carries a 128-byte tooltip");

}  // namespace

const StatusMemory& CurrentStatusMemory() {
    return memory;
}

bool ComputeStatus(bool iconForce, bool dateForce) {
    LCID locale = GetSystemDefaultLCID();
    SYSTEMTIME utc;
    SYSTEMTIME local;
    ReadUtcClock(&utc);
    ReadLocalClock(&local);
    const double jd = JulianDateFromSystemTime(utc);
    const JulianCenturies T = CenturiesFromJulianDate(jd);
    LunarDay lunar;
    ComputeLunarDay(&lunar, jd);

    char dateText[kTooltipSize];
    if (GetDateFormatA(locale, DATE_LONGDATE, &local, nullptr, dateText, sizeof dateText) == 0) {
        dateText[0] = '\0';
    }
    const bool dateChanged = dateForce || std::strcmp(dateText, memory.lastDateText) != 0;
    if (dateChanged) {
        std::memcpy(memory.lastDateText, dateText, sizeof dateText);
        iconForce = true;
    }
    if (!PassesStatusGate(iconForce, T, memory.lastCenturies)) {
        return false;
    }

    TrayIconSlot* slots = TraySlots();
    bool changed = false;
    if (slots[MoonIconSlot].enabled || slots[TideIconSlot].enabled) {
        if (slots[MoonIconSlot].enabled) {
            int32_t cell = MoonPictureIndex(MoonPhaseAngle(T));
            if (iconForce || cell != memory.lastMoonCell) {
                BuildPhaseIcon(MoonPicture, cell);
                memory.lastMoonCell = cell;
                changed = true;
            }
        }
        if (slots[TideIconSlot].enabled) {
            int32_t cell = TidePictureIndex(lunar.tide);
            if (iconForce || cell != memory.lastTideCell) {
                BuildPhaseIcon(TidePicture, cell);
                memory.lastTideCell = cell;
                changed = true;
            }
        }
        char tip[kTooltipSize];
        ComposeMoonTooltip(tip, MoonAge(T), lunar);
        if (std::strcmp(tip, slots[MoonIconSlot].notify.szTip) != 0) {
            std::memcpy(slots[MoonIconSlot].notify.szTip, tip, kTooltipSize);
            std::memcpy(slots[TideIconSlot].notify.szTip, tip, kTooltipSize);
            changed = true;
        }
    }

    if (dateChanged && (slots[MonthIconSlot].enabled || slots[DayIconSlot].enabled ||
                        slots[WeekdayIconSlot].enabled)) {
        char tip[kTooltipSize];
        DayKind kind =
            ComposeCalendarTooltip(tip, dateText, lunar, local.wYear, local.wMonth, local.wDay);
        for (int i = MonthIconSlot; i <= WeekdayIconSlot; ++i) {
            std::memcpy(slots[i].notify.szTip, tip, kTooltipSize);
        }
        BuildCalendarIcons(local, kind);
        changed = true;
    }

    memory.lastCenturies = T;
    return changed;
}
