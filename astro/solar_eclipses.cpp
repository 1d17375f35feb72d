#include "astro/solar_eclipses.h"

// Placeholder until the Besselian geometry lands.
std::vector<SolarEclipse> SolarEclipsesBetween(double, double) {
    return {};
}

LocalSolarEclipse LocalSolarCircumstances(const SolarEclipse&, const GeoPlace&) {
    LocalSolarEclipse none = {};
    return none;
}
