#include "presentation/notice.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "calendar/almanac_notes.h"
#include "calendar/custom_holidays.h"
#include "calendar/holidays.h"
#include "calendar/seasonal_days.h"
#include "calendar/solar_terms.h"
#include "presentation/almanac_texts.h"
#include "presentation/moon_events.h"
#include "presentation/shift_jis.h"

namespace {

static const char* const kKeyNames[NoticeKeyCount] = {
    "Enabled",  "Custom",   "Holidays", "Notes",    "Terms",
    "Eclipses", "FullMoon", "Time",     "LeadDays", "EclipseMinutes",
};

static const char* const kWeekdays[7] = {"日", "月", "火", "水", "木", "金", "土"};

constexpr uint32_t kAllNotes = (1u << kDayNoteCount) - 1;

const char* SkipBlanks(const char* text) {
    while (*text == ' ' || *text == '\t') {
        ++text;
    }
    return text;
}

// Reads the digits at *text (at most maxDigits, at least one) into *value.
bool ReadDigits(const char** text, int maxDigits, int32_t* value) {
    int32_t number = 0;
    int count = 0;
    while (**text >= '0' && **text <= '9' && count < maxDigits) {
        number = number * 10 + (**text - '0');
        ++*text;
        ++count;
    }
    *value = number;
    return count > 0;
}

bool AtEnd(const char* text) {
    return *SkipBlanks(text) == '\0';
}

// A switch: "1" or "0" alone, else the fallback.
bool ParseSwitch(const char* text, bool fallback) {
    int32_t value = 0;
    return ParseNoticeNumber(text, 0, 1, &value) ? value == 1 : fallback;
}

void SetKind(uint32_t* kinds, uint32_t kind, bool on) {
    *kinds = on ? (*kinds | kind) : (*kinds & ~kind);
}

// The selected days as twelve "0"/"1"; anything else is unreadable.
bool ParseNotes(const char* text, uint32_t* notes) {
    text = SkipBlanks(text);
    uint32_t bits = 0;
    for (int i = 0; i < kDayNoteCount; ++i) {
        if (text[i] != '0' && text[i] != '1') {
            return false;
        }
        if (text[i] == '1') {
            bits |= 1u << i;
        }
    }
    if (!AtEnd(text + kDayNoteCount)) {
        return false;
    }
    *notes = bits;
    return true;
}

void AddEvent(std::vector<NoticeEvent>* events, const CivilDate& date, const char* text) {
    events->push_back({date, text});
}

void CollectHoliday(std::vector<NoticeEvent>* events, const CivilDate& date, uint32_t kinds) {
    const char* name = "";
    const DayKind kind =
        LookupHoliday(static_cast<uint16_t>(date.year), static_cast<uint16_t>(date.month),
                      static_cast<uint16_t>(date.day), &name);
    if (kind == NoEntry || name[0] == '\0') {
        return;
    }
    if (kinds & (IsCustomHolidayName(name) ? NoticeCustom : NoticeHolidays)) {
        // National holiday names carry a leading space in the core's table.
        AddEvent(events, date, name[0] == ' ' ? name + 1 : name);
    }
}

void CollectTerms(std::vector<NoticeEvent>* events, const CivilDate& date) {
    const uint16_t y = static_cast<uint16_t>(date.year);
    const uint16_t m = static_cast<uint16_t>(date.month);
    const uint16_t d = static_cast<uint16_t>(date.day);
    const char* term = "";
    if (LookupSolarTerm(y, m, d, &term) && term[0] != '\0') {
        AddEvent(events, date, term);
    }
    const char* name1 = "";
    const char* name2 = "";
    if (LookupSeasonalDays(y, m, d, &name1, &name2)) {
        for (const char* name : {name1, name2}) {
            if (name[0] != '\0') {
                AddEvent(events, date, name);
            }
        }
    }
}

// "HH:MM" of the UT Julian Date jd in the zone, to the nearest minute.
std::string LocalMinuteText(double jd, int32_t bias) {
    SYSTEMTIME local;
    LocalSecondOf(jd + 30.0 / 86400.0, bias, &local);
    char text[8];
    std::snprintf(text, sizeof text, "%02u:%02u", local.wHour % 24u, local.wMinute % 60u);
    return text;
}

CivilDate LocalDateOf(double jd, int32_t bias) {
    SYSTEMTIME local;
    LocalSecondOf(jd, bias, &local);
    return {local.wYear, local.wMonth, local.wDay};
}

void CollectEclipses(std::vector<NoticeEvent>* events, const CivilDate& date, int32_t bias,
                     const GeoPlace& place) {
    const MonthMoonEvents& month = MoonEventsOfMonth(
        static_cast<uint16_t>(date.year), static_cast<uint16_t>(date.month), bias, place);
    for (const EclipseAtPlace& eclipse : month.eclipses) {
        const CivilDate day = LocalDateOf(EclipseDateInstant(eclipse), bias);
        if (DaysFromCivil(day) != DaysFromCivil(date)) {
            continue;
        }
        const std::string line = std::string(EclipseKindName(eclipse.moon, eclipse.kind)) +
                                 " 食の最大 " + LocalMinuteText(eclipse.greatest, bias);
        AddEvent(events, date, line.c_str());
    }
}

// The length in UTF-16 units of a Shift_JIS text: one a character, single or double byte.
size_t Utf16Units(const std::string& text) {
    size_t units = 0;
    for (size_t i = 0; i < text.size(); ++i, ++units) {
        if (IsShiftJisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            ++i;
        }
    }
    return units;
}

}  // namespace

