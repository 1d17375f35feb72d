#include "astro/moon_position.h"

#include <cmath>

// The Moon's longitude and distance: D M M' F, then the coefficient of sin(argument) in
// longitude (1e-6 degree) and of cos(argument) in distance (1e-3 km), in the published order.
// A term whose argument holds M once is multiplied by E, twice by E squared.
const LunarLongitudeDistanceTerm LunarLongitudeDistanceTerms[] = {
    {0,  0,  1,  0, 6288774, -20905355},
    {2,  0, -1,  0, 1274027,  -3699111},
    {2,  0,  0,  0,  658314,  -2955968},
    {0,  0,  2,  0,  213618,   -569925},
    {0,  1,  0,  0, -185116,     48888},
    {0,  0,  0,  2, -114332,     -3149},
    {2,  0, -2,  0,   58793,    246158},
    {2, -1, -1,  0,   57066,   -152138},
    {2,  0,  1,  0,   53322,   -170733},
    {2, -1,  0,  0,   45758,   -204586},
    {0,  1, -1,  0,  -40923,   -129620},
    {1,  0,  0,  0,  -34720,    108743},
    {0,  1,  1,  0,  -30383,    104755},
    {2,  0,  0, -2,   15327,     10321},
    {0,  0,  1,  2,  -12528,         0},
    {0,  0,  1, -2,   10980,     79661},
    {4,  0, -1,  0,   10675,    -34782},
    {0,  0,  3,  0,   10034,    -23210},
    {4,  0, -2,  0,    8548,    -21636},
    {2,  1, -1,  0,   -7888,     24208},
    {2,  1,  0,  0,   -6766,     30824},
    {1,  0, -1,  0,   -5163,     -8379},
    {1,  1,  0,  0,    4987,    -16675},
    {2, -1,  1,  0,    4036,    -12831},
    {2,  0,  2,  0,    3994,    -10445},
    {4,  0,  0,  0,    3861,    -11650},
    {2,  0, -3,  0,    3665,     14403},
    {0,  1, -2,  0,   -2689,     -7003},
    {2,  0, -1,  2,   -2602,         0},
    {2, -1, -2,  0,    2390,     10056},
    {1,  0,  1,  0,   -2348,      6322},
    {2, -2,  0,  0,    2236,     -9884},
    {0,  1,  2,  0,   -2120,      5751},
    {0,  2,  0,  0,   -2069,         0},
    {2, -2, -1,  0,    2048,     -4950},
    {2,  0,  1, -2,   -1773,      4130},
    {2,  0,  0,  2,   -1595,         0},
    {4, -1, -1,  0,    1215,     -3958},
    {0,  0,  2,  2,   -1110,         0},
    {3,  0, -1,  0,    -892,      3258},
    {2,  1,  1,  0,    -810,      2616},
    {4, -1, -2,  0,     759,     -1897},
    {0,  2, -1,  0,    -713,     -2117},
    {2,  2, -1,  0,    -700,      2354},
    {2,  1, -2,  0,     691,         0},
    {2, -1,  0, -2,     596,         0},
    {4,  0,  1,  0,     549,     -1423},
    {0,  0,  4,  0,     537,     -1117},
    {4, -1,  0,  0,     520,     -1571},
    {1,  0, -2,  0,    -487,     -1739},
    {2,  1,  0, -2,    -399,         0},
    {0,  0,  2, -2,    -381,     -4421},
    {1,  1,  1,  0,     351,         0},
    {3,  0, -2,  0,    -340,         0},
    {4,  0, -3,  0,     330,         0},
    {2, -1,  2,  0,     327,         0},
    {0,  2,  1,  0,    -323,      1165},
    {1,  1, -1,  0,     299,         0},
    {2,  0,  3,  0,     294,         0},
    {2,  0, -1, -2,       0,      8752},
};
const int LunarLongitudeDistanceTermCount =
    sizeof(LunarLongitudeDistanceTerms) / sizeof(LunarLongitudeDistanceTerms[0]);

