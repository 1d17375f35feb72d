// The calendar commands of nocturo-cli: the facts of every day of a range, the solar terms of a
// year, the month of the calendar window in the terminal, and the two tray tooltips of a moment.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include "astro/lunar_day.h"
#include "astro/searches.h"
#include "astro/time_scales.h"
#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"
#include "calendar/day_signs.h"
#include "calendar/file_store.h"
#include "calendar/holidays.h"
#include "calendar/month_model.h"
#include "calendar/almanac_notes.h"
#include "calendar/solar_terms.h"
#include "cli/commands.h"
#include "cli/json_lines.h"
#include "presentation/almanac_texts.h"
#include "presentation/pictures.h"
#include "presentation/tooltips.h"

namespace {

constexpr int kTermCount = 24;

// Display columns of one day of the month view, and the lines it takes.
constexpr int kCellWidth = 12;
constexpr int kCellLines = 4;

double LocalNoon(const SYSTEMTIME& date) {
    SYSTEMTIME noon = date;
    noon.wHour = 12;
    noon.wMinute = 0;
    noon.wSecond = 0;
    noon.wMilliseconds = 0;
    return JulianDateFromSystemTime(noon);
}

// The local date of the UTC reading `utc` in the zone of TimeZoneBias.
SYSTEMTIME LocalDateOf(const SYSTEMTIME& utc) {
    SYSTEMTIME local;
    SystemTimeFromJulianDate(JulianDateFromSystemTime(utc) - TimeZoneBias() * kDaysPerMinute,
                             &local);
    return local;
}

// One line of the days listing; with `notes`, two more columns: the selected days joined by "・"
// (empty when none) and the 候 in effect.
void PrintDayRow(const SYSTEMTIME& date, const MonthCell& cell, bool notes) {
    char rokuyo[8];
    char sign[8];
    char tide[8];
    PrintText(
        stdout, "%04u-%02u-%02u\t%u\t%u\t%u\t%d\t%s\t%s\t%s\t%d\t%s\t%s\t%s\t%s\t%s\t%.6f\t%.6f",
        date.wYear, date.wMonth, date.wDay, cell.weekday, cell.lunar.month, cell.lunar.day,
        static_cast<int>(cell.lunar.leap), RokuyoName(rokuyo, cell.lunar.rokuyo),
        DaySignName(sign, cell.lunar), TideName(tide, cell.lunar),
        static_cast<int>(cell.holidayKind), cell.holidayName, cell.solarTermName,
        cell.seasonalName1, cell.seasonalName2, cell.phaseName, cell.phaseAngle, cell.moonAge);
    if (notes) {
        PrintText(stdout, "\t%s\t", JoinedNotesText(cell).c_str());
        // The 候 names are UTF-8 already: written as they are, not through PrintText.
        const char* kou = KouName(cell.notes.kou);
        std::fwrite(kou, 1, std::strlen(kou), stdout);
    }
    std::fputc('\n', stdout);
}

// ---- The month view. ----

bool IsShiftJisLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Appends a Shift_JIS text to line in exactly `width` display columns: a double-byte character
// takes two, every other byte one; the text is cut at a character boundary, then padded.
void AppendColumns(std::string* line, const char* text, int width) {
    int used = 0;
    for (size_t i = 0; text[i] != '\0';) {
        const bool wide = IsShiftJisLeadByte(static_cast<unsigned char>(text[i])) && text[i + 1];
        const int columns = wide ? 2 : 1;
        if (used + columns > width) {
            break;
        }
        line->append(text + i, wide ? 2 : 1);
        used += columns;
        i += wide ? 2 : 1;
    }
    line->append(static_cast<size_t>(width - used), ' ');
}

const char* SkipLeadingSpace(const char* name) {
    return name[0] == ' ' ? name + 1 : name;
}

// The four lines of one day: number, principal phase and Moon age; lunisolar date and rokuyo;
// holiday; solar term and seasonal days.
void CellLines(const MonthCell& cell, std::string lines[kCellLines]) {
    char text[64];
    std::snprintf(text, sizeof text, "%2u %-4s%5.1f", cell.day, cell.phaseName, cell.moonAge);
    lines[0] = text;
    char rokuyo[8];
    std::snprintf(text, sizeof text, "%s%u/%u %s", cell.lunar.leap ? "閏" : "", cell.lunar.month,
                  cell.lunar.day, RokuyoName(rokuyo, cell.lunar.rokuyo));
    lines[1] = text;
    lines[2] = SkipLeadingSpace(cell.holidayName);
    std::string names = cell.solarTermName;
    for (const char* name : {cell.seasonalName1, cell.seasonalName2}) {
        if (name[0] != '\0') {
            if (!names.empty()) {
                names += ' ';
            }
            names += name;
        }
    }
    lines[3] = names;
}

// SGR parameters of a day: days off red, Saturdays blue, other months dim, today reversed.
std::string CellStyle(const MonthCell& cell, bool today) {
    std::string style;
    switch (DayTintOf(cell.holidayKind, cell.weekday)) {
        case DayOffTint:
            style = "31";
            break;
        case SaturdayTint:
            style = "34";
            break;
        case PlainDayTint:
            break;
    }
    if (cell.outside) {
        style += style.empty() ? "2" : ";2";
    }
    if (today) {
        style += style.empty() ? "7" : ";7";
    }
    return style;
}

bool StdoutIsTerminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stdout)) != 0;
#else
    return isatty(fileno(stdout)) != 0;
