#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "astro/moon_distance.h"
#include "astro/principal_phase.h"
#include "astro/searches.h"
#include "astro/time_scales.h"
#include "cli/commands.h"
#include "cli/json_lines.h"
#include "presentation/pictures.h"
#include "presentation/moon_info.h"

namespace {

constexpr int32_t kPrincipalAngles[4] = {0, 90, 180, 270};

// What the phase lines need besides the phase: the form, and for --json the zone whose local
// year decides the year's nearest and farthest full Moon.
struct PhaseListing {
    bool json;
    int32_t bias;
};

// The distance at every phase; on a full Moon, whether it is the nearest or the farthest of the
// full Moons of its local year (the same lunation's, so that a phase found from another start
// would still be recognised).
nlohmann::ordered_json PhaseJson(const PhaseEvent& event, const char* instant, int32_t bias) {
    nlohmann::ordered_json line = {
        {   "instant",                                instant},
        {     "angle",                            event.angle},
        {      "name", Utf8Text(PhaseNames[event.angle / 90])},
        {"distanceKm",  std::lround(MoonDistanceAt(event.jd))},
    };
    if (event.angle == 180) {
        SYSTEMTIME local;
        SystemTimeFromJulianDate(event.jd - bias * kDaysPerMinute, &local);
        const YearFullMoons moons = FullMoonsOfYear(local.wYear, bias);
        const int64_t lunation = LunationOfJulianDate(event.jd);
        const auto sameLunation = [&](int32_t i) {
            return i >= 0 && LunationOfJulianDate(moons.jd[i]) == lunation;
        };
        line["nearestOfYear"] = sameLunation(moons.nearest);
        line["farthestOfYear"] = sameLunation(moons.farthest);
    }
    return line;
}

void PrintPhaseEvent(const PhaseEvent& event, void* context) {
    const PhaseListing& listing = *static_cast<const PhaseListing*>(context);
    SYSTEMTIME utc;
    SystemTimeFromJulianDate(event.jd, &utc);
    char instant[32];
    FormatInstantText(instant, sizeof(instant), utc);
    if (listing.json) {
        PrintJsonLine(PhaseJson(event, instant, listing.bias));
        return;
    }
    PrintText(stdout, "%s\t%d\n", instant, static_cast<int>(event.angle));
}

// A local instant of the Moon information window as ISO 8601 to the minute with its offset, and
// the same instant in UTC to the second.
nlohmann::ordered_json MoonInstantJson(JulianCenturies T, int32_t bias) {
    SYSTEMTIME local;
    LocalTimeOfInstant(T, bias, &local);
    SYSTEMTIME utc;
    SystemTimeFromJulianDate(JulianDateFromCenturies(T), &utc);
    char offset[16];
    char localText[64];
    std::snprintf(localText, sizeof localText, "%04u-%02u-%02uT%02u:%02u%s", local.wYear,
                  local.wMonth, local.wDay, local.wHour, local.wMinute,
                  FormatOffsetText(offset, sizeof offset, bias));
    char utcText[32];
    return {
        {"local",                 localText},
        { "utc", FormatInstantText(utcText,              sizeof utcText, utc)}
    };
}

// The figures of the text lines, each with its own name; numbers with the decimals printed there.
void PrintMoonJson(const SYSTEMTIME& utc, const MoonInfoFigures& figures, int32_t bias) {
    char instant[32];
    char age[32];
    char illuminated[32];
    char angle[32];
    std::snprintf(age, sizeof age, "%.2f", figures.age);
    std::snprintf(illuminated, sizeof illuminated, "%.2f", figures.illuminated);
    std::snprintf(angle, sizeof angle, "%.2f", figures.phaseAngle);
    PrintJsonLine({
        {    "instant",                              FormatInstantText(instant, sizeof(instant), utc)},
        {        "age",                                        std::strtod(age,        nullptr)     },
        {"illuminated",                                std::strtod(illuminated,        nullptr)     },
        { "phaseAngle",                                      std::strtod(angle,        nullptr)     },
        {    "picture", static_cast<int>(MoonPictureIndex(figures.phaseAngle))                },
        {    "newMoon",                        MoonInstantJson(figures.newMoon,           bias)     },
        {   "fullMoon",                       MoonInstantJson(figures.fullMoon,           bias)     },
    });
}

}  // namespace

