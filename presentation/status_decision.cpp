#include "presentation/status_decision.h"

#include <cstring>

#include "astro/longitudes.h"
#include "astro/lunar_day.h"
#include "astro/searches.h"
#include "calendar/almanac_notes.h"
#include "presentation/almanac_texts.h"
#include "presentation/pictures.h"
#include "presentation/tray_logic.h"

StatusMemory InitialStatusMemory() {
    StatusMemory memory = {};
    memory.lastCenturies = -1.0;
    memory.lastMoonCell = -1;
    memory.lastTideCell = -1;
    return memory;
}

StatusDecision DecideStatus(const StatusRequest& request, StatusMemory* memory) {
    StatusDecision d = {};
    d.moonCell = -1;
    d.tideCell = -1;
    d.dayKind = NoEntry;

    const JulianCenturies T = CenturiesFromJulianDate(request.julianDate);
    // The facts of a date depend on the zone too: the same local date may hold another solar
    // term or seasonal day after the bias changed.
    const bool zoneChanged = !memory->haveBias || memory->lastBias != request.bias;
    const bool dateChanged =
        request.dateForce || zoneChanged ||
        std::strncmp(request.dateText, memory->lastDateText, kTooltipSize) != 0;
    bool iconForce = request.iconForce;
    if (dateChanged) {
        std::strncpy(memory->lastDateText, request.dateText, kTooltipSize - 1);
        memory->lastDateText[kTooltipSize - 1] = '\0';
        memory->lastBias = request.bias;
        memory->haveBias = true;
        iconForce = true;
    }
    if (!PassesStatusGate(iconForce, T, memory->lastCenturies)) {
        return d;
    }
    d.passed = true;

    LunarDay lunar;
    ComputeLunarDay(&lunar, request.julianDate);
    if (request.moonOn || request.tideOn) {
        if (request.moonOn) {
            const int32_t cell = MoonPictureIndex(MoonPhaseAngle(T));
            if (iconForce || cell != memory->lastMoonCell) {
                d.moonCell = cell;
                memory->lastMoonCell = cell;
            }
        }
        if (request.tideOn) {
            const int32_t cell = TidePictureIndex(lunar.tide);
            if (iconForce || cell != memory->lastTideCell) {
                d.tideCell = cell;
                memory->lastTideCell = cell;
            }
        }
        ComposeMoonTooltip(d.moonTip, MoonAge(T), lunar);
        d.moonTipChanged = std::strncmp(d.moonTip, request.moonTip, kTooltipSize) != 0;
    }
    if (dateChanged && request.calendarOn) {
        d.dayKind =
            ComposeCalendarTooltip(d.calendarTip, request.dateText, lunar, request.local.wYear,
                                   request.local.wMonth, request.local.wDay);
        if (request.showNotes) {
            const DayNotes notes =
                DayNotesOf(request.local.wYear, request.local.wMonth, request.local.wDay, lunar);
            AppendNotesToTooltip(d.calendarTip, kTooltipSize, notes.flags, kTrayTooltipCharacters);
        }
        d.calendarChanged = true;
    }
    d.changed = d.moonCell >= 0 || d.tideCell >= 0 || d.moonTipChanged || d.calendarChanged;
    memory->lastCenturies = T;
    return d;
}