#endif
}

// Local noon of the grid's first cell: the `weekStart` day (0 Sunday, 1 Monday) on or before day 1.
double GridStart(uint16_t year, uint16_t month, uint16_t weekStart) {
    SYSTEMTIME first = {};
    first.wYear = year;
    first.wMonth = month;
    first.wDay = 1;
    const double firstNoon = LocalNoon(first);
    SYSTEMTIME firstDate;
    SystemTimeFromJulianDate(firstNoon, &firstDate);
    return firstNoon - LeadingGridDays(firstDate.wDayOfWeek, weekStart);
}

void PrintMonth(uint16_t year, uint16_t month, uint16_t weekStart, const SYSTEMTIME& today,
                bool colour) {
    ComputeMonthModel(year, month, weekStart);
    const MonthModel& model = CurrentMonthModel();
    char zone[16];
    PrintText(stdout, "%u年%u月  Moon Calendar  %s\n\n", year, month,
              FormatZoneText(zone, sizeof zone, TimeZoneBias()));

    static const char* const kWeekdays[7] = {"日", "月", "火", "水", "木", "金", "土"};
    std::string header;
    for (int w = 0; w < 7; ++w) {
        const int weekday = (w + weekStart) % 7;
        const char* style = weekday == 0 ? "31" : weekday == 6 ? "34" : "";
        if (colour && style[0]) {
            header += std::string("\x1b[") + style + "m";
        }
        AppendColumns(&header, kWeekdays[weekday], kCellWidth);
        if (colour && style[0]) {
            header += "\x1b[0m";
        }
        header += w < 6 ? " " : "";
    }
    PrintText(stdout, "%s\n", header.c_str());

    // Which cell is today: the cells run in date order from the grid's first day.
    const double todayOffset = LocalNoon(today) - GridStart(year, month, weekStart);
    const int todayCell =
        todayOffset >= 0 && todayOffset < 42 ? static_cast<int>(todayOffset + 0.5) : -1;

    for (int row = 0; row < 6; ++row) {
        std::string lines[kCellLines];
        for (int w = 0; w < 7; ++w) {
            const int index = row * 7 + w;
            const MonthCell& cell = model.cells[index];
            std::string cellLines[kCellLines];
            CellLines(cell, cellLines);
            const std::string style = colour ? CellStyle(cell, index == todayCell) : "";
            for (int k = 0; k < kCellLines; ++k) {
                if (!style.empty()) {
                    lines[k] += "\x1b[" + style + "m";
                }
                AppendColumns(&lines[k], cellLines[k].c_str(), kCellWidth);
                if (!style.empty()) {
                    lines[k] += "\x1b[0m";
                }
                lines[k] += w < 6 ? " " : "";
            }
        }
        PrintText(stdout, "\n");
        for (const std::string& line : lines) {
            // Trailing blanks of the last column carry no information.
            const size_t end = line.find_last_not_of(' ');
            PrintText(stdout, "%s\n",
                      line.substr(0, end == std::string::npos ? 0 : end + 1).c_str());
        }
    }
}

