// The tray program's decision for one moment: which pictures to build, what the tooltips say and
// whether anything changed. Pure: the Win32 side reads the clock and the date text, asks here, and
// carries the answer out.
#pragma once

#include <cstdint>

#include "astro/time_scales.h"
#include "presentation/tooltips.h"

// The memory of the last computations, kept between calls.
struct StatusMemory {
    char lastDateText[kTooltipSize];  // long date of the local clock as last seen, Shift_JIS
    double lastCenturies;             // T of the last call past the 30-second gate; -1.0 first
    int32_t lastMoonCell;             // Moon picture last built, -1 before the first
    int32_t lastTideCell;             // tide picture last built, -1 before the first
    int32_t lastBias;                 // time-zone bias of the last calendar facts
    bool haveBias;                    // lastBias is set
};

// The memory before the first computation.
StatusMemory InitialStatusMemory();

// One moment as the clock and the switches give it.
struct StatusRequest {
    bool iconForce;        // rebuild every picture
    bool dateForce;        // recompute the calendar facts even on the same date
    double julianDate;     // UT Julian Date of the clock reading
    SYSTEMTIME local;      // local reading of the same instant (year, month, day, weekday used)
    int32_t bias;          // the time-zone bias the local reading was made with
    const char* dateText;  // the long date of the local clock (never null, may be "")
    bool moonOn;           // the Moon icon is switched on
    bool tideOn;           // the tide icon is switched on
    bool calendarOn;       // any of the month, day and weekday icons is switched on
    const char* moonTip;   // the tooltip the Moon icon shows now (never null)
    bool showNotes;        // the calendar tooltip ends with the day's selected days (選日)
};

// What to carry out.
struct StatusDecision {
    bool passed;          // went past the 30-second gate
    int32_t moonCell;     // Moon picture 0..27 to build, -1 for none
    int32_t tideCell;     // tide picture 0..4 to build, -1 for none
    bool moonTipChanged;  // moonTip is new for the Moon and tide icons
    char moonTip[kTooltipSize];
    bool calendarChanged;  // calendarTip and the calendar pictures are new
    char calendarTip[kTooltipSize];
    int32_t dayKind;  // DayKind of the local date, for the pictures' colour
    bool changed;     // a picture is to be built or a tooltip changed
};

// Decides the moment `request` against *memory and updates the memory as the decision is carried
// out. A new date text, a changed time-zone bias or dateForce make the calendar facts and every
// picture new; otherwise, within 30 seconds of the last computation that went through, nothing is
// done (passed false). Pictures of icons that are off are not built; the Moon tooltip is kept for
// the Moon and tide icons while either is on, the calendar tooltip while any calendar icon is on.
// With showNotes the calendar tooltip ends with the date's selected days, as many whole names as
// the tray's 127 characters hold.
StatusDecision DecideStatus(const StatusRequest& request, StatusMemory* memory);
