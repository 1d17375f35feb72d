// nocturo-cli eclipses: every lunar and solar eclipse of a range of years or dates, seen from a
// place, one line each.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "cli/commands.h"
#include "cli/json_lines.h"
#include "presentation/eclipse_text.h"

namespace {

// The value "%.*f" prints, read back: the JSON number says what a text column would.
double Rounded(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return std::strtod(text, nullptr);
}

// {local, utc} of an instant to the nearest second, as the terms listing writes instants; null
// for none (0).
nlohmann::ordered_json InstantJson(double jd, int32_t bias) {
    if (!(jd > 0)) {
        return nullptr;
    }
    SYSTEMTIME local;
    LocalSecondOf(jd, bias, &local);
    SYSTEMTIME utc;
    LocalSecondOf(jd, 0, &utc);
    char offset[16];
    char localText[64];
    std::snprintf(localText, sizeof localText, "%04u-%02u-%02uT%02u:%02u:%02u%s", local.wYear,
                  local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond,
                  FormatOffsetText(offset, sizeof offset, bias));
    char utcText[32];
    return {
        {"local",                 localText},
        { "utc", FormatInstantText(utcText,              sizeof utcText, utc)}
    };
}

// A number, or null when there is none (NaN).
nlohmann::ordered_json NumberJson(double value, int decimals) {
    if (std::isnan(value)) {
        return nullptr;
    }
    return Rounded(value, decimals);
}

std::string DateOfInstant(double jd, int32_t bias) {
    SYSTEMTIME local;
    LocalSecondOf(jd, bias, &local);
    char text[16];
    return FormatDateText(text, sizeof text, local);
}

void PrintEclipseJson(const EclipseAtPlace& e, int32_t bias) {
    nlohmann::ordered_json line = {
        {      "date",                          DateOfInstant(EclipseDateInstant(e),          bias) },
        {      "body",                                      e.moon ? "moon" : "sun"               },
        {      "kind",                              Utf8Text(EclipseKindName(e.moon,       e.kind))},
        {  "greatest",                                 InstantJson(e.globalGreatest,          bias)            },
        { "magnitude", Rounded(e.moon ? e.lunar.umbralMagnitude : e.solar.magnitude,             3)},
        {"visibility",                        Utf8Text(EclipseVisibilityName(e.moon, e.visibility))            },
    };
    if (e.moon) {
        static const char* const kContactNames[LunarContactCount] = {"P1", "U1", "U2",
                                                                     "U3", "U4", "P4"};
        line["penumbralMagnitude"] = Rounded(e.lunar.penumbralMagnitude, 3);
        nlohmann::ordered_json contacts = nlohmann::ordered_json::object();
        for (int32_t i = 0; i < LunarContactCount; ++i) {
            contacts[kContactNames[i]] = InstantJson(e.lunar.contacts[i], bias);
        }
        line["contacts"] = contacts;
    } else {
        const LocalSolarEclipse& l = e.local;
        const double none = NAN;
        line["greatestLatitude"] = Rounded(e.solar.greatestLatitude, 2);
        line["greatestLongitude"] = Rounded(e.solar.greatestLongitude, 2);
        line["local"] = {
            {       "begin",                          InstantJson(l.begin, bias)},
            {"centralBegin",                   InstantJson(l.centralBegin, bias)},
            {    "greatest",                       InstantJson(l.greatest, bias)},
            {  "centralEnd",                     InstantJson(l.centralEnd, bias)},
            {         "end",                            InstantJson(l.end, bias)},
            {   "magnitude",   NumberJson(l.eclipsed ? l.magnitude : none,    3)},
            { "obscuration", NumberJson(l.eclipsed ? l.obscuration : none,    3)},
            { "sunAltitude", NumberJson(l.eclipsed ? l.sunAltitude : none,    1)},
        };
    }
    PrintJsonLine(line);
}

// date  kind  greatest  magnitude  begin  centralBegin  centralEnd  end  visibility
void PrintEclipseLine(const EclipseAtPlace& e, int32_t bias) {
    const bool seen = EclipseSeen(e);
    char greatest[16];
    char magnitude[16];
    char begin[16];
    char centralBegin[16];
    char centralEnd[16];
    char end[16];
    FormatEclipseClock(greatest, sizeof greatest, seen ? e.greatest : 0, bias);
    std::snprintf(magnitude, sizeof magnitude, seen ? "%.3f" : "-", e.magnitude);
    FormatEclipseClock(begin, sizeof begin, seen ? e.begin : 0, bias);
    FormatEclipseClock(centralBegin, sizeof centralBegin, seen ? e.centralBegin : 0, bias);
    FormatEclipseClock(centralEnd, sizeof centralEnd, seen ? e.centralEnd : 0, bias);
    FormatEclipseClock(end, sizeof end, seen ? e.end : 0, bias);
    PrintText(stdout, "%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n",
              DateOfInstant(EclipseDateInstant(e), bias).c_str(), EclipseKindName(e.moon, e.kind),
              greatest, magnitude, begin, centralBegin, centralEnd, end,
              EclipseVisibilityName(e.moon, e.visibility));
}

}  // namespace

int RunEclipses(const CliArguments& args) {
    SYSTEMTIME from;
    SYSTEMTIME to;
    if (const int status = ParseYearOrDateRange(args, &from, &to)) {
        return status;
    }
    GeoPlace place;
    if (const int status = ReadPlaceOption(args, &place)) {
        return status;
    }
    // The local days FROM .. TO in UT.
    const double b = args.bias * kDaysPerMinute;
    const double fromJd = JulianDateFromSystemTime(from) + b;
    const double toJd = JulianDateFromSystemTime(to) + 1 + b;
    const bool json = HasOption(args, "--json");
    for (const EclipseAtPlace& e : EclipsesAtPlace(fromJd, toJd, place)) {
        if (json) {
            PrintEclipseJson(e, args.bias);
        } else {
            PrintEclipseLine(e, args.bias);
        }
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
