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

// Sets TZ for one test and restores it afterwards.
class ScopedTz {
  public:
    explicit ScopedTz(const char* zone) {
        const char* old = std::getenv("TZ");
        hadOld_ = old != nullptr;
        if (hadOld_) {
            old_ = old;
        }
        setenv("TZ", zone, 1);
    }
    ~ScopedTz() {
        if (hadOld_) {
            setenv("TZ", old_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
    }
    ScopedTz(const ScopedTz&) = delete;
    ScopedTz& operator=(const ScopedTz&) = delete;

  private:
    bool hadOld_ = false;
    std::string old_;
};

// POSIX zone strings, so no zone database is needed.
struct ZoneCase {
    const char* name;
    const char* tz;
    int32_t bias;
};

const ZoneCase kZones[] = {
    {          "Japan",                        "JST-9", -540},
    {            "Utc",                         "UTC0",    0},
    {"NewYorkStandard",       "EST5EDT,M3.2.0,M11.1.0",  300},
    { "SydneyStandard", "AEST-10AEDT,M10.1.0,M4.1.0/3", -600},
    {          "India",                     "IST-5:30", -330},
    {   "Newfoundland",    "NST3:30NDT,M3.2.0,M11.1.0",  210},
};

class PosixZones : public testing::TestWithParam<ZoneCase> {};

// Daylight saving never counts, whatever the season of the moment the test runs.
TEST_P(PosixZones, GiveTheirStandardOffset) {
    ScopedTz zone(GetParam().tz);
    EXPECT_EQ(TimeZoneBias(), GetParam().bias);
}

INSTANTIATE_TEST_SUITE_P(TimeZoneBias, PosixZones, testing::ValuesIn(kZones),
                         [](const testing::TestParamInfo<ZoneCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(TimeZoneBias, IsReadAfreshOnEveryCall) {
    {
        ScopedTz zone("JST-9");
        EXPECT_EQ(TimeZoneBias(), -540);
    }
    ScopedTz zone("EST5EDT,M3.2.0,M11.1.0");
    EXPECT_EQ(TimeZoneBias(), 300);
}

#endif

}  // namespace
