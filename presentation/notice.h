// The morning notice: which of the day's facts the user asked to be told, the notice's title and
// lines for today and the coming days, when the day's notice is due, and the warning before an
// eclipse begins. Texts are Shift_JIS; no window is needed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "astro/civil_dates.h"
#include "astro/rise_set.h"
#include "presentation/eclipse_text.h"

// The kinds of fact a notice may tell, as bits; the selected days are chosen one by one apart.
enum NoticeKind : uint32_t {
    NoticeCustom = 1,     // the user's own entries, days off (休) and anniversaries (記)
    NoticeHolidays = 2,   // national holidays, substitute and citizens' holidays
    NoticeTerms = 4,      // solar terms and seasonal days (土用, 彼岸, ...)
    NoticeEclipses = 8,   // eclipses seen at the place, with the time of the maximum
    NoticeFullMoon = 16,  // the year's full Moon nearest the Earth
};

constexpr int32_t kMaxNoticeLeadDays = 7;
constexpr int32_t kMinEclipseWarning = 1;    // minutes before an eclipse begins
constexpr int32_t kMaxEclipseWarning = 720;  // half a day: the longest an evening can be foreseen

// The notice's fields as the tray's record holds them, terminator excluded, in UTF-16 units.
constexpr size_t kNoticeTitleUnits = 63;
constexpr size_t kNoticeTextUnits = 255;

// What the user chose ([Notify] in the settings file).
struct NoticeSettings {
    bool enabled;            // the master switch
    uint32_t kinds;          // NoticeKind bits
    uint32_t notes;          // DayNote bits of the selected days to tell
    int32_t minuteOfDay;     // when the day's notice comes, 0..1439 local
    int32_t leadDays;        // the days after today also told, 0..kMaxNoticeLeadDays
    int32_t eclipseMinutes;  // the warning's lead before an eclipse begins
};

// On; own entries, holidays, eclipses and the nearest full Moon; 天赦日, 一粒万倍日, 十五夜 and
// 十三夜 (with their leap-month namesakes); 08:00; one day ahead (明日); 30 minutes.
NoticeSettings DefaultNoticeSettings();

// The keys of section [Notify], in the order NoticeSettingValues fills them.
enum NoticeKey : int32_t {
    NoticeKeyEnabled,
    NoticeKeyCustom,
    NoticeKeyHolidays,
    NoticeKeyNotes,  // twelve "0"/"1", the selected days in DayNote bit order
    NoticeKeyTerms,
    NoticeKeyEclipses,
    NoticeKeyFullMoon,
    NoticeKeyTime,  // "HH:MM"
    NoticeKeyLeadDays,
    NoticeKeyEclipseMinutes,
    NoticeKeyCount,
};
constexpr size_t kNoticeValueSize = 16;

// The key's name in the settings file ("Enabled", "Notes", "Time", ...); "" outside the range.
const char* NoticeKeyName(int32_t key);

// The settings of the file's values, values[key] for each NoticeKey (null or "" for a missing
// one). Each value that is unreadable or out of range gives its own default, the others keep
// theirs: a mistyped time does not switch the notice off.
NoticeSettings ParseNoticeSettings(const char* const values[NoticeKeyCount]);

// The values to write back, values[key] for each NoticeKey.
void NoticeSettingValues(const NoticeSettings& settings,
                         char values[NoticeKeyCount][kNoticeValueSize]);

// A time of day typed as "H:MM" or "HH:MM" (blanks around allowed), 00:00 .. 23:59. Returns false
// and leaves *minuteOfDay alone otherwise.
bool ParseNoticeTime(const char* text, int32_t* minuteOfDay);

// "08:00" of a minute of the day; at least 6 bytes. Returns dest.
char* FormatNoticeTime(char* dest, size_t size, int32_t minuteOfDay);

// A whole number within min..max typed with optional blanks around it. Returns false and leaves
// *value alone otherwise.
bool ParseNoticeNumber(const char* text, int32_t min, int32_t max, int32_t* value);

