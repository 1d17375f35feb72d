#include "astro/besselian.h"

#include <cmath>

#include "astro/longitudes.h"
#include "astro/moon_position.h"
#include "astro/precise_moon.h"
#include "astro/precise_sun.h"
#include "astro/time_scales.h"
#include "astro/vsop87_earth.h"

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kEarthRadiusKm = 6378.14;  // the risings' ellipsoid
constexpr double kKilometresPerAu = 149597870.7;
constexpr double kLightKmPerSecond = 299792.458;
// The Sun's radius: the semidiameter 959.63" at 1 au that the risings and the almanacs use.
constexpr double kSunRadiusKm = 959.63 / 206264.80624709636 * kKilometresPerAu;
constexpr double kSecondsPerDay = 86400;

// PreciseMoonPosition carries the Moon to the equinox of date with the IAU 1976 precession, while
// PreciseSunLongitude follows the IAU 2006 one, 0.300405" a century slower (and 0.0057" a century
// squared). The Moon is brought to the Sun's equinox: left apart, the two would disagree by 0.3"
// at 1900 and 2100, which moves an eclipse by half a second. Arcseconds.
constexpr double kMoonPrecessionRateChange = -0.300405;
constexpr double kMoonPrecessionAccelerationChange = -0.0057;
constexpr double kDaysPerCentury = 36525;

// Geocentric equatorial vector of date, in the Earth's equatorial radius, of a body at ecliptic
// longitude lambda, latitude beta (degrees) and distance r (km).
struct Vector {
    double x;
    double y;
    double z;
};

Vector Equatorial(double lambda, double beta, double r, double epsilon) {
    const double l = lambda * kRadiansPerDegree;
    const double b = beta * kRadiansPerDegree;
    const double e = epsilon * kRadiansPerDegree;
    const double cb = std::cos(b);
    const double sb = std::sin(b);
    const double s = r / kEarthRadiusKm;
    Vector v;
    v.x = s * cb * std::cos(l);
    v.y = s * (cb * std::sin(l) * std::cos(e) - sb * std::sin(e));
    v.z = s * (cb * std::sin(l) * std::sin(e) + sb * std::cos(e));
    return v;
}

// The elements from the two bodies' places at one instant; jdUT reads the Earth's rotation.
BesselianSample ShadowOf(const Vector& sun, const Vector& moon, double jdUT,
                         double nutationLongitude, double epsilon) {
    // The axis runs from the Moon away from the Sun; its direction is taken towards the Sun.
    const double gx = sun.x - moon.x;
    const double gy = sun.y - moon.y;
    const double gz = sun.z - moon.z;
    const double g = std::sqrt(gx * gx + gy * gy + gz * gz);
    const double sd = gz / g;
    const double cd = std::sqrt(gx * gx + gy * gy) / g;
    const double a = std::atan2(gy, gx);
    const double sa = std::sin(a);
    const double ca = std::cos(a);
    BesselianSample s;
    s.x = -moon.x * sa + moon.y * ca;
    s.y = -moon.x * sd * ca - moon.y * sd * sa + moon.z * cd;
    const double z = moon.x * cd * ca + moon.y * cd * sa + moon.z * sd;
    s.d = std::atan2(sd, cd) * kDegreesPerRadian;
    s.mu = ApparentSiderealTime(jdUT, nutationLongitude, epsilon) - a * kDegreesPerRadian;
    s.mu = s.mu - 360 * std::floor(s.mu / 360);
    const double sunRadius = kSunRadiusKm / kEarthRadiusKm;
    const double sinF1 = (sunRadius + kMoonRadiusPenumbral) / g;
    const double sinF2 = (sunRadius - kMoonRadiusUmbral) / g;
    const double cosF1 = std::sqrt(1 - sinF1 * sinF1);
    const double cosF2 = std::sqrt(1 - sinF2 * sinF2);
    s.tanF1 = sinF1 / cosF1;
    s.tanF2 = sinF2 / cosF2;
    s.l1 = z * s.tanF1 + kMoonRadiusPenumbral / cosF1;
    s.l2 = z * s.tanF2 - kMoonRadiusUmbral / cosF2;
    return s;
}

