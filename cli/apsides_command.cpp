// nocturo-cli apsides: the Moon's perigees and apogees of a range of years or dates, with the
// distance centre to centre, one line each.
#include <cmath>
#include <cstdio>
#include <vector>

#include "astro/moon_distance.h"
#include "cli/commands.h"
#include "cli/json_lines.h"

namespace {

// The civil date and time of the UT Julian Date jd in the zone `bias`, to the nearest second; a
// second that rounds up to midnight is 00:00:00 of the next date.
void LocalSecond(double jd, int32_t bias, SYSTEMTIME* out) {
    const double local = jd - bias * kDaysPerMinute;
    SystemTimeFromJulianDate(local, out);
    if (out->wHour == 24) {
        SystemTimeFromJulianDate(local + 1.0 / 86400, out);
    }
}

void PrintApsis(const Apsis& apsis, int32_t bias, bool json) {
    SYSTEMTIME local;
    LocalSecond(apsis.jd, bias, &local);
    const long km = std::lround(apsis.distance);
    if (json) {
        SYSTEMTIME utc;
        LocalSecond(apsis.jd, 0, &utc);
        char offset[16];
        char localText[64];
        std::snprintf(localText, sizeof localText, "%04u-%02u-%02uT%02u:%02u:%02u%s", local.wYear,
                      local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond,
                      FormatOffsetText(offset, sizeof offset, bias));
        char utcText[32];
        PrintJsonLine({
            {      "kind", apsis.kind == Perigee ? "perigee" : "apogee"},
            {     "local",                                    localText},
            {       "utc",                    FormatInstantText(utcText,sizeof utcText, utc)},
            {"distanceKm",                                           km                                                   },
        });
        return;
    }
    char date[16];
    PrintText(stdout, "%s\t%02u:%02u:%02u\t%s\t%ld\n", FormatDateText(date, sizeof date, local),
              local.wHour, local.wMinute, local.wSecond,
              apsis.kind == Perigee ? "近地点" : "遠地点", km);
}

}  // namespace

int RunApsides(const CliArguments& args) {
    SYSTEMTIME from;
    SYSTEMTIME to;
    if (const int status = ParseYearOrDateRange(args, &from, &to)) {
        return status;
    }
    // From the local midnight that begins FROM to the one that ends TO, in UT.
    const double shift = args.bias * kDaysPerMinute;
    const double fromJd = JulianDateFromSystemTime(from) + shift;
    const double toJd = JulianDateFromSystemTime(to) + 1 + shift;
    std::vector<Apsis> apsides;
    const bool ok = FindApsides(fromJd, toJd, &apsides);
    const bool json = HasOption(args, "--json");
    for (const Apsis& apsis : apsides) {
        PrintApsis(apsis, args.bias, json);
    }
    if (!ok) {
        std::fprintf(stderr, "nocturo-cli: an apsis search did not converge\n");
        return 1;
    }
    return 0;
}
