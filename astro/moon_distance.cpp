#include "astro/moon_distance.h"

#include <cmath>

#include "astro/delta_t.h"
#include "astro/precise_moon.h"
#include "astro/searches.h"

namespace {

// The mean lunation: length in days and the mean new Moon of lunation 0 (2000-01-06).
constexpr double kSynodicMonth = 29.530588861;
constexpr double kMeanNewMoon0 = 2451550.09766;

// A true principal phase lies within about a day of its mean instant, and the same phase recurs
// only a lunation later; a search begun four days before the mean instant therefore finds this
// phase and no other.
constexpr double kSearchLead = 4;

// The mean perigee of 1999-12-22 (Julian Ephemeris Date) and the anomalistic month: a true
// perigee lies within about 2.5 days of its mean instant, an apogee within about 0.6 day.
constexpr double kMeanPerigee0 = 2451534.6698;
constexpr double kAnomalisticMonth = 27.55454989;

constexpr double kCenturiesPerDayTT = 2.7378507871321012e-05;  // 1/36525
constexpr double kFirstJulianDate = 2378496.5;                 // 1800-01-01
constexpr double kLastJulianDate = 2524959.5;                  // 2200-12-31

// The leading distance terms of the first approach, and the step below which each approach stops:
// Newton's step on the rate of the distance converges quadratically, so the last step taken, under
// ten minutes, leaves under 0.2 s (measured over 1900-2100 against steps taken to convergence).
constexpr int kLeadingTerms = 60;
constexpr double kCloseStep = 10.0 / 1440 * kCenturiesPerDayTT;
constexpr double kLargestStep = 1.0 * kCenturiesPerDayTT;  // one day
constexpr int kMaxRounds = 12;

// One Newton step towards rate 0 of the distance, bounded to a day; where the curvature has the
// wrong sign for the extreme sought (far from it), a day down the slope instead.
double ApsisStep(const MoonDistanceMotion& m, ApsisKind kind) {
    const double downhill = kind == Perigee ? -m.rate : m.rate;  // the way towards the extreme
    const bool curvedRight = kind == Perigee ? m.acceleration > 0 : m.acceleration < 0;
    double step = curvedRight ? -m.rate / m.acceleration : (downhill > 0 ? 1.0 : -1.0);
    if (!curvedRight || std::fabs(step) > kLargestStep) {
        step = (step > 0 ? 1.0 : -1.0) * kLargestStep;
    }
    return step;
}

// The apsis near the mean instant meanJde: Newton on the leading terms, then on the whole series.
bool FindApsis(double meanJde, ApsisKind kind, Apsis* out) {
    JulianCenturies T = (meanJde - 2451545.0) * kCenturiesPerDayTT;
    bool closed = false;
    for (int round = 0; round < kMaxRounds && !closed; ++round) {
        const double step = ApsisStep(LeadingMoonDistanceMotion(T, kLeadingTerms), kind);
        T += step;
        closed = std::fabs(step) < kCloseStep;
    }
    if (!closed) {
        return false;
    }
    for (int round = 0; round < kMaxRounds; ++round) {
        const MoonDistanceMotion m = PreciseMoonDistanceMotion(T);
        const double step = ApsisStep(m, kind);
        if (std::fabs(step) < kCloseStep) {
            // The distance at the extreme from the parabola through it: exact to millimetres.
            out->kind = kind;
            out->jd = UniversalJulianDate(T + step);
            out->distance = m.distance + 0.5 * m.rate * step;
            return true;
        }
        T += step;
    }
    return false;
}

// The most that the distance terms beyond the leading ones can add up to, km: the sum of their
// amplitudes (|T| <= 1 over 1900-2100, so the terms of T^1 count at their amplitude too).
double LeadingTermsBound() {
    static const double bound = [] {
        double sum = 0;
        for (int s = 0; s < MoonDistanceSeriesCount; ++s) {
            const ElpMpp02Series& series = MoonDistanceSeries[s];
            for (int i = s == 0 ? kLeadingTerms : 0; i < series.count; ++i) {
                sum += std::fabs(series.terms[i].amplitude);
            }
        }
        return sum;
    }();
    return bound;
}

struct HeldYear {
    uint16_t year;  // 0: empty
    int32_t bias;
    YearFullMoons moons;
};

HeldYear heldYears[2];
int heldNewest = 0;

YearFullMoons ComputeFullMoonsOfYear(uint16_t year, int32_t bias) {
    YearFullMoons moons = {};
    moons.nearest = -1;
    moons.farthest = -1;
    SYSTEMTIME start = {};
    start.wYear = year;
    start.wMonth = 1;
    start.wDay = 1;
    const double firstLocal = JulianDateFromSystemTime(start);
    start.wYear = static_cast<uint16_t>(year + 1);
    const double endLocal = JulianDateFromSystemTime(start);
    const double shift = bias * kDaysPerMinute;  // UT = local + bias
    const int64_t first = LunationOfJulianDate(firstLocal + shift) - 1;
    const int64_t last = LunationOfJulianDate(endLocal + shift) + 1;
    int32_t count = 0;
    for (int64_t k = first; k <= last; ++k) {
        bool ok = false;
        const JulianCenturies T = PrincipalPhaseOfLunation(k, 180, &ok);
        if (!ok) {
            return moons;
        }
        const double jd = JulianDateFromCenturies(T);
        const double local = jd - shift;
        if (local < firstLocal || local >= endLocal || count == kMaxFullMoonsOfYear) {
            continue;
        }
        moons.jd[count] = jd;
        moons.distance[count] =
            LeadingMoonDistanceMotion(EphemerisCenturies(jd), kLeadingTerms).distance;
        ++count;
    }
    moons.count = count;
    if (count == 0) {
        return moons;
    }
    // The leading terms screen: only a full Moon within twice their bound of the nearest or the
    // farthest could be either, and only those are summed in full.
    double low = moons.distance[0];
    double high = moons.distance[0];
    for (int32_t i = 1; i < count; ++i) {
        low = std::fmin(low, moons.distance[i]);
        high = std::fmax(high, moons.distance[i]);
    }
    const double margin = 2 * LeadingTermsBound();
    for (int32_t i = 0; i < count; ++i) {
        if (moons.distance[i] <= low + margin || moons.distance[i] >= high - margin) {
            moons.distance[i] = MoonDistanceAt(moons.jd[i]);
        }
    }
    moons.nearest = 0;
    moons.farthest = 0;
    for (int32_t i = 1; i < count; ++i) {
        if (moons.distance[i] < moons.distance[moons.nearest]) {
            moons.nearest = i;
        }
        if (moons.distance[i] > moons.distance[moons.farthest]) {
            moons.farthest = i;
        }
    }
    return moons;
}

}  // namespace

