#include "astro/solar_eclipses.h"

#include <cmath>
#include <cstdint>
#include <map>

#include "astro/besselian.h"
#include "astro/delta_t.h"

namespace {

constexpr double kHoursPerDay = 24;
constexpr double kSecondsPerDay = 86400;
constexpr double kPi = 3.141592653589793;

// The mean lunation and the mean new Moon of 2000-01-06 (dynamical time) that numbers them.
constexpr double kSynodicMonth = 29.530588861;
constexpr double kMeanNewMoon2000 = 2451550.09766;

// 1800-01-01 and 2201-01-01, 0h UT: the years the Moon and Sun series are trusted in.
constexpr double kFirstJd = 2378496.5;
constexpr double kEndJd = 2524958.5;

// A lunation whose mean new Moon has the Moon's argument of latitude F with |sin F| above this
// cannot hold a solar eclipse: the Moon passes more than 1.6 degrees from the ecliptic.
constexpr double kEclipseLimitSinF = 0.36;
// The short series put the shadow within about 0.005 Earth radii; a lunation whose penumbra
// misses the Earth by more than this is not computed precisely.
constexpr double kRoughMargin = 0.05;

// Searches in hours of dynamical time: closed to a millisecond.
constexpr double kTimeTolerance = 2.5e-07;
constexpr double kDerivativeStep = 0.002;
constexpr int kMaxSteps = 60;

// The minimum of a smooth function near t (hours) by Newton's method on its numerical first and
// second derivatives. Over an eclipse the squared distances it is used on are nearly parabolas.
template <typename F>
double MinimumNear(F f, double t) {
    for (int i = 0; i < kMaxSteps; ++i) {
        const double f0 = f(t);
        const double fp = f(t + kDerivativeStep);
        const double fm = f(t - kDerivativeStep);
        const double d1 = (fp - fm) / (2 * kDerivativeStep);
        const double d2 = (fp - 2 * f0 + fm) / (kDerivativeStep * kDerivativeStep);
        if (!(d2 > 0)) {
            break;
        }
        double step = -d1 / d2;
        if (step > 1) {
            step = 1;
        } else if (step < -1) {
            step = -1;
        }
        t = t + step;
        if (std::fabs(step) < kTimeTolerance) {
            break;
        }
    }
    return t;
}

// The root of f between a and b, where f changes sign, by regula falsi with the Illinois
// modification (superlinear, and never leaves the bracket). Without a sign change, the end where
// |f| is smaller.
template <typename F>
double RootBetween(F f, double a, double b) {
    double fa = f(a);
    double fb = f(b);
    if ((fa < 0) == (fb < 0)) {
        return std::fabs(fa) < std::fabs(fb) ? a : b;
    }
    int side = 0;
    for (int i = 0; i < kMaxSteps && std::fabs(b - a) > kTimeTolerance; ++i) {
        const double t = (a * fb - b * fa) / (fb - fa);
        const double ft = f(t);
        if ((ft < 0) == (fa < 0)) {
            a = t;
            fa = ft;
            if (side == -1) {
                fb = fb / 2;
            }
            side = -1;
        } else {
            b = t;
            fb = ft;
            if (side == 1) {
                fa = fa / 2;
            }
            side = 1;
        }
        if (ft == 0) {
            return t;
        }
    }
    return (a * fb - b * fa) / (fb - fa);
}

double SquaredAxisDistance(const BesselianElements& e, double t) {
    const BesselianSample s = EvaluateBesselian(e, t);
    return s.x * s.x + s.y * s.y;
}

// The axis' distance from the Earth's centre with the outline made a unit circle: under 1 while
// the axis meets the Earth.
double ScaledAxisDistance(const BesselianElements& e, double t) {
    const BesselianSample s = EvaluateBesselian(e, t);
    const double cd = std::cos(s.d * kRadiansPerDegree);
    const double rho2 = 1 - (1 - kEarthAxisRatio * kEarthAxisRatio) * cd * cd;
    return std::sqrt(s.x * s.x + s.y * s.y / rho2);
}

// The umbra's radius where the axis meets the Earth at t: negative under a total eclipse.
double CentralUmbra(const BesselianElements& e, double t) {
    const BesselianSample s = EvaluateBesselian(e, t);
    double latitude = 0;
    double longitude = 0;
    double zeta = 0;
    SurfacePointBelow(s.x, s.y, s.d, s.mu, &latitude, &longitude, &zeta);
    return s.l2 - zeta * s.tanF2;
}

// Total, annular or both along the central line, which the axis draws on the Earth from tc1 to
// tc2. The umbra is smallest (most total) near the middle, where the surface stands nearest the
// Moon, and largest at the ends, where the axis grazes the limb.
SolarEclipseKind CentralKind(const BesselianElements& e, double tc1, double tc2, double tg) {
    constexpr int kSamples = 64;
    double least = CentralUmbra(e, tg);
    double most = least;
    for (int i = 0; i <= kSamples; ++i) {
        const double L2 = CentralUmbra(e, tc1 + (tc2 - tc1) * i / kSamples);
        least = std::fmin(least, L2);
        most = std::fmax(most, L2);
    }
    if (least > 0) {
        return AnnularSolarEclipse;
    }
    return most < 0 ? TotalSolarEclipse : HybridSolarEclipse;
}

// The global circumstances from the elements: false when the penumbra misses the Earth.
bool GlobalCircumstances(const BesselianElements& e, SolarEclipse* out) {
    // Greatest eclipse: the axis passes nearest the Earth's centre.
    const double tg = MinimumNear([&e](double t) { return SquaredAxisDistance(e, t); }, 0);
    const BesselianSample s = EvaluateBesselian(e, tg);
    double limbX = 0;
    double limbY = 0;
    const double fromLimb = DistanceFromLimb(s.x, s.y, s.d, &limbX, &limbY);
    if (!(fromLimb < s.l1)) {
        return false;
    }
    // The axis may meet the flattened Earth a little before or after the instant above.
    const auto scaled = [&e](double t) { return ScaledAxisDistance(e, t); };
    const double tc = MinimumNear(scaled, tg);
    SolarEclipseKind kind = PartialSolarEclipse;
    if (scaled(tc) < 1) {
        const auto outside = [&scaled](double t) { return scaled(t) - 1; };
        const double tc1 = RootBetween(outside, tc - kBesselianSpan, tc);
        const double tc2 = RootBetween(outside, tc, tc + kBesselianSpan);
        kind = CentralKind(e, tc1, tc2, tg);
    } else if (fromLimb < std::fabs(s.l2)) {
        // Only the edge of the umbra touches the Earth, at its limb.
        kind = s.l2 < 0 ? TotalSolarEclipse : AnnularSolarEclipse;
    }
    double latitude = 0;
    double longitude = 0;
    double zeta = 0;
    SurfacePointBelow(s.x, s.y, s.d, s.mu, &latitude, &longitude, &zeta);
    const double L1 = s.l1 - zeta * s.tanF1;
    const double L2 = s.l2 - zeta * s.tanF2;
    out->kind = kind;
    out->greatest = e.jdTT0 + tg / kHoursPerDay - e.deltaT / kSecondsPerDay;
    out->greatestLatitude = latitude;
    out->greatestLongitude = longitude;
    // Under the axis, the ratio of the Moon's apparent diameter to the Sun's; when the axis misses
    // the Earth, the fraction of the Sun's diameter covered at the limb's nearest point (above 1
    // when that point lies in the umbra), as the canon gives it.
    out->magnitude = fromLimb < 0 ? (L1 - L2) / (L1 + L2) : (L1 - fromLimb) / (L1 + L2);
    return true;
}

// What one lunation holds, computed once: whether there is a solar eclipse, its global
// circumstances and the elements its local circumstances are computed from.
struct Lunation {
    bool eclipse;
    SolarEclipse global;
    BesselianElements elements;
};

// Keyed by the lunation number (0 at the new Moon of 2000-01-06), its only input.
std::map<int64_t, Lunation> lunations;

const Lunation& LunationAt(int64_t k) {
    const auto found = lunations.find(k);
    if (found != lunations.end()) {
        return found->second;
    }
    Lunation L = {};
    const double jdMean = kMeanNewMoon2000 + kSynodicMonth * static_cast<double>(k);
    const double F = std::fmod(160.7108 + 390.67050284 * static_cast<double>(k), 360);
    if (std::fabs(std::sin(F * kRadiansPerDegree)) <= kEclipseLimitSinF) {
        const double deltaT = DeltaTSeconds(jdMean);
        // The true conjunction lies within about 14 hours of the mean one: Newton steps on the
        // axis' distance from the centre with the short series.
        double jd = jdMean;
        for (int i = 0; i < 8; ++i) {
            const BesselianSample a = RoughBesselianAt(jd, deltaT);
            const BesselianSample b = RoughBesselianAt(jd + 1 / kHoursPerDay, deltaT);
            const double dx = b.x - a.x;
            const double dy = b.y - a.y;
            const double step = -(a.x * dx + a.y * dy) / (dx * dx + dy * dy);
            jd = jd + step / kHoursPerDay;
            if (std::fabs(step) < 0.01) {
                break;
            }
        }
        const BesselianSample s = RoughBesselianAt(jd, deltaT);
        double limbX = 0;
        double limbY = 0;
        if (DistanceFromLimb(s.x, s.y, s.d, &limbX, &limbY) < s.l1 + kRoughMargin) {
            L.elements = FitBesselianElements(jd, DeltaTSeconds(jd));
            L.eclipse = GlobalCircumstances(L.elements, &L.global);
        }
    }
    return lunations.emplace(k, L).first->second;
}

int64_t LunationNumber(double jd) {
    return static_cast<int64_t>(std::floor((jd - kMeanNewMoon2000) / kSynodicMonth + 0.5));
}

// The observer's place in the Earth's equatorial radius (height 0 on the ellipsoid).
struct Observer {
    double rhoSin;
    double rhoCos;
    double longitude;  // degrees east
};

Observer ObserverOf(const GeoPlace& place) {
    const double u = std::atan(kEarthAxisRatio * std::tan(place.latitude * kRadiansPerDegree));
    Observer o;
    o.rhoSin = kEarthAxisRatio * std::sin(u);
    o.rhoCos = std::cos(u);
    o.longitude = place.longitude;
    return o;
}

// The shadow seen from the observer at t: the offset (u, v) of the axis from the observer, and
// the radii of the penumbra and the umbra in the observer's plane parallel to the fundamental one.
struct LocalShadow {
    double u;
    double v;
    double L1;
    double L2;
    double zeta;  // the observer's height above the fundamental plane, towards the Moon
};

LocalShadow ShadowAt(const BesselianElements& e, const Observer& o, double t) {
    const BesselianSample s = EvaluateBesselian(e, t);
    const double H = (s.mu + o.longitude) * kRadiansPerDegree;
    const double sd = std::sin(s.d * kRadiansPerDegree);
    const double cd = std::cos(s.d * kRadiansPerDegree);
    const double xi = o.rhoCos * std::sin(H);
    const double eta = o.rhoSin * cd - o.rhoCos * std::cos(H) * sd;
    const double zeta = o.rhoSin * sd + o.rhoCos * std::cos(H) * cd;
    LocalShadow l;
    l.u = s.x - xi;
    l.v = s.y - eta;
    l.L1 = s.l1 - zeta * s.tanF1;
    l.L2 = s.l2 - zeta * s.tanF2;
    l.zeta = zeta;
    return l;
}

// Whether the place stands on the Earth's day side at some moment from t1 to t4. A place on the
// night side can lie in the penumbra's projection on the fundamental plane, but the Earth itself
// keeps the shadow off it. Sampled every ten minutes and at both ends.
bool OnDaySide(const BesselianElements& e, const Observer& o, double t1, double t4) {
    constexpr double kSampleHours = 1.0 / 6;
    for (double t = t1; t < t4; t += kSampleHours) {
        if (ShadowAt(e, o, t).zeta > 0) {
            return true;
        }
    }
    return ShadowAt(e, o, t4).zeta > 0;
}

double Separation(const LocalShadow& l) {
    return std::sqrt(l.u * l.u + l.v * l.v);
}

// The fraction of the Sun's disc hidden by the Moon's at a distance c between their centres, the
// radii from the shadow's: the Sun's (L1 + L2) / 2, the Moon's (L1 - L2) / 2.
double Obscuration(double c, double L1, double L2) {
    const double R = (L1 + L2) / 2;
    const double r = (L1 - L2) / 2;
    if (c >= R + r) {
        return 0;
    }
    if (c <= std::fabs(R - r)) {
        return r >= R ? 1 : (r * r) / (R * R);
    }
    const double a = r * r * std::acos((c * c + r * r - R * R) / (2 * c * r));
    const double b = R * R * std::acos((c * c + R * R - r * r) / (2 * c * R));
    const double k = std::sqrt((-c + r + R) * (c + r - R) * (c - r + R) * (c + r + R));
    return (a + b - k / 2) / (kPi * R * R);
}

// How far the Sun's upper limb stands above the risings' horizon (35'08" of refraction), degrees.
double SunAboveHorizon(const GeoPlace& place, double jd, double sunDistance) {
    const double semidiameter = 959.63 / 3600 / sunDistance;
    return BodyHorizonPlace(false, place, jd).altitude - (kHorizonRefraction - semidiameter);
}

// Seen from the place from the first contact to the last: the Sun's upper limb at the contacts
// and every ten minutes between them, so that a Sun that rises and sets within the eclipse (near
// the poles) is not missed.
EclipseVisibility VisibilityOf(const GeoPlace& place, double begin, double end,
                               double sunDistance) {
    constexpr double kSampleDays = 10.0 / 1440;
    const bool upAtBegin = SunAboveHorizon(place, begin, sunDistance) > 0;
    const bool upAtEnd = SunAboveHorizon(place, end, sunDistance) > 0;
    if (upAtBegin) {
        return upAtEnd ? EclipseVisible : EclipseSetting;
    }
    if (upAtEnd) {
        return EclipseRising;
    }
    for (double jd = begin + kSampleDays; jd < end; jd += kSampleDays) {
        if (SunAboveHorizon(place, jd, sunDistance) > 0) {
            return EclipseRising;
        }
    }
    return EclipseNotVisible;
}

}  // namespace

