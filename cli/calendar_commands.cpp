// The calendar commands of nocturo-cli: the facts of every day of a range, the solar terms of a
// year, the month of the calendar window in the terminal, and the two tray tooltips of a moment.
#include <cstdio>
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
#include "calendar/holidays.h"
#include "calendar/month_model.h"
#include "calendar/solar_terms.h"
#include "cli/commands.h"
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

void PrintDayRow(const SYSTEMTIME& date, const MonthCell& cell) {
    char rokuyo[8];
    char sign[8];
    char tide[8];
    PrintText(
        stdout, "%04u-%02u-%02u\t%u\t%u\t%u\t%d\t%s\t%s\t%s\t%d\t%s\t%s\t%s\t%s\t%s\t%.6f\t%.6f\n",
        date.wYear, date.wMonth, date.wDay, cell.weekday, cell.lunar.month, cell.lunar.day,
        static_cast<int>(cell.lunar.leap), RokuyoName(rokuyo, cell.lunar.rokuyo),
        DaySignName(sign, cell.lunar), TideName(tide, cell.lunar),
        static_cast<int>(cell.holidayKind), cell.holidayName, cell.solarTermName,
        cell.seasonalName1, cell.seasonalName2, cell.phaseName, cell.phaseAngle, cell.moonAge);
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

void PrintMonth(uint16_t year, uint16_t month, const SYSTEMTIME& today, bool colour) {
    ComputeMonthModel(year, month);
    const MonthModel& model = CurrentMonthModel();
    char zone[16];
    PrintText(stdout, "%u年%u月  Moon Calendar  %s\n\n", year, month,
              FormatZoneText(zone, sizeof zone, TimeZoneBias()));

    static const char* const kWeekdays[7] = {"日", "月", "火", "水", "木", "金", "土"};
    std::string header;
    for (int w = 0; w < 7; ++w) {
        const char* style = w == 0 ? "31" : w == 6 ? "34" : "";
        if (colour && style[0]) {
            header += std::string("\x1b[") + style + "m";
        }
        AppendColumns(&header, kWeekdays[w], kCellWidth);
        if (colour && style[0]) {
            header += "\x1b[0m";
        }
        header += w < 6 ? " " : "";
    }
    PrintText(stdout, "%s\n", header.c_str());

    // Which cell is today: the cells run in date order from the Sunday before day 1.
    SYSTEMTIME first = {};
    first.wYear = year;
    first.wMonth = month;
    first.wDay = 1;
    const double firstNoon = LocalNoon(first);
    SYSTEMTIME firstDate;
    SystemTimeFromJulianDate(firstNoon, &firstDate);
    const double todayOffset = LocalNoon(today) - (firstNoon - firstDate.wDayOfWeek);
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
    FILE* file = std::fopen(path, "rb");
    if (!file) {
        return UsageError("cannot read custom-holiday file '%s'", path);
    }
    std::fclose(file);
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
    // The same steps as the month model's walk over its cells, so a row is the calendar window's
    // cell of that day, bit for bit.
    const double b = TimeZoneBias() * kDaysPerMinute;
    double U = J + b;
    for (; J < last + 0.5; J = U - b) {
        MonthCell cell;
        const SYSTEMTIME date = ComputeMonthCell(&cell, J, U);
        PrintDayRow(date, cell);
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
    for (const Term& term : terms) {
        SYSTEMTIME local;
        SystemTimeFromJulianDate(term.localJd, &local);
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
    if (const int status = ApplyCustomOption(args)) {
        return status;
    }
    PrintMonth(shown.wYear, shown.wMonth, today, StdoutIsTerminal());
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
    PrintText(stdout, "%s\n%s\n", moon, calendar);
    return 0;
}
