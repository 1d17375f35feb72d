// nocturo-cli: the command table, the commands, and the helpers they share (argument parsing,
// usage, dates and times as text, Shift_JIS texts written as UTF-8).
//
// Adding a command: write `int RunName(const CliArguments& args)` in a file of this folder,
// declare it below and add one row to the table in main.cpp. The dispatcher has already checked
// the options and the number of arguments against the row and applied --bias; the command parses
// its own arguments with the helpers below and returns the exit status (ArgumentError and
// UsageError give 2).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "astro/rise_set.h"
#include "astro/time_scales.h"

// Dates and instants the commands accept.
constexpr uint16_t kFirstSupportedYear = 1900;
constexpr uint16_t kLastSupportedYear = 2100;
constexpr const char* kSupportedYearsText = "years 1900-2100";

// The time-zone bias --bias accepts, in minutes.
constexpr int32_t kMinBias = -1440;
constexpr int32_t kMaxBias = 1440;

constexpr int kMaxCommandArguments = 8;
constexpr int kMaxCommandOptions = 8;
constexpr int kMaxOptionsPerCommand = 6;

struct CliOption {
    const char* name;   // as written, e.g. "--at"
    const char* value;  // null for an option without a value
};

// The arguments of one command line after the dispatcher's checks.
struct CliArguments {
    const char* arguments[kMaxCommandArguments];  // positional, in order
    int argumentCount;
    CliOption options[kMaxCommandOptions];  // each option at most once; --bias is not among them
    int optionCount;
    int32_t bias;  // --bias when given (and then also set as the process's override), otherwise
                   // the system's TimeZoneBias
    int32_t biasGiven;  // 1 when --bias was on the command line
};

// One row of the command table.
struct CliCommand {
    const char* name;
    const char* synopsis;  // what follows the name in the usage, e.g. "FROM TO"
    const char* summary;   // one line of the usage
    const char* valueOptions[kMaxOptionsPerCommand];  // options that take a value, besides --bias
    const char* flagOptions[kMaxOptionsPerCommand];   // options without a value
    int minArguments;
    int maxArguments;
    int (*run)(const CliArguments& args);
};

// The commands.
int RunMoon(const CliArguments& args);
int RunPhases(const CliArguments& args);
int RunDays(const CliArguments& args);  // calendar_commands.cpp
int RunTerms(const CliArguments& args);
int RunMonth(const CliArguments& args);
int RunToday(const CliArguments& args);
int RunIcs(const CliArguments& args);       // ics_command.cpp
int RunRise(const CliArguments& args);      // rise_command.cpp
int RunEclipses(const CliArguments& args);  // eclipses_command.cpp
int RunApsides(const CliArguments& args);   // apsides_command.cpp
int RunRemind(const CliArguments& args);    // remind_command.cpp

// Applies the option --custom FILE of a calendar command, or no custom holidays without it. A file
// that cannot be opened is an argument error (usage printed, returns 2); a foreign or damaged one
// gives no custom holidays, as in the program. Returns 0 otherwise.
int ApplyCustomOption(const CliArguments& args);

// One instant at which the Moon's phase angle is 0, 90, 180 or 270 degrees.
struct PhaseEvent {
    double jd;      // UT Julian Date
    int32_t angle;  // 0, 90, 180 or 270
};

// Calls sink, in time order, for every instant of the four principal phases with a UT Julian Date
// in [fromJd, toJd) (within JD 0 .. 1e8; an empty or unusable range gives none), each found with
// FindPhaseInstant. Returns false (after the events up to there) when a search could not close.
bool ListPrincipalPhases(double fromJd, double toJd, void (*sink)(const PhaseEvent&, void*),
                         void* context);

// Parses argv against the table, runs the command and returns the process's exit status: 2 for an
// argument error (message and usage on stderr), 0 for --help, otherwise the command's own status.
int RunCommandLine(int argc, const char* const* argv, const CliCommand* commands, int count);

// Prints the usage of the table being run to `stream`.
void PrintUsage(FILE* stream);

