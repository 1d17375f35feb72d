#include "astro/rise_set.h"

#include <cmath>
#include <cstdint>

#include "astro/civil_dates.h"
#include "astro/longitudes.h"
#include "astro/precise_sun.h"

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kKilometresPerAu = 149597870.7;
constexpr double kEquatorialRadius = 6378.14;            // km
constexpr double kPolarToEquatorial = 0.99664719;        // b/a of the Earth's ellipsoid
constexpr double kSunSemidiameterAt1Au = 959.63 / 3600;  // degrees

// Hour-angle rates, degrees per day (sidereal 360.9856 less the mean motion in right ascension),
// used only where the day's own motion is not known yet or looks wrong.
constexpr double kMoonHourRate = 347.81;
constexpr double kSunHourRate = 360.0;

// A refinement stops when its last step is under 5e-6 day (0.43 s). Each step uses the day's own
// rates of hour angle and declination, so it leaves an error of well under a hundredth of the
// step before: the result is good to a few milliseconds.
constexpr double kEventTolerance = 5e-06;
constexpr int kMaxRefineSteps = 40;
// A culmination predicted up to this far past the day's end is still looked at: predictions from
// the day's own rates are good to two or three minutes.
constexpr double kPredictionMargin = 0.01;
// Culminations of either kind in one day: at most two (the hour angle gains under 360 degrees a
// day for the Moon and barely over it for the Sun); the bound stops the loop in any case.
constexpr int kMaxCulminations = 4;

double Revolution(double degrees) {
    double r = std::fmod(degrees, 360);
    if (r < 0) {
        r = r + 360;
    }
    return r;
}

// Reduces an angle in degrees to [-180, 180).
double HalfRevolution(double degrees) {
    return degrees - 360 * std::floor((degrees + 180) / 360);
}

// The observer's constant figures: the geodetic latitude for the altitude and the geocentric
// place of the observer (km) for the parallax.
struct Observer {
    double sinLatitude;
    double cosLatitude;
    double rhoCos;  // distance from the Earth's axis, km
    double rhoSin;  // height above the equator's plane, km
    double latitude;
    double longitude;
};

Observer ObserverAt(const GeoPlace& place) {
    const double phi = place.latitude * kRadiansPerDegree;
    const double u = std::atan(kPolarToEquatorial * std::tan(phi));
    Observer o;
    o.sinLatitude = std::sin(phi);
    o.cosLatitude = std::cos(phi);
    o.rhoCos = kEquatorialRadius * std::cos(u);
    o.rhoSin = kEquatorialRadius * kPolarToEquatorial * std::sin(u);
    o.latitude = place.latitude;
    o.longitude = place.longitude;
    return o;
}

// One evaluation of the sky: where the body stands and the altitude its centre must have at
// rising or setting (lower for the Sun by its semidiameter, since its upper limb counts).
struct Sky {
    double jd;
    HorizonPlace place;
    double horizon;
};

Sky SkyAt(bool moon, const Observer& o, double jd) {
    const JulianCenturies T = CenturiesFromJulianDate(jd);
    const Nutation n = NutationAt(T);
    const double epsilon = MeanObliquity(T) + n.obliquity;
    EclipticPosition p;
    if (moon) {
        p = MoonGeocentricPosition(T);
        p.longitude = p.longitude + n.longitude;
    } else {
        p = SunApparentPosition(T);
    }
    const double theta =
        (ApparentSiderealTime(jd, n.longitude, epsilon) + o.longitude) * kRadiansPerDegree;
    const double lambda = p.longitude * kRadiansPerDegree;
    const double beta = p.latitude * kRadiansPerDegree;
    const double ce = std::cos(epsilon * kRadiansPerDegree);
    const double se = std::sin(epsilon * kRadiansPerDegree);
    const double cb = std::cos(beta);
    const double sb = std::sin(beta);
    const double cl = std::cos(lambda);
    const double sl = std::sin(lambda);
    // Equatorial geocentric vector of date, km.
    const double x = p.distance * cb * cl;
    const double y = p.distance * (cb * sl * ce - sb * se);
    const double z = p.distance * (cb * sl * se + sb * ce);
    // Turned to the local meridian: m towards the meridian on the equator, w = -cos(dec) sin(H)
    // eastwards; then seen from the observer instead of the Earth's centre.
    const double ct = std::cos(theta);
    const double st = std::sin(theta);
    const double m = x * ct + y * st - o.rhoCos;
    const double w = -x * st + y * ct;
    const double zt = z - o.rhoSin;
    const double r = std::sqrt(m * m + w * w + zt * zt);
    double sinAltitude = (o.sinLatitude * zt + o.cosLatitude * m) / r;
    if (sinAltitude > 1) {
        sinAltitude = 1;
    } else if (sinAltitude < -1) {
        sinAltitude = -1;
    }
    Sky s;
    s.jd = jd;
    s.place.hourAngle = HalfRevolution(std::atan2(-w, m) * kDegreesPerRadian);
    s.place.declination = std::asin(zt / r) * kDegreesPerRadian;
    s.place.altitude = std::asin(sinAltitude) * kDegreesPerRadian;
    s.horizon = kHorizonRefraction;
    if (!moon) {
        s.horizon = s.horizon - kSunSemidiameterAt1Au * kKilometresPerAu / p.distance;
    }
    return s;
}

