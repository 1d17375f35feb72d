// nocturo-cli: the astronomy and calendar facts of Nocturo on the command line, in UTF-8.
#include "cli/commands.h"

namespace {

// One row per command, listed in this order by the usage. Columns: name, synopsis, summary,
// options with a value (besides --bias), options without one, fewest and most arguments, command.
// clang-format off
static const CliCommand kCommands[] = {
    {"moon",   "[--at YYYY-MM-DDTHH:MM:SSZ]", "the Moon information figures, now or at an instant", {"--at"}, {}, 0, 0, RunMoon},
    {"phases", "FROM TO",                     "new Moons, quarters, full Moons from FROM to end of TO", {},   {}, 2, 2, RunPhases},
    {"days",   "FROM TO [--custom FILE]",     "every day's calendar facts from FROM to TO, tab-separated", {"--custom"}, {}, 2, 2, RunDays},
    {"terms",  "YEAR",                        "the 24 solar terms of a year in local time",  {},   {}, 1, 1, RunTerms},
    {"month",  "[YYYY-MM] [--custom FILE]",   "the Moon Calendar month (default: this month)", {"--custom"}, {}, 0, 1, RunMonth},
    {"ics",    "FROM TO [--only KINDS] [--rokuyo] [--custom FILE] [-o FILE]", "an iCalendar file of the days FROM to TO (years or dates)", {"--only", "--custom", "-o"}, {"--rokuyo"}, 2, 2, RunIcs},
    {"today",  "[--custom FILE] [--at YYYY-MM-DDTHH:MM:SSZ]", "the two tray tooltips, now or at an instant", {"--custom", "--at"}, {}, 0, 0, RunToday},
};
// clang-format on

}  // namespace

int main(int argc, char** argv) {
    PrepareStandardStreams();
    return RunCommandLine(argc, argv, kCommands,
                          static_cast<int>(sizeof(kCommands) / sizeof(kCommands[0])));
}
