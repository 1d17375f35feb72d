// Fuzz target: the time scales and the searches with any value their types can hold: civil
// fields 0-65535, any double (NaN, infinities, subnormals), any time-zone bias. Each must return
// its documented result (zeros, the start unchanged, ok = false) instead of faulting or looping.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "astro/longitudes.h"
#include "astro/lunar_day.h"
#include "astro/precise_sun.h"
#include "astro/principal_phase.h"
#include "astro/searches.h"
#include "astro/time_scales.h"
#include "astro/time_zone.h"
#include "tests/fuzz/date_input.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

bool AllZero(const SYSTEMTIME& t) {
    return t.wYear == 0 && t.wMonth == 0 && t.wDayOfWeek == 0 && t.wDay == 0 && t.wHour == 0 &&
           t.wMinute == 0 && t.wSecond == 0 && t.wMilliseconds == 0;
}

void CheckCivil(const SYSTEMTIME& t) {
    if (AllZero(t)) {
        return;
    }
    FUZZ_CHECK(t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 && t.wDay <= 31);
    FUZZ_CHECK(t.wDayOfWeek <= 6 && t.wHour <= 24 && t.wMinute <= 59 && t.wSecond <= 59);
    FUZZ_CHECK(t.wHour < 24 || (t.wMinute == 0 && t.wSecond == 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const DateInput in = ReadDateInput(data, size);
    const double x = in.x;
    const double y = in.y;
    SetTimeZoneBiasOverride(BiasOf(in));

    const double jd = JulianDateFromSystemTime(in.civil);
    SYSTEMTIME back;
    SystemTimeFromJulianDate(jd, &back);
    CheckCivil(back);
    SystemTimeFromJulianDate(x, &back);
    CheckCivil(back);
    if (!std::isfinite(x) || x < 0 || x > 1e8) {
        FUZZ_CHECK(AllZero(back));
    }

    LunarDay lunar;
    ComputeLunarDay(&lunar, x);
    CheckLunar(lunar);
    ComputeLunarDay(&lunar, jd);
    CheckLunar(lunar);

    (void)LocalDayStart(x, in.bias);
    (void)PrincipalPhaseOfDay(x, nullptr);
    const JulianCenturies T = CenturiesFromJulianDate(x);
    (void)JulianDateFromCenturies(y);
    (void)ApparentSunLongitude(y);
    // One turn, or NaN where the series overflow.
    const double sun = PreciseSunLongitude(y);
    FUZZ_CHECK(!(sun < 0) && !(sun >= 360));
    (void)MoonPhaseAngle(y);
    const double age = MoonAge(y);
    FUZZ_CHECK(!(age < 0) || !std::isfinite(y));

    bool ok = false;
    const JulianCenturies found = FindPhaseInstant(y, T, in.mode, &ok);
    if (!ok) {
        FUZZ_CHECK(std::memcmp(&found, &T, sizeof T) == 0);
    }
    (void)FindSolarLongitudeInstant(in.civil.wYear, y, &ok);
    if (!std::isfinite(y)) {
        FUZZ_CHECK(!ok);
    }
    ClearTimeZoneBiasOverride();
    return 0;
}
