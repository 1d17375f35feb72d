// The two tooltip texts of the tray icons.
#include "presentation/tooltips.h"

#include <cstdio>
#include <cstring>

#include "calendar/day_signs.h"
#include "calendar/seasonal_days.h"
#include "calendar/solar_terms.h"
#include "presentation/shift_jis.h"

namespace {

// Items are separated by exactly one space. The national holiday names carry a leading space of
// their own (the calendar window draws them that way); it is dropped here, or a holiday would stand
// two spaces away from the rokuyo while 元日 stands one.
void AppendItem(char* dest, const char* item) {
    while (*item == ' ') {
        ++item;
    }
    AppendShiftJisText(dest, kTooltipSize, " ");
    AppendShiftJisText(dest, kTooltipSize, item);
}

}  // namespace

void ComposeMoonTooltip(char* dest, double moonAge, const LunarDay& lunar) {
    std::snprintf(dest, kTooltipSize, "月齢%.2f ", moonAge);
    char tide[8];
    AppendShiftJisText(dest, kTooltipSize, TideName(tide, lunar));
}

DayKind ComposeCalendarTooltip(char* dest, const char* dateText, const LunarDay& lunar,
                               uint16_t year, uint16_t month, uint16_t day) {
    dest[0] = '\0';
    AppendShiftJisText(dest, kTooltipSize, dateText);

    char rokuyo[8];
    AppendItem(dest, RokuyoName(rokuyo, lunar.rokuyo));

    const char* holidayName;
    const DayKind kind = LookupHoliday(year, month, day, &holidayName);
    if (holidayName[0] != '\0') {
        AppendItem(dest, holidayName);
    }
    const char* termName;
    if (LookupSolarTerm(year, month, day, &termName)) {
        AppendItem(dest, termName);
    }
    const char* seasonal1;
    const char* seasonal2;
    if (LookupSeasonalDays(year, month, day, &seasonal1, &seasonal2)) {
        AppendItem(dest, seasonal1);
        if (seasonal2[0] != '\0') {
            AppendItem(dest, seasonal2);
        }
    }
    return kind;
}

void FormatJapaneseLongDate(char* dest, size_t size, uint16_t year, uint16_t month, uint16_t day) {
    char text[40];
    std::snprintf(text, sizeof text, "%u年%u月%u日", static_cast<unsigned>(year),
                  static_cast<unsigned>(month), static_cast<unsigned>(day));
    if (size > 0) {
        dest[0] = '\0';
        AppendShiftJisText(dest, size, text);
    }
}
