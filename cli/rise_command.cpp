// nocturo-cli rise: moonrise, the Moon's transit, moonset, sunrise and sunset of each local date.
#include <cstdio>
#include <cstring>

#include "astro/rise_set.h"
#include "cli/commands.h"
#include "cli/json_lines.h"
#include "presentation/rise_set_text.h"

namespace {

// The JSON field of each event kind, in the order of the text columns.
const char* const kEventFields[DayEventKindCount] = {"moonrise", "transit", "moonset", "sunrise",
                                                     "sunset"};

// The events of `kind` as an array of local "HH:MM:SS" texts (empty when none).
nlohmann::ordered_json EventTimesJson(const DayEvents& events, int32_t kind) {
    nlohmann::ordered_json times = nlohmann::ordered_json::array();
    for (int32_t i = 0; i < events.count[kind]; ++i) {
        DayEvents one = events;
        one.count[kind] = 1;
        one.jd[kind][0] = events.jd[kind][i];
        char text[24];
        times.push_back(FormatEventSeconds(text, sizeof text, one, kind));
    }
    return times;
}

void PrintRiseLine(const char* date, const DayEvents& events, bool json) {
    if (json) {
        nlohmann::ordered_json line = {
            {"date", date}
        };
        for (int32_t kind = 0; kind < DayEventKindCount; ++kind) {
            line[kEventFields[kind]] = EventTimesJson(events, kind);
        }
        PrintJsonLine(line);
        return;
    }
    char columns[DayEventKindCount][24];
    for (int32_t kind = 0; kind < DayEventKindCount; ++kind) {
        FormatEventSeconds(columns[kind], sizeof columns[kind], events, kind);
    }
    std::printf("%s\t%s\t%s\t%s\t%s\t%s\n", date, columns[Moonrise], columns[MoonTransit],
                columns[Moonset], columns[Sunrise], columns[Sunset]);
}

}  // namespace

int RunRise(const CliArguments& args) {
    SYSTEMTIME from;
    SYSTEMTIME to;
    if (const int status = ParseDateRange(args, &from, &to)) {
        return status;
    }
    GeoPlace place;
    if (const int status = ReadPlaceOption(args, &place)) {
        return status;
    }
    const bool json = HasOption(args, "--json");
    // Noon of each date in turn: a whole number of days from the first, far from any rounding
    // of the civil date.
    const double last = JulianDateFromSystemTime(to) + 0.5;
    for (double J = JulianDateFromSystemTime(from) + 0.5; J <= last; J += 1) {
        SYSTEMTIME date;
        SystemTimeFromJulianDate(J, &date);
        const DayEvents events =
            ComputeDayEvents(place, date.wYear, date.wMonth, date.wDay, args.bias);
        char dateText[16];
        PrintRiseLine(FormatDateText(dateText, sizeof dateText, date), events, json);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
