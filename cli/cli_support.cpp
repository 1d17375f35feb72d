#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "astro/civil_dates.h"
#include "astro/time_zone.h"
#include "cli/commands.h"

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

}  // namespace

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
    const CliCommand* command = FindCommand(argv[1]);
    if (!command) {
        return UsageError("unknown command '%s'", argv[1]);
    }

    CliArguments args = {};
    const char* biasText = nullptr;
    for (int i = 2; i < argc; ++i) {
        const char* word = argv[i];
        if (word[0] != '-' || word[1] == '\0') {
            if (args.argumentCount == command->maxArguments ||
                args.argumentCount == kMaxCommandArguments) {
                return UsageError("too many arguments for '%s'", command->name);
            }
            args.arguments[args.argumentCount++] = word;
            continue;
        }
        // "--name value" or "--name=value"; the name is compared without the "=value".
        char name[64];
        const char* equals = std::strchr(word, '=');
        const size_t nameLength = equals ? static_cast<size_t>(equals - word) : std::strlen(word);
        if (nameLength >= sizeof(name)) {
            return UsageError("unknown option '%s'", word);
        }
        std::memcpy(name, word, nameLength);
        name[nameLength] = '\0';
        const bool isBias = std::strcmp(name, "--bias") == 0;
        const char* valueOption = FindOption(command->valueOptions, name);
        const char* flagOption = FindOption(command->flagOptions, name);
        const bool takesValue = isBias || valueOption;
        if (!takesValue && !flagOption) {
            return UsageError("unknown option '%s' for '%s'", name, command->name);
        }
        const char* value = nullptr;
        if (takesValue) {
            if (equals) {
                value = equals + 1;
            } else if (i + 1 < argc) {
                value = argv[++i];
            } else {
                return UsageError("option '%s' needs a value", name);
            }
        } else if (equals) {
            return UsageError("option '%s' takes no value", name);
        }
        if (isBias) {
            if (biasText) {
                return UsageError("option '--bias' given twice");
            }
            biasText = value;
            continue;
        }
        for (int k = 0; k < args.optionCount; ++k) {
            if (std::strcmp(args.options[k].name, name) == 0) {
                return UsageError("option '%s' given twice", name);
            }
        }
        if (args.optionCount == kMaxCommandOptions) {
            return UsageError("too many options");
        }
        args.options[args.optionCount++] = {valueOption ? valueOption : flagOption, value};
    }
    if (args.argumentCount < command->minArguments) {
        return UsageError("too few arguments for '%s'", command->name);
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
    std::fprintf(stream, "usage: nocturo-cli COMMAND [ARGUMENTS] [--bias MINUTES]\n\ncommands:\n");
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
                 "\ndates are YYYY-MM-DD within 1900-01-01 .. 2100-12-31; instants are UTC.\n"
                 "ics: FROM and TO are years (YYYY) or dates; KINDS is a comma-separated list of\n"
                 "  holidays,terms,seasonal,phases,custom (default: all; custom needs --custom);\n"
                 "  --rokuyo adds each day's rokuyo and lunisolar date; -o FILE writes the file\n"
                 "  in one step instead of to stdout. Local dates are Japan's (bias -540) unless\n"
                 "  --bias is given; DTSTAMP is SOURCE_DATE_EPOCH when set; phases are in UTC,\n"
                 "  to the minute of their instant (seconds dropped).\n"
                 "exit status: 0 done, 1 a computation failed, 2 an argument error.\n");
}

int UsageError(const char* format, ...) {
    std::fprintf(stderr, "nocturo-cli: ");
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fprintf(stderr, "\n");
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
