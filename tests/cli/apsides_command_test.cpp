#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "tests/cli/cli_test_support.h"

namespace {

CliArguments JsonArguments(std::initializer_list<const char*> words, int32_t bias) {
    CliArguments args = Arguments(words, bias);
    args.options[args.optionCount++] = {"--json", nullptr};
    return args;
}

// The apogee of 2024-02-25 14:59 UTC falls a minute before midnight in Japan and after it one
// zone further east: the local date follows the bias.
TEST(Apsides, FebruaryOf2024InJapan) {
    const CommandOutput result = Capture(RunApsides, Arguments({"2024-02-01", "2024-02-29"}, -540));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              u8"2024-02-11\t03:52:57\t近地点\t358088\n"
              u8"2024-02-25\t23:59:00\t遠地点\t406312\n");
    const CommandOutput east = Capture(RunApsides, Arguments({"2024-02-26", "2024-02-26"}, -600));
    EXPECT_EQ(east.out, u8"2024-02-26\t00:59:00\t遠地点\t406312\n");
}

// Every JSON line says what its text line says.
TEST(Apsides, JsonAgreesWithText) {
    const CommandOutput text = Capture(RunApsides, Arguments({"2025", "2025"}, -540));
    const CommandOutput json = Capture(RunApsides, JsonArguments({"2025", "2025"}, -540));
    std::istringstream textLines(text.out);
    std::istringstream jsonLines(json.out);
    std::string t;
    std::string j;
    int lines = 0;
    while (std::getline(textLines, t) && std::getline(jsonLines, j)) {
        const nlohmann::json line = nlohmann::json::parse(j);
        const std::string local = line["local"];
        const std::string kind = line["kind"] == "perigee" ? u8"近地点" : u8"遠地点";
        EXPECT_EQ(t, local.substr(0, 10) + "\t" + local.substr(11, 8) + "\t" + kind + "\t" +
                         std::to_string(line["distanceKm"].get<long>()));
        EXPECT_EQ(local.substr(19), "+09:00");
        ++lines;
    }
    EXPECT_GE(lines, 26);
    EXPECT_FALSE(std::getline(textLines, t) || std::getline(jsonLines, j));
}

// The full Moon of 2025-11-05 is the year's nearest in Japan (356,980 km as published).
TEST(Phases, JsonCarriesTheDistanceAndTheYearsNearest) {
    const CommandOutput result =
        Capture(RunPhases, JsonArguments({"2025-11-05", "2025-11-05"}, -540));
    const nlohmann::json line = nlohmann::json::parse(result.out);
    EXPECT_EQ(line["angle"], 180);
    EXPECT_NEAR(line["distanceKm"].get<long>(), 356980, 5);
    EXPECT_EQ(line["nearestOfYear"], true);
    EXPECT_EQ(line["farthestOfYear"], false);
}

}  // namespace
