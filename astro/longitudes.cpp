#include "astro/longitudes.h"

#include <cmath>
#include <cstring>

namespace {

// The last phase angle computed. The month model asks for the angle at local noon and then starts
// the Moon's age search at that very instant, and the lunisolar day starts its new-Moon search at
// the midnight whose angle the principal phase of the day has just taken. The angle is a function
// of the bits of T alone, so the same bits give the same angle, NaN and -0 included.
struct PhaseAngleCache {
    uint64_t key;  // bits of T; 0 = empty (T = +0 is then simply computed each time)
    double angle;
};

PhaseAngleCache phaseAngleCache = {};

uint64_t BitsOfCenturies(JulianCenturies T) {
    uint64_t bits;
    std::memcpy(&bits, &T, sizeof bits);
    return bits;
}

}  // namespace

// The Sun's longitude: periodic terms smallest first, then the mean longitude as a constant row
// and a row linear in T. Columns: amplitude (degrees), rate (degrees per century), phase
// (degrees), scaled by T.
const PeriodicTerm SunTerms[] = {
    {    0.0004,    31557,    161, 0},
    {    0.0004,    29930,     48, 0},
    {    0.0005,     2281,    221, 0},
    {    0.0005,      155,    118, 0},
    {    0.0006,    33718,    316, 0},
    {    0.0007,     9038,     64, 0},
    {    0.0007,     3035,    110, 0},
    {    0.0007,    65929,     45, 0},
    {    0.0013,    22519,    352, 0},
    {    0.0015,    45038,    254, 0},
    {    0.0018,   445267,    208, 0},
    {    0.0018,       19,    159, 0},
    {     0.002,    32964,    158, 0},
    {   -0.0048,    35999,    268, 1},
    {      0.02,  71998.1,  265.1, 0},
    {    1.9147, 35999.05, 267.52, 0},
    {  280.4659,        0,      0, 0},
    {36000.7695,        0,      0, 1},
};
const int SunTermCount = sizeof(SunTerms) / sizeof(SunTerms[0]);

// The Moon's longitude, in the same arrangement; no correction is applied beyond these terms.
const PeriodicTerm MoonTerms[] = {
    {     0.0003,    2322131,    191, 0},
    {     0.0003,       4067,     70, 0},
    {     0.0003,     549197,    220, 0},
    {     0.0003,    1808933,     58, 0},
    {     0.0003,     349472,    337, 0},
    {     0.0003,     381404,    354, 0},
    {     0.0003,     958465,    340, 0},
    {     0.0004,      12006,    187, 0},
    {     0.0004,      39871,    223, 0},
    {     0.0005,     509131,    242, 0},
    {     0.0005,    1745069,     24, 0},
    {     0.0005,    1908795,     90, 0},
    {     0.0006,    2258267,    159, 0},
    {     0.0006,     111869,     38, 0},
    {     0.0007,      27864,    127, 0},
    {     0.0007,     485333,    186, 0},
    {     0.0007,     405201,     50, 0},
    {     0.0007,     790602,    114, 0},
    {     0.0008,    1403732,     98, 0},
    {     0.0009,     858602,    129, 0},
    {     0.0011,    1920802,    186, 0},
    {     0.0012,    1267871,    249, 0},
    {     0.0016,    1856938,    152, 0},
    {     0.0018,     401329,    274, 0},
    {     0.0021,      71998,     85, 0},
    {     0.0021,     990397,    357, 0},
    {     0.0022,     818536,    151, 0},
    {     0.0023,     922466,    163, 0},
    {     0.0024,      99863,    122, 0},
    {     0.0026,    1379739,     17, 0},
    {     0.0027,     918399,    182, 0},
    {     0.0028,       1934,    145, 0},
    {     0.0037,     541062,    259, 0},
    {     0.0038,    1781068,     21, 0},
    {      0.004,        133,     29, 0},
    {      0.004,    1844932,     56, 0},
    {      0.004,    1331734,    283, 0},
    {      0.005,     481266,    205, 0},
    {     0.0052,      31932,    107, 0},
    {     0.0068,     926533,    323, 0},
    {     0.0079,     449334,    188, 0},
    {     0.0085,     826671,    111, 0},
    {       0.01,    1431597,    315, 0},
    {     0.0107,    1303870,    246, 0},
    {      0.011,     489205,    142, 0},
    {     0.0125,    1443603,     52, 0},
    {     0.0154,      75870,     41, 0},
    {     0.0304,   513197.9,  222.5, 0},
    {     0.0347,   445267.1,   27.9, 0},
    {     0.0409,   441199.8,   47.4, 0},
    {     0.0458,   854535.2,  148.2, 0},
    {     0.0533,  1367733.1,  280.7, 0},
    {     0.0571,   377336.3,   13.2, 0},
    {     0.0588,    63863.5,  124.2, 0},
    {     0.1144,     966404,  276.5, 0},
    {     0.1851,   35999.05,  87.53, 0},
    {     0.2163,  954397.74, 179.93, 0},
    {     0.6583,  890534.22,  145.7, 0},
    {      1.274,  413335.35,  10.74, 0},
    {     6.2888, 477198.868, 44.963, 0},
    {   218.3162,          0,      0, 0},
    {481267.8809,          0,      0, 1},
};
const int MoonTermCount = sizeof(MoonTerms) / sizeof(MoonTerms[0]);

double SumPeriodicTerms(JulianCenturies T, int count, const PeriodicTerm* terms) {
    if (count <= 0) {
        return 0;
    }
    double S = 0;
    for (int i = 0; i < count; ++i) {
        const PeriodicTerm& term = terms[i];
        double v = term.amplitude *
                   std::cos((std::fmod(T * term.rate, 360) + term.phase) * kRadiansPerDegree);
        if (term.scaledByT) {
            v = v * T;
        }
        S = S + v;
    }
    // The loop below adds 360 until S is no longer negative. For a sum far below zero (an early
    // T, or an absurd one that would make the loop practically endless) fmod first removes whole
    // turns. Every addition of 360 to a negative sum under 2^56 in magnitude is exact, so this
    // leaves the same value the loop alone would reach, bit for bit; a sum of exactly -360 * n
    // ends at +0 either way.
    if (S < -360) {
        S = std::fmod(S, 360);
        if (S == 0) {
            S = 0;
        }
    }
    while (S < 0) {
        S = S + 360;
    }
    return std::fmod(S, 360);
}

double ApparentSunLongitude(JulianCenturies T) {
    const double nutation = 0.0048 * std::cos((std::fmod(1934 * T, 360) + 145) * kRadiansPerDegree);
    return nutation + SumPeriodicTerms(T, SunTermCount, SunTerms) - 0.0057;
}

double MoonPhaseAngle(JulianCenturies T) {
    const uint64_t key = BitsOfCenturies(T);
    if (key != 0 && key == phaseAngleCache.key) {
        return phaseAngleCache.angle;
    }
    const double M = SumPeriodicTerms(T, MoonTermCount, MoonTerms);
    double P = std::fmod(M - ApparentSunLongitude(T), 360);
    if (P < 0) {
        P = P + 360;
    }
    phaseAngleCache = {key, P};
    return P;
}

void ResetPhaseAngleCache() {
    phaseAngleCache = {};
}
