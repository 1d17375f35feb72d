// nocturo-cli: the astronomy and calendar facts of Nocturo on the command line, in UTF-8.
#include <string>
#include <vector>

#include "cli/commands.h"

namespace {

// One row per command, listed in this order by the usage. Columns: name, synopsis, summary,
// options with a value (besides --bias), options without one, fewest and most arguments, command.
// clang-format off
static const CliCommand kCommands[] = {
    {"moon",   "[--at YYYY-MM-DDTHH:MM:SSZ] [--json]", "the Moon information figures, now or at an instant", {"--at"}, {"--json"}, 0, 0, RunMoon},
    {"phases", "FROM TO [--json]",            "new Moons, quarters, full Moons from FROM to end of TO", {},   {"--json"}, 2, 2, RunPhases},
    {"days",   "FROM TO [--custom FILE] [--notes] [--json]", "every day's calendar facts from FROM to TO, tab-separated", {"--custom"}, {"--notes", "--json"}, 2, 2, RunDays},
    {"terms",  "YEAR [--json]",               "the 24 solar terms of a year in local time",  {},   {"--json"}, 1, 1, RunTerms},
    {"month",  "[YYYY-MM] [--custom FILE] [--week-start sun|mon] [--json]", "the Moon Calendar month (default: this month)", {"--custom", "--week-start"}, {"--json"}, 0, 1, RunMonth},
    {"ics",    "FROM TO [--only KINDS] [--rokuyo] [--custom FILE] [--place LAT,LON] [-o FILE]", "an iCalendar file of the days FROM to TO (years or dates)", {"--only", "--custom", "-o", "--place"}, {"--rokuyo"}, 2, 2, RunIcs},
    {"rise",   "FROM TO [--place LAT,LON] [--json]", "moonrise, transit, moonset, sunrise, sunset of each date, local HH:MM:SS", {"--place"}, {"--json"}, 2, 2, RunRise},
    {"eclipses", "FROM TO [--place LAT,LON] [--json]", "lunar and solar eclipses FROM to TO (years or dates) seen from a place", {"--place"}, {"--json"}, 2, 2, RunEclipses},
    {"apsides", "FROM TO [--json]",           "the Moon's perigees and apogees, local HH:MM:SS and km", {}, {"--json"}, 2, 2, RunApsides},
    {"remind", "[--date YYYY-MM-DD] [--days N] [--custom FILE] [--place LAT,LON] [--only KINDS] [--json]", "the morning notice of a date and the N days after it (default: today, 1)", {"--date", "--days", "--custom", "--place", "--only"}, {"--json"}, 0, 0, RunRemind},
    {"today",  "[--custom FILE] [--at YYYY-MM-DDTHH:MM:SSZ] [--json]", "the two tray tooltips, the selected days and the 72-season of now or an instant", {"--custom", "--at"}, {"--json"}, 0, 0, RunToday},
};
// clang-format on

}  // namespace

int main(int argc, char** argv) {
    PrepareStandardStreams();
    // The commands keep pointers into the words for the whole run.
    static std::vector<std::string> words;
    int bad = 0;
    if (!ReadProgramArguments(argc, argv, &words, &bad)) {
        return UsageError("argument %d has a character that Shift_JIS cannot hold", bad);
    }
    std::vector<const char*> pointers;
    for (const std::string& word : words) {
        pointers.push_back(word.c_str());
    }
    return RunCommandLine(static_cast<int>(pointers.size()), pointers.data(), kCommands,
                          static_cast<int>(sizeof(kCommands) / sizeof(kCommands[0])));
}
