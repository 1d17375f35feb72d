// Fuzz target: the calendar of any year, month and day (0-65535 each) in any time zone: the
// lookups of a date's holiday, solar term and seasonal days, and the month model. Names are never
// null and every cell is computed.
#include <cstdint>

#include "astro/time_zone.h"
#include "calendar/holidays.h"
#include "calendar/month_model.h"
#include "calendar/seasonal_days.h"
#include "calendar/solar_terms.h"
#include "tests/fuzz/date_input.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const DateInput in = ReadDateInput(data, size);
    const SYSTEMTIME& civil = in.civil;
    SetTimeZoneBiasOverride(BiasOf(in));

    const char* name = nullptr;
    const DayKind kind = LookupHoliday(civil.wYear, civil.wMonth, civil.wDay, &name);
    FUZZ_CHECK(name != nullptr && kind >= NationalHoliday && kind <= NoEntry);
    name = nullptr;
    (void)LookupSolarTerm(civil.wYear, civil.wMonth, civil.wDay, &name);
    FUZZ_CHECK(name != nullptr);
    const char* second = nullptr;
    name = nullptr;
    (void)LookupSeasonalDays(civil.wYear, civil.wMonth, civil.wDay, &name, &second);
    FUZZ_CHECK(name != nullptr && second != nullptr);
    if (in.selector & 4) {
        ComputeMonthModel(civil.wYear, civil.wMonth);
        const MonthModel& model = CurrentMonthModel();
        FUZZ_CHECK(model.year == civil.wYear && model.month == civil.wMonth);
        for (const MonthCell& cell : model.cells) {
            FUZZ_CHECK(cell.holidayName != nullptr && cell.phaseName != nullptr);
            FUZZ_CHECK(cell.solarTermName != nullptr && cell.seasonalName1 != nullptr &&
                       cell.seasonalName2 != nullptr);
            CheckLunar(cell.lunar);
        }
    }
    ClearTimeZoneBiasOverride();
    return 0;
}