// A date "YYYY-MM-DD" (LastShown) as days since 1970-01-01; false for anything else.
bool ParseNoticeDate(const char* text, int64_t* days);

// One fact of one day, as a line of the notice tells it (Shift_JIS, without the day).
struct NoticeEvent {
    CivilDate date;
    std::string text;
};

// The facts of the local dates first .. first + settings.leadDays that the settings choose, day by
// day in the order own entries, holidays, solar terms and seasonal days, selected days, the
// nearest full Moon, eclipses. `bias` is the zone's (UTC = local + bias minutes) for the Moon's
// events and `place` where eclipses are seen from; the selected days follow TimeZoneBias, as in
// the calendar. Dates outside 1900-2100 give nothing.
std::vector<NoticeEvent> CollectNoticeEvents(const CivilDate& first, const NoticeSettings& settings,
                                             int32_t bias, const GeoPlace& place);

// A composed notice (Shift_JIS). Empty text: nothing to tell.
struct Notice {
    std::string title;   // at most kNoticeTitleUnits UTF-16 units
    std::string text;    // lines joined by "\n", at most kNoticeTextUnits units
    CivilDate firstDay;  // the day the first line names: where a click opens the calendar
};

// "今日", "明日", "明後日", else "1月3日(土)": the name of `date` seen from `today`.
std::string NoticeDayName(const CivilDate& date, const CivilDate& today);

// The notice of `events` seen from `today`: each a line "day name  fact"; the title
// "今日のお知らせ" when the first is today's, otherwise "<day name>は<its fact>" ("明日は成人の
// 日"). Whole lines are kept while they fit; a first line longer than the field is cut at a whole
// character. Every character of code page 932 is one UTF-16 unit, "\n" included.
Notice ComposeNotice(const std::vector<NoticeEvent>& events, const CivilDate& today);

// The Shift_JIS `text` cut to at most `units` UTF-16 units, at a whole character.
std::string CutShiftJisToUnits(const std::string& text, size_t units);

// Whether the day's notice is due now: the local date `today` (days since 1970) at `minuteOfDay`
// (0..1439) is at or after the chosen time and the day's notice was not shown. `lastShown` is the
// date last shown (days since 1970), or a negative value for never. A clock set back by a day (or
// a zone change that goes back a date) stays quiet, that day was told; a stored date further
// ahead than tomorrow came from a wrong clock and is disregarded.
bool NoticeDue(int64_t today, int32_t minuteOfDay, int32_t chosenMinute, int64_t lastShown);

// Whether the warning of an eclipse beginning at the UT Julian Date `begin` is due at `now`:
// within the `minutes` before it begins, and not given for that begin already (`warnedBegin`, 0
// for none; within a minute of `begin` counts as the same, since it is kept in the settings file
// to six decimals of a day).
bool EclipseWarningDue(double now, double begin, int32_t minutes, double warnedBegin);

// The warning: title "まもなく皆既月食" (the kind), text the begin and maximum as local times,
// "食の始め 19:09\n食の最大 20:33"; firstDay the eclipse's local date.
Notice ComposeEclipseWarning(const EclipseAtPlace& eclipse, int32_t bias);

// Why the notice dialog refuses what was typed, in the order the fields are checked.
enum class NoticeProblem : int32_t {
    None,
    TimeInvalid,            // not "H:MM" or "HH:MM" within 00:00 .. 23:59
    LeadDaysInvalid,        // not a whole number 0..7
    EclipseMinutesInvalid,  // not a whole number 1..720
};

// Checks the dialog's three typed fields (Shift_JIS). On None they are set in *settings, whose
// switches the caller has set from the check boxes; otherwise *settings is left alone.
NoticeProblem ValidateNoticeFields(const char* time, const char* leadDays,
                                   const char* eclipseMinutes, NoticeSettings* settings);
