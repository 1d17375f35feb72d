#include "astro/precise_moon.h"

#include <cmath>

namespace {

constexpr double kRadiansPerArcsecond = 4.84813681109536e-06;  // pi / 648000
constexpr double kDegreesPerRadian = 57.29577951308232;

struct Vector3 {
    double x;
    double y;
    double z;
};

// Powers of T shared by every term of one evaluation.
struct TimePowers {
    double T;
    double T2;
    double T3;
    double T4;
};

TimePowers PowersOf(JulianCenturies T) {
    const double T2 = T * T;
    return TimePowers{T, T2, T2 * T, T2 * T2};
}

double Argument(const ElpMpp02Term& term, const TimePowers& t) {
    return term.phase + term.w1 * t.T + term.w2 * t.T2 + term.w3 * t.T3 + term.w4 * t.T4;
}

double PowerFactor(const TimePowers& t, int power) {
    switch (power) {
        case 0:
            return 1.0;
        case 1:
            return t.T;
        case 2:
            return t.T2;
        default:
            return t.T3;
    }
}

double SumSeries(const ElpMpp02Series* series, int count, const TimePowers& t) {
    double total = 0;
    for (int s = 0; s < count; ++s) {
        const ElpMpp02Term* terms = series[s].terms;
        double sum = 0;
        for (int i = 0; i < series[s].count; ++i)
            sum += terms[i].amplitude * std::sin(Argument(terms[i], t));
        total += sum * PowerFactor(t, series[s].power);
    }
    return total;
}

// The series' own frame: V and U on the mean ecliptic of date from the departure point, r.
Vector3 SeriesVector(const TimePowers& t) {
    const double* W1 = MoonMeanLongitudeW1;
    const double V =
        W1[0] + W1[1] * t.T + W1[2] * t.T2 + W1[3] * t.T3 + W1[4] * t.T4 +
        SumSeries(MoonLongitudeSeries, MoonLongitudeSeriesCount, t) * kRadiansPerArcsecond;
    const double U =
        SumSeries(MoonLatitudeSeries, MoonLatitudeSeriesCount, t) * kRadiansPerArcsecond;
    const double r = SumSeries(MoonDistanceSeries, MoonDistanceSeriesCount, t);
    return Vector3{r * std::cos(V) * std::cos(U), r * std::sin(V) * std::cos(U), r * std::sin(U)};
}

// Laskar's P and Q of the ecliptic of date against the J2000 ecliptic, as the theory's authors
// rotate its coordinates to the J2000 frame.
Vector3 LaskarToJ2000(const Vector3& v, double T) {
    const double P =
        (0.10180391e-4 +
         (0.47020439e-6 + (-0.5417367e-9 + (-0.2507948e-11 + 0.463486e-14 * T) * T) * T) * T) *
        T;
    const double Q =
        (-0.113469002e-3 +
         (0.12372674e-6 + (0.1265417e-8 + (-0.1371808e-11 - 0.320334e-14 * T) * T) * T) * T) *
        T;
    const double ra = 2 * std::sqrt(1 - P * P - Q * Q);
    const double PQ = 2 * P * Q;
    const double P2 = 1 - 2 * P * P;
    const double Q2 = 1 - 2 * Q * Q;
    return Vector3{P2 * v.x + PQ * v.y + P * ra * v.z, PQ * v.x + Q2 * v.y - Q * ra * v.z,
                   -P * ra * v.x + Q * ra * v.y + (P2 + Q2 - 1) * v.z};
}

// The ecliptic precession from J2000 to T: the node of the ecliptic of date on the J2000
// ecliptic at longitude Pi, its inclination eta, and the general precession in longitude p.
struct EclipticPrecession {
    double cosPi, sinPi, cosEta, sinEta, cosPiP, sinPiP;
};

EclipticPrecession EclipticPrecessionAt(double T) {
    const double eta = (47.0029 - 0.03302 * T + 0.000060 * T * T) * T * kRadiansPerArcsecond;
    const double Pi = 3.0521686847819316 - (869.8089 + 0.03536 * T) * T * kRadiansPerArcsecond;
    const double p = (5029.0966 + (1.11113 - 0.000006 * T) * T) * T * kRadiansPerArcsecond;
    return EclipticPrecession{std::cos(Pi),  std::sin(Pi),     std::cos(eta),
                              std::sin(eta), std::cos(Pi + p), std::sin(Pi + p)};
}

// J2000 frame to the frame of date: turn to the node, tilt by eta, turn back by Pi + p.
Vector3 PrecessToDate(const Vector3& v, const EclipticPrecession& e) {
    const double ux = e.cosPi * v.x + e.sinPi * v.y;
    const double uy = -e.sinPi * v.x + e.cosPi * v.y;
    const double wy = e.cosEta * uy + e.sinEta * v.z;
    const double wz = -e.sinEta * uy + e.cosEta * v.z;
    return Vector3{e.cosPiP * ux - e.sinPiP * wy, e.sinPiP * ux + e.cosPiP * wy, wz};
}

// The transpose of PrecessToDate.
Vector3 PrecessToJ2000(const Vector3& v, const EclipticPrecession& e) {
    const double ux = e.cosPiP * v.x + e.sinPiP * v.y;
    const double wy = -e.sinPiP * v.x + e.cosPiP * v.y;
    const double uy = e.cosEta * wy - e.sinEta * v.z;
    const double z = e.sinEta * wy + e.cosEta * v.z;
    return Vector3{e.cosPi * ux - e.sinPi * uy, e.sinPi * ux + e.cosPi * uy, z};
}

EclipticPosition Spherical(const Vector3& v) {
    double longitude = std::atan2(v.y, v.x) * kDegreesPerRadian;
    if (longitude < 0)
        longitude += 360.0;
    if (longitude >= 360.0)
        longitude -= 360.0;
    const double xy = std::sqrt(v.x * v.x + v.y * v.y);
    return EclipticPosition{longitude, std::atan2(v.z, xy) * kDegreesPerRadian,
                            std::sqrt(xy * xy + v.z * v.z)};
}

Vector3 Cartesian(const EclipticPosition& p) {
    const double l = p.longitude / kDegreesPerRadian;
    const double b = p.latitude / kDegreesPerRadian;
    return Vector3{p.distance * std::cos(l) * std::cos(b), p.distance * std::sin(l) * std::cos(b),
                   p.distance * std::sin(b)};
}

// The distance and its derivatives from the first `seriesCount` series, each cut to `termLimit`
// terms (negative: all of them).
MoonDistanceMotion DistanceMotion(JulianCenturies T, int seriesCount, int termLimit) {
    const TimePowers t = PowersOf(T);
    MoonDistanceMotion total = {0, 0, 0};
    for (int s = 0; s < seriesCount; ++s) {
        const ElpMpp02Series& series = MoonDistanceSeries[s];
        const int count = termLimit >= 0 && termLimit < series.count ? termLimit : series.count;
        // F, F' and F'' of the series, then those of T^a F.
        double F = 0, F1 = 0, F2 = 0;
        for (int i = 0; i < count; ++i) {
            const ElpMpp02Term& term = series.terms[i];
            const double theta = Argument(term, t);
            const double rate =
                term.w1 + 2 * term.w2 * t.T + 3 * term.w3 * t.T2 + 4 * term.w4 * t.T3;
            const double curvature = 2 * term.w2 + 6 * term.w3 * t.T + 12 * term.w4 * t.T2;
            const double sine = term.amplitude * std::sin(theta);
            const double cosine = term.amplitude * std::cos(theta);
            F += sine;
            F1 += cosine * rate;
            F2 += cosine * curvature - sine * rate * rate;
        }
        const double a = series.power;
        const double Ta = PowerFactor(t, series.power);
        const double Ta1 = series.power >= 1 ? a * PowerFactor(t, series.power - 1) : 0.0;
        const double Ta2 = series.power >= 2 ? a * (a - 1) * PowerFactor(t, series.power - 2) : 0.0;
        total.distance += Ta * F;
        total.rate += Ta1 * F + Ta * F1;
        total.acceleration += Ta2 * F + 2 * Ta1 * F1 + Ta * F2;
    }
    return total;
}

}  // namespace