NoticeSettings DefaultNoticeSettings() {
    return {true,
            NoticeCustom | NoticeHolidays | NoticeEclipses | NoticeFullMoon,
            NoteTenshanichi | NoteIchiryuManbai | NoteJugoya | NoteNochiNoJugoya | NoteJusanya |
                NoteNochiNoJusanya,
            8 * 60,
            1,
            30};
}

const char* NoticeKeyName(int32_t key) {
    return key >= 0 && key < NoticeKeyCount ? kKeyNames[key] : "";
}

bool ParseNoticeNumber(const char* text, int32_t min, int32_t max, int32_t* value) {
    if (!text) {
        return false;
    }
    const char* p = SkipBlanks(text);
    int32_t number = 0;
    if (!ReadDigits(&p, 6, &number) || !AtEnd(p) || number < min || number > max) {
        return false;
    }
    *value = number;
    return true;
}

bool ParseNoticeTime(const char* text, int32_t* minuteOfDay) {
    if (!text) {
        return false;
    }
    const char* p = SkipBlanks(text);
    int32_t hour = 0;
    int32_t minute = 0;
    if (!ReadDigits(&p, 2, &hour) || *p != ':') {
        return false;
    }
    ++p;
    const char* minutes = p;
    if (!ReadDigits(&p, 2, &minute) || p - minutes != 2 || !AtEnd(p) || hour > 23 || minute > 59) {
        return false;
    }
    *minuteOfDay = hour * 60 + minute;
    return true;
}

char* FormatNoticeTime(char* dest, size_t size, int32_t minuteOfDay) {
    const int32_t minute = minuteOfDay >= 0 && minuteOfDay < 1440 ? minuteOfDay : 0;
    std::snprintf(dest, size, "%02d:%02d", static_cast<int>(minute / 60),
                  static_cast<int>(minute % 60));
    return dest;
}

bool ParseNoticeDate(const char* text, int64_t* days) {
    if (!text) {
        return false;
    }
    const char* p = SkipBlanks(text);
    int32_t year = 0;
    int32_t month = 0;
    int32_t day = 0;
    const char* start = p;
    if (!ReadDigits(&p, 4, &year) || p - start != 4 || *p++ != '-') {
        return false;
    }
    start = p;
    if (!ReadDigits(&p, 2, &month) || p - start != 2 || *p++ != '-') {
        return false;
    }
    start = p;
    if (!ReadDigits(&p, 2, &day) || p - start != 2 || !AtEnd(p) ||
        !IsValidCivilDate(year, month, day)) {
        return false;
    }
    *days = DaysFromCivil({year, month, day});
    return true;
}

