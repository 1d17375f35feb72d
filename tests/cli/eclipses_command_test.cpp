#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "tests/cli/cli_test_support.h"

namespace {

struct EclipseLines {
    const char* label;
    const char* from;
    const char* to;
    const char* place;  // --place, or null for Tokyo
    int32_t bias;
    int status;
    const char* output;  // the whole of stdout (UTF-8), or the start of stderr when status is 2
};

// The total lunar eclipse of 2018-01-31, greatest at 13:29:51 UT, in zones on either side of a
// date line: its date and the range it belongs to move with the zone, and a contact after
// midnight reads as the next date's time.
static const EclipseLines kLines[] = {
    {             "Japan",       "2018", "2018-01-31",       nullptr, -540, 0,
     u8"2018-01-31\t皆既月食\t22:29:51\t1.321\t20:48:08\t21:51:24\t23:08:17\t00:11:33\t見える\n"             },
    { "NextDateEastOfUtc", "2018-02-01", "2018-02-01",       nullptr, -660, 0,
     u8"2018-02-01\t皆既月食\t00:29:51\t1.321\t22:48:08\t23:51:24\t01:08:17\t02:11:33\t見える\n"             },
    {     "NotThereInUtc", "2018-02-01", "2018-02-01",       nullptr,    0, 0,                                    ""},
    {"DateBeforeWestward", "2018-01-30", "2018-01-30",       nullptr,  840, 0,
     u8"2018-01-30\t皆既月食\t23:29:51\t1.321\t21:48:08\t22:51:24\t00:08:17\t01:11:33\t見える\n"             },
 // A penumbral eclipse gives P1 and P4 and its penumbral magnitude; a solar eclipse that the
  // place     does not see, the date of its greatest eclipse alone.
    {   "PenumbralTromso", "2012-11-28", "2012-11-28", "69.65,18.96",    0, 0,
     u8"2012-11-28\t半影月食\t14:33:00\t0.942\t12:12:38\t-\t-\t16:53:22\t見える\n"                           },
    {      "SolarNotSeen", "2011-01-04", "2011-01-04",       nullptr, -540, 0,
     u8"2011-01-04\t部分日食\t-\t-\t-\t-\t-\t-\t見えない\n"                                                 },
    {          "BadPlace",       "2018",       "2018",        "35.6",    0, 2, "nocturo-cli: malformed place '35.6'"},
    {       "YearTooLate",       "2018",       "2101",       nullptr,    0, 2,              "nocturo-cli: TO '2101'"},
};

class RunEclipsesLines : public testing::TestWithParam<EclipseLines> {};

TEST_P(RunEclipsesLines, PrintOrRefuse) {
    const EclipseLines& c = GetParam();
    CliArguments args = Arguments({c.from, c.to}, c.bias);
    if (c.place) {
        args.options[args.optionCount++] = {"--place", c.place};
    }
    const CommandOutput result = Capture(RunEclipses, args);
    EXPECT_EQ(result.status, c.status);
    if (c.status == 0) {
        EXPECT_EQ(result.out, c.output);
    } else {
        EXPECT_EQ(result.err.rfind(c.output, 0), 0u) << result.err;
    }
}

INSTANTIATE_TEST_SUITE_P(Zones, RunEclipsesLines, testing::ValuesIn(kLines),
                         [](const testing::TestParamInfo<EclipseLines>& info) {
                             return std::string(info.param.label);
                         });

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

// "HH:MM:SS" of a {local, utc} instant, "-" for null.
std::string ClockOf(const nlohmann::json& instant) {
    return instant.is_null() ? "-" : instant["local"].get<std::string>().substr(11, 8);
}

std::string ThreeDecimals(const nlohmann::json& number) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", number.get<double>());
    return text;
}

// Every JSON line says what its text line says, lunar and solar, seen or not, at Tokyo and north of
// the Arctic circle (eclipses under the midnight Sun and in the polar night).
TEST(RunEclipses, JsonAgreesWithText) {
    for (const char* place : {"35.6581,139.7414", "69.65,18.96"}) {
        CliArguments args = Arguments({"2011", "2012"}, -540);
        args.options[args.optionCount++] = {"--place", place};
        const std::vector<std::string> text = Split(Capture(RunEclipses, args).out, '\n');
        args.options[args.optionCount++] = {"--json", nullptr};
        const std::vector<std::string> json = Split(Capture(RunEclipses, args).out, '\n');
        ASSERT_EQ(text.size(), json.size());
        ASSERT_GE(text.size(), 10u);
        for (size_t i = 0; i < text.size(); ++i) {
            const std::vector<std::string> t = Split(text[i], '\t');
            const nlohmann::json j = nlohmann::json::parse(json[i]);
            ASSERT_EQ(t.size(), 9u);
            EXPECT_EQ(t[0], j["date"]);
            EXPECT_EQ(t[1], j["kind"]);
            EXPECT_EQ(t[8], j["visibility"]);
            std::vector<std::string> columns;
            if (j["body"] == "moon") {
                const nlohmann::json& c = j["contacts"];
                const bool penumbral = c["U1"].is_null();
                columns = {ClockOf(j["greatest"]),
                           ThreeDecimals(penumbral ? j["penumbralMagnitude"] : j["magnitude"]),
                           ClockOf(c[penumbral ? "P1" : "U1"]),
                           ClockOf(c["U2"]),
                           ClockOf(c["U3"]),
                           ClockOf(c[penumbral ? "P4" : "U4"])};
            } else if (t[2] != "-") {
                const nlohmann::json& l = j["local"];
                columns = {ClockOf(l["greatest"]),   ThreeDecimals(l["magnitude"]),
                           ClockOf(l["begin"]),      ClockOf(l["centralBegin"]),
                           ClockOf(l["centralEnd"]), ClockOf(l["end"])};
                EXPECT_EQ(t[0], l["greatest"]["local"].get<std::string>().substr(0, 10));
            } else {
                columns = {"-", "-", "-", "-", "-", "-"};
                EXPECT_EQ(t[0], j["greatest"]["local"].get<std::string>().substr(0, 10));
            }
            EXPECT_EQ(std::vector<std::string>(t.begin() + 2, t.end() - 1), columns) << text[i];
        }
    }
}

}  // namespace