// The Moon's latitude: D M M' F and the coefficient of sin(argument) in 1e-6 degree.
const LunarLatitudeTerm LunarLatitudeTerms[] = {
    {0,  0,  0,  1, 5128122},
    {0,  0,  1,  1,  280602},
    {0,  0,  1, -1,  277693},
    {2,  0,  0, -1,  173237},
    {2,  0, -1,  1,   55413},
    {2,  0, -1, -1,   46271},
    {2,  0,  0,  1,   32573},
    {0,  0,  2,  1,   17198},
    {2,  0,  1, -1,    9266},
    {0,  0,  2, -1,    8822},
    {2, -1,  0, -1,    8216},
    {2,  0, -2, -1,    4324},
    {2,  0,  1,  1,    4200},
    {2,  1,  0, -1,   -3359},
    {2, -1, -1,  1,    2463},
    {2, -1,  0,  1,    2211},
    {2, -1, -1, -1,    2065},
    {0,  1, -1, -1,   -1870},
    {4,  0, -1, -1,    1828},
    {0,  1,  0,  1,   -1794},
    {0,  0,  0,  3,   -1749},
    {0,  1, -1,  1,   -1565},
    {1,  0,  0,  1,   -1491},
    {0,  1,  1,  1,   -1475},
    {0,  1,  1, -1,   -1410},
    {0,  1,  0, -1,   -1344},
    {1,  0,  0, -1,   -1335},
    {0,  0,  3,  1,    1107},
    {4,  0,  0, -1,    1021},
    {4,  0, -1,  1,     833},
    {0,  0,  1, -3,     777},
    {4,  0, -2,  1,     671},
    {2,  0,  0, -3,     607},
    {2,  0,  2, -1,     596},
    {2, -1,  1, -1,     491},
    {2,  0, -2,  1,    -451},
    {0,  0,  3, -1,     439},
    {2,  0,  2,  1,     422},
    {2,  0, -3, -1,     421},
    {2,  1, -1,  1,    -366},
    {2,  1,  0,  1,    -351},
    {4,  0,  0,  1,     331},
    {2, -1,  1,  1,     315},
    {2, -2,  0, -1,     302},
    {0,  0,  1,  3,    -283},
    {2,  1,  1, -1,    -229},
    {1,  1,  0, -1,     223},
    {1,  1,  0,  1,     223},
    {0,  1, -2, -1,    -220},
    {2,  1, -1, -1,    -220},
    {1,  0,  1,  1,    -185},
    {2, -1, -2, -1,     181},
    {0,  1,  2,  1,    -177},
    {4,  0, -2, -1,     176},
    {4, -1, -1, -1,     166},
    {1,  0,  1, -1,    -164},
    {4,  0,  1, -1,     132},
    {1,  0, -1, -1,    -119},
    {4, -1,  0, -1,     115},
    {2, -2,  0,  1,     107},
};
const int LunarLatitudeTermCount = sizeof(LunarLatitudeTerms) / sizeof(LunarLatitudeTerms[0]);

