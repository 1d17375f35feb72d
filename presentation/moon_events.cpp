#include "presentation/moon_events.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint16_t kFirstYear = 1900;
constexpr uint16_t kLastYear = 2100;
constexpr int kHeldMonths = 3;
constexpr double kLookAheadDays = 20 * 365.25;
constexpr double kSeasonDays = 91;
// A place sees its maximum of a solar eclipse within a few hours of the global greatest eclipse.
constexpr double kLocalMargin = 0.25;
constexpr double kMoonRadiusKm = 1737.4;
constexpr double kArcsecondsPerRadian = 206264.80624709636;

MonthMoonEvents held[kHeldMonths];
int heldNext = 0;  // the record replaced next: the one filled longest ago

bool SamePlace(const GeoPlace& a, const GeoPlace& b) {
    return a.latitude == b.latitude && a.longitude == b.longitude;
}

double LocalMonthStart(uint16_t year, uint16_t month) {
    SYSTEMTIME t = {};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = 1;
    return JulianDateFromSystemTime(t);
}

SYSTEMTIME LocalDate(double jd, int32_t bias) {
    SYSTEMTIME local;
    LocalSecondOf(jd, bias, &local);
    return local;
}

bool IsDate(const SYSTEMTIME& t, uint16_t year, uint16_t month, uint16_t day) {
    return t.wYear == year && t.wMonth == month && t.wDay == day;
}

// Whether an eclipse can fall in [from, to): an eclipse needs a new or full Moon near a node of
// the Moon's orbit, which the Moon's mean argument of latitude F at the mean syzygy tells: beyond
// |sin F| = 0.36 there is none (the classical screen; 0.40 here for margin). The mean syzygy lies
// within a day and a half of the true one.
bool EclipsePossible(double from, double to) {
    constexpr double kMeanNewMoon0 = 2451550.09766;  // lunation 0, 2000-01-06
    constexpr double kSynodicMonth = 29.530588861;
    constexpr double kSlack = 1.5;
    const int64_t first = LunationOfJulianDate(from - kSlack) - 1;
    const int64_t last = LunationOfJulianDate(to + kSlack) + 1;
    for (int64_t k = first; k <= last; ++k) {
        for (double half : {0.0, 0.5}) {
            const double mean = kMeanNewMoon0 + kSynodicMonth * (k + half);
            const double F = (160.7108 + 390.67050284 * (k + half)) * kRadiansPerDegree;
            if (mean >= from - kSlack && mean < to + kSlack && std::fabs(std::sin(F)) <= 0.40) {
                return true;
            }
        }
    }
    return false;
}

bool SeenThere(const EclipseAtPlace& e) {
    return EclipseSeen(e) && e.visibility != EclipseNotVisible;
}

void FillMonth(MonthMoonEvents* events, uint16_t year, uint16_t month, int32_t bias,
               const GeoPlace& place) {
    events->year = year;
    events->month = month;
    events->bias = bias;
    events->place = place;
    events->eclipses.clear();
    const double shift = bias * kDaysPerMinute;
    const double from = LocalMonthStart(year, month) + shift - kLocalMargin;
    const double to = (month == 12 ? LocalMonthStart(static_cast<uint16_t>(year + 1), 1)
                                   : LocalMonthStart(year, static_cast<uint16_t>(month + 1))) +
                      shift + kLocalMargin;
    if (!EclipsePossible(from, to)) {
        return;
    }
    for (const EclipseAtPlace& e : ComputeEclipsesAtPlace(from, to, place)) {
        const SYSTEMTIME date = LocalDate(EclipseDateInstant(e), bias);
        if (SeenThere(e) && date.wYear == year && date.wMonth == month) {
            events->eclipses.push_back(e);
        }
    }
}

// The last answer of FindNextSeenEclipse: it holds for every later instant up to the end of the
// eclipse found, since that eclipse was the first not ended at the instant asked for.
struct NextEclipseMemo {
    bool valid;
    int32_t bias;
    GeoPlace place;
    double askedJd;
    EclipseAtPlace eclipse;
};
NextEclipseMemo nextMemo = {};

double LastInstant(const EclipseAtPlace& e) {
    return e.end > 0 ? e.end : EclipseDateInstant(e);
}

// "2026年3月3日" of a local civil date.
void FormatJapaneseDate(char* dest, size_t size, const SYSTEMTIME& t) {
    std::snprintf(dest, size, "%u年%u月%u日", t.wYear, t.wMonth, t.wDay);
}

// The local time of jd rounded to the nearest minute.
SYSTEMTIME LocalMinute(double jd, int32_t bias) {
    const double minutes = std::floor((jd - bias * kDaysPerMinute) * 1440.0 + 0.5);
    SYSTEMTIME local;
    SystemTimeFromJulianDate(minutes / 1440.0, &local);
    if (local.wHour == 24) {
        // Midnight reads as the next date's 00:00, not as 24:00 of this one.
        SystemTimeFromJulianDate(minutes / 1440.0 + 1.0 / 86400, &local);
    }
    return local;
}

}  // namespace

const MonthMoonEvents& MoonEventsOfMonth(uint16_t year, uint16_t month, int32_t bias,
                                         const GeoPlace& place) {
    static const MonthMoonEvents kNone = {};
    if (year < kFirstYear || year > kLastYear || month < 1 || month > 12) {
        return kNone;
    }
    for (const MonthMoonEvents& events : held) {
        if (events.year == year && events.month == month && events.bias == bias &&
            SamePlace(events.place, place)) {
            return events;
        }
    }
    MonthMoonEvents& events = held[heldNext];
    heldNext = (heldNext + 1) % kHeldMonths;
    FillMonth(&events, year, month, bias, place);
    return events;
}