// The 42 cells of the calendar window, one object a line in date order: the days listing's fields
// with the notes, and whether the day lies outside the month and whether it is today.
void PrintMonthJson(uint16_t year, uint16_t month, uint16_t weekStart, const SYSTEMTIME& today) {
    ComputeMonthModel(year, month, weekStart);
    const MonthModel& model = CurrentMonthModel();
    const double start = GridStart(year, month, weekStart);
    for (int i = 0; i < 42; ++i) {
        SYSTEMTIME date;
        SystemTimeFromJulianDate(start + i, &date);
        const MonthCell& cell = model.cells[i];
        nlohmann::ordered_json day = DayJson(date, cell, true);
        day["outside"] = cell.outside != 0;
        day["today"] =
            date.wYear == today.wYear && date.wMonth == today.wMonth && date.wDay == today.wDay;
        PrintJsonLine(day);
    }
}

}  // namespace

int ApplyCustomOption(const CliArguments& args) {
    const char* path = OptionValue(args, "--custom");
    if (!path) {
        SetCustomHolidayPath("");
        return 0;
    }
    if (path[0] == '\0' || std::strlen(path) >= sizeof CustomHolidays().path) {
        return UsageError("custom-holiday file name '%s' is empty or too long", path);
    }
    // Opened as the store will open it: by the wide file calls on Windows, whatever the code page.
    size_t got = 0;
    char probe[1];
    if (!ReadFileBytes(path, probe, sizeof probe, &got)) {
        return UsageError("cannot read custom-holiday file '%s'", path);
    }
    SetCustomHolidayPath(path);
    InvalidateHolidayCache();
    InvalidateMonthModel();
    return 0;
}