double Above(const Sky& s) {
    return s.place.altitude - s.horizon;
}

// How fast a body moves across the sky during the day: degrees of hour angle and of declination
// per day, from the positions at the day's two midnights.
struct Motion {
    double hourRate;
    double declinationRate;
};

Motion DayMotion(bool moon, const Sky& start, const Sky& end) {
    Motion m;
    // The Moon lags 10 to 17 degrees a day behind the stars and the Sun about 1, so the gain is
    // within 180 degrees of a whole turn.
    m.hourRate = 360 + HalfRevolution(end.place.hourAngle - start.place.hourAngle);
    m.declinationRate = end.place.declination - start.place.declination;
    if (!(m.hourRate > 300 && m.hourRate < 400)) {
        m.hourRate = moon ? kMoonHourRate : kSunHourRate;
    }
    return m;
}

// The instant near `jd` at which the hour angle is `target` (0 upper, -180 lower culmination).
// The hour angle grows steadily with time, so each step moves by the remaining angle over the
// rate. With `precise` false one evaluation is made: the day's rates put it within two or three
// minutes of the culmination, where the altitude differs from its extreme by under 0.2", which is
// all that splitting the day needs (EstimateCulmination mostly spares even that one). *last is the
// evaluation made last.
double RefineCulmination(bool moon, const Observer& o, double jd, double target, bool precise,
                         const Motion& motion, Sky* last) {
    for (int i = 0; i < kMaxRefineSteps; ++i) {
        *last = SkyAt(moon, o, jd);
        const double step = -HalfRevolution(last->place.hourAngle - target) / motion.hourRate;
        jd = jd + step;
        if (!precise || std::fabs(step) < kEventTolerance) {
            break;
        }
    }
    return jd;
}

// The instant at which the body would meet the horizon, seen from the evaluation s and moving at
// the day's rates: the hour angle of the meeting from the declination the body will have then
// (two rounds), the time from the hour angle still to go. 0 when the body would not meet it.
double CrossingGuess(const Motion& motion, const Observer& o, const Sky& s, bool rising) {
    double jd = s.jd;
    for (int round = 0; round < 2; ++round) {
        const double dec =
            (s.place.declination + motion.declinationRate * (jd - s.jd)) * kRadiansPerDegree;
        const double cosH0 =
            (std::sin(s.horizon * kRadiansPerDegree) - o.sinLatitude * std::sin(dec)) /
            (o.cosLatitude * std::cos(dec));
        if (!(cosH0 >= -1 && cosH0 <= 1)) {
            return 0;
        }
        const double H0 = std::acos(cosH0) * kDegreesPerRadian;
        jd = s.jd + HalfRevolution((rising ? -H0 : H0) - s.place.hourAngle) / motion.hourRate;
    }
    return jd;
}

// The instant between a and b (whose altitudes lie on either side of the horizon) at which the
// body crosses it. Between two culminations the altitude changes monotonically, so there is one.
// The first guess comes from the nearer end; then Newton steps on the altitude, each with a fresh
// position, kept inside the bracket by bisection where a step would leave it.
double RefineCrossing(bool moon, const Observer& o, const Motion& motion, const Sky& a,
                      const Sky& b) {
    const bool rising = Above(a) < 0;
    double lo = a.jd;
    double hi = b.jd;
    double jd = 0.5 * (lo + hi);
    const double guessA = CrossingGuess(motion, o, a, rising);
    const double guessB = CrossingGuess(motion, o, b, rising);
    const bool insideA = guessA > lo && guessA < hi;
    const bool insideB = guessB > lo && guessB < hi;
    if (insideA && (!insideB || guessA - lo <= hi - guessB)) {
        jd = guessA;
    } else if (insideB) {
        jd = guessB;
    }
    const double hourRate = motion.hourRate * kRadiansPerDegree;
    const double declinationRate = motion.declinationRate * kRadiansPerDegree;
    for (int i = 0; i < kMaxRefineSteps; ++i) {
        const Sky s = SkyAt(moon, o, jd);
        const double f = Above(s);
        if ((f < 0) == rising) {
            lo = jd;
        } else {
            hi = jd;
        }
        // d(altitude)/dt, degrees per day, from sin h = sin(phi) sin(dec) + cos(phi) cos(dec)
        // cos(H) with both H and the declination moving.
        const double H = s.place.hourAngle * kRadiansPerDegree;
        const double dec = s.place.declination * kRadiansPerDegree;
        const double slope =
            (-o.cosLatitude * std::cos(dec) * std::sin(H) * hourRate +
             (o.sinLatitude * std::cos(dec) - o.cosLatitude * std::sin(dec) * std::cos(H)) *
                 declinationRate) /
            std::cos(s.place.altitude * kRadiansPerDegree) * kDegreesPerRadian;
        const double newton = jd - f / slope;
        // A Newton step this small has converged, even when it falls on the bracket's end (a
        // step under the resolution of a Julian Date leaves jd where it is).
        if (std::fabs(newton - jd) < kEventTolerance) {
            jd = newton;
            break;
        }
        jd = newton > lo && newton < hi ? newton : 0.5 * (lo + hi);
    }
    return jd;
}

