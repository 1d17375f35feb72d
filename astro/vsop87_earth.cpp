#include "astro/vsop87_earth.h"

#include <cmath>

double SumVsop87(const Vsop87Series* series, int powers, double tau, double minAmplitude) {
    // Horner's scheme from the highest power down: the longitude's L1 series carries the mean
    // motion, so its sum is multiplied by tau exactly once.
    double sum = 0;
    for (int a = powers - 1; a >= 0; --a) {
        double S = 0;
        for (int i = 0; i < series[a].count; ++i) {
            const Vsop87Term& term = series[a].terms[i];
            if (term.amplitude < minAmplitude) {
                continue;
            }
            S = S + term.amplitude * std::cos(term.phase + term.frequency * tau);
        }
        sum = sum * tau + S;
    }
    return sum;
}

EarthPosition EarthHeliocentric(JulianCenturies T) {
    // The theory's time is in Julian millennia.
    const double tau = T * 0.1;
    return {SumVsop87(EarthLongitudeSeries, EarthLongitudePowers, tau),
            SumVsop87(EarthLatitudeSeries, EarthLatitudePowers, tau),
            SumVsop87(EarthRadiusSeries, EarthRadiusPowers, tau)};
}
