#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "astro/rise_set.h"
#include "cli/commands.h"
#include "tests/cli/cli_test_support.h"

namespace {

struct RiseLine {
    const char* label;
    const char* from;
    const char* to;
    const char* place;  // --place, or null
    bool json;
    int32_t bias;
    int status;
    const char* output;  // the whole of stdout, or the start of stderr when status is 2
};

static const RiseLine kLines[] = {
    {       "TokyoByDefault", "2024-01-01", "2024-01-02",       nullptr, false, -540, 0,
     "2024-01-01\t21:30:12\t03:27:38\t10:13:32\t06:50:27\t16:38:00\n"
     "2024-01-02\t22:26:36\t04:08:11\t10:37:13\t06:50:38\t16:38:46\n"         },
 // Across a year's end, and in the southern hemisphere through a leap day.
    {         "YearBoundary", "1900-12-31", "1901-01-01",       nullptr, false, -540, 0,
     "1900-12-31\t12:32:56\t19:32:56\t01:32:13\t06:50:32\t16:37:26\n"
     "1901-01-01\t13:18:26\t20:29:39\t02:39:35\t06:50:46\t16:38:11\n"         },
    {      "CapeTownLeapDay", "2024-02-29", "2024-03-01",  "-33.9,18.4", false,    0, 0,
     "2024-02-29\t19:47:56\t02:00:34\t08:48:42\t04:33:35\t17:23:27\n"
     "2024-03-01\t20:18:41\t02:43:34\t09:48:01\t04:34:27\t17:22:13\n"         },
 // North of the Arctic circle in June: no sunrise or sunset, two moonrises or moonsets a date.
    {   "TromsoTwoMoonrises", "2024-06-03", "2024-06-03", "69.65,18.96", false,  -60, 0,
     "2024-06-03\t00:29:42,23:47:30\t08:48:55\t18:17:20\t-\t-\n"              },
    {"TromsoTwoMoonsetsJson", "2024-06-15", "2024-06-15", "69.65,18.96",  true,  -60, 0,
     "{\"date\":\"2024-06-15\",\"moonrise\":[\"13:18:57\"],\"transit\":[\"18:49:08\"],"
     "\"moonset\":[\"00:14:34\",\"23:51:10\"],\"sunrise\":[],\"sunset\":[]}\n"},
 // Refused: the start of the first line of standard error.
    {   "LatitudeOutOfRange", "2024-01-01", "2024-01-01",        "91,0", false,    0, 2,
     "nocturo-cli: malformed place '91,0'"                                    },
    {              "NoComma", "2024-01-01", "2024-01-01",        "35.6", false,    0, 2,
     "nocturo-cli: malformed place '35.6'"                                    },
    {          "ThreeValues", "2024-01-01", "2024-01-01",    "35,139,0", false,    0, 2,
     "nocturo-cli: malformed place '35,139,0'"                                },
    {             "Exponent", "2024-01-01", "2024-01-01",      "35,1e2", false,    0, 2,
     "nocturo-cli: malformed place '35,1e2'"                                  },
    {         "ToBeforeFrom", "2024-01-02", "2024-01-01",       nullptr, false,    0, 2,
     "nocturo-cli: date TO '2024-01-01' lies before"                          },
};

class RiseLines : public testing::TestWithParam<RiseLine> {};

TEST_P(RiseLines, PrintOrRefuse) {
    const RiseLine& c = GetParam();
    CliArguments args = Arguments({c.from, c.to}, c.bias);
    if (c.place) {
        args.options[args.optionCount++] = {"--place", c.place};
    }
    if (c.json) {
        args.options[args.optionCount++] = {"--json", nullptr};
    }
    const CommandOutput result = Capture(RunRise, args);
    EXPECT_EQ(result.status, c.status);
    if (c.status == 0) {
        EXPECT_EQ(result.out, c.output);
        EXPECT_EQ(result.err, "");
    } else {
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.rfind(c.output, 0), 0u) << result.err;
        EXPECT_NE(result.err.find("usage: nocturo-cli"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(RunRise, RiseLines, testing::ValuesIn(kLines),
                         [](const testing::TestParamInfo<RiseLine>& info) {
                             return std::string(info.param.label);
                         });

// A month at Naha: every line is the core's events of its date, in order, with nothing missing.
// A month at Naha read back: each printed time lies within half a second of the core's unrounded
// instant on that date, and every event of the core is printed.
TEST(RunRise, TimesAreTheCoresInstantsToTheSecond) {
    CliArguments args = Arguments({"2031-12-20", "2032-01-20"}, -540);
    args.options[args.optionCount++] = {"--place", "26.2124,127.6809"};
    std::istringstream lines(Capture(RunRise, args).out);
    SYSTEMTIME date = {2031, 12, 0, 20, 12, 0, 0, 0};
    int dates = 0;
    for (std::string line; std::getline(lines, line); ++dates) {
        const DayEvents events =
            ComputeDayEvents({26.2124, 127.6809}, date.wYear, date.wMonth, date.wDay, -540);
        char dateText[16];
        std::istringstream fields(line);
        std::string field;
        std::getline(fields, field, '\t');
        EXPECT_EQ(field, FormatDateText(dateText, sizeof dateText, date));
        for (int32_t kind = 0; kind < DayEventKindCount; ++kind) {
            std::getline(fields, field, '\t');
            int h = 0, m = 0, s = 0, n = 0;
            // Times of 8 characters, joined by ",".
            for (size_t at = 0; at < field.size() && n < 2 &&
                                std::sscanf(field.c_str() + at, "%d:%d:%d", &h, &m, &s) == 3;
                 at += 9, ++n) {
                const double exact = (events.jd[kind][n] - events.dayStart) * 86400;
                EXPECT_LE(std::fabs(h * 3600 + m * 60 + s - exact), 0.5) << line;
            }
            EXPECT_EQ(n, events.count[kind]) << line;
        }
        SystemTimeFromJulianDate(JulianDateFromSystemTime(date) + 1, &date);
    }
    EXPECT_EQ(dates, 32);
}

}  // namespace