// The Sun's apparent geocentric latitude (degrees) and distance (km) from VSOP87D: the Earth's
// heliocentric latitude turned round, within a few thousandths of an arcsecond.
void SunLatitudeDistance(JulianCenturies T, double* latitude, double* km) {
    const double tau = T * 0.1;
    *latitude = -SumVsop87(EarthLatitudeSeries, EarthLatitudePowers, tau) * kDegreesPerRadian;
    *km = SumVsop87(EarthRadiusSeries, EarthRadiusPowers, tau, 1e-08) * kKilometresPerAu;
}

}  // namespace

BesselianSample BesselianAt(double jdTT, double deltaT, double moonKm) {
    const JulianCenturies T = (jdTT - 2451545) / kDaysPerCentury;
    const double dpsi = NutationInLongitude(T) / 3600;
    const double epsilon = MeanObliquity(T) + NutationAt(T).obliquity;
    // The Moon as seen: where it stood about the Earth when its light left it, 1.3 s before (0.7").
    // The Sun's apparent place carries the annual aberration (20.5"); the Moon's does not, for it
    // shares the Earth's orbital motion that causes it.
    const double lightDays = moonKm / kLightKmPerSecond / kSecondsPerDay;
    const EclipticPosition m = PreciseMoonPosition((jdTT - lightDays - 2451545) / kDaysPerCentury);
    double sunLatitude = 0;
    double sunKm = 0;
    SunLatitudeDistance(T, &sunLatitude, &sunKm);
    const Vector sun = Equatorial(PreciseSunLongitude(T), sunLatitude, sunKm, epsilon);
    const double precession =
        T * (kMoonPrecessionRateChange + T * kMoonPrecessionAccelerationChange) / 3600;
    const Vector moon =
        Equatorial(m.longitude + precession + dpsi, m.latitude, m.distance, epsilon);
    return ShadowOf(sun, moon, jdTT - deltaT / kSecondsPerDay, dpsi, epsilon);
}

BesselianSample RoughBesselianAt(double jdTT, double deltaT) {
    const JulianCenturies T = (jdTT - 2451545) / kDaysPerCentury;
    const Nutation n = NutationAt(T);
    const double epsilon = MeanObliquity(T) + n.obliquity;
    // The short series of the phase (0.01 degree) and the distance from the Sun's mean anomaly.
    const double M = (357.52911 + 35999.05029 * T) * kRadiansPerDegree;
    const double sunKm =
        (1.000140 - 0.016708 * std::cos(M) - 0.000139 * std::cos(2 * M)) * kKilometresPerAu;
    const EclipticPosition m = MoonGeocentricPosition(T);
    const Vector sun = Equatorial(ApparentSunLongitude(T), 0, sunKm, epsilon);
    const Vector moon = Equatorial(m.longitude + n.longitude, m.latitude, m.distance, epsilon);
    return ShadowOf(sun, moon, jdTT - deltaT / kSecondsPerDay, n.longitude, epsilon);
}

namespace {

// Solves the n x n system a c = b (a row-major, overwritten) by elimination with partial pivoting.
void Solve(double* a, double* b, int n, double* c) {
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r) {
            if (std::fabs(a[r * n + col]) > std::fabs(a[pivot * n + col])) {
                pivot = r;
            }
        }
        for (int k = 0; k < n; ++k) {
            const double t = a[col * n + k];
            a[col * n + k] = a[pivot * n + k];
            a[pivot * n + k] = t;
        }
        const double t = b[col];
        b[col] = b[pivot];
        b[pivot] = t;
        for (int r = col + 1; r < n; ++r) {
            const double f = a[r * n + col] / a[col * n + col];
            for (int k = col; k < n; ++k) {
                a[r * n + k] = a[r * n + k] - f * a[col * n + k];
            }
            b[r] = b[r] - f * b[col];
        }
    }
    for (int r = n - 1; r >= 0; --r) {
        double s = b[r];
        for (int k = r + 1; k < n; ++k) {
            s = s - a[r * n + k] * c[k];
        }
        c[r] = s / a[r * n + r];
    }
}

