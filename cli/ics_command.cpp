// nocturo-cli ics: the holidays, solar terms, seasonal days and principal Moon phases of a range of
// days as one iCalendar file (RFC 5545), for import into a calendar program or a subscription.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "astro/lunar_day.h"
#include "astro/principal_phase.h"
#include "astro/time_scales.h"
#include "astro/time_zone.h"
#include "calendar/almanac_notes.h"
#include "calendar/custom_holidays.h"
#include "calendar/day_signs.h"
#include "calendar/file_store.h"
#include "calendar/holidays.h"
#include "calendar/seasonal_days.h"
#include "calendar/solar_terms.h"
#include "cli/commands.h"
#include "cli/ics_text.h"
#include "presentation/almanac_texts.h"
#include "presentation/eclipse_text.h"

namespace {

// The calendar is Japan's and says so (X-WR-TIMEZONE), so without --bias its local dates are
// Japan's on every machine, and the same command gives the same file everywhere.
constexpr int32_t kJapanBias = -540;

// The longest run of one seasonal name: a 土用 period, about 18 days.
constexpr int kMaxSeasonalRun = 40;

enum IcsKind : unsigned {
    KindHolidays = 1,
    KindTerms = 2,
    KindSeasonal = 4,
    KindPhases = 8,
    KindCustom = 16,
    KindNotes = 32,
    KindKou = 64,
    KindEclipses = 128,
};

struct KindName {
    const char* name;  // as --only spells it
    unsigned kind;
};

static const KindName kKindNames[] = {
    {"holidays", KindHolidays},
    {   "terms",    KindTerms},
    {"seasonal", KindSeasonal},
    {  "phases",   KindPhases},
    {  "custom",   KindCustom},
    {   "notes",    KindNotes},
    {     "kou",      KindKou},
    {"eclipses", KindEclipses},
};

// Without --only: the kinds the export has always had; notes, kou and eclipses are asked for by
// name.
constexpr unsigned kDefaultKinds =
    KindHolidays | KindTerms | KindSeasonal | KindPhases | KindCustom;

// What one export writes; every text is UTF-8.
struct IcsExport {
    unsigned kinds;
    bool rokuyo;
    std::string stamp;  // the DTSTAMP of every event
    std::string text;
    GeoPlace place;  // where the eclipses are seen from
};

bool TakeKind(const char* item, size_t length, void* kinds) {
    bool known = false;
    for (const KindName& row : kKindNames) {
        if (std::strlen(row.name) == length && std::strncmp(row.name, item, length) == 0) {
            *static_cast<unsigned*>(kinds) |= row.kind;
            known = true;
        }
    }
    return known;
}

// A comma-separated list of kind names, each known and none empty.
bool ParseKinds(const char* list, unsigned* kinds) {
    *kinds = 0;
    return ForEachListItem(list, TakeKind, kinds);
}

// SOURCE_DATE_EPOCH (whole seconds since 1970, as reproducible builds set it) when set, otherwise
// the clock. Returns false for a value that is not such a number.
bool StampText(std::string* stamp) {
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (!epoch || epoch[0] == '\0') {
        SYSTEMTIME now;
        CurrentUtcTime(&now);
        *stamp = IcsUtcText({now.wYear, now.wMonth, now.wDay}, now.wHour, now.wMinute, now.wSecond);
        return true;
    }
    // Eleven digits reach the year 5138 at most, so the year keeps the four digits of a DATE-TIME.
    const size_t length = std::strlen(epoch);
    if (length > 11) {
        return false;
    }
    int64_t seconds = 0;
    for (size_t i = 0; i < length; ++i) {
        if (epoch[i] < '0' || epoch[i] > '9') {
            return false;
        }
        seconds = seconds * 10 + (epoch[i] - '0');
    }
    *stamp = IcsUtcTextOfUnixSeconds(seconds);
    return true;
}

std::string Utf8Of(const char* sjis) {
    char text[256];
    ShiftJisToUtf8(sjis, text, sizeof text);
    return text;
}

// A property whose value is TEXT, given in UTF-8.
void AppendTextProperty(std::string* out, const char* name, const std::string& utf8) {
    AppendFoldedLine(out, std::string(name) + ':' + EscapeIcsText(utf8));
}

void AppendEventHead(IcsExport* ics, const std::string& uid) {
    ics->text += "BEGIN:VEVENT\r\n";
    AppendFoldedLine(&ics->text, "UID:" + uid);
    ics->text += "DTSTAMP:" + ics->stamp + "\r\n";
}

// The tail of every event: summary (UTF-8), category, an optional description; an event never
// blocks time in a free/busy view.
void AppendEventTailUtf8(IcsExport* ics, const std::string& summary, const char* category,
                         const std::string& description) {
    AppendTextProperty(&ics->text, "SUMMARY", summary);
    AppendTextProperty(&ics->text, "CATEGORIES", Utf8Of(category));
    if (!description.empty()) {
        AppendTextProperty(&ics->text, "DESCRIPTION", description);
    }
    ics->text += "TRANSP:TRANSPARENT\r\nEND:VEVENT\r\n";
}

// The same with a Shift_JIS summary.
void AppendEventTail(IcsExport* ics, const char* summary, const char* category,
                     const std::string& description) {
    AppendEventTailUtf8(ics, Utf8Of(summary), category, description);
}

// An all-day event over the days first .. dayAfter - 1; summary and category are Shift_JIS.
void AppendAllDayEvent(IcsExport* ics, const std::string& uid, const CivilDate& first,
                       const CivilDate& dayAfter, const char* summary, const char* category,
                       const std::string& description) {
    AppendEventHead(ics, uid);
    ics->text += "DTSTART;VALUE=DATE:" + IcsDateText(first) + "\r\n";
    ics->text += "DTEND;VALUE=DATE:" + IcsDateText(dayAfter) + "\r\n";
    AppendEventTail(ics, summary, category, description);
}

// The selected days of a date as one all-day event named by them, joined by "・".
void AppendNotes(IcsExport* ics, const CivilDate& date, const DayNotes& notes) {
    if (notes.flags == 0) {
        return;
    }
    char summary[128];
    AppendAllDayEvent(ics, IcsUid("notes", date, ""), date, AddDays(date, 1),
                      JoinDayNotes(summary, sizeof summary, notes.flags), "選日", "");
}

// The first day of a 候 (the day before had another one): an all-day event named by the 候 and
// its reading, both UTF-8 already.
void AppendKou(IcsExport* ics, const CivilDate& date, const DayNotes& notes) {
    if (notes.kou < 0) {
        return;
    }
    const CivilDate before = AddDays(date, -1);
    const DayNotes previous =
        ComputeDayNotes(static_cast<uint16_t>(before.year), static_cast<uint16_t>(before.month),
                        static_cast<uint16_t>(before.day));
    if (previous.kou == notes.kou) {
        return;
    }
    const std::string summary = std::string(KouName(notes.kou)) + "\xEF\xBC\x88" +
                                KouReading(notes.kou) + "\xEF\xBC\x89";  // name（reading）
    AppendEventHead(ics, IcsUid("kou", date, ""));
    ics->text += "DTSTART;VALUE=DATE:" + IcsDateText(date) + "\r\n";
    ics->text += "DTEND;VALUE=DATE:" + IcsDateText(AddDays(date, 1)) + "\r\n";
    AppendEventTailUtf8(ics, summary, "七十二候", "");
}

CivilDate DateOf(const SYSTEMTIME& time) {
    return {time.wYear, time.wMonth, time.wDay};
}

void AppendHoliday(IcsExport* ics, const CivilDate& date) {
    const char* name = "";
    const DayKind kind =
        LookupHoliday(static_cast<uint16_t>(date.year), static_cast<uint16_t>(date.month),
                      static_cast<uint16_t>(date.day), &name);
    if (kind == NoEntry || name[0] == '\0') {
        return;
    }
    const bool custom = IsCustomHolidayName(name);
    if (!(ics->kinds & (custom ? KindCustom : KindHolidays))) {
        return;
    }
    const char* category = kind == NationalHoliday ? "祝日"
                           : kind == Anniversary   ? "記念日"
                           : custom                ? "カスタム休日"
                                                   : "休日";
    // National holiday names carry a leading space in the core's table.
    const char* summary = name[0] == ' ' ? name + 1 : name;
    AppendAllDayEvent(ics, IcsUid(custom ? "custom" : "holiday", date, ""), date, AddDays(date, 1),
                      summary, category, "");
}

void AppendSolarTerm(IcsExport* ics, const CivilDate& date) {
    const char* name = "";
    if (LookupSolarTerm(static_cast<uint16_t>(date.year), static_cast<uint16_t>(date.month),
                        static_cast<uint16_t>(date.day), &name)) {
        AppendAllDayEvent(ics, IcsUid("term", date, ""), date, AddDays(date, 1), name, "二十四節気",
                          "");
    }
}

bool HasSeasonalName(const CivilDate& date, const char* name) {
    const char* name1 = "";
    const char* name2 = "";
    LookupSeasonalDays(static_cast<uint16_t>(date.year), static_cast<uint16_t>(date.month),
                       static_cast<uint16_t>(date.day), &name1, &name2);
    return std::strcmp(name1, name) == 0 || std::strcmp(name2, name) == 0;
}

// A seasonal period (土用, 彼岸) is one event over all its days, named by its first day, so that
// a range that begins or ends inside it exports the same event as a wider one. Periods never
// cross a new year, which bounds the walk to lookups within the date's own year.
void AppendSeasonalRun(IcsExport* ics, const CivilDate& date, bool firstOfRange, const char* name) {
    CivilDate start = date;
    CivilDate previous = AddDays(date, -1);
    if (previous.year == date.year && HasSeasonalName(previous, name)) {
        if (!firstOfRange) {
            return;  // exported with the day its run begins
        }
        for (int i = 0;
             i < kMaxSeasonalRun && previous.year == date.year && HasSeasonalName(previous, name);
             ++i) {
            start = previous;
            previous = AddDays(previous, -1);
        }
    }
    CivilDate dayAfter = AddDays(date, 1);
    for (int i = 0;
         i < kMaxSeasonalRun && dayAfter.year == date.year && HasSeasonalName(dayAfter, name);
         ++i) {
        dayAfter = AddDays(dayAfter, 1);
    }
    AppendAllDayEvent(ics, IcsUid("seasonal", start, NameKey(Utf8Of(name))), start, dayAfter, name,
                      "雑節", "");
}

void AppendSeasonalDays(IcsExport* ics, const CivilDate& date, bool firstOfRange) {
    const char* name1 = "";
    const char* name2 = "";
    if (!LookupSeasonalDays(static_cast<uint16_t>(date.year), static_cast<uint16_t>(date.month),
                            static_cast<uint16_t>(date.day), &name1, &name2)) {
        return;
    }
    // The run walks may look up other days; the names point into a table and stay valid.
    for (const char* name : {name1, name2}) {
        if (name[0] != '\0') {
            AppendSeasonalRun(ics, date, firstOfRange, name);
        }
    }
}

// universalNoon is the UT Julian Date of the day's local noon, as the calendar window takes it.
void AppendRokuyo(IcsExport* ics, const CivilDate& date, double universalNoon) {
    LunarDay lunar;
    ComputeLunarDay(&lunar, universalNoon);
    char rokuyo[8];
    RokuyoName(rokuyo, lunar.rokuyo);
    char description[64];
    std::snprintf(description, sizeof description, "旧暦%s%u月%u日 %s", lunar.leap ? "閏" : "",
                  lunar.month, lunar.day, rokuyo);
    AppendAllDayEvent(ics, IcsUid("rokuyo", date, ""), date, AddDays(date, 1), rokuyo, "六曜",
                      Utf8Of(description));
}

// The instant of a phase to the minute: the UTC reading to the whole second that `phases` prints,
// with its seconds dropped. Dropping rather than rounding keeps the event on the local date of the
// instant itself in every zone of whole minutes, the date the calendar window marks the phase on.
void AppendPhase(IcsExport* ics, const PhaseEvent& phase) {
    SYSTEMTIME utc;
    SystemTimeFromJulianDate(phase.jd, &utc);
    CivilDate date = DateOf(utc);
    int hour = utc.wHour;
    if (hour == 24) {  // a reading within half a second of midnight: 00:00 of the next date
        date = AddDays(date, 1);
        hour = 0;
    }
    const int index = phase.angle / 90;
    AppendEventHead(ics, IcsUid("phase", date, std::to_string(phase.angle)));
    ics->text += "DTSTART:" + IcsUtcText(date, hour, utc.wMinute, 0) + "\r\n";
    AppendEventTail(ics, PhaseNames[index], "月相", "");
}

std::string IcsUtcTextOf(double jd) {
    SYSTEMTIME utc;
    LocalSecondOf(jd, 0, &utc);
    return IcsUtcText(DateOf(utc), utc.wHour, utc.wMinute, utc.wSecond);
}

// An eclipse from its begin to its end at the place (U1 to U4 of a lunar eclipse, P1 to P4 of a
// penumbral one), named by its kind, its contacts and visibility in the description. A solar
// eclipse the place does not see is an instant, its greatest eclipse on the Earth.
void AppendEclipse(IcsExport* ics, const EclipseAtPlace& eclipse) {
    SYSTEMTIME utc;
    LocalSecondOf(eclipse.globalGreatest, 0, &utc);
    AppendEventHead(ics, IcsUid("eclipse", DateOf(utc), eclipse.moon ? "moon" : "sun"));
    if (EclipseSeen(eclipse) && eclipse.begin > 0 && eclipse.end > eclipse.begin) {
        ics->text += "DTSTART:" + IcsUtcTextOf(eclipse.begin) + "\r\n";
        ics->text += "DTEND:" + IcsUtcTextOf(eclipse.end) + "\r\n";
    } else {
        ics->text += "DTSTART:" + IcsUtcTextOf(eclipse.globalGreatest) + "\r\n";
    }
    AppendEventTail(ics, EclipseKindName(eclipse.moon, eclipse.kind),
                    eclipse.moon ? "月食" : "日食",
                    Utf8Of(ComposeEclipseDetails(eclipse, TimeZoneBias(), "\n").c_str()));
}

void CollectPhase(const PhaseEvent& phase, void* context) {
    static_cast<std::vector<PhaseEvent>*>(context)->push_back(phase);
}

void AppendCalendarHead(std::string* out) {
    *out +=
        "BEGIN:VCALENDAR\r\n"
        "VERSION:2.0\r\n"
        "PRODID:-//Nocturo//nocturo-cli ics//JA\r\n"
        "CALSCALE:GREGORIAN\r\n";
    AppendTextProperty(out, "X-WR-CALNAME", Utf8Of("Nocturo 月と暦"));
    *out += "X-WR-TIMEZONE:Asia/Tokyo\r\n";
}

// Every event of the local days from .. to, day by day, a day's phases after its all-day events.
// Returns false when a phase search did not close.
bool ComposeCalendar(IcsExport* ics, const SYSTEMTIME& from, const SYSTEMTIME& to) {
    const double b = TimeZoneBias() * kDaysPerMinute;
    std::vector<PhaseEvent> phases;
    if (ics->kinds & KindPhases) {
        // From the local midnight that begins FROM to the one that ends TO, in UT.
        const double fromJd = JulianDateFromSystemTime(from) + b;
        const double toJd = JulianDateFromSystemTime(to) + 1 + b;
        if (!ListPrincipalPhases(fromJd, toJd, CollectPhase, &phases)) {
            return false;
        }
    }
    std::vector<EclipseAtPlace> eclipses;
    if (ics->kinds & KindEclipses) {
        eclipses = EclipsesAtPlace(JulianDateFromSystemTime(from) + b,
                                   JulianDateFromSystemTime(to) + 1 + b, ics->place);
    }
    AppendCalendarHead(&ics->text);
    size_t nextPhase = 0;
    size_t nextEclipse = 0;
    // The steps of the days listing and the month model, so that the lunisolar day of a date is
    // the calendar window's, bit for bit.
    SYSTEMTIME noon = to;
    noon.wHour = 12;
    const double last = JulianDateFromSystemTime(noon);
    noon = from;
    noon.wHour = 12;
    double J = JulianDateFromSystemTime(noon);
    double U = J + b;
    for (bool first = true; J < last + 0.5; J = U - b, first = false) {
        SYSTEMTIME local;
        SystemTimeFromJulianDate(J, &local);
        const CivilDate date = DateOf(local);
        if (ics->kinds & (KindHolidays | KindCustom)) {
            AppendHoliday(ics, date);
        }
        if (ics->kinds & KindTerms) {
            AppendSolarTerm(ics, date);
        }
        if (ics->kinds & KindSeasonal) {
            AppendSeasonalDays(ics, date, first);
        }
        if (ics->rokuyo) {
            AppendRokuyo(ics, date, U);
        }
        if (ics->kinds & (KindNotes | KindKou)) {
            LunarDay lunar;
            ComputeLunarDay(&lunar, U);
            const DayNotes notes =
                DayNotesOf(static_cast<uint16_t>(date.year), static_cast<uint16_t>(date.month),
                           static_cast<uint16_t>(date.day), lunar);
            if (ics->kinds & KindNotes) {
                AppendNotes(ics, date, notes);
            }
            if (ics->kinds & KindKou) {
                AppendKou(ics, date, notes);
            }
        }
        for (; nextPhase < phases.size() && phases[nextPhase].jd < U + 0.5; ++nextPhase) {
            AppendPhase(ics, phases[nextPhase]);
        }
        for (; nextEclipse < eclipses.size() && eclipses[nextEclipse].globalGreatest < U + 0.5;
             ++nextEclipse) {
            AppendEclipse(ics, eclipses[nextEclipse]);
        }
        U = U + 1;
    }
    for (; nextPhase < phases.size(); ++nextPhase) {
        AppendPhase(ics, phases[nextPhase]);
    }
    for (; nextEclipse < eclipses.size(); ++nextEclipse) {
        AppendEclipse(ics, eclipses[nextEclipse]);
    }
    ics->text += "END:VCALENDAR\r\n";
    return true;
}

int WriteCalendar(const std::string& text, const char* path) {
    if (path) {
        if (!ReplaceFileContents(path, text.data(), text.size())) {
            std::fprintf(stderr, "nocturo-cli: cannot write '%s'\n",
                         ArgumentTextAsUtf8(path).c_str());
            return 1;
        }
        return 0;
    }
    const size_t written = std::fwrite(text.data(), 1, text.size(), stdout);
    return written == text.size() && std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int RunIcs(const CliArguments& args) {
    if (!args.biasGiven) {
        SetTimeZoneBiasOverride(kJapanBias);
    }
    SYSTEMTIME from;
    SYSTEMTIME to;
    if (const int status = ParseYearOrDateRange(args, &from, &to)) {
        return status;
    }
    IcsExport ics = {kDefaultKinds, HasOption(args, "--rokuyo"), "", "", {}};
    if (const int status = ReadPlaceOption(args, &ics.place)) {
        return status;
    }
    if (const char* only = OptionValue(args, "--only")) {
        if (!ParseKinds(only, &ics.kinds)) {
            return UsageError("unknown kind in '--only %s'", only);
        }
    }
    const char* path = OptionValue(args, "-o");
    if (path && path[0] == '\0') {
        return UsageError("empty output file name");
    }
    if (!StampText(&ics.stamp)) {
        return UsageError("SOURCE_DATE_EPOCH '%s' is not a count of seconds",
                          std::getenv("SOURCE_DATE_EPOCH"));
    }
    if (const int status = ApplyCustomOption(args)) {
        return status;
    }
    if (!ComposeCalendar(&ics, from, to)) {
        std::fprintf(stderr, "nocturo-cli: a phase search did not converge\n");
        return 1;
    }
    return WriteCalendar(ics.text, path);
}
