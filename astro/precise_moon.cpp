#include "astro/precise_moon.h"

// Placeholder until the ELP/MPP02 series lands: the short series.
EclipticPosition PreciseMoonPosition(JulianCenturies T) {
    return MoonGeocentricPosition(T);
}