uint32_t MoonEventMarksOfDay(uint16_t year, uint16_t month, uint16_t day, int32_t bias,
                             const GeoPlace& place) {
    const MonthMoonEvents& events = MoonEventsOfMonth(year, month, bias, place);
    uint32_t marks = 0;
    for (const EclipseAtPlace& e : events.eclipses) {
        if (IsDate(LocalDate(EclipseDateInstant(e), bias), year, month, day)) {
            marks |= e.moon ? MarkLunarEclipse : MarkSolarEclipse;
        }
    }
    const YearFullMoons moons = FullMoonsOfYear(year, bias);
    if (moons.count > 0 && IsDate(LocalDate(moons.jd[moons.nearest], bias), year, month, day)) {
        marks |= MarkNearestFullMoon;
    }
    return marks;
}

std::string ComposeMoonEventLines(uint16_t year, uint16_t month, uint16_t day, int32_t bias,
                                  const GeoPlace& place) {
    const MonthMoonEvents& events = MoonEventsOfMonth(year, month, bias, place);
    std::string text;
    for (const EclipseAtPlace& e : events.eclipses) {
        if (!IsDate(LocalDate(EclipseDateInstant(e), bias), year, month, day)) {
            continue;
        }
        if (!text.empty()) {
            text += "\n";
        }
        text += EclipseKindName(e.moon, e.kind);
        text += "\n";
        text += ComposeEclipseDetails(e, bias, "\n");
        while (!text.empty() && text.back() == '\n') {
            text.pop_back();
        }
    }
    const YearFullMoons moons = FullMoonsOfYear(year, bias);
    if (moons.count > 0 && IsDate(LocalDate(moons.jd[moons.nearest], bias), year, month, day)) {
        char km[32];
        if (!text.empty()) {
            text += "\n";
        }
        text += "今年最も地球に近い満月（";
        text += FormatKilometres(km, sizeof km, moons.distance[moons.nearest]);
        text += " km）";
    }
    return text;
}

char* FormatKilometres(char* dest, size_t size, double km) {
    if (size == 0) {
        return dest;
    }
    char digits[32];
    std::snprintf(digits, sizeof digits, "%ld", std::lround(km));
    const size_t n = std::strlen(digits);
    const size_t sign = digits[0] == '-' ? 1 : 0;
    size_t out = 0;
    for (size_t i = 0; i < n && out + 1 < size; ++i) {
        if (i > sign && (n - i) % 3 == 0 && out + 2 < size) {
            dest[out++] = ',';
        }
        dest[out++] = digits[i];
    }
    dest[out] = '\0';
    return dest;
}

char* ComposeMoonDistanceLine(char* dest, size_t size, double distanceKm) {
    if (size == 0) {
        return dest;
    }
    char km[32];
    FormatKilometres(km, sizeof km, distanceKm);
    const double ratio = distanceKm > kMoonRadiusKm ? kMoonRadiusKm / distanceKm : 1.0;
    const long seconds = std::lround(2.0 * std::asin(ratio) * kArcsecondsPerRadian);
    std::snprintf(dest, size, "月までの距離 %s km  視直径 %ld′%02ld″", km, seconds / 60,
                  seconds % 60);
    return dest;
}

bool FindNextSeenEclipse(double jd, int32_t bias, const GeoPlace& place, EclipseAtPlace* out) {
    if (nextMemo.valid && nextMemo.bias == bias && SamePlace(nextMemo.place, place) &&
        jd >= nextMemo.askedJd && jd <= LastInstant(nextMemo.eclipse)) {
        *out = nextMemo.eclipse;
        return true;
    }
    const double last = LocalMonthStart(kLastYear + 1, 1) + bias * kDaysPerMinute;
    const double end = jd + kLookAheadDays < last ? jd + kLookAheadDays : last;
    // From a day back: an eclipse under way at jd had its greatest eclipse before it.
    for (double from = jd - 1; from < end; from += kSeasonDays) {
        for (const EclipseAtPlace& e : ComputeEclipsesAtPlace(from, from + kSeasonDays, place)) {
            if (SeenThere(e) && LastInstant(e) >= jd) {
                nextMemo = NextEclipseMemo{true, bias, place, jd, e};
                *out = e;
                return true;
            }
        }
    }
    return false;
}

void ComposeNextEclipseLines(char* first, char* second, size_t size, bool found,
                             const EclipseAtPlace& eclipse, int32_t bias) {
    if (size == 0) {
        return;
    }
    if (!found) {
        std::snprintf(first, size, "次に見える食 なし");
        second[0] = '\0';
        return;
    }
    char date[32];
    FormatJapaneseDate(date, sizeof date, LocalDate(EclipseDateInstant(eclipse), bias));
    std::snprintf(first, size, "次に見える食 %s %s", date,
                  EclipseKindName(eclipse.moon, eclipse.kind));
    const SYSTEMTIME maximum = LocalMinute(eclipse.greatest, bias);
    std::snprintf(second, size, "  食の最大 %02u:%02u %s", maximum.wHour, maximum.wMinute,
                  EclipseVisibilityName(eclipse.moon, eclipse.visibility));
}

char* ComposeNearestFullMoonLine(char* dest, size_t size, const YearFullMoons& moons,
                                 int32_t bias) {
    if (size == 0) {
        return dest;
    }
    dest[0] = '\0';
    if (moons.count <= 0) {
        return dest;
    }
    const SYSTEMTIME date = LocalDate(moons.jd[moons.nearest], bias);
    char km[32];
    std::snprintf(dest, size, "今年最も近い満月 %u月%u日 %s km", date.wMonth, date.wDay,
                  FormatKilometres(km, sizeof km, moons.distance[moons.nearest]));
    return dest;
}
