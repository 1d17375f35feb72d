#include "astro/lunar_eclipses.h"

// Placeholder until the shadow geometry lands.
std::vector<LunarEclipse> LunarEclipsesBetween(double, double) {
    return {};
}

EclipseVisibility LunarEclipseVisibility(const LunarEclipse&, const GeoPlace&) {
    return EclipseNotVisible;
}