void AddEvent(DayEvents* events, int32_t kind, double jd) {
    if (kind < 0 || events->count[kind] >= 2) {
        return;
    }
    events->jd[kind][events->count[kind]] = jd;
    events->count[kind] = events->count[kind] + 1;
}

// The body's place at a culmination predicted at jd, without computing its position, when the
// altitude there is far enough from the horizon for its side to be certain: the declination from
// the day's two midnights, the altitude 90 - |latitude - dec| (upper) or |latitude + dec| - 90
// (lower). The margin covers the Moon's parallax (under 1.0 degree) and the curvature of its
// declination over a day (under 0.2); the Sun moves so little that 0.1 degree is ample.
bool EstimateCulmination(bool moon, const Observer& o, const Sky& start, const Sky& end, double jd,
                         bool upper, Sky* out) {
    const double f = jd - start.jd;
    const double dec =
        start.place.declination + (end.place.declination - start.place.declination) * f;
    const double horizon = start.horizon + (end.horizon - start.horizon) * f;
    const double altitude =
        upper ? 90 - std::fabs(o.latitude - dec) : std::fabs(o.latitude + dec) - 90;
    if (!(std::fabs(altitude - horizon) > (moon ? 2.0 : 0.1))) {
        return false;
    }
    out->jd = jd;
    out->place.hourAngle = upper ? 0 : -180;
    out->place.declination = dec;
    out->place.altitude = altitude;
    out->horizon = horizon;
    return true;
}

// Rising, upper transit and setting of one body within [t0, t1). The culminations inside the day
// cut it into pieces in which the altitude only rises or only falls, so no piece holds more than
// one crossing and a sign change at its ends finds every one: no fixed sampling step can step
// over an event.
void FindBodyEvents(bool moon, const Observer& o, double t0, double t1, int32_t riseKind,
                    int32_t transitKind, int32_t setKind, DayEvents* events) {
    Sky points[kMaxCulminations + 2];
    int count = 0;
    points[count++] = SkyAt(moon, o, t0);
    const Sky end = SkyAt(moon, o, t1);
    const Motion motion = DayMotion(moon, points[0], end);
    bool upper = points[0].place.hourAngle < 0;
    double predicted = t0 + (upper ? -points[0].place.hourAngle : 180 - points[0].place.hourAngle) /
                                motion.hourRate;
    for (int k = 0; k < kMaxCulminations && predicted < t1 + kPredictionMargin; ++k) {
        const bool precise = upper && transitKind >= 0;
        Sky last;
        if (!precise && EstimateCulmination(moon, o, points[0], end, predicted, upper, &last)) {
            if (last.jd < t1 && last.jd > points[count - 1].jd) {
                points[count++] = last;
            }
            predicted = predicted + 180 / motion.hourRate;
            upper = !upper;
            continue;
        }
        const double c =
            RefineCulmination(moon, o, predicted, upper ? 0 : -180, precise, motion, &last);
        if (precise && c >= t0 && c < t1) {
            AddEvent(events, transitKind, c);
        }
        if (last.jd > points[count - 1].jd && last.jd < t1) {
            points[count++] = last;
        }
        predicted = c + 180 / motion.hourRate;
        upper = !upper;
    }
    points[count++] = end;
    for (int i = 0; i + 1 < count; ++i) {
        const Sky& a = points[i];
        const Sky& b = points[i + 1];
        if ((Above(a) < 0) == (Above(b) < 0)) {
            continue;
        }
        const double jd = RefineCrossing(moon, o, motion, a, b);
        if (jd >= t0 && jd < t1) {
            AddEvent(events, Above(a) < 0 ? riseKind : setKind, jd);
        }
    }
}

}  // namespace