double MoonDistanceAt(double jd) {
    return PreciseMoonDistance(EphemerisCenturies(jd));
}

bool FindApsides(double jdFrom, double jdTo, std::vector<Apsis>* out) {
    // The negated test also rejects NaN.
    if (!(jdFrom >= kFirstJulianDate && jdTo <= kLastJulianDate)) {
        return false;
    }
    // Delta T (a minute or two) is far smaller than the margin of one anomalistic month.
    const int64_t first =
        static_cast<int64_t>(std::floor((jdFrom - kMeanPerigee0) / kAnomalisticMonth)) - 1;
    const int64_t last =
        static_cast<int64_t>(std::floor((jdTo - kMeanPerigee0) / kAnomalisticMonth)) + 1;
    for (int64_t k = first; k <= last; ++k) {
        for (ApsisKind kind : {Perigee, Apogee}) {
            const double mean =
                kMeanPerigee0 + kAnomalisticMonth * (k + (kind == Apogee ? 0.5 : 0));
            Apsis apsis;
            if (!FindApsis(mean, kind, &apsis)) {
                return false;
            }
            if (apsis.jd >= jdFrom && apsis.jd < jdTo) {
                out->push_back(apsis);
            }
        }
    }
    return true;
}

int64_t LunationOfJulianDate(double jd) {
    return static_cast<int64_t>(std::floor((jd - kMeanNewMoon0) / kSynodicMonth));
}

JulianCenturies PrincipalPhaseOfLunation(int64_t lunation, int32_t angle, bool* ok) {
    const double mean = kMeanNewMoon0 + kSynodicMonth * (lunation + angle / 360.0);
    return FindPhaseInstant(angle, CenturiesFromJulianDate(mean - kSearchLead), Next, ok);
}

YearFullMoons FullMoonsOfYear(uint16_t year, int32_t bias) {
    for (int i = 0; i < 2; ++i) {
        // Year 0 marks an empty record, so a request for year 0 is never taken as held.
        if (year != 0 && heldYears[i].year == year && heldYears[i].bias == bias) {
            heldNewest = i;
            return heldYears[i].moons;
        }
    }
    heldNewest = 1 - heldNewest;  // replaces the one used longer ago
    heldYears[heldNewest] = HeldYear{year, bias, ComputeFullMoonsOfYear(year, bias)};
    return heldYears[heldNewest].moons;
}