NoticeSettings ParseNoticeSettings(const char* const values[NoticeKeyCount]) {
    NoticeSettings settings = DefaultNoticeSettings();
    settings.enabled = ParseSwitch(values[NoticeKeyEnabled], settings.enabled);
    static const struct {
        NoticeKey key;
        uint32_t kind;
    } kSwitches[] = {
        {  NoticeKeyCustom,   NoticeCustom},
        {NoticeKeyHolidays, NoticeHolidays},
        {   NoticeKeyTerms,    NoticeTerms},
        {NoticeKeyEclipses, NoticeEclipses},
        {NoticeKeyFullMoon, NoticeFullMoon},
    };
    for (const auto& row : kSwitches) {
        SetKind(&settings.kinds, row.kind,
                ParseSwitch(values[row.key], (settings.kinds & row.kind) != 0));
    }
    if (values[NoticeKeyNotes]) {
        ParseNotes(values[NoticeKeyNotes], &settings.notes);
    }
    ParseNoticeTime(values[NoticeKeyTime], &settings.minuteOfDay);
    ParseNoticeNumber(values[NoticeKeyLeadDays], 0, kMaxNoticeLeadDays, &settings.leadDays);
    ParseNoticeNumber(values[NoticeKeyEclipseMinutes], kMinEclipseWarning, kMaxEclipseWarning,
                      &settings.eclipseMinutes);
    return settings;
}

void NoticeSettingValues(const NoticeSettings& settings,
                         char values[NoticeKeyCount][kNoticeValueSize]) {
    const auto bit = [&settings](uint32_t kind) { return (settings.kinds & kind) ? "1" : "0"; };
    std::snprintf(values[NoticeKeyEnabled], kNoticeValueSize, "%s", settings.enabled ? "1" : "0");
    std::snprintf(values[NoticeKeyCustom], kNoticeValueSize, "%s", bit(NoticeCustom));
    std::snprintf(values[NoticeKeyHolidays], kNoticeValueSize, "%s", bit(NoticeHolidays));
    std::snprintf(values[NoticeKeyTerms], kNoticeValueSize, "%s", bit(NoticeTerms));
    std::snprintf(values[NoticeKeyEclipses], kNoticeValueSize, "%s", bit(NoticeEclipses));
    std::snprintf(values[NoticeKeyFullMoon], kNoticeValueSize, "%s", bit(NoticeFullMoon));
    for (int i = 0; i < kDayNoteCount; ++i) {
        values[NoticeKeyNotes][i] = (settings.notes & (1u << i)) ? '1' : '0';
    }
    values[NoticeKeyNotes][kDayNoteCount] = '\0';
    FormatNoticeTime(values[NoticeKeyTime], kNoticeValueSize, settings.minuteOfDay);
    std::snprintf(values[NoticeKeyLeadDays], kNoticeValueSize, "%d",
                  static_cast<int>(settings.leadDays));
    std::snprintf(values[NoticeKeyEclipseMinutes], kNoticeValueSize, "%d",
                  static_cast<int>(settings.eclipseMinutes));
}

std::vector<NoticeEvent> CollectNoticeEvents(const CivilDate& first, const NoticeSettings& settings,
                                             int32_t bias, const GeoPlace& place) {
    std::vector<NoticeEvent> events;
    const int32_t lead =
        settings.leadDays >= 0 && settings.leadDays <= kMaxNoticeLeadDays ? settings.leadDays : 0;
    for (int32_t i = 0; i <= lead; ++i) {
        const CivilDate date = AddDays(first, i);
        if (date.year < 1900 || date.year > 2100) {
            continue;
        }
        if (settings.kinds & (NoticeCustom | NoticeHolidays)) {
            CollectHoliday(&events, date, settings.kinds);
        }
        if (settings.kinds & NoticeTerms) {
            CollectTerms(&events, date);
        }
        const uint16_t y = static_cast<uint16_t>(date.year);
        const uint16_t m = static_cast<uint16_t>(date.month);
        const uint16_t d = static_cast<uint16_t>(date.day);
        if (settings.notes & kAllNotes) {
            const uint32_t chosen = ComputeDayNotes(y, m, d).flags & settings.notes;
            if (chosen != 0) {
                char joined[128];
                AddEvent(&events, date, JoinDayNotes(joined, sizeof joined, chosen));
            }
        }
        if ((settings.kinds & NoticeFullMoon) &&
            (MoonEventMarksOfDay(y, m, d, bias, place) & MarkNearestFullMoon)) {
            AddEvent(&events, date, "今年最も地球に近い満月");
        }
        if (settings.kinds & NoticeEclipses) {
            CollectEclipses(&events, date, bias, place);
        }
    }
    return events;
}