EclipticPosition PreciseMoonPositionJ2000(JulianCenturies T) {
    return Spherical(LaskarToJ2000(SeriesVector(PowersOf(T)), T));
}

EclipticPosition PreciseMoonPosition(JulianCenturies T) {
    const Vector3 j2000 = LaskarToJ2000(SeriesVector(PowersOf(T)), T);
    return Spherical(PrecessToDate(j2000, EclipticPrecessionAt(T)));
}

EclipticPosition EclipticJ2000ToDate(const EclipticPosition& position, JulianCenturies T) {
    return Spherical(PrecessToDate(Cartesian(position), EclipticPrecessionAt(T)));
}

EclipticPosition EclipticDateToJ2000(const EclipticPosition& position, JulianCenturies T) {
    return Spherical(PrecessToJ2000(Cartesian(position), EclipticPrecessionAt(T)));
}

double PreciseMoonDistance(JulianCenturies T) {
    return SumSeries(MoonDistanceSeries, MoonDistanceSeriesCount, PowersOf(T));
}

MoonDistanceMotion PreciseMoonDistanceMotion(JulianCenturies T) {
    return DistanceMotion(T, MoonDistanceSeriesCount, -1);
}

MoonDistanceMotion LeadingMoonDistanceMotion(JulianCenturies T, int leadingTerms) {
    return DistanceMotion(T, 1, leadingTerms);
}
