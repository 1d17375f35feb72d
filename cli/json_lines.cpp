#include "cli/json_lines.h"

#include <cstdio>
#include <cstdlib>

#include "calendar/almanac_notes.h"
#include "calendar/day_signs.h"
#include "cli/commands.h"
#include "presentation/almanac_texts.h"
#include "presentation/japanese_era.h"

namespace {

// The value "%.6f" prints, read back: the JSON number says what the text column says.
double SixDecimals(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return std::strtod(text, nullptr);
}

std::string DateText(const SYSTEMTIME& date) {
    char text[16];
    return FormatDateText(text, sizeof text, date);
}

}  // namespace

std::string Utf8Text(const char* sjis) {
    std::string utf8(std::char_traits<char>::length(sjis) * 3 + 1, '\0');
    utf8.resize(ShiftJisToUtf8(sjis, &utf8[0], utf8.size()));
    return utf8;
}

void PrintJsonLine(const nlohmann::ordered_json& object) {
    const std::string line =
        object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
}

nlohmann::ordered_json LunarDateJson(const LunarDay& lunar) {
    return {
        {"month",     lunar.month},
        {  "day",       lunar.day},
        { "leap", lunar.leap != 0}
    };
}

std::string JoinedNotesText(const MonthCell& cell) {
    char notes[128];
    return JoinDayNotes(notes, sizeof notes, cell.notes.flags);
}

nlohmann::ordered_json DayJson(const SYSTEMTIME& date, const MonthCell& cell, bool notes) {
    char rokuyo[8];
    char sign[8];
    char tide[8];
    char era[24];
    nlohmann::ordered_json day = {
        {       "date",DateText(date)                       },
        {        "era",
         Utf8Text(FormatJapaneseEraYear(era,         sizeof era, date.wYear, date.wMonth, date.wDay))},
        {    "weekday",                 cell.weekday                   },
        {      "lunar",    LunarDateJson(cell.lunar)                            },
        {     "rokuyo",   Utf8Text(RokuyoName(rokuyo,         cell.lunar.rokuyo))},
        {    "daySign",    Utf8Text(DaySignName(sign,cell.lunar))},
        {       "tide",       Utf8Text(TideName(tide,             cell.lunar))},
        {"holidayKind",             cell.holidayKind },
        {    "holiday",   Utf8Text(cell.holidayName)},
        {  "solarTerm", Utf8Text(cell.solarTermName)                            },
        {  "seasonal1", Utf8Text(cell.seasonalName1)                           },
        {  "seasonal2", Utf8Text(cell.seasonalName2)                            },
        {      "phase",     Utf8Text(cell.phaseName)},
        { "phaseAngle", SixDecimals(cell.phaseAngle) },
        {    "moonAge",    SixDecimals(cell.moonAge)},
    };
    if (notes) {
        day["notes"] = Utf8Text(JoinedNotesText(cell).c_str());
        day["kou"] = KouName(cell.notes.kou);
        day["kouReading"] = KouReading(cell.notes.kou);
    }
    return day;
}