namespace {

// Reduces an angle in degrees to [0, 360).
double Revolution(double degrees) {
    double r = std::fmod(degrees, 360);
    if (r < 0) {
        r = r + 360;
    }
    return r;
}

// cos and sin of k times an angle for k = -4..4 (index k + 4): the tables' multiples reach 4 (D,
// M'), 3 (F) and 2 (M). Products of these give every argument from four sines and cosines.
struct Multiples {
    double c[9];
    double s[9];
};

Multiples MultiplesOf(double degrees) {
    Multiples m;
    const double x = degrees * kRadiansPerDegree;
    m.c[4] = 1;
    m.s[4] = 0;
    m.c[5] = std::cos(x);
    m.s[5] = std::sin(x);
    for (int k = 6; k < 9; ++k) {
        m.c[k] = m.c[k - 1] * m.c[5] - m.s[k - 1] * m.s[5];
        m.s[k] = m.s[k - 1] * m.c[5] + m.c[k - 1] * m.s[5];
    }
    for (int k = 0; k < 4; ++k) {
        m.c[k] = m.c[8 - k];
        m.s[k] = -m.s[8 - k];
    }
    return m;
}

// cos and sin of D*a + M*b for a = 0..4 and b = -2..2, times the eccentricity factor E^|b|, and
// of M'*c + F*d for c = -4..4 and d = -3..3: each row's argument is then one product.
struct ArgumentTables {
    double dmC[5][5];
    double dmS[5][5];
    double mfC[9][7];
    double mfS[9][7];
};

void FillArgumentTables(double D, double M, double Mp, double F, double E, ArgumentTables* t) {
    const Multiples d = MultiplesOf(D);
    const Multiples m = MultiplesOf(M);
    const Multiples mp = MultiplesOf(Mp);
    const Multiples f = MultiplesOf(F);
    const double e[5] = {E * E, E, 1, E, E * E};
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j) {
            const double c1 = d.c[i + 4];
            const double s1 = d.s[i + 4];
            const double c2 = m.c[j + 2];
            const double s2 = m.s[j + 2];
            t->dmC[i][j] = (c1 * c2 - s1 * s2) * e[j];
            t->dmS[i][j] = (s1 * c2 + c1 * s2) * e[j];
        }
    }
    for (int i = 0; i < 9; ++i) {
        for (int j = 0; j < 7; ++j) {
            const double c1 = mp.c[i];
            const double s1 = mp.s[i];
            const double c2 = f.c[j + 1];
            const double s2 = f.s[j + 1];
            t->mfC[i][j] = c1 * c2 - s1 * s2;
            t->mfS[i][j] = s1 * c2 + c1 * s2;
        }
    }
}

}  // namespace

EclipticPosition MoonGeocentricPosition(JulianCenturies T) {
    const double T2 = T * T;
    const double T3 = T2 * T;
    const double T4 = T3 * T;
    // Mean longitude, mean elongation, the Sun's and the Moon's mean anomalies, argument of
    // latitude (degrees, ecliptic and equinox of date). Left unreduced: the sines and cosines
    // take any angle, and only the final longitude is brought into one turn.
    const double Lp =
        218.3164477 + 481267.88123421 * T - 0.0015786 * T2 + T3 / 538841 - T4 / 65194000;
    const double D =
        297.8501921 + 445267.1114034 * T - 0.0018819 * T2 + T3 / 545868 - T4 / 113065000;
    const double M = 357.5291092 + 35999.0502909 * T - 0.0001536 * T2 + T3 / 24490000;
    const double Mp =
        134.9633964 + 477198.8675055 * T + 0.0087414 * T2 + T3 / 69699 - T4 / 14712000;
    const double F =
        93.2720950 + 483202.0175233 * T - 0.0036539 * T2 - T3 / 3526000 + T4 / 863310000;
    // Venus (A1), Jupiter (A2) and the flattening of the Earth (A3) add three small terms.
    const double A1 = 119.75 + 131.849 * T;
    const double A2 = 53.09 + 479264.290 * T;
    const double A3 = 313.45 + 481266.484 * T;
    // The decreasing eccentricity of the Earth's orbit scales the terms in M.
    const double E = 1 - 0.002516 * T - 0.0000074 * T2;

    ArgumentTables a;
    FillArgumentTables(D, M, Mp, F, E, &a);

    double sigmaL = 0;
    double sigmaR = 0;
    for (int i = 0; i < LunarLongitudeDistanceTermCount; ++i) {
        const LunarLongitudeDistanceTerm& t = LunarLongitudeDistanceTerms[i];
        const double c1 = a.dmC[t.D][t.M + 2];
        const double s1 = a.dmS[t.D][t.M + 2];
        const double c2 = a.mfC[t.Mp + 4][t.F + 3];
        const double s2 = a.mfS[t.Mp + 4][t.F + 3];
        sigmaL = sigmaL + t.sigmaL * (s1 * c2 + c1 * s2);
        sigmaR = sigmaR + t.sigmaR * (c1 * c2 - s1 * s2);
    }
    double sigmaB = 0;
    for (int i = 0; i < LunarLatitudeTermCount; ++i) {
        const LunarLatitudeTerm& t = LunarLatitudeTerms[i];
        const double c1 = a.dmC[t.D][t.M + 2];
        const double s1 = a.dmS[t.D][t.M + 2];
        const double c2 = a.mfC[t.Mp + 4][t.F + 3];
        const double s2 = a.mfS[t.Mp + 4][t.F + 3];
        sigmaB = sigmaB + t.sigmaB * (s1 * c2 + c1 * s2);
    }
    // The additive terms; the sums and differences with F and M' by angle-sum products.
    const double r = kRadiansPerDegree;
    const double sLp = std::sin(Lp * r);
    const double cLp = std::cos(Lp * r);
    const double sA1 = std::sin(A1 * r);
    const double cA1 = std::cos(A1 * r);
    const double cF = a.mfC[4][4];
    const double sF = a.mfS[4][4];
    const double cMp = a.mfC[5][3];
    const double sMp = a.mfS[5][3];
    sigmaL = sigmaL + 3958 * sA1 + 1962 * (sLp * cF - cLp * sF) + 318 * std::sin(A2 * r);
    sigmaB = sigmaB - 2235 * sLp + 382 * std::sin(A3 * r) + 175 * (sA1 * cF - cA1 * sF) +
             175 * (sA1 * cF + cA1 * sF) + 127 * (sLp * cMp - cLp * sMp) -
             115 * (sLp * cMp + cLp * sMp);

    EclipticPosition p;
    p.longitude = Revolution(Lp + sigmaL * 1e-06);
    p.latitude = sigmaB * 1e-06;
    p.distance = 385000.56 + sigmaR * 0.001;
    return p;
}

