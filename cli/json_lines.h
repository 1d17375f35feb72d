// The --json output of nocturo-cli: one JSON object a line, UTF-8, written with nlohmann-json.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "astro/lunar_day.h"
#include "calendar/month_model.h"

// The UTF-8 form of a Shift_JIS text of the program (a byte that is not Shift_JIS becomes '?').
std::string Utf8Text(const char* sjis);

// Writes `object` and a line feed to stdout in one line; texts that are not UTF-8 are written
// with U+FFFD in their place rather than refused.
void PrintJsonLine(const nlohmann::ordered_json& object);

// {"month": 2, "day": 6, "leap": false}
nlohmann::ordered_json LunarDateJson(const LunarDay& lunar);

// The facts of one day as the days listing prints them, field by field: date, era (the era year,
// "令和8年", which the text line leaves out), weekday, lunar,
// rokuyo, daySign, tide, holidayKind, holiday, solarTerm, seasonal1, seasonal2, phase, phaseAngle,
// moonAge; with `notes` also the joined selected days and the 候 with its reading. phaseAngle and
// moonAge carry the six decimals the text line prints, no more.
nlohmann::ordered_json DayJson(const SYSTEMTIME& date, const MonthCell& cell, bool notes);

// The selected days of a cell joined by "・" (Shift_JIS), "" when none.
std::string JoinedNotesText(const MonthCell& cell);