int RunDays(const CliArguments& args) {
    SYSTEMTIME from;
    SYSTEMTIME to;
    if (const int status = ParseDateRange(args, &from, &to)) {
        return status;
    }
    const double last = LocalNoon(to);
    double J = LocalNoon(from);
    if (const int status = ApplyCustomOption(args)) {
        return status;
    }
    const bool notes = HasOption(args, "--notes");
    const bool json = HasOption(args, "--json");
    // The same steps as the month model's walk over its cells, so a row is the calendar window's
    // cell of that day, bit for bit.
    const double b = TimeZoneBias() * kDaysPerMinute;
    double U = J + b;
    for (; J < last + 0.5; J = U - b) {
        MonthCell cell;
        const SYSTEMTIME date = ComputeMonthCell(&cell, J, U);
        if (json) {
            PrintJsonLine(DayJson(date, cell, notes));
        } else {
            PrintDayRow(date, cell, notes);
        }
        U = U + 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int RunTerms(const CliArguments& args) {
    uint16_t year = 0;
    const CliParse parsed = ParseYear(args.arguments[0], &year);
    if (parsed != CliParsed) {
        return ArgumentError("year", args.arguments[0], parsed, kSupportedYearsText);
    }
    struct Term {
        double localJd;
        int slot;
    };
    Term terms[kTermCount];
    const double b = TimeZoneBias() * kDaysPerMinute;
    for (int i = 0; i < kTermCount; ++i) {
        bool ok = false;
        const JulianCenturies T = FindSolarLongitudeInstant(year, 15.0 * i, &ok);
        if (!ok) {
            std::fprintf(stderr, "nocturo-cli: the search for longitude %d did not close\n",
                         15 * i);
            return 1;
        }
        terms[i] = {JulianDateFromCenturies(T) - b, i};
    }
    // Date order: the terms of January to early March come first.
    for (int i = 1; i < kTermCount; ++i) {
        for (int j = i; j > 0 && terms[j].localJd < terms[j - 1].localJd; --j) {
            const Term swap = terms[j];
            terms[j] = terms[j - 1];
            terms[j - 1] = swap;
        }
    }
    const bool json = HasOption(args, "--json");
    char zone[16];
    FormatOffsetText(zone, sizeof zone, TimeZoneBias());
    for (const Term& term : terms) {
        SYSTEMTIME local;
        SystemTimeFromJulianDate(term.localJd, &local);
        if (json) {
            SYSTEMTIME utc;
            SystemTimeFromJulianDate(term.localJd + b, &utc);
            char localText[64];
            char utcText[32];
            std::snprintf(localText, sizeof localText, "%04u-%02u-%02uT%02u:%02u:%02u%s",
                          local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute,
                          local.wSecond, zone);
            PrintJsonLine({
                {    "local",                          localText},
                {      "utc",          FormatInstantText(utcText,sizeof utcText, utc)},
                {"longitude",                     term.slot * 15                                        },
                {     "name", Utf8Text(SolarTermName(term.slot))}
            });
            continue;
        }
        PrintText(stdout, "%04u-%02u-%02uT%02u:%02u\t%d\t%s\n", local.wYear, local.wMonth,
                  local.wDay, local.wHour, local.wMinute, term.slot * 15, SolarTermName(term.slot));
    }
    return 0;
}

int RunMonth(const CliArguments& args) {
    SYSTEMTIME utc;
    CurrentUtcTime(&utc);
    const SYSTEMTIME today = LocalDateOf(utc);
    SYSTEMTIME shown = today;
    if (args.argumentCount > 0) {
        const CliParse parsed = ParseYearMonth(args.arguments[0], &shown);
        if (parsed != CliParsed) {
            return ArgumentError("month", args.arguments[0], parsed, kSupportedYearsText);
        }
    } else if (shown.wYear < kFirstSupportedYear || shown.wYear > kLastSupportedYear) {
        return UsageError("the current month lies outside %s", kSupportedYearsText);
    }
    uint16_t weekStart = 0;
    if (const char* first = OptionValue(args, "--week-start")) {
        if (std::strcmp(first, "mon") == 0) {
            weekStart = 1;
        } else if (std::strcmp(first, "sun") != 0) {
            return UsageError("'--week-start %s': the week starts on sun or mon", first);
        }
    }
    if (const int status = ApplyCustomOption(args)) {
        return status;
    }
    if (HasOption(args, "--json")) {
        PrintMonthJson(shown.wYear, shown.wMonth, weekStart, today);
    } else {
        PrintMonth(shown.wYear, shown.wMonth, weekStart, today, StdoutIsTerminal());
    }
    return 0;
}

int RunToday(const CliArguments& args) {
    SYSTEMTIME utc;
    if (const char* at = OptionValue(args, "--at")) {
        const CliParse parsed = ParseUtcInstant(at, &utc);
        if (parsed != CliParsed) {
            return ArgumentError("instant", at, parsed, kSupportedYearsText);
        }
    } else {
        CurrentUtcTime(&utc);
    }
    if (const int status = ApplyCustomOption(args)) {
        return status;
    }
    // As the tray status composes them: the lunisolar day and the Moon's age of this instant,
    // the calendar facts of the local date.
    const double jd = JulianDateFromSystemTime(utc);
    const JulianCenturies T = CenturiesFromJulianDate(jd);
    LunarDay lunar;
    ComputeLunarDay(&lunar, jd);
    char moon[kTooltipSize];
    ComposeMoonTooltip(moon, MoonAge(T), lunar);

    const SYSTEMTIME local = LocalDateOf(utc);
    char date[kTooltipSize];
    FormatJapaneseLongDate(date, sizeof date, local.wYear, local.wMonth, local.wDay);
    char calendar[kTooltipSize];
    ComposeCalendarTooltip(calendar, date, lunar, local.wYear, local.wMonth, local.wDay);
    const DayNotes notes = DayNotesOf(local.wYear, local.wMonth, local.wDay, lunar);
    // The selected days follow the calendar tooltip's facts, as the tray will show them.
    AppendNotesToTooltip(calendar, sizeof calendar, notes.flags, kTooltipSize - 1);
    if (HasOption(args, "--json")) {
        SYSTEMTIME noon = local;
        noon.wHour = 12;
        noon.wMinute = 0;
        noon.wSecond = 0;
        MonthCell cell;
        const double localNoon = JulianDateFromSystemTime(noon);
        ComputeMonthCell(&cell, localNoon, localNoon + TimeZoneBias() * kDaysPerMinute);
        nlohmann::ordered_json today = DayJson(local, cell, true);
        char instant[32];
        today.erase("phaseAngle");
        today["instant"] = FormatInstantText(instant, sizeof instant, utc);
        char age[16];
        std::snprintf(age, sizeof age, "%.2f", MoonAge(T));
        today["moonAge"] = std::strtod(age, nullptr);
        today["longDate"] = Utf8Text(date);
        today["moonTooltip"] = Utf8Text(moon);
        today["calendarTooltip"] = Utf8Text(calendar);
        PrintJsonLine(today);
        return 0;
    }
    PrintText(stdout, "%s\n%s\n", moon, calendar);
    // The 候's name and reading are UTF-8 already.
    const std::string kou = notes.kou < 0 ? std::string()
                                          : std::string(KouName(notes.kou)) + "\xEF\xBC\x88" +
                                                KouReading(notes.kou) + "\xEF\xBC\x89";
    PrintText(stdout, "七十二候 ");
    std::fwrite(kou.data(), 1, kou.size(), stdout);
    std::fputc('\n', stdout);
    return 0;
}