// Prints "nocturo-cli: <message>" and the usage to stderr; returns 2.
int UsageError(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

enum CliParse {
    CliParsed,      // well formed and within range
    CliMalformed,   // not of the expected form, or no such date or time
    CliOutOfRange,  // well formed, but outside the accepted range (years 1900-2100)
};

// Reports a failed parse of `text` as the command-line argument `what` (e.g. "date FROM") whose
// accepted range reads `range` (e.g. kSupportedYearsText): prints the message and the usage to
// stderr and returns 2.
int ArgumentError(const char* what, const char* text, CliParse problem, const char* range);

// The value of an option of the command line, or null when it was not given (or has no value).
const char* OptionValue(const CliArguments& args, const char* name);
bool HasOption(const CliArguments& args, const char* name);

// Strict forms; digits only where digits are written, nothing before or after. Every field is
// checked (a real date, hours 0-23, minutes and seconds 0-59); the year must lie in 1900-2100.
// Fields not given are 0; the day of week is filled in.
CliParse ParseDate(const char* text, SYSTEMTIME* out);        // YYYY-MM-DD
CliParse ParseUtcInstant(const char* text, SYSTEMTIME* out);  // YYYY-MM-DDTHH:MM:SSZ
CliParse ParseYearMonth(const char* text, SYSTEMTIME* out);   // YYYY-MM, day 1
CliParse ParseYear(const char* text, uint16_t* year);         // YYYY

// The two positional dates FROM and TO of a range command. Returns 0 when both are valid dates and
// TO is not before FROM; otherwise prints the error and the usage and returns the exit status 2.
int ParseDateRange(const CliArguments& args, SYSTEMTIME* from, SYSTEMTIME* to);

// The two positional arguments FROM and TO of a range of years or dates: FROM as YYYY (1 January)
// or YYYY-MM-DD, TO as YYYY (31 December) or YYYY-MM-DD. Returns 0 when both are valid and TO is
// not before FROM; otherwise prints the error and the usage and returns the exit status 2.
int ParseYearOrDateRange(const CliArguments& args, SYSTEMTIME* from, SYSTEMTIME* to);

// Hands each item of a comma-separated list, in order, to take(item, length, context); false at
// the first item it refuses (an empty item included), true when it took them all.
bool ForEachListItem(const char* list, bool (*take)(const char* item, size_t length, void* context),
                     void* context);

// A place written LAT,LON in decimal degrees (north and east positive), each by the rules of the
// place dialog. Returns false when it is not of that form or out of range.
bool ParsePlaceOption(const char* text, GeoPlace* place);

// Reports a malformed --place value: prints the message and the usage, returns 2.
int PlaceError(const char* text);

// The place of the command: --place when given, otherwise the default place (Tokyo). Returns 0,
// or the exit status 2 after PlaceError when --place is malformed.
int ReadPlaceOption(const CliArguments& args, GeoPlace* place);

// A decimal integer with an optional sign, within [min, max].
CliParse ParseInteger(const char* text, long min, long max, long* out);

// "YYYY-MM-DDTHH:MM:SSZ", "YYYY-MM-DD HH:MM" and "YYYY-MM-DD" of a SYSTEMTIME, exactly as its
// fields read (an hour 24 is printed as 24). Each writes at most `size` bytes with the terminator.
char* FormatInstantText(char* dest, size_t size, const SYSTEMTIME& time);
char* FormatMinuteText(char* dest, size_t size, const SYSTEMTIME& time);
char* FormatDateText(char* dest, size_t size, const SYSTEMTIME& time);

// "UTC+09:00" for a bias of -540 (UTC = local + bias).
char* FormatZoneText(char* dest, size_t size, int32_t bias);

// "+09:00" for a bias of -540: the zone offset of an ISO 8601 local time.
char* FormatOffsetText(char* dest, size_t size, int32_t bias);

// The system clock as UTC.
void CurrentUtcTime(SYSTEMTIME* out);

// Converts a Shift_JIS (code page 932) text to UTF-8; a byte that is not Shift_JIS becomes '?'.
// Writes at most `size` bytes with the terminator; returns the length written.
size_t ShiftJisToUtf8(const char* sjis, char* dest, size_t size);

// printf to `stream` of a format and arguments whose texts are Shift_JIS (every literal of the
// program is), converted to UTF-8 on the way out.
void PrintText(FILE* stream, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// Sets the standard streams up for UTF-8 bytes as written (no newline translation on Windows).
void PrepareStandardStreams();

// The program's arguments as the commands take them, into *words (argv[0] first). On Windows they
// are read again in UTF-16 from the process's command line and converted to Shift_JIS (code page
// 932), the program's own text, in which file names reach the wide file calls: a Japanese file
// name then works under any ANSI code page, where argv would hold "?" for it. Elsewhere they are
// argv as given. Returns false, with *bad the index of the first such argument, when one holds a
// character that Shift_JIS lacks.
bool ReadProgramArguments(int argc, char** argv, std::vector<std::string>* words, int* bad);

// A text holding words of the command line, as UTF-8 for the terminal: converted from Shift_JIS
// on Windows (see ReadProgramArguments), as it is elsewhere.
std::string ArgumentTextAsUtf8(const char* text);