std::vector<SolarEclipse> SolarEclipsesBetween(double jdFrom, double jdTo) {
    std::vector<SolarEclipse> found;
    const double from = std::fmax(jdFrom, kFirstJd);
    const double to = std::fmin(jdTo, kEndJd);
    if (!(from < to)) {
        return found;
    }
    // Greatest eclipse lies within a day of the mean new Moon.
    for (int64_t k = LunationNumber(from) - 1; k <= LunationNumber(to) + 1; ++k) {
        const Lunation& L = LunationAt(k);
        if (L.eclipse && L.global.greatest >= from && L.global.greatest < to) {
            found.push_back(L.global);
        }
    }
    return found;
}

LocalSolarEclipse LocalSolarCircumstances(const SolarEclipse& eclipse, const GeoPlace& place) {
    LocalSolarEclipse local = {};
    if (!(std::fabs(place.latitude) <= 89.5) || !std::isfinite(place.longitude) ||
        !(eclipse.greatest >= kFirstJd && eclipse.greatest < kEndJd)) {
        return local;
    }
    const Lunation& L = LunationAt(LunationNumber(eclipse.greatest));
    BesselianElements fitted;
    const BesselianElements* e = &L.elements;
    if (!L.eclipse || std::fabs(L.global.greatest - eclipse.greatest) > 0.01) {
        // Not an eclipse this module found: the elements about the instant given.
        const double deltaT = DeltaTSeconds(eclipse.greatest);
        fitted = FitBesselianElements(eclipse.greatest + deltaT / kSecondsPerDay, deltaT);
        e = &fitted;
    }
    const Observer o = ObserverOf(place);
    const double tg = (eclipse.greatest - e->jdTT0) * kHoursPerDay + e->deltaT / 3600;
    const auto squared = [e, &o](double t) {
        const LocalShadow l = ShadowAt(*e, o, t);
        return l.u * l.u + l.v * l.v;
    };
    double tm = MinimumNear(squared, tg);
    tm = std::fmax(-kBesselianSpan, std::fmin(kBesselianSpan, tm));
    const LocalShadow m = ShadowAt(*e, o, tm);
    const double c = Separation(m);
    if (!(c < m.L1)) {
        return local;
    }
    const auto penumbral = [e, &o](double t) {
        const LocalShadow l = ShadowAt(*e, o, t);
        return Separation(l) - l.L1;
    };
    const double jdOf = e->jdTT0 - e->deltaT / kSecondsPerDay;
    const double span = kBesselianSpan + 0.5;
    const double t1 = RootBetween(penumbral, tm - span, tm);
    const double t4 = RootBetween(penumbral, tm, tm + span);
    local.begin = jdOf + t1 / kHoursPerDay;
    local.end = jdOf + t4 / kHoursPerDay;
    // Behind the Earth the place sees no eclipse, unless refraction lifts the Sun's limb over the
    // horizon at the first or last contact (the Sun's height changes steadily in between).
    if (!OnDaySide(*e, o, t1, t4) && !(SunAboveHorizon(place, local.begin, e->sunDistance) > 0) &&
        !(SunAboveHorizon(place, local.end, e->sunDistance) > 0)) {
        return LocalSolarEclipse{};
    }
    local.eclipsed = true;
    local.greatest = jdOf + tm / kHoursPerDay;
    if (c < std::fabs(m.L2)) {
        const auto umbral = [e, &o](double t) {
            const LocalShadow l = ShadowAt(*e, o, t);
            return Separation(l) - std::fabs(l.L2);
        };
        // Totality and annularity last under 13 minutes.
        local.centralBegin = jdOf + RootBetween(umbral, tm - 0.25, tm) / kHoursPerDay;
        local.centralEnd = jdOf + RootBetween(umbral, tm, tm + 0.25) / kHoursPerDay;
        local.magnitude = (m.L1 - m.L2) / (m.L1 + m.L2);
    } else {
        local.magnitude = (m.L1 - c) / (m.L1 + m.L2);
    }
    local.obscuration = Obscuration(c, m.L1, m.L2);
    local.sunAltitude = BodyHorizonPlace(false, place, local.greatest).altitude;
    local.visibility = VisibilityOf(place, local.begin, local.end, e->sunDistance);
    return local;
}