// Each phase is searched from a start that depends only on which phase it is (its lunation and
// angle), never on where a listing begins: the same phase comes out bit for bit the same in every
// listing, so adjacent ranges share no phase and miss none, even one that falls within the
// search tolerance of a boundary. In time order the phases of lunation k are 0, 90, 180 and 270,
// then those of k + 1, since each lies within about a day of its mean instant, 7.4 days apart.
bool ListPrincipalPhases(double fromJd, double toJd, void (*sink)(const PhaseEvent&, void*),
                         void* context) {
    // The negated test also rejects NaN; the lunation numbers below then fit their integers.
    if (!(fromJd >= 0 && fromJd < toJd && toJd <= 1e8)) {
        return true;
    }
    const int64_t firstLunation = LunationOfJulianDate(fromJd) - 1;
    const int64_t lastLunation = LunationOfJulianDate(toJd) + 1;
    for (int64_t k = firstLunation; k <= lastLunation; ++k) {
        for (int32_t angle : kPrincipalAngles) {
            bool ok = false;
            const JulianCenturies T = PrincipalPhaseOfLunation(k, angle, &ok);
            if (!ok) {
                return false;
            }
            const double jd = JulianDateFromCenturies(T);
            if (jd >= fromJd && jd < toJd) {
                sink({jd, angle}, context);
            }
        }
    }
    return true;
}

int RunPhases(const CliArguments& args) {
    SYSTEMTIME from;
    SYSTEMTIME to;
    if (const int status = ParseDateRange(args, &from, &to)) {
        return status;
    }
    const double fromJd = JulianDateFromSystemTime(from);
    const double toJd = JulianDateFromSystemTime(to) + 1;
    PhaseListing listing = {HasOption(args, "--json"), args.bias};
    if (!ListPrincipalPhases(fromJd, toJd, PrintPhaseEvent, &listing)) {
        std::fprintf(stderr, "nocturo-cli: a phase search did not converge\n");
        return 1;
    }
    return 0;
}

// The Moon information window's figures as text. The local dates and times are written as
// YYYY-MM-DD HH:MM with the zone: the window takes their form from the system's locale, which a
// portable command line does not have.
int RunMoon(const CliArguments& args) {
    SYSTEMTIME utc;
    const char* at = OptionValue(args, "--at");
    if (at) {
        const CliParse parsed = ParseUtcInstant(at, &utc);
        if (parsed != CliParsed) {
            return ArgumentError("instant --at", at, parsed, kSupportedYearsText);
        }
    } else {
        CurrentUtcTime(&utc);
    }
    const JulianCenturies T = CenturiesFromSystemTime(utc);
    MoonInfoFigures figures;
    ComputeMoonInfoFigures(T, &figures);

    char instant[32];
    char age[32];
    char illuminated[32];
    char zone[16];
    char newMoon[32];
    char fullMoon[32];
    SYSTEMTIME local;
    LocalTimeOfInstant(figures.newMoon, args.bias, &local);
    FormatMinuteText(newMoon, sizeof(newMoon), local);
    LocalTimeOfInstant(figures.fullMoon, args.bias, &local);
    FormatMinuteText(fullMoon, sizeof(fullMoon), local);
    FormatZoneText(zone, sizeof(zone), args.bias);
    if (HasOption(args, "--json")) {
        PrintMoonJson(utc, figures, args.bias);
        return 0;
    }

    PrintText(stdout, "現時点の月：%s\n", FormatInstantText(instant, sizeof(instant), utc));
    PrintText(stdout, "月齢：%s\n", FormatMoonAgeText(age, sizeof(age), figures.age));
    PrintText(stdout, "輝面比：%s\n",
              FormatIlluminatedText(illuminated, sizeof(illuminated), figures.illuminated));
    PrintText(stdout, "位相角：%.2f°\n", figures.phaseAngle);
    PrintText(stdout, "トレイの月の絵(0-27)：%d\n",
              static_cast<int>(MoonPictureIndex(figures.phaseAngle)));
    PrintText(stdout, "直前の朔(新月)：%s (%s)\n", newMoon, zone);
    PrintText(stdout, "次回の望(満月)：%s (%s)\n", fullMoon, zone);
    return 0;
}
