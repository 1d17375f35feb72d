#include "astro/lunar_eclipses.h"

#include <cmath>

#include "astro/delta_t.h"
#include "astro/longitudes.h"
#include "astro/moon_position.h"
#include "astro/precise_moon.h"
#include "astro/precise_sun.h"
#include "astro/searches.h"

namespace {

constexpr double kArcsecondsPerRadian = 206264.80624709636;

// The years the eclipses are computed for, and their first and last instants (UT Julian Dates of
// 1800-01-01 and 2201-01-01).
constexpr int32_t kFirstYear = 1800;
constexpr int32_t kLastYear = 2200;
constexpr double kFirstJd = 2378496.5;
constexpr double kEndJd = 2524958.5;

// The mean lunation: its length in days and the mean new Moon of lunation 0 (2000-01-06, TT).
constexpr double kSynodicMonth = 29.530588861;
constexpr double kMeanNewMoon0 = 2451550.09766;

// The Moon's argument of latitude at the mean new Moon of lunation 0, and its gain per lunation
// (degrees). At a mean full Moon with |sin F| above 0.36 the Moon passes too far from the node for
// any eclipse, penumbral included; 0.40 leaves room for the true full Moon's offset.
constexpr double kMeanLatitudeArgument0 = 160.7108;
constexpr double kLatitudeArgumentPerLunation = 390.67050284;
constexpr double kNodeLimit = 0.40;

// A true full Moon lies within about 14 hours of its mean instant, and the next full Moon a
// lunation later: a search begun four days before the mean instant finds this one and no other.
constexpr double kSearchLead = 4;

// How far greatest eclipse can lie from the mean full Moon, with room to spare (days).
constexpr double kFullMoonReach = 1;

// The Earth's equatorial radius (km), the Moon's radius in the Earth's (IAU), the Sun's
// semidiameter and equatorial horizontal parallax at 1 au (arcseconds), the speed of light (km/s).
constexpr double kEquatorialRadius = 6378.14;
constexpr double kMoonRadiusRatio = 0.2725076;
constexpr double kSunSemidiameterAt1Au = 959.63;
constexpr double kSunParallaxAt1Au = 8.794148;
constexpr double kKilometresPerAu = 149597870.7;
constexpr double kLightKilometresPerSecond = 299792.458;

// PreciseMoonPosition refers the Moon to the equinox of date with the IAU 1976 precession, the
// precise Sun follows the IAU 2006 one, 0.300405" a century slower (and 0.0057" a century
// squared): the Moon is brought to the Sun's equinox, or the two would part by 0.3" at 1900 and
// 2100, half a second of a contact. Arcseconds.
constexpr double kMoonPrecessionRateChange = -0.300405;
constexpr double kMoonPrecessionAccelerationChange = -0.0057;

// At perihelion the Sun's semidiameter and parallax are at their largest (arcseconds); a margin
// for the short series' error in latitude (arcseconds).
constexpr double kLargestSunRadius = 976;
constexpr double kLargestSunParallax = 9;
constexpr double kLatitudeMargin = 60;

// The Earth's atmosphere darkens the Moon beyond the geometric shadow. The Japanese almanac, like
// the older catalogs, enlarges both shadow radii by one fiftieth (Chauvenet's rule); Danjon's
// rule, which adds 1/85 to the Earth's radius only, gives umbral magnitudes some 0.005 smaller
// (1.359 instead of 1.364 on 2022-11-08). The Earth's flattening: the shadow is cast by a globe of
// 0.99834 of the equatorial radius, the radius at latitude 45 degrees.
constexpr double kShadowEnlargement = 1.02;
constexpr double kOblateness = 0.998340;

// The shadow is sampled at kNodes instants spread over kHalfWindow on either side of the full
// Moon: the longest eclipse lasts from P1 to P4 about 6 h 20 min and greatest eclipse lies within
// half an hour of the full Moon. Over such a window the Moon's motion is a smooth curve (the terms
// of periods under a week are tiny): every contact of 1900-2100 from five samples agrees with
// that from seven within 0.09 s.
constexpr int kNodes = 5;
constexpr double kHalfWindow = 4.5 / 24;  // days

// A bound on how fast the Moon's altitude can change, degrees per hour (the Earth turns 15.04 an
// hour and the Moon moves against it), and the step at which a Moon that may dip under the
// horizon and come back is followed (days).
constexpr double kAltitudeRate = 16;
constexpr double kVisibilityStep = 5.0 / 1440;

// Bisections of the window: 2^-40 of nine hours is far below a millisecond.
constexpr int kBisections = 40;

// The geometry at one instant, angles in radians: where the Moon's centre stands on the plane
// tangent to the sky at the shadow's axis (x towards increasing longitude, y north), the radii of
// the penumbra and umbra where the Moon crosses it, and the Moon's semidiameter.
enum ShadowQuantity {
    ShadowX,
    ShadowY,
    PenumbraRadius,
    UmbraRadius,
    MoonRadius,
    ShadowQuantityCount,
};

// The quantities of ShadowQuantity as polynomials in s = (t - center) / kHalfWindow, t in days
// of TT; coefficients of s^0 .. s^(kNodes-1).
struct ShadowPolynomials {
    double center;  // TT Julian Date
    double c[ShadowQuantityCount][kNodes];
};

double Evaluate(const double* c, double s) {
    double v = 0;
    for (int i = kNodes - 1; i >= 0; --i) {
        v = v * s + c[i];
    }
    return v;
}

double EvaluateDerivative(const double* c, double s) {
    double v = 0;
    for (int i = kNodes - 1; i >= 1; --i) {
        v = v * s + i * c[i];
    }
    return v;
}

// a + b s + c s^2: a quantity that varies slowly over the window, from three samples.
struct Parabola {
    double a;
    double b;
    double c;
};

// The parabola through the values at s = -1, 0 and 1.
Parabola ParabolaThrough(double minus, double zero, double plus) {
    return {zero, (plus - minus) / 2, (plus + minus) / 2 - zero};
}

double At(const Parabola& q, double s) {
    return q.a + s * (q.b + s * q.c);
}

// An angle in degrees reduced to [-180, 180).
double Signed(double degrees) {
    return degrees - 360 * std::floor((degrees + 180) / 360);
}

// What the window needs of the expensive series, which cost some 70 us an evaluation. The precise
// Moon departs from the short series (MoonGeocentricPosition) only by small terms of a week's
// period and more: over nine hours a parabola through three samples follows it within 0.01". The
// Sun is evaluated once, at the centre, and carried by the short series' motion in longitude
// (good to 1e-4 of the rate), its latitude and distance held: over the window that costs 0.2 s
// of a contact at most. The Sun's longitude is its apparent one without the nutation, which the
// Moon's mean-equinox longitude lacks as well; longitudes count from the Sun's at the centre.
struct SlowParts {
    double center;  // TT Julian Date
    double sunLongitude0;
    Parabola sunLongitude;   // degrees from sunLongitude0
    Parabola sunLatitude;    // degrees, held
    Parabola sunDistance;    // km, held
    Parabola moonLongitude;  // precise minus short series, degrees
    Parabola moonLatitude;   // degrees
    Parabola moonDistance;   // km
};

SlowParts SampleSlowParts(double center) {
    SlowParts slow;
    slow.center = center;
    double sunL[3];
    double moonL[3];
    double moonB[3];
    double moonR[3];
    for (int i = 0; i < 3; ++i) {
        const JulianCenturies T = (center + (i - 1) * kHalfWindow - 2451545) * kCenturiesPerDay;
        sunL[i] = ApparentSunLongitude(T);
        if (i == 1) {
            const EclipticPosition sun = PreciseSunPosition(T);
            slow.sunLongitude0 = sun.longitude - NutationInLongitude(T) / 3600;
            slow.sunLatitude = {sun.latitude, 0, 0};
            slow.sunDistance = {sun.distance, 0, 0};
        }
        const EclipticPosition precise = PreciseMoonPosition(T);
        const EclipticPosition rough = MoonGeocentricPosition(T);
        const double precession =
            T * (kMoonPrecessionRateChange + T * kMoonPrecessionAccelerationChange) / 3600;
        moonL[i] = Signed(precise.longitude + precession - rough.longitude);
        moonB[i] = precise.latitude - rough.latitude;
        moonR[i] = precise.distance - rough.distance;
    }
    slow.sunLongitude = ParabolaThrough(Signed(sunL[0] - sunL[1]), 0, Signed(sunL[2] - sunL[1]));
    slow.moonLongitude = ParabolaThrough(moonL[0], moonL[1], moonL[2]);
    slow.moonLatitude = ParabolaThrough(moonB[0], moonB[1], moonB[2]);
    slow.moonDistance = ParabolaThrough(moonR[0], moonR[1], moonR[2]);
    return slow;
}

// The apparent geometry whose light reaches the Earth's centre at TT Julian Date `jd` plus the
// Moon's light time; *seen receives that instant. The Moon is taken at `jd` and seen 1.3 s
// later, the Sun at that later instant.
void ShadowAt(const SlowParts& slow, double jd, double* seen, double q[ShadowQuantityCount]) {
    const double sm = (jd - slow.center) / kHalfWindow;
    const EclipticPosition rough = MoonGeocentricPosition((jd - 2451545) * kCenturiesPerDay);
    const double moonDistance = rough.distance + At(slow.moonDistance, sm);
    const double lightDays = moonDistance / kLightKilometresPerSecond / 86400;
    *seen = jd + lightDays;
    const double ss = (*seen - slow.center) / kHalfWindow;
    const double au = At(slow.sunDistance, ss) / kKilometresPerAu;
    // Longitudes from the Sun's at the centre: the Moon's, and the shadow's axis opposite the Sun.
    const double lambdaMoon =
        Signed(rough.longitude + At(slow.moonLongitude, sm) - slow.sunLongitude0) *
        kRadiansPerDegree;
    const double betaMoon = (rough.latitude + At(slow.moonLatitude, sm)) * kRadiansPerDegree;
    const double lambdaAxis = (At(slow.sunLongitude, ss) + 180) * kRadiansPerDegree;
    const double betaAxis = -At(slow.sunLatitude, ss) * kRadiansPerDegree;
    const double dl = lambdaMoon - lambdaAxis;
    q[ShadowX] = std::cos(betaMoon) * std::sin(dl);
    q[ShadowY] = std::sin(betaMoon) * std::cos(betaAxis) -
                 std::cos(betaMoon) * std::sin(betaAxis) * std::cos(dl);
    const double moonParallax = kOblateness * std::asin(kEquatorialRadius / moonDistance);
    const double sunParallax = kSunParallaxAt1Au / au / kArcsecondsPerRadian;
    const double sunRadius = kSunSemidiameterAt1Au / au / kArcsecondsPerRadian;
    q[PenumbraRadius] = kShadowEnlargement * (moonParallax + sunParallax + sunRadius);
    q[UmbraRadius] = kShadowEnlargement * (moonParallax + sunParallax - sunRadius);
    q[MoonRadius] = std::asin(kMoonRadiusRatio * kEquatorialRadius / moonDistance);
}

// Samples the shadow around `center` (TT Julian Date) and fits the polynomials through the
// samples (Newton's divided differences, expanded into powers of s).
ShadowPolynomials FitShadow(double center) {
    const SlowParts slow = SampleSlowParts(center);
    ShadowPolynomials p;
    p.center = center;
    double s[kNodes];
    double d[ShadowQuantityCount][kNodes];
    for (int i = 0; i < kNodes; ++i) {
        const double planned = -1 + 2.0 * i / (kNodes - 1);
        double seen = 0;
        double q[ShadowQuantityCount];
        ShadowAt(slow, center + planned * kHalfWindow, &seen, q);
        s[i] = (seen - center) / kHalfWindow;
        for (int k = 0; k < ShadowQuantityCount; ++k) {
            d[k][i] = q[k];
        }
    }
    for (int k = 0; k < ShadowQuantityCount; ++k) {
        for (int j = 1; j < kNodes; ++j) {
            for (int i = kNodes - 1; i >= j; --i) {
                d[k][i] = (d[k][i] - d[k][i - 1]) / (s[i] - s[i - j]);
            }
        }
        // p(s) = d0 + (s - s0)(d1 + (s - s1)(d2 + ...)), expanded from the innermost factor out.
        double* c = p.c[k];
        for (int i = 0; i < kNodes; ++i) {
            c[i] = 0;
        }
        c[0] = d[k][kNodes - 1];
        for (int j = kNodes - 2; j >= 0; --j) {
            // c(s) = c(s) * (s - s_j) + d_j
            for (int i = kNodes - 1; i >= 1; --i) {
                c[i] = c[i - 1] - s[j] * c[i];
            }
            c[0] = d[k][j] - s[j] * c[0];
        }
    }
    return p;
}

// The Moon centre's distance from the shadow's axis at s, radians.
double AxisDistance(const ShadowPolynomials& p, double s) {
    const double x = Evaluate(p.c[ShadowX], s);
    const double y = Evaluate(p.c[ShadowY], s);
    return std::asin(std::sqrt(x * x + y * y));
}

// Half the rate of change of the squared distance from the axis at s: negative while the Moon
// approaches the axis.
double Approach(const ShadowPolynomials& p, double s) {
    return Evaluate(p.c[ShadowX], s) * EvaluateDerivative(p.c[ShadowX], s) +
           Evaluate(p.c[ShadowY], s) * EvaluateDerivative(p.c[ShadowY], s);
}

// The contact at which the Moon's centre stands at `radius` plus `sign` times the Moon's
// semidiameter from the axis: the shadow radius `radius` (PenumbraRadius or UmbraRadius) meets
// the Moon's limb. Searched between the greatest eclipse sg and the window's end `edge`, over
// which the distance from the axis grows monotonically. Returns s, or NaN when the contact does
// not occur (or falls outside the window).
double Contact(const ShadowPolynomials& p, int radius, double sign, double sg, double edge) {
    auto inside = [&](double s) {
        return AxisDistance(p, s) -
               (Evaluate(p.c[radius], s) + sign * Evaluate(p.c[MoonRadius], s));
    };
    if (!(inside(sg) < 0) || !(inside(edge) > 0)) {
        return NAN;
    }
    double lo = sg;
    double hi = edge;
    for (int i = 0; i < kBisections; ++i) {
        const double mid = 0.5 * (lo + hi);
        if (inside(mid) < 0) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return 0.5 * (lo + hi);
}

double UniversalOf(const ShadowPolynomials& p, double s) {
    return UniversalJulianDate((p.center + s * kHalfWindow - 2451545) * kCenturiesPerDay);
}

// The eclipse at the full Moon of lunation k (k + 0.5 lunations after the new Moon of 2000-01-06),
// if any; false when the Moon misses the penumbra.
bool EclipseOfLunation(int64_t k, LunarEclipse* eclipse) {
    const double F =
        std::fmod(kMeanLatitudeArgument0 + kLatitudeArgumentPerLunation * (k + 0.5), 360);
    if (std::fabs(std::sin(F * kRadiansPerDegree)) > kNodeLimit) {
        return false;
    }
    const double mean = kMeanNewMoon0 + kSynodicMonth * (k + 0.5);
    bool ok = false;
    const JulianCenturies T =
        FindPhaseInstant(180, CenturiesFromJulianDate(mean - kSearchLead), Next, &ok);
    if (!ok) {
        return false;
    }
    // The Moon far from the ecliptic at the full Moon passes outside the penumbra: its least
    // distance from the axis is at least 0.99 of its latitude then (the path is inclined less
    // than 6 degrees). The short series suffices for that, with a margin for its 4" and for the
    // largest the Sun's disc ever is.
    const EclipticPosition rough = MoonGeocentricPosition(T);
    const double roughParallax =
        std::asin(kEquatorialRadius / rough.distance) * kArcsecondsPerRadian;
    const double reach =
        kShadowEnlargement * (roughParallax + kLargestSunParallax + kLargestSunRadius) +
        kMoonRadiusRatio * roughParallax + kLatitudeMargin;
    if (0.99 * std::fabs(rough.latitude) * 3600 > reach) {
        return false;
    }
    // The phase search's T is dynamical time by the short series' own clock, within a minute of
    // TT: the centre of the window only.
    const ShadowPolynomials p = FitShadow(2451545 + T * 36525);
    // Greatest eclipse: the Moon's centre nearest the axis, where the approach turns.
    double lo = -1;
    double hi = 1;
    if (!(Approach(p, lo) < 0 && Approach(p, hi) > 0)) {
        return false;
    }
    for (int i = 0; i < kBisections; ++i) {
        const double mid = 0.5 * (lo + hi);
        if (Approach(p, mid) < 0) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    const double sg = 0.5 * (lo + hi);
    const double distance = AxisDistance(p, sg);
    const double moonRadius = Evaluate(p.c[MoonRadius], sg);
    const double penumbra = Evaluate(p.c[PenumbraRadius], sg);
    const double umbra = Evaluate(p.c[UmbraRadius], sg);
    LunarEclipse e = {};
    e.penumbralMagnitude = (penumbra + moonRadius - distance) / (2 * moonRadius);
    e.umbralMagnitude = (umbra + moonRadius - distance) / (2 * moonRadius);
    if (!(e.penumbralMagnitude > 0)) {
        return false;
    }
    e.kind = e.umbralMagnitude >= 1  ? TotalLunarEclipse
             : e.umbralMagnitude > 0 ? PartialLunarEclipse
                                     : PenumbralLunarEclipse;
    e.greatest = UniversalOf(p, sg);
    // The contacts in pairs, before and after greatest eclipse: the penumbra's outer tangency,
    // the umbra's outer one, the umbra's inner one.
    static const struct {
        int radius;
        double sign;
        int before;
        int after;
    } kPairs[] = {
        {PenumbraRadius,  1, PenumbralBegin, PenumbralEnd},
        {   UmbraRadius,  1,   PartialBegin,   PartialEnd},
        {   UmbraRadius, -1,     TotalBegin,     TotalEnd},
    };
    for (const auto& pair : kPairs) {
        const double before = Contact(p, pair.radius, pair.sign, sg, -1);
        const double after = Contact(p, pair.radius, pair.sign, sg, 1);
        if (!std::isnan(before) && !std::isnan(after)) {
            e.contacts[pair.before] = UniversalOf(p, before);
            e.contacts[pair.after] = UniversalOf(p, after);
        }
    }
    *eclipse = e;
    return true;
}

// How far the Moon's centre stands above the risings' horizon at the UT Julian Date jd, seen from
// `place`, degrees (negative below).
double MoonAboveHorizon(const GeoPlace& place, double jd) {
    return BodyHorizonPlace(true, place, jd).altitude - kHorizonRefraction;
}

// The eclipses of one year, computed once: the years' lists never change, and each depends on
// the year alone. year 0 marks an entry not computed yet.
struct LunarEclipseYear {
    int32_t year;
    std::vector<LunarEclipse> eclipses;
};
LunarEclipseYear gEclipseYears[kLastYear - kFirstYear + 1];

// The civil year (UT) of a Julian Date within kFirstJd .. kEndJd.
int32_t YearOf(double jd) {
    SYSTEMTIME date;
    SystemTimeFromJulianDate(jd, &date);
    return date.wYear;
}

// Every eclipse whose greatest eclipse falls in the year (UT), in time order. Each lunation is
// computed from itself alone, so an eclipse near a new year comes out the same from either year.
const std::vector<LunarEclipse>& EclipsesOfYear(int32_t year) {
    LunarEclipseYear& entry = gEclipseYears[year - kFirstYear];
    if (entry.year == year) {
        return entry.eclipses;
    }
    const double from = JulianDateOfNewYear(year);
    const double to = JulianDateOfNewYear(year + 1);
    entry.eclipses.clear();
    // The lunations whose mean full Moon lies within a day of the year: the true full Moon is
    // within 14 hours of the mean one, greatest eclipse within an hour of the true one.
    const int64_t first = static_cast<int64_t>(
        std::ceil((from - kFullMoonReach - kMeanNewMoon0) / kSynodicMonth - 0.5));
    const int64_t last = static_cast<int64_t>(
        std::floor((to + kFullMoonReach - kMeanNewMoon0) / kSynodicMonth - 0.5));
    for (int64_t k = first; k <= last; ++k) {
        LunarEclipse e;
        if (EclipseOfLunation(k, &e) && e.greatest >= from && e.greatest < to) {
            entry.eclipses.push_back(e);
        }
    }
    entry.year = year;
    return entry.eclipses;
}

}  // namespace

std::vector<LunarEclipse> LunarEclipsesBetween(double jdFrom, double jdTo) {
    std::vector<LunarEclipse> eclipses;
    if (!(jdFrom < jdTo && jdTo > kFirstJd && jdFrom < kEndJd)) {
        return eclipses;
    }
    const int32_t first = YearOf(jdFrom < kFirstJd ? kFirstJd : jdFrom);
    const int32_t last = YearOf(jdTo >= kEndJd ? kEndJd - 1 : jdTo);
    for (int32_t year = first; year <= last; ++year) {
        for (const LunarEclipse& e : EclipsesOfYear(year)) {
            if (e.greatest >= jdFrom && e.greatest < jdTo) {
                eclipses.push_back(e);
            }
        }
    }
    return eclipses;
}

EclipseVisibility LunarEclipseVisibility(const LunarEclipse& eclipse, const GeoPlace& place) {
    const bool penumbral = eclipse.kind == PenumbralLunarEclipse;
    const double begin = eclipse.contacts[penumbral ? PenumbralBegin : PartialBegin];
    const double end = eclipse.contacts[penumbral ? PenumbralEnd : PartialEnd];
    if (!(begin > 0 && end > begin)) {
        return EclipseNotVisible;
    }
    const double atBegin = MoonAboveHorizon(place, begin);
    const double atEnd = MoonAboveHorizon(place, end);
    // Between the two ends the altitude can climb or fall no faster than kAltitudeRate from
    // either: when that cannot carry the Moon across the horizon, the ends tell everything.
    const double reach = kAltitudeRate * (end - begin) * 12;
    const double mean = 0.5 * (atBegin + atEnd);
    if (atBegin > 0 && atEnd > 0 && mean - reach > 0) {
        return EclipseVisible;
    }
    if (atBegin <= 0 && atEnd <= 0 && mean + reach <= 0) {
        return EclipseNotVisible;
    }
    if (atBegin <= 0 && atEnd > 0) {
        return EclipseRising;
    }
    if (atBegin > 0 && atEnd <= 0) {
        return EclipseSetting;
    }
    // Both ends on one side, but the Moon may cross the horizon and come back (far north or
    // south): follow it.
    const int steps = static_cast<int>(std::ceil((end - begin) / kVisibilityStep));
    for (int i = 1; i < steps; ++i) {
        const bool up = MoonAboveHorizon(place, begin + (end - begin) * i / steps) > 0;
        if (up != (atBegin > 0)) {
            return atBegin > 0 ? EclipseSetting : EclipseRising;
        }
    }
    return atBegin > 0 ? EclipseVisible : EclipseNotVisible;
}
