// Fuzz target: the tray program's decision of the moment from whatever the clock reads. The
// clock's fields (any 16-bit values, as a changed system clock or a broken one may give), the
// instant (from those fields, or any double), the zone, the switches and the long-date text are
// taken from the input. Pictures stay within their sets and tooltips within their fields.
#include <cstdint>
#include <cstring>
#include <string>

#include "astro/time_zone.h"
#include "calendar/holidays.h"
#include "presentation/status_decision.h"
#include "tests/fuzz/date_input.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr size_t kDateInputSize = 41;  // the fields ReadDateInput takes

void CheckDecision(const StatusDecision& d) {
    FUZZ_CHECK(d.moonCell >= -1 && d.moonCell <= 27);
    FUZZ_CHECK(d.tideCell >= -1 && d.tideCell <= 4);
    FUZZ_CHECK(std::memchr(d.moonTip, 0, kTooltipSize) != nullptr);
    FUZZ_CHECK(std::memchr(d.calendarTip, 0, kTooltipSize) != nullptr);
    FUZZ_CHECK(d.dayKind >= NationalHoliday && d.dayKind <= NoEntry);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const DateInput in = ReadDateInput(data, size);
    const size_t textAt = size < kDateInputSize ? size : kDateInputSize;
    const std::string dateText(
        reinterpret_cast<const char*>(data) + textAt,
        strnlen(reinterpret_cast<const char*>(data) + textAt, size - textAt));
    SetTimeZoneBiasOverride(BiasOf(in));

    StatusRequest request = {};
    request.iconForce = (in.selector & 0x04) != 0;
    request.dateForce = (in.selector & 0x08) != 0;
    request.julianDate = (in.selector & 0x10) ? in.x : JulianDateFromSystemTime(in.civil);
    request.local = in.civil;
    request.bias = BiasOf(in);
    request.dateText = dateText.c_str();
    request.moonOn = (in.selector & 0x20) != 0;
    request.tideOn = (in.selector & 0x40) != 0;
    request.calendarOn = (in.selector & 0x80) != 0;
    request.moonTip = "";

    StatusMemory memory = InitialStatusMemory();
    const StatusDecision first = DecideStatus(request, &memory);
    CheckDecision(first);
    // The next tick a minute later, with the tooltip the first one left.
    request.julianDate += 1.0 / 1440;
    request.moonTip = first.moonTip;
    CheckDecision(DecideStatus(request, &memory));
    ClearTimeZoneBiasOverride();
    return 0;
}