// Interpolating polynomial in hours through the values v at the nodes t.
void Fit(const double* t, const double* v, double* c) {
    constexpr int n = kBesselianTerms;
    double a[n * n];
    double b[n];
    for (int r = 0; r < n; ++r) {
        // In units of the span, so that the powers stay near 1.
        const double s = t[r] / kBesselianSpan;
        double p = 1;
        for (int k = 0; k < n; ++k) {
            a[r * n + k] = p;
            p = p * s;
        }
        b[r] = v[r];
    }
    Solve(a, b, n, c);
    double scale = 1;
    for (int k = 0; k < n; ++k) {
        c[k] = c[k] / scale;
        scale = scale * kBesselianSpan;
    }
}

double Polynomial(const double* c, double t) {
    double s = c[kBesselianTerms - 1];
    for (int k = kBesselianTerms - 2; k >= 0; --k) {
        s = s * t + c[k];
    }
    return s;
}

}  // namespace

BesselianElements FitBesselianElements(double jdTT0, double deltaT) {
    constexpr int n = kBesselianTerms;
    // The precise series cost fifteen times the short ones, and their difference changes slowly
    // (its fastest terms have periods of days, under 1"): the precise elements are computed at
    // the span's ends and middle only, and their difference from the short series' is carried
    // to the Chebyshev points as a parabola, within a few thousandths of an arcsecond.
    const double moonKm = MoonGeocentricPosition((jdTT0 - 2451545) / kDaysPerCentury).distance;
    double correction[3][6];
    double tanF1 = 0;
    double tanF2 = 0;
    for (int j = 0; j < 3; ++j) {
        const double jd = jdTT0 + (j - 1) * kBesselianSpan / 24;
        const BesselianSample p = BesselianAt(jd, deltaT, moonKm);
        const BesselianSample r = RoughBesselianAt(jd, deltaT);
        const double dmu = p.mu - r.mu;
        correction[j][0] = p.x - r.x;
        correction[j][1] = p.y - r.y;
        correction[j][2] = p.d - r.d;
        correction[j][3] = dmu - 360 * std::floor(dmu / 360 + 0.5);
        correction[j][4] = p.l1 - r.l1;
        correction[j][5] = p.l2 - r.l2;
        // The cones' angles change by a part in 10^5 over the span: the middle's serve.
        if (j == 1) {
            tanF1 = p.tanF1;
            tanF2 = p.tanF2;
        }
    }
    double t[n];
    double v[6][n];
    for (int k = 0; k < n; ++k) {
        // Chebyshev points: the interpolation error spreads evenly over the span.
        t[k] = kBesselianSpan * std::cos((2 * k + 1) * 3.141592653589793 / (2 * n));
        const BesselianSample s = RoughBesselianAt(jdTT0 + t[k] / 24, deltaT);
        // The hour angle grows by about 15 degrees an hour: unwrapped against the first node.
        double mu = s.mu;
        if (k > 0) {
            mu = mu + 360 * std::floor((v[3][0] + (t[k] - t[0]) * 15.0 - mu + 180) / 360);
        }
        const double raw[6] = {s.x, s.y, s.d, mu, s.l1, s.l2};
        // Lagrange's parabola through the corrections at -span, 0 and +span.
        const double u = t[k] / kBesselianSpan;
        const double w0 = u * (u - 1) / 2;
        const double w1 = 1 - u * u;
        const double w2 = u * (u + 1) / 2;
        for (int i = 0; i < 6; ++i) {
            v[i][k] =
                raw[i] + (w0 * correction[0][i] + w1 * correction[1][i] + w2 * correction[2][i]);
        }
    }
    BesselianElements e = {};
    e.jdTT0 = jdTT0;
    e.deltaT = deltaT;
    Fit(t, v[0], e.x);
    Fit(t, v[1], e.y);
    Fit(t, v[2], e.d);
    Fit(t, v[3], e.mu);
    Fit(t, v[4], e.l1);
    Fit(t, v[5], e.l2);
    e.tanF1 = tanF1;
    e.tanF2 = tanF2;
    double sunLatitude = 0;
    double sunKm = 0;
    SunLatitudeDistance((jdTT0 - 2451545) / kDaysPerCentury, &sunLatitude, &sunKm);
    e.sunDistance = sunKm / kKilometresPerAu;
    return e;
}