namespace {

// The precise Sun's longitude minus the short series', in degrees. The difference is smooth (its
// fastest part follows the Moon's month, a few arcseconds), while the precise series (over a
// thousand terms) costs thirty times the short one: it is evaluated at knots eight days apart and
// interpolated linearly, within 0.72", so that a year of risings and settings costs hardly more
// than with the short series alone.
// One knot: the correction at index * kKnotDays days from J2000.0. A few are kept, each in the
// place its index picks, so that a day whose searches cross a knot does not compute it again and
// again.
struct SunCorrectionKnot {
    int64_t index;  // INT64_MIN = empty
    double value;
};

constexpr double kKnotDays = 8.0;
constexpr int kKeptKnots = 4;
SunCorrectionKnot sunKnots[kKeptKnots] = {
    {INT64_MIN, 0.0},
    {INT64_MIN, 0.0},
    {INT64_MIN, 0.0},
    {INT64_MIN, 0.0},
};

double CorrectionAt(JulianCenturies T) {
    double d = PreciseSunLongitude(T) - Revolution(ApparentSunLongitude(T));
    if (d > 180) {
        d -= 360;
    } else if (d < -180) {
        d += 360;
    }
    return d;
}

double KnotValue(int64_t index) {
    SunCorrectionKnot& knot = sunKnots[static_cast<uint64_t>(index) % kKeptKnots];
    if (knot.index != index) {
        knot = {index, CorrectionAt(static_cast<double>(index) * kKnotDays / 36525.0)};
    }
    return knot.value;
}

double SunLongitudeCorrection(JulianCenturies T) {
    const double knots = T * 36525.0 / kKnotDays;
    const double floorKnot = std::floor(knots);
    const int64_t index = static_cast<int64_t>(floorKnot);
    const double first = KnotValue(index);
    const double second = KnotValue(index + 1);
    return first + (second - first) * (knots - floorKnot);
}

}  // namespace

EclipticPosition SunApparentPosition(JulianCenturies T) {
    const double T2 = T * T;
    // The mean anomaly, the eccentricity of the Earth's orbit and the equation of the centre give
    // the true anomaly and with it the radius vector.
    const double M = (357.52911 + 35999.05029 * T - 0.0001537 * T2) * kRadiansPerDegree;
    const double e = 0.016708634 - 0.000042037 * T - 0.0000001267 * T2;
    const double C = (1.914602 - 0.004817 * T - 0.000014 * T2) * std::sin(M) +
                     (0.019993 - 0.000101 * T) * std::sin(2 * M) + 0.000289 * std::sin(3 * M);
    const double v = M + C * kRadiansPerDegree;
    const double R = 1.000001018 * (1 - e * e) / (1 + e * std::cos(v));
    EclipticPosition p;
    p.longitude = Revolution(ApparentSunLongitude(T) + SunLongitudeCorrection(T));
    p.latitude = 0;
    p.distance = R * kKilometresPerAu;
    return p;
}

EclipticPosition MoonApparentPosition(JulianCenturies T) {
    EclipticPosition p = MoonGeocentricPosition(T);
    p.longitude = Revolution(p.longitude + NutationAt(T).longitude);
    return p;
}

HorizonPlace BodyHorizonPlace(bool moon, const GeoPlace& place, double jd) {
    return SkyAt(moon, ObserverAt(place), jd).place;
}

DayEvents ComputeDayEvents(const GeoPlace& place, uint16_t year, uint16_t month, uint16_t day,
                           int32_t bias) {
    DayEvents events = {};
    if (!IsValidCivilDate(year, month, day) || year < 1800 || year > 2200 ||
        !(std::fabs(place.latitude) <= 89.5) || !std::isfinite(place.longitude)) {
        return events;
    }
    SYSTEMTIME midnight = {};
    midnight.wYear = year;
    midnight.wMonth = month;
    midnight.wDay = day;
    // Local midnights on the UT scale: UTC = local + bias. Without daylight saving every local
    // date lasts one day. The Julian Date of a civil midnight is exact (a whole number and a
    // half), so the end computed this way is, to the bit, the next date's start: an event at the
    // boundary belongs to exactly one of the two dates.
    const double midnightJd = JulianDateFromSystemTime(midnight);
    const double t0 = midnightJd + bias * kDaysPerMinute;
    const double t1 = (midnightJd + 1) + bias * kDaysPerMinute;
    events.dayStart = t0;
    const Observer o = ObserverAt(place);
    FindBodyEvents(true, o, t0, t1, Moonrise, MoonTransit, Moonset, &events);
    FindBodyEvents(false, o, t0, t1, Sunrise, -1, Sunset, &events);
    return events;
}
