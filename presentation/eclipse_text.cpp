#include "presentation/eclipse_text.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int32_t kFirstYear = 1800;
constexpr int32_t kLastYear = 2200;

// The eclipses of one UT year seen from one place; year 0 marks an entry not computed yet.
struct EclipseYearAtPlace {
    int32_t year;
    double latitude;
    double longitude;
    std::vector<EclipseAtPlace> eclipses;
};
EclipseYearAtPlace gYearsAtPlace[kLastYear - kFirstYear + 1];

EclipseAtPlace LunarAtPlace(const LunarEclipse& e, const GeoPlace& place) {
    EclipseAtPlace a = {};
    a.moon = true;
    a.kind = e.kind;
    a.globalGreatest = e.greatest;
    a.greatest = e.greatest;
    const bool penumbral = e.kind == PenumbralLunarEclipse;
    a.magnitude = penumbral ? e.penumbralMagnitude : e.umbralMagnitude;
    a.begin = e.contacts[penumbral ? PenumbralBegin : PartialBegin];
    a.centralBegin = e.contacts[TotalBegin];
    a.centralEnd = e.contacts[TotalEnd];
    a.end = e.contacts[penumbral ? PenumbralEnd : PartialEnd];
    a.visibility = LunarEclipseVisibility(e, place);
    a.lunar = e;
    return a;
}

EclipseAtPlace SolarAtPlace(const SolarEclipse& e, const GeoPlace& place) {
    EclipseAtPlace a = {};
    a.moon = false;
    a.kind = e.kind;
    a.globalGreatest = e.greatest;
    a.solar = e;
    a.local = LocalSolarCircumstances(e, place);
    a.magnitude = NAN;
    a.visibility = EclipseNotVisible;
    if (a.local.eclipsed) {
        a.greatest = a.local.greatest;
        a.magnitude = a.local.magnitude;
        a.begin = a.local.begin;
        a.centralBegin = a.local.centralBegin;
        a.centralEnd = a.local.centralEnd;
        a.end = a.local.end;
        a.visibility = a.local.visibility;
    }
    return a;
}

// The year's eclipses at the place, lunar and solar merged in time order.
const std::vector<EclipseAtPlace>& EclipsesOfYearAtPlace(int32_t year, const GeoPlace& place) {
    EclipseYearAtPlace& entry = gYearsAtPlace[year - kFirstYear];
    if (entry.year == year && entry.latitude == place.latitude &&
        entry.longitude == place.longitude) {
        return entry.eclipses;
    }
    entry.eclipses =
        ComputeEclipsesAtPlace(JulianDateOfNewYear(year), JulianDateOfNewYear(year + 1), place);
    entry.year = year;
    entry.latitude = place.latitude;
    entry.longitude = place.longitude;
    return entry.eclipses;
}

}  // namespace

std::vector<EclipseAtPlace> ComputeEclipsesAtPlace(double jdFrom, double jdTo,
                                                   const GeoPlace& place) {
    const std::vector<LunarEclipse> lunar = LunarEclipsesBetween(jdFrom, jdTo);
    const std::vector<SolarEclipse> solar = SolarEclipsesBetween(jdFrom, jdTo);
    std::vector<EclipseAtPlace> eclipses;
    size_t i = 0;
    size_t j = 0;
    while (i < lunar.size() || j < solar.size()) {
        if (j == solar.size() || (i < lunar.size() && lunar[i].greatest < solar[j].greatest)) {
            eclipses.push_back(LunarAtPlace(lunar[i++], place));
        } else {
            eclipses.push_back(SolarAtPlace(solar[j++], place));
        }
    }
    return eclipses;
}

std::vector<EclipseAtPlace> EclipsesAtPlace(double jdFrom, double jdTo, const GeoPlace& place) {
    std::vector<EclipseAtPlace> eclipses;
    const double first = JulianDateOfNewYear(kFirstYear);
    const double end = JulianDateOfNewYear(kLastYear + 1);
    if (!(jdFrom < jdTo && jdTo > first && jdFrom < end) || !std::isfinite(place.latitude) ||
        !std::isfinite(place.longitude)) {
        return eclipses;
    }
    SYSTEMTIME date;
    SystemTimeFromJulianDate(jdFrom < first ? first : jdFrom, &date);
    const int32_t firstYear = date.wYear;
    SystemTimeFromJulianDate(jdTo >= end ? end - 1 : jdTo, &date);
    const int32_t lastYear = date.wYear;
    for (int32_t year = firstYear; year <= lastYear; ++year) {
        for (const EclipseAtPlace& e : EclipsesOfYearAtPlace(year, place)) {
            if (e.globalGreatest >= jdFrom && e.globalGreatest < jdTo) {
                eclipses.push_back(e);
            }
        }
    }
    return eclipses;
}