Nutation NutationAt(JulianCenturies T) {
    const double T2 = T * T;
    // Longitude of the Moon's ascending node and the mean longitudes of the Sun and the Moon.
    const double Omega =
        (125.04452 - 1934.136261 * T + 0.0020708 * T2 + T2 * T / 450000) * kRadiansPerDegree;
    const double L = (280.4665 + 36000.7698 * T) * kRadiansPerDegree;
    const double Lp = (218.3165 + 481267.8813 * T) * kRadiansPerDegree;
    const double arcsec = 1.0 / 3600;
    Nutation n;
    n.longitude = (-17.20 * std::sin(Omega) - 1.32 * std::sin(2 * L) - 0.23 * std::sin(2 * Lp) +
                   0.21 * std::sin(2 * Omega)) *
                  arcsec;
    n.obliquity = (9.20 * std::cos(Omega) + 0.57 * std::cos(2 * L) + 0.10 * std::cos(2 * Lp) -
                   0.09 * std::cos(2 * Omega)) *
                  arcsec;
    return n;
}

double MeanObliquity(JulianCenturies T) {
    // 23 26' 21.448" and its decrease, in arcseconds.
    const double seconds = 21.448 - 46.8150 * T - 0.00059 * T * T + 0.001813 * T * T * T;
    return 23 + 26.0 / 60 + seconds / 3600;
}

double ApparentSiderealTime(double jd, double nutationLongitude, double trueObliquity) {
    // Mean sidereal time counts on the UT scale, not on dynamical time.
    const double d = jd - 2451545;
    const double T = d * kCenturiesPerDay;
    const double mean =
        280.46061837 + 360.98564736629 * d + 0.000387933 * T * T - T * T * T / 38710000;
    // The equation of the equinoxes: the nutation in longitude projected on the equator.
    return Revolution(mean + nutationLongitude * std::cos(trueObliquity * kRadiansPerDegree));
}
