#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "astro/civil_dates.h"
#include "astro/time_zone.h"
#include "cli/commands.h"
#include "presentation/place.h"

#ifndef NOCTURO_VERSION
#error "NOCTURO_VERSION must be defined by the build (the project version)"
#endif

namespace {

// The table being run, for the usage that every argument error prints.
struct CommandTable {
    const CliCommand* commands;
    int count;
};

CommandTable commandTable = {nullptr, 0};

bool IsDigits(const char* text, int count) {
    for (int i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    return true;
}

int Digits(const char* text, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Checks the date part "YYYY-MM-DD" at the start of text and fills year, month and day.
CliParse ParseDatePart(const char* text, SYSTEMTIME* out) {
    if (!IsDigits(text, 4) || text[4] != '-' || !IsDigits(text + 5, 2) || text[7] != '-' ||
        !IsDigits(text + 8, 2)) {
        return CliMalformed;
    }
    const int year = Digits(text, 4);
    const int month = Digits(text + 5, 2);
    const int day = Digits(text + 8, 2);
    if (!IsValidCivilDate(year, month, day)) {
        return CliMalformed;
    }
    *out = SYSTEMTIME{};
    out->wYear = static_cast<uint16_t>(year);
    out->wMonth = static_cast<uint16_t>(month);
    out->wDay = static_cast<uint16_t>(day);
    return year < kFirstSupportedYear || year > kLastSupportedYear ? CliOutOfRange : CliParsed;
}

void FillDayOfWeek(SYSTEMTIME* time) {
    SYSTEMTIME midnight = *time;
    midnight.wHour = 0;
    midnight.wMinute = 0;
    midnight.wSecond = 0;
    SYSTEMTIME check;
    SystemTimeFromJulianDate(JulianDateFromSystemTime(midnight), &check);
    time->wDayOfWeek = check.wDayOfWeek;
}

const CliCommand* FindCommand(const char* name) {
    for (int i = 0; i < commandTable.count; ++i) {
        if (std::strcmp(commandTable.commands[i].name, name) == 0) {
            return &commandTable.commands[i];
        }
    }
    return nullptr;
}

// The table's own spelling of an option, or null when the list does not have it.
const char* FindOption(const char* const* list, const char* name) {
    for (int i = 0; i < kMaxOptionsPerCommand && list[i]; ++i) {
        if (std::strcmp(list[i], name) == 0) {
            return list[i];
        }
    }
    return nullptr;
}

// One option of a command after CLI11's parse: how often it was given and the values it took.
struct ParsedOption {
    const char* name;  // the table's spelling
    bool takesValue;
    size_t count;
    std::vector<std::string> values;
};

struct CommandLine {
    std::vector<std::string> positional;
    std::vector<std::string> extras;  // unknown options and what CLI11 could not place
    std::vector<ParsedOption> options;
    std::string failure;  // CLI11's message when it refused the line
};

// Parses argv[1..] for `command` with CLI11: --bias and the table's value options take at most
// one value each (an empty list when the value is missing), flags none; every occurrence is kept
// so that a repetition can be told; words it does not know are handed back as extras.
bool ParseWithCli11(int argc, const char* const* argv, const CliCommand& command,
                    CommandLine* line) {
    CLI::App app{"nocturo-cli"};
    app.set_help_flag();
    CLI::App* sub = app.add_subcommand(command.name);
    sub->set_help_flag();
    sub->allow_extras();
    std::vector<const char*> valueNames = {"--bias"};
    for (int i = 0; i < kMaxOptionsPerCommand && command.valueOptions[i]; ++i) {
        valueNames.push_back(command.valueOptions[i]);
    }
    std::vector<const char*> flagNames;
    for (int i = 0; i < kMaxOptionsPerCommand && command.flagOptions[i]; ++i) {
        flagNames.push_back(command.flagOptions[i]);
    }
    std::vector<CLI::Option*> handles;
    for (const char* name : valueNames) {
        line->options.push_back({name, true, 0, {}});
        handles.push_back(
            sub->add_option(name)->expected(0, 1)->allow_extra_args(false)->multi_option_policy(
                CLI::MultiOptionPolicy::TakeAll));
    }
    for (const char* name : flagNames) {
        line->options.push_back({name, false, 0, {}});
        handles.push_back(sub->add_flag(name)->disable_flag_override()->multi_option_policy(
            CLI::MultiOptionPolicy::TakeAll));
    }
    sub->add_option("arguments", line->positional);
    // Each value goes to CLI11 in the one form it cannot read otherwise: "--at=VALUE" and
    // "-oVALUE", so that a value beginning with a dash stays a value; an empty one as a word of
    // its own after the name, since "--at=" would take the next word. (RunCommandLine has checked
    // that every word with a dash is an option of the command.)
    std::vector<std::string> texts(argv, argv + argc);
    for (size_t i = 2; i < texts.size(); ++i) {
        const size_t equals = texts[i].find('=');
        const std::string name = texts[i].substr(0, equals);
        if (texts[i][0] != '-' || texts[i].size() < 2 ||
            std::find(valueNames.begin(), valueNames.end(), name) == valueNames.end()) {
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = texts[i].substr(equals + 1);
        } else if (i + 1 < texts.size()) {
            value = texts[i + 1];
            texts.erase(texts.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        } else {
            break;  // no value: CLI11 sees the name alone
        }
        if (value.empty()) {
            texts[i] = name;
            texts.insert(texts.begin() + static_cast<std::ptrdiff_t>(i) + 1, "");
            ++i;
        } else {
            texts[i] = name + (name[1] == '-' ? "=" : "") + value;
        }
    }
    std::vector<const char*> words;
    for (const std::string& text : texts) {
        words.push_back(text.c_str());
    }
    try {
        app.parse(static_cast<int>(words.size()), words.data());
    } catch (const CLI::Error& error) {
        line->failure = error.what();
        return false;
    } catch (const std::exception& error) {
        line->failure = error.what();
        return false;
    }
    for (size_t i = 0; i < handles.size(); ++i) {
        line->options[i].count = handles[i]->count();
        if (line->options[i].takesValue) {
            line->options[i].values = handles[i]->results();
        }
    }
    line->extras = sub->remaining();
    const std::vector<std::string> rest = app.remaining();
    line->extras.insert(line->extras.end(), rest.begin(), rest.end());
    return true;
}

// Whether a word of the command line is "NAME=", an option given the empty value.
bool HasEmptyValueWord(int argc, const char* const* argv, const char* name) {
    const size_t length = std::strlen(name);
    for (int i = 2; i < argc; ++i) {
        if (std::strncmp(argv[i], name, length) == 0 && std::strcmp(argv[i] + length, "=") == 0) {
            return true;
        }
    }
    return false;
}

// The word of the command line that holds `text`, itself or after "NAME=", so that the command
// keeps pointers into argv as it always has.
const char* InCommandLine(int argc, const char* const* argv, const std::string& text) {
    for (int i = 2; i < argc; ++i) {
        if (text == argv[i]) {
            return argv[i];
        }
    }
    for (int i = 2; i < argc; ++i) {
        const char* equals = std::strchr(argv[i], '=');
        if (argv[i][0] == '-' && equals && text == equals + 1) {
            return equals + 1;
        }
    }
    return argv[argc - 1];  // not reached: every value CLI11 hands back is one of the words
}

}  // namespace

// CLI11 parses; the checks after it keep the messages and the exit status of every line the tool
// has accepted or refused so far. CLI11 reports by throwing: the throw is caught here, at its
// edge, and nothing else in the program sees it.
int RunCommandLine(int argc, const char* const* argv, const CliCommand* commands, int count) {
    commandTable = {commands, count};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintUsage(stdout);
            return 0;
        }
    }
    if (argc < 2) {
        return UsageError("no command given");
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        if (argc > 2) {
            return UsageError("option '--version' takes no arguments");
        }
        std::printf("nocturo-cli %s\n", NOCTURO_VERSION);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    const CliCommand* command = FindCommand(argv[1]);
    if (!command) {
        return UsageError("unknown command '%s'", argv[1]);
    }
    // What CLI11 would take differently from the tool's own rules: "--" ends its options, a
    // flag accepts "=true", a single dash joins short options and their values ("-ofile"), and
    // "-3" is a word. Each word that begins with a dash is one option, with "=VALUE" or the next
    // word as its value.
    for (int i = 2; i < argc; ++i) {
        const char* word = argv[i];
        if (word[0] != '-' || word[1] == '\0') {
            continue;
        }
        const char* equals = std::strchr(word, '=');
        const std::string name = equals ? std::string(word, equals) : std::string(word);
        const bool takesValue =
            name == "--bias" || FindOption(command->valueOptions, name.c_str()) != nullptr;
        if (FindOption(command->flagOptions, name.c_str())) {
            if (equals) {
                return UsageError("option '%s' takes no value", name.c_str());
            }
        } else if (!takesValue) {
            return UsageError("unknown option '%s' for '%s'", name.c_str(), command->name);
        } else if (!equals) {
            ++i;  // its value, whatever it looks like
        }
    }

    CommandLine line;
    if (!ParseWithCli11(argc, argv, *command, &line)) {
        return UsageError("cannot read the command line: %s", line.failure.c_str());
    }
    if (!line.extras.empty()) {
        const std::string& extra = line.extras.front();
        if (extra[0] == '-' && extra.size() > 1) {
            return UsageError("unknown option '%s' for '%s'",
                              extra.substr(0, extra.find('=')).c_str(), command->name);
        }
        return UsageError("too many arguments for '%s'", command->name);
    }
    CliArguments args = {};
    for (const ParsedOption& option : line.options) {
        if (option.count > 1) {
            return UsageError("option '%s' given twice", option.name);
        }
        // CLI11 gives a missing value as an empty one; "NAME=" is the one way to give it.
        if (option.count == 1 && option.takesValue &&
            (option.values.empty() ||
             (option.values.front().empty() && !HasEmptyValueWord(argc, argv, option.name)))) {
            return UsageError("option '%s' needs a value", option.name);
        }
    }
    if (static_cast<int>(line.positional.size()) > command->maxArguments ||
        line.positional.size() > static_cast<size_t>(kMaxCommandArguments)) {
        return UsageError("too many arguments for '%s'", command->name);
    }
    if (static_cast<int>(line.positional.size()) < command->minArguments) {
        return UsageError("too few arguments for '%s'", command->name);
    }
    for (const std::string& word : line.positional) {
        args.arguments[args.argumentCount++] = InCommandLine(argc, argv, word);
    }
    const char* biasText = nullptr;
    for (const ParsedOption& option : line.options) {
        if (option.count == 0) {
            continue;
        }
        const char* value =
            option.takesValue ? InCommandLine(argc, argv, option.values.front()) : nullptr;
        if (std::strcmp(option.name, "--bias") == 0) {
            biasText = value;
        } else if (args.optionCount < kMaxCommandOptions) {
            args.options[args.optionCount++] = {option.name, value};
        }
    }
    if (biasText) {
        long bias = 0;
        const CliParse parsed = ParseInteger(biasText, kMinBias, kMaxBias, &bias);
        if (parsed != CliParsed) {
            return ArgumentError("bias", biasText, parsed, "-1440 to 1440 minutes");
        }
        args.bias = static_cast<int32_t>(bias);
        args.biasGiven = 1;
        SetTimeZoneBiasOverride(args.bias);
    } else {
        args.bias = TimeZoneBias();
    }
    return command->run(args);
}

void PrintUsage(FILE* stream) {
    std::fprintf(stream,
                 "usage: nocturo-cli COMMAND [ARGUMENTS] [--bias MINUTES]\n"
                 "       nocturo-cli --version\n\ncommands:\n");
    for (int i = 0; i < commandTable.count; ++i) {
        const CliCommand& command = commandTable.commands[i];
        char line[128];
        std::snprintf(line, sizeof(line), "%s %s", command.name, command.synopsis);
        // A synopsis too long for the column puts its summary on a line of its own.
        if (std::strlen(line) > 40) {
            std::fprintf(stream, "  %s\n  %-40s %s\n", line, "", command.summary);
        } else {
            std::fprintf(stream, "  %-40s %s\n", line, command.summary);
        }
    }
    std::fprintf(stream,
                 "\noptions of every command:\n"
                 "  --bias MINUTES  the time-zone bias, UTC = local time + bias (-540 for Japan),\n"
                 "                  -1440 to 1440; default: the system's standard-time bias\n"
                 "                  (ics: -540, Japan's)\n"
                 "  --help          this text\n"
                 "--json: one JSON object a line (UTF-8) with a named field for every column.\n"
                 "--notes (days): two more columns, the selected days joined by a middle dot\n"
                 "  and the 72-season in effect.\n"
                 "\ndates are YYYY-MM-DD within 1900-01-01 .. 2100-12-31; instants are UTC.\n"
                 "ics: FROM and TO are years (YYYY) or dates; KINDS is a comma-separated list of\n"
                 "  holidays,terms,seasonal,phases,custom,notes,kou (default: the first five;\n"
                 "  custom needs --custom); notes: one event a day with selected days, kou: one\n"
                 "  on the first day of each 72-season;\n"
                 "  --rokuyo adds each day's rokuyo and lunisolar date; -o FILE writes the file\n"
                 "  in one step instead of to stdout. Local dates are Japan's (bias -540) unless\n"
                 "  --bias is given; DTSTAMP is SOURCE_DATE_EPOCH when set; phases are in UTC,\n"
                 "  to the minute of their instant (seconds dropped).\n"
                 "apsides: FROM and TO are years or dates, as for ics; columns date, local\n"
                 "  HH:MM:SS, the kind in Japanese (perigee or apogee), distance centre to\n"
                 "  centre in whole km.\n"
                 "phases --json: distanceKm at every phase; full Moons also nearestOfYear and\n"
                 "  farthestOfYear, among the full Moons of the same local year.\n"
                 "rise: columns date, moonrise, transit, moonset, sunrise, sunset; local\n"
                 "  HH:MM:SS to the nearest second, '-' for none, two on one date joined by ',';\n"
                 "  --place LAT,LON in decimal degrees, north and east positive, latitude\n"
                 "  -89.5..89.5, longitude -180..180 (default 35.6581,139.7414, Tokyo).\n"
                 "exit status: 0 done, 1 a computation failed, 2 an argument error.\n");
}

int UsageError(const char* format, ...) {
    char message[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    // The words of the command line in it are in the program's argument text (Shift_JIS on
    // Windows); the terminal gets UTF-8.
    std::fprintf(stderr, "nocturo-cli: %s\n", ArgumentTextAsUtf8(message).c_str());
    PrintUsage(stderr);
    return 2;
}

int ArgumentError(const char* what, const char* text, CliParse problem, const char* range) {
    if (problem == CliOutOfRange) {
        return UsageError("%s '%s' is outside %s", what, text, range);
    }
    return UsageError("malformed %s '%s'", what, text);
}

const char* OptionValue(const CliArguments& args, const char* name) {
    for (int i = 0; i < args.optionCount; ++i) {
        if (std::strcmp(args.options[i].name, name) == 0) {
            return args.options[i].value;
        }
    }
    return nullptr;
}

bool HasOption(const CliArguments& args, const char* name) {
    for (int i = 0; i < args.optionCount; ++i) {
        if (std::strcmp(args.options[i].name, name) == 0) {
            return true;
        }
    }
    return false;
}

CliParse ParseDate(const char* text, SYSTEMTIME* out) {
    if (std::strlen(text) != 10) {
        return CliMalformed;
    }
    const CliParse parsed = ParseDatePart(text, out);
    if (parsed != CliMalformed) {
        FillDayOfWeek(out);
    }
    return parsed;
}

int ParseDateRange(const CliArguments& args, SYSTEMTIME* from, SYSTEMTIME* to) {
    CliParse parsed = ParseDate(args.arguments[0], from);
    if (parsed != CliParsed) {
        return ArgumentError("date FROM", args.arguments[0], parsed, kSupportedYearsText);
    }
    parsed = ParseDate(args.arguments[1], to);
    if (parsed != CliParsed) {
        return ArgumentError("date TO", args.arguments[1], parsed, kSupportedYearsText);
    }
    if (JulianDateFromSystemTime(*to) < JulianDateFromSystemTime(*from)) {
        return UsageError("date TO '%s' lies before FROM '%s'", args.arguments[1],
                          args.arguments[0]);
    }
    return 0;
}

namespace {

// FROM as YYYY (1 January) or YYYY-MM-DD; TO as YYYY (31 December) or YYYY-MM-DD.
CliParse ParseRangeEnd(const char* text, bool last, SYSTEMTIME* out) {
    if (std::strlen(text) != 4) {
        return ParseDate(text, out);
    }
    uint16_t year = 0;
    const CliParse parsed = ParseYear(text, &year);
    *out = SYSTEMTIME{};
    out->wYear = year;
    out->wMonth = last ? 12 : 1;
    out->wDay = last ? 31 : 1;
    return parsed;
}

}  // namespace

int ParseYearOrDateRange(const CliArguments& args, SYSTEMTIME* from, SYSTEMTIME* to) {
    CliParse parsed = ParseRangeEnd(args.arguments[0], false, from);
    if (parsed != CliParsed) {
        return ArgumentError("FROM", args.arguments[0], parsed, kSupportedYearsText);
    }
    parsed = ParseRangeEnd(args.arguments[1], true, to);
    if (parsed != CliParsed) {
        return ArgumentError("TO", args.arguments[1], parsed, kSupportedYearsText);
    }
    if (JulianDateFromSystemTime(*to) < JulianDateFromSystemTime(*from)) {
        return UsageError("TO '%s' lies before FROM '%s'", args.arguments[1], args.arguments[0]);
    }
    return 0;
}

bool ForEachListItem(const char* list, bool (*take)(const char* item, size_t length, void* context),
                     void* context) {
    const char* item = list;
    for (;;) {
        const char* end = std::strchr(item, ',');
        const size_t length = end ? static_cast<size_t>(end - item) : std::strlen(item);
        if (!take(item, length, context)) {
            return false;
        }
        if (!end) {
            return true;
        }
        item = end + 1;
    }
}

bool ParsePlaceOption(const char* text, GeoPlace* place) {
    const char* comma = std::strchr(text, ',');
    if (comma == nullptr || comma - text >= 64) {
        return false;
    }
    char latitude[64];
    std::memcpy(latitude, text, static_cast<size_t>(comma - text));
    latitude[comma - text] = '\0';
    GeoPlace parsed = {};
    if (!ParseLatitude(latitude, &parsed.latitude) ||
        !ParseLongitude(comma + 1, &parsed.longitude)) {
        return false;
    }
    *place = parsed;
    return true;
}

int PlaceError(const char* text) {
    return UsageError("malformed place '%s' (LAT,LON in degrees: -89.5..89.5,-180..180)", text);
}

int ReadPlaceOption(const CliArguments& args, GeoPlace* place) {
    *place = DefaultPlaceSetting().place;
    const char* text = OptionValue(args, "--place");
    if (text && !ParsePlaceOption(text, place)) {
        return PlaceError(text);
    }
    return 0;
}

CliParse ParseUtcInstant(const char* text, SYSTEMTIME* out) {
    if (std::strlen(text) != 20 || text[10] != 'T' || !IsDigits(text + 11, 2) || text[13] != ':' ||
        !IsDigits(text + 14, 2) || text[16] != ':' || !IsDigits(text + 17, 2) || text[19] != 'Z') {
        return CliMalformed;
    }
    SYSTEMTIME time;
    const CliParse parsed = ParseDatePart(text, &time);
    if (parsed == CliMalformed) {
        return parsed;
    }
    const int hour = Digits(text + 11, 2);
    const int minute = Digits(text + 14, 2);
    const int second = Digits(text + 17, 2);
    if (hour > 23 || minute > 59 || second > 59) {
        return CliMalformed;
    }
    time.wHour = static_cast<uint16_t>(hour);
    time.wMinute = static_cast<uint16_t>(minute);
    time.wSecond = static_cast<uint16_t>(second);
    FillDayOfWeek(&time);
    *out = time;
    return parsed;
}

CliParse ParseYearMonth(const char* text, SYSTEMTIME* out) {
    if (std::strlen(text) != 7) {
        return CliMalformed;
    }
    char date[11];
    std::memcpy(date, text, 7);
    std::memcpy(date + 7, "-01", 4);
    return ParseDate(date, out);
}

CliParse ParseYear(const char* text, uint16_t* year) {
    if (std::strlen(text) != 4 || !IsDigits(text, 4)) {
        return CliMalformed;
    }
    const int value = Digits(text, 4);
    *year = static_cast<uint16_t>(value);
    return value < kFirstSupportedYear || value > kLastSupportedYear ? CliOutOfRange : CliParsed;
}

CliParse ParseInteger(const char* text, long min, long max, long* out) {
    const char* digits = text[0] == '-' || text[0] == '+' ? text + 1 : text;
    const size_t length = std::strlen(digits);
    if (length == 0 || !IsDigits(digits, static_cast<int>(length))) {
        return CliMalformed;
    }
    // Nine digits cannot overflow a long, and no accepted range needs more.
    if (length > 9) {
        return CliOutOfRange;
    }
    long value = std::strtol(digits, nullptr, 10);
    if (text[0] == '-') {
        value = -value;
    }
    if (value < min || value > max) {
        return CliOutOfRange;
    }
    *out = value;
    return CliParsed;
}

char* FormatInstantText(char* dest, size_t size, const SYSTEMTIME& time) {
    if (size > 0) {
        std::snprintf(dest, size, "%04u-%02u-%02uT%02u:%02u:%02uZ", time.wYear, time.wMonth,
                      time.wDay, time.wHour, time.wMinute, time.wSecond);
    }
    return dest;
}

char* FormatMinuteText(char* dest, size_t size, const SYSTEMTIME& time) {
    if (size > 0) {
        std::snprintf(dest, size, "%04u-%02u-%02u %02u:%02u", time.wYear, time.wMonth, time.wDay,
                      time.wHour, time.wMinute);
    }
    return dest;
}

char* FormatDateText(char* dest, size_t size, const SYSTEMTIME& time) {
    if (size > 0) {
        std::snprintf(dest, size, "%04u-%02u-%02u", time.wYear, time.wMonth, time.wDay);
    }
    return dest;
}

char* FormatZoneText(char* dest, size_t size, int32_t bias) {
    if (size > 0) {
        const int32_t offset = -bias;
        const int32_t magnitude = offset < 0 ? -offset : offset;
        std::snprintf(dest, size, "UTC%c%02d:%02d", offset < 0 ? '-' : '+',
                      static_cast<int>(magnitude / 60), static_cast<int>(magnitude % 60));
    }
    return dest;
}

char* FormatOffsetText(char* dest, size_t size, int32_t bias) {
    char zone[16];
    FormatZoneText(zone, sizeof zone, bias);
    if (size > 0) {
        std::snprintf(dest, size, "%s", zone + 3);  // "UTC+09:00" without "UTC"
    }
    return dest;
}

void PrintText(FILE* stream, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    if (length < 0) {
        va_end(again);
        return;
    }
    std::vector<char> sjis(static_cast<size_t>(length) + 1);
    std::vsnprintf(sjis.data(), sjis.size(), format, again);
    va_end(again);
    // A Shift_JIS character never grows beyond three bytes of UTF-8.
    std::vector<char> utf8(sjis.size() * 3 + 1);
    const size_t written = ShiftJisToUtf8(sjis.data(), utf8.data(), utf8.size());
    std::fwrite(utf8.data(), 1, written, stream);
}