double EclipseDateInstant(const EclipseAtPlace& eclipse) {
    return EclipseSeen(eclipse) && eclipse.greatest > 0 ? eclipse.greatest : eclipse.globalGreatest;
}

bool EclipseSeen(const EclipseAtPlace& eclipse) {
    return eclipse.moon || (eclipse.local.eclipsed && eclipse.visibility != EclipseNotVisible);
}

const char* EclipseKindName(bool moon, int32_t kind) {
    static const char* const kLunar[] = {"", "半影月食", "部分月食", "皆既月食"};
    static const char* const kSolar[] = {"", "部分日食", "金環日食", "皆既日食", "金環皆既日食"};
    if (moon) {
        return kind >= PenumbralLunarEclipse && kind <= TotalLunarEclipse ? kLunar[kind] : "";
    }
    return kind >= PartialSolarEclipse && kind <= HybridSolarEclipse ? kSolar[kind] : "";
}

const char* EclipseVisibilityName(bool moon, EclipseVisibility visibility) {
    switch (visibility) {
        case EclipseVisible:
            return "見える";
        case EclipseRising:
            return moon ? "月出帯食" : "日出帯食";
        case EclipseSetting:
            return moon ? "月入帯食" : "日入帯食";
        case EclipseNotVisible:
            return "見えない";
    }
    return "";
}

void LocalSecondOf(double jd, int32_t bias, SYSTEMTIME* out) {
    // Rounded to a whole second of the local clock before the civil reading, so that the last
    // half second of a date carries into the next one rather than reading 24:00:00.
    const double local = jd - bias * kDaysPerMinute;
    const double second = std::floor((local - 0.5) * 86400 + 0.5);
    const double day = std::floor(second / 86400);
    SystemTimeFromJulianDate(day + 0.5, out);
    const int32_t s = static_cast<int32_t>(second - day * 86400);
    out->wHour = static_cast<uint16_t>(s / 3600);
    out->wMinute = static_cast<uint16_t>(s / 60 % 60);
    out->wSecond = static_cast<uint16_t>(s % 60);
}

char* FormatEclipseClock(char* dest, size_t size, double jd, int32_t bias) {
    if (size == 0) {
        return dest;
    }
    if (!(jd > 0)) {
        std::snprintf(dest, size, "-");
        return dest;
    }
    SYSTEMTIME local;
    LocalSecondOf(jd, bias, &local);
    std::snprintf(dest, size, "%02d:%02d:%02d", local.wHour % 24, local.wMinute % 60,
                  local.wSecond % 60);
    return dest;
}

std::string ComposeEclipseDetails(const EclipseAtPlace& eclipse, int32_t bias,
                                  const char* separator) {
    struct Piece {
        const char* name;
        double jd;
    };
    const double* c = eclipse.lunar.contacts;
    // On a hybrid eclipse's path a place sees totality or annularity, as its 食分 tells.
    const bool total = eclipse.magnitude >= 1;
    const Piece lunar[] = {
        {   "半影食の始め", c[PenumbralBegin]},
        {   "部分食の始め",   c[PartialBegin]},
        {   "皆既食の始め",     c[TotalBegin]},
        {         "食の最大",  eclipse.greatest},
        {"皆既食の終わり",       c[TotalEnd]},
        {"部分食の終わり",     c[PartialEnd]},
        {"半影食の終わり",   c[PenumbralEnd]},
    };
    const Piece solar[] = {
        {                                           "食の始め",        eclipse.begin},
        {      total ? "皆既食の始め" : "金環食の始め", eclipse.centralBegin},
        {                                           "食の最大",     eclipse.greatest},
        {total ? "皆既食の終わり" : "金環食の終わり",   eclipse.centralEnd},
        {                                        "食の終わり",          eclipse.end},
    };
    const Piece* pieces = eclipse.moon ? lunar : solar;
    const size_t count = !EclipseSeen(eclipse) ? 0
                         : eclipse.moon        ? sizeof lunar / sizeof lunar[0]
                                               : sizeof solar / sizeof solar[0];
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        const Piece& piece = pieces[i];
        if (piece.jd > 0) {
            char clock[16];
            text += piece.name;
            text += ' ';
            text += FormatEclipseClock(clock, sizeof clock, piece.jd, bias);
            text += separator;
        }
    }
    if (EclipseSeen(eclipse)) {
        char magnitude[32];
        std::snprintf(magnitude, sizeof magnitude, "食分 %.3f", eclipse.magnitude);
        text += magnitude;
        text += separator;
    }
    text += EclipseVisibilityName(eclipse.moon, eclipse.visibility);
    return text;
}
