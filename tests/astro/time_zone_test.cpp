#include "astro/time_zone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(TimeZoneBias, OverrideWinsUntilCleared) {
    const int32_t system = TimeZoneBias();
    SetTimeZoneBiasOverride(-540);
    EXPECT_EQ(TimeZoneBias(), -540);
    SetTimeZoneBiasOverride(300);
    EXPECT_EQ(TimeZoneBias(), 300);
    ClearTimeZoneBiasOverride();
    EXPECT_EQ(TimeZoneBias(), system);
}

#if !defined(_WIN32)

// POSIX zone strings, so no zone database is needed. Daylight saving never counts, whatever the
// season of the moment the test runs, and TZ is read afresh on every call.
TEST(TimeZoneBias, PosixZonesGiveTheirStandardOffset) {
    static const struct {
        const char* tz;
        int32_t bias;
    } kZones[] = {
        {                       "JST-9", -540},
        {                        "UTC0",    0},
        {      "EST5EDT,M3.2.0,M11.1.0",  300},
        {"AEST-10AEDT,M10.1.0,M4.1.0/3", -600},
        {                    "IST-5:30", -330},
        {   "NST3:30NDT,M3.2.0,M11.1.0",  210},
        {                       "JST-9", -540},
    };
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    for (const auto& zone : kZones) {
        setenv("TZ", zone.tz, 1);
        EXPECT_EQ(TimeZoneBias(), zone.bias) << zone.tz;
    }
    if (old) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
}

#endif

}  // namespace
