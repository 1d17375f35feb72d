// Every solar eclipse of a range of years with its circumstances at given places, one line each,
// for tools/solar_eclipse_check.py to compare with the NASA canon and its Besselian elements.
//   nocturo-eclipse-dump FROM TO [LAT,LON ...]
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "astro/civil_dates.h"
#include "astro/delta_t.h"
#include "astro/solar_eclipses.h"
#include "astro/time_scales.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: nocturo-eclipse-dump FROM TO [LAT,LON ...]\n");
        return 2;
    }
    SYSTEMTIME from = {};
    from.wYear = static_cast<uint16_t>(std::atoi(argv[1]));
    from.wMonth = 1;
    from.wDay = 1;
    SYSTEMTIME to = from;
    to.wYear = static_cast<uint16_t>(std::atoi(argv[2]) + 1);
    std::vector<GeoPlace> places;
    for (int i = 3; i < argc; ++i) {
        GeoPlace p = {};
        if (std::sscanf(argv[i], "%lf,%lf", &p.latitude, &p.longitude) == 2) {
            places.push_back(p);
        }
    }
    const std::vector<SolarEclipse> all =
        SolarEclipsesBetween(JulianDateFromSystemTime(from), JulianDateFromSystemTime(to));
    for (const SolarEclipse& e : all) {
        std::printf("G %.8f %.3f %d %.4f %.4f %.5f\n", e.greatest, DeltaTSeconds(e.greatest),
                    static_cast<int>(e.kind), e.greatestLatitude, e.greatestLongitude, e.magnitude);
        for (size_t i = 0; i < places.size(); ++i) {
            const LocalSolarEclipse l = LocalSolarCircumstances(e, places[i]);
            if (!l.eclipsed) {
                continue;
            }
            std::printf("L %zu %.8f %.8f %.8f %.8f %.8f %.5f %.5f %.3f %d\n", i, l.begin,
                        l.centralBegin, l.greatest, l.centralEnd, l.end, l.magnitude, l.obscuration,
                        l.sunAltitude, static_cast<int>(l.visibility));
        }
    }
    return 0;
}
