#include "presentation/rise_set_text.h"

#include <cmath>
#include <cstdio>

#include "presentation/shift_jis.h"

namespace {

// Seconds of the date, unrounded; an instant on the date lies in [0, 86400).
double SecondOfDay(const DayEvents& events, double jd) {
    return (jd - events.dayStart) * 86400;
}

// Appends the events of `kind` through `write` (which formats one), joined by ",", or `none`.
template <typename Write>
char* JoinEvents(char* dest, size_t size, const DayEvents& events, int32_t kind, const char* none,
                 Write write) {
    if (size == 0) {
        return dest;
    }
    dest[0] = '\0';
    const int32_t count = kind >= 0 && kind < DayEventKindCount ? events.count[kind] : 0;
    if (count <= 0) {
        std::snprintf(dest, size, "%s", none);
        return dest;
    }
    size_t used = 0;
    for (int32_t i = 0; i < count && i < 2 && used + 1 < size; ++i) {
        char one[16];
        write(one, sizeof one, events.jd[kind][i]);
        const int n = std::snprintf(dest + used, size - used, "%s%s", i > 0 ? "," : "", one);
        if (n < 0) {
            break;
        }
        used += static_cast<size_t>(n);
    }
    return dest;
}

}  // namespace

int32_t RoundedSecondOfDay(const DayEvents& events, double jd) {
    return static_cast<int32_t>(std::floor(SecondOfDay(events, jd) + 0.5));
}

char* FormatEventSeconds(char* dest, size_t size, const DayEvents& events, int32_t kind) {
    return JoinEvents(dest, size, events, kind, "-", [&events](char* one, size_t n, double jd) {
        const int32_t s = RoundedSecondOfDay(events, jd);
        std::snprintf(one, n, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
    });
}

char* FormatEventMinutes(char* dest, size_t size, const DayEvents& events, int32_t kind) {
    return JoinEvents(dest, size, events, kind, "――", [&events](char* one, size_t n, double jd) {
        const int32_t m = static_cast<int32_t>(std::floor(SecondOfDay(events, jd) / 60 + 0.5));
        std::snprintf(one, n, "%02d:%02d", m / 60, m % 60);
    });
}

void ComposeRiseSetLines(const DayEvents& events, char* moonLine, char* sunLine, size_t size) {
    char rise[16];
    char transit[16];
    char set[16];
    std::snprintf(moonLine, size, "月の出 %s  南中 %s  月の入 %s",
                  FormatEventMinutes(rise, sizeof rise, events, Moonrise),
                  FormatEventMinutes(transit, sizeof transit, events, MoonTransit),
                  FormatEventMinutes(set, sizeof set, events, Moonset));
    std::snprintf(sunLine, size, "日の出 %s  日の入 %s",
                  FormatEventMinutes(rise, sizeof rise, events, Sunrise),
                  FormatEventMinutes(set, sizeof set, events, Sunset));
}

void ComposeRisePlaceLine(char* dest, size_t size, const char* placeName) {
    if (size == 0) {
        return;
    }
    dest[0] = '\0';
    AppendShiftJisText(dest, size, "今日の月と太陽（");
    AppendShiftJisText(dest, size, placeName);
    AppendShiftJisText(dest, size, "）");
}