std::string NoticeDayName(const CivilDate& date, const CivilDate& today) {
    const int64_t days = DaysFromCivil(date);
    switch (days - DaysFromCivil(today)) {
        case 0:
            return "今日";
        case 1:
            return "明日";
        case 2:
            return "明後日";
        default:
            break;
    }
    // 1970-01-01 was a Thursday.
    const int64_t weekday = ((days % 7) + 7 + 4) % 7;
    char text[32];
    std::snprintf(text, sizeof text, "%d月%d日(%s)", static_cast<int>(date.month),
                  static_cast<int>(date.day), kWeekdays[weekday]);
    return text;
}

std::string CutShiftJisToUnits(const std::string& text, size_t units) {
    size_t count = 0;
    size_t i = 0;
    while (i < text.size() && count < units) {
        const bool pair =
            IsShiftJisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        i += pair ? 2 : 1;
        ++count;
    }
    return text.substr(0, i);
}

Notice ComposeNotice(const std::vector<NoticeEvent>& events, const CivilDate& today) {
    Notice notice = {"", "", today};
    if (events.empty()) {
        return notice;
    }
    const NoticeEvent& first = events.front();
    notice.firstDay = first.date;
    const std::string firstName = NoticeDayName(first.date, today);
    const std::string title = DaysFromCivil(first.date) == DaysFromCivil(today)
                                  ? std::string("今日のお知らせ")
                                  : firstName + "は" + first.text;
    notice.title = CutShiftJisToUnits(title, kNoticeTitleUnits);
    size_t used = 0;
    for (const NoticeEvent& event : events) {
        const std::string line = NoticeDayName(event.date, today) + "  " + event.text;
        const size_t units = Utf16Units(line) + (notice.text.empty() ? 0 : 1);
        if (used + units > kNoticeTextUnits) {
            if (notice.text.empty()) {
                notice.text = CutShiftJisToUnits(line, kNoticeTextUnits);
            }
            break;
        }
        notice.text += (notice.text.empty() ? "" : "\n") + line;
        used += units;
    }
    return notice;
}

bool NoticeDue(int64_t today, int32_t minuteOfDay, int32_t chosenMinute, int64_t lastShown) {
    if (minuteOfDay < chosenMinute) {
        return false;
    }
    return lastShown < 0 || lastShown < today || lastShown > today + 1;
}

bool EclipseWarningDue(double now, double begin, int32_t minutes, double warnedBegin) {
    if (begin <= 0 || std::fabs(begin - warnedBegin) < 1.0 / 1440.0) {
        return false;
    }
    return now >= begin - minutes / 1440.0 && now < begin;
}

Notice ComposeEclipseWarning(const EclipseAtPlace& eclipse, int32_t bias) {
    Notice notice;
    notice.title = std::string("まもなく") + EclipseKindName(eclipse.moon, eclipse.kind);
    notice.text = "食の始め " + LocalMinuteText(eclipse.begin, bias) + "\n食の最大 " +
                  LocalMinuteText(eclipse.greatest, bias);
    notice.firstDay = LocalDateOf(EclipseDateInstant(eclipse), bias);
    return notice;
}

NoticeProblem ValidateNoticeFields(const char* time, const char* leadDays,
                                   const char* eclipseMinutes, NoticeSettings* settings) {
    NoticeSettings typed = *settings;
    if (!ParseNoticeTime(time, &typed.minuteOfDay)) {
        return NoticeProblem::TimeInvalid;
    }
    if (!ParseNoticeNumber(leadDays, 0, kMaxNoticeLeadDays, &typed.leadDays)) {
        return NoticeProblem::LeadDaysInvalid;
    }
    if (!ParseNoticeNumber(eclipseMinutes, kMinEclipseWarning, kMaxEclipseWarning,
                           &typed.eclipseMinutes)) {
        return NoticeProblem::EclipseMinutesInvalid;
    }
    *settings = typed;
    return NoticeProblem::None;
}