BesselianSample EvaluateBesselian(const BesselianElements& e, double t) {
    BesselianSample s;
    s.x = Polynomial(e.x, t);
    s.y = Polynomial(e.y, t);
    s.d = Polynomial(e.d, t);
    s.mu = Polynomial(e.mu, t);
    s.l1 = Polynomial(e.l1, t);
    s.l2 = Polynomial(e.l2, t);
    s.tanF1 = e.tanF1;
    s.tanF2 = e.tanF2;
    return s;
}

void SurfacePointBelow(double xi, double eta, double d, double mu, double* latitude,
                       double* longitude, double* zeta) {
    // The fundamental frame in the Earth's own frame (x to the Greenwich meridian, z north): the
    // axis points to the east longitude -mu.
    const double L0 = -mu * kRadiansPerDegree;
    const double sd = std::sin(d * kRadiansPerDegree);
    const double cd = std::cos(d * kRadiansPerDegree);
    const Vector k = {cd * std::cos(L0), cd * std::sin(L0), sd};
    const Vector i = {-std::sin(L0), std::cos(L0), 0};
    const Vector j = {-sd * std::cos(L0), -sd * std::sin(L0), cd};
    double lx = xi;
    double ly = eta;
    if (DistanceFromLimb(xi, eta, d, &lx, &ly) > 0) {
        xi = lx;
        eta = ly;
    }
    const Vector a = {xi * i.x + eta * j.x, xi * i.y + eta * j.y, xi * i.z + eta * j.z};
    // The ellipsoid X^2 + Y^2 + (Z/ratio)^2 = 1 along the line a + zeta k: a quadratic in zeta,
    // whose larger root is on the Sun's side; on the limb its two roots meet.
    const double q = 1 / (kEarthAxisRatio * kEarthAxisRatio);
    const double A = k.x * k.x + k.y * k.y + k.z * k.z * q;
    const double B = 2 * (a.x * k.x + a.y * k.y + a.z * k.z * q);
    const double C = a.x * a.x + a.y * a.y + a.z * a.z * q - 1;
    double disc = B * B - 4 * A * C;
    if (disc < 0) {
        disc = 0;
    }
    const double z = (-B + std::sqrt(disc)) / (2 * A);
    const double X = a.x + z * k.x;
    const double Y = a.y + z * k.y;
    const double Z = a.z + z * k.z;
    *zeta = z;
    *latitude = std::atan2(Z * q, std::sqrt(X * X + Y * Y)) * kDegreesPerRadian;
    *longitude = std::atan2(Y, X) * kDegreesPerRadian;
}

double DistanceFromLimb(double x, double y, double d, double* limbX, double* limbY) {
    const double cd = std::cos(d * kRadiansPerDegree);
    const double e2 = 1 - kEarthAxisRatio * kEarthAxisRatio;
    const double rho = std::sqrt(1 - e2 * cd * cd);
    // The nearest point (cos th, rho sin th): where the line from (x, y) meets the outline at a
    // right angle. Newton's method from the point's own direction; the outline is nearly a circle,
    // so a few steps settle it.
    double th = std::atan2(y / rho, x);
    for (int n = 0; n < 6; ++n) {
        const double s = std::sin(th);
        const double c = std::cos(th);
        const double g = x * s - rho * y * c - (1 - rho * rho) * s * c;
        const double dg = x * c + rho * y * s - (1 - rho * rho) * (c * c - s * s);
        th = th - g / dg;
    }
    *limbX = std::cos(th);
    *limbY = rho * std::sin(th);
    const double dist = std::hypot(x - *limbX, y - *limbY);
    const bool inside = x * x + (y / rho) * (y / rho) < 1;
    return inside ? -dist : dist;
}
