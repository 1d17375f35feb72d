// nocturo-cli remind: the morning notice of the tray program, its title and lines, for a date and
// the days after it; for a desktop notification on any system (notify-send from a timer).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "astro/time_scales.h"
#include "calendar/almanac_notes.h"
#include "cli/commands.h"
#include "cli/json_lines.h"
#include "presentation/notice.h"

namespace {

struct RemindKind {
    const char* name;  // as --only spells it; the names ics shares mean the same facts
    uint32_t kinds;    // NoticeKind bits
    bool notes;        // the selected days the notice tells by default
};

static const RemindKind kRemindKinds[] = {
    {  "custom",   NoticeCustom, false},
    {"holidays", NoticeHolidays, false},
    {   "terms",    NoticeTerms, false},
    {"seasonal",    NoticeTerms, false},
    {   "notes",              0,  true},
    {"eclipses", NoticeEclipses, false},
    {"fullmoon", NoticeFullMoon, false},
};

struct RemindKindsParse {
    NoticeSettings* settings;
    uint32_t defaultNotes;  // the selected days "notes" stands for
};

bool TakeRemindKind(const char* item, size_t length, void* context) {
    RemindKindsParse& parse = *static_cast<RemindKindsParse*>(context);
    bool known = false;
    for (const RemindKind& row : kRemindKinds) {
        if (std::strlen(row.name) == length && std::strncmp(row.name, item, length) == 0) {
            parse.settings->kinds |= row.kinds;
            parse.settings->notes |= row.notes ? parse.defaultNotes : 0;
            known = true;
        }
    }
    return known;
}

// A comma-separated list of kind names, each known and none empty, into the settings' kinds and
// selected days.
bool ParseRemindKinds(const char* list, NoticeSettings* settings) {
    RemindKindsParse parse = {settings, settings->notes};
    settings->kinds = 0;
    settings->notes = 0;
    return ForEachListItem(list, TakeRemindKind, &parse);
}

// The local date of now in the zone of --bias or the system's.
CivilDate TodayLocal(int32_t bias) {
    SYSTEMTIME utc;
    CurrentUtcTime(&utc);
    SYSTEMTIME local;
    SystemTimeFromJulianDate(JulianDateFromSystemTime(utc) - bias * kDaysPerMinute, &local);
    return {local.wYear, local.wMonth, local.wDay};
}

void PrintNotice(const Notice& notice, bool json) {
    if (json) {
        nlohmann::ordered_json object;
        char day[16];
        std::snprintf(day, sizeof day, "%04d-%02d-%02d", static_cast<int>(notice.firstDay.year),
                      static_cast<int>(notice.firstDay.month),
                      static_cast<int>(notice.firstDay.day));
        object["title"] = Utf8Text(notice.title.c_str());
        object["day"] = day;
        nlohmann::ordered_json lines = nlohmann::ordered_json::array();
        size_t start = 0;
        while (start <= notice.text.size()) {
            const size_t end = notice.text.find('\n', start);
            const std::string line = notice.text.substr(
                start, end == std::string::npos ? std::string::npos : end - start);
            lines.push_back(Utf8Text(line.c_str()));
            if (end == std::string::npos) {
                break;
            }
            start = end + 1;
        }
        object["lines"] = lines;
        PrintJsonLine(object);
        return;
    }
    PrintText(stdout, "%s\n%s\n", notice.title.c_str(), notice.text.c_str());
}

}  // namespace

int RunRemind(const CliArguments& args) {
    CivilDate date = TodayLocal(args.bias);
    if (const char* text = OptionValue(args, "--date")) {
        SYSTEMTIME parsed;
        const CliParse result = ParseDate(text, &parsed);
        if (result != CliParsed) {
            return ArgumentError("--date", text, result, kSupportedYearsText);
        }
        date = {parsed.wYear, parsed.wMonth, parsed.wDay};
    }
    NoticeSettings settings = DefaultNoticeSettings();
    if (const char* text = OptionValue(args, "--days")) {
        long days = 0;
        const CliParse result = ParseInteger(text, 0, kMaxNoticeLeadDays, &days);
        if (result != CliParsed) {
            return ArgumentError("--days", text, result, "0-7");
        }
        settings.leadDays = static_cast<int32_t>(days);
    }
    GeoPlace place;
    if (const int status = ReadPlaceOption(args, &place)) {
        return status;
    }
    if (const char* only = OptionValue(args, "--only")) {
        if (!ParseRemindKinds(only, &settings)) {
            return UsageError("unknown kind in '--only %s'", only);
        }
    }
    if (const int status = ApplyCustomOption(args)) {
        return status;
    }
    const Notice notice =
        ComposeNotice(CollectNoticeEvents(date, settings, args.bias, place), date);
    if (notice.text.empty()) {
        return 0;
    }
    PrintNotice(notice, HasOption(args, "--json"));
    return std::fflush(stdout) == 0 ? 0 : 1;
}
