// The Moon's events as the windows show them: the eclipses seen at the user's place, the year's
// nearest full Moon, and the Moon's distance now; marks and lines of text, without a window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "astro/moon_distance.h"
#include "astro/rise_set.h"
#include "presentation/eclipse_text.h"

// The eclipses of one local month at one place: a calendar page needs no more, and a month costs a
// twelfth of a year (about 0.6 ms under Wine, where a year's would hold up a month switch).
struct MonthMoonEvents {
    uint16_t year;  // 0: empty
    uint16_t month;
    int32_t bias;
    GeoPlace place;
    std::vector<EclipseAtPlace> eclipses;  // seen at the place (not 見えない), whose local date
                                           // (EclipseDateInstant) falls in the month, time order
};

// The eclipses of the local month year-month (1900-2100) for the zone `bias` (UTC = local + bias
// minutes) and `place`, computed once for each such quadruple; the last three asked for are kept
// (the page's month and the two around it, whose days its tooltips name).
const MonthMoonEvents& MoonEventsOfMonth(uint16_t year, uint16_t month, int32_t bias,
                                         const GeoPlace& place);

// Marks of a day in the calendar, as bits.
enum MoonEventMark : uint32_t {
    MarkLunarEclipse = 1,     // "月食"
    MarkSolarEclipse = 2,     // "日食"
    MarkNearestFullMoon = 4,  // "最接近": the full Moon nearest the Earth of its year
};

// The marks of the local date year-month-day at the place; the nearest full Moon from
// FullMoonsOfYear (kept per year and bias).
uint32_t MoonEventMarksOfDay(uint16_t year, uint16_t month, uint16_t day, int32_t bias,
                             const GeoPlace& place);

// The day's tooltip lines for those events (Shift_JIS, lines joined by "\n", no final one; ""
// when none): each eclipse as its kind, then its times at the place, 食分 and visibility, one a
// line; the nearest full Moon as "今年最も地球に近い満月（356,738 km）".
std::string ComposeMoonEventLines(uint16_t year, uint16_t month, uint16_t day, int32_t bias,
                                  const GeoPlace& place);

// A whole number of km with thousands separators, "356,738". At least 16 bytes; returns dest.
char* FormatKilometres(char* dest, size_t size, double km);

// The Moon window's distance line: "月までの距離 384,401 km  視直径 31′05″", the apparent
// diameter seen from the Earth's centre (the Moon's radius 1737.4 km), to the arcsecond. 64 bytes
// suffice; returns dest.
char* ComposeMoonDistanceLine(char* dest, size_t size, double distanceKm);

// The first eclipse seen at the place that has not ended at the UT Julian Date jd, within the
// next 20 years and not after 2100; false when there is none. Searched a season (91 days) at a
// time; the answer is kept and serves every later instant until that eclipse ends.
bool FindNextSeenEclipse(double jd, int32_t bias, const GeoPlace& place, EclipseAtPlace* out);

// The Moon window's two eclipse lines: "次に見える食 2026年3月3日 皆既月食" and "  食の最大
// 20:33 見える" (local time to the minute); "次に見える食 なし" and "" when `found` is false.
// Each `size` bytes, 64 suffice.
void ComposeNextEclipseLines(char* first, char* second, size_t size, bool found,
                             const EclipseAtPlace& eclipse, int32_t bias);

// The Moon window's line of the year's nearest full Moon: "今年最も近い満月 12月24日 356,738 km";
// "" when the year's full Moons could not be found. 64 bytes suffice; returns dest.
char* ComposeNearestFullMoonLine(char* dest, size_t size, const YearFullMoons& moons, int32_t bias);
