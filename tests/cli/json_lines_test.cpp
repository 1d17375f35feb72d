#include "cli/json_lines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "calendar/almanac_notes.h"
#include "cli/commands.h"
#include "tests/cli/cli_test_support.h"

namespace {

using Json = nlohmann::ordered_json;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

CliArguments WithFlags(CliArguments args, std::initializer_list<const char*> flags) {
    for (const char* flag : flags) {
        args.options[args.optionCount++] = {flag, nullptr};
    }
    return args;
}

std::string Six(const Json& number) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", number.get<double>());
    return text;
}

// Each JSON line carries exactly the facts of the text line of the same day, over a stretch with
// holidays, terms, seasonal days, a leap month (2023-03-22) and every kind of note.
TEST(JsonLines, DaysCarryTheFactsOfTheTextLines) {
    const CliArguments args = Arguments({"2023-03-01", "2023-04-30"}, -540);
    const CommandOutput text = Capture(RunDays, WithFlags(args, {"--notes"}));
    const CommandOutput json = Capture(RunDays, WithFlags(args, {"--notes", "--json"}));
    ASSERT_EQ(text.status, 0);
    ASSERT_EQ(json.status, 0);
    const std::vector<std::string> rows = Lines(text.out);
    const std::vector<std::string> objects = Lines(json.out);
    ASSERT_EQ(rows.size(), 61u);
    ASSERT_EQ(objects.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const Json day = Json::parse(objects[i]);
        const Json& lunar = day["lunar"];
        const std::string rebuilt =
            day["date"].get<std::string>() + "\t" + std::to_string(day["weekday"].get<int>()) +
            "\t" + std::to_string(lunar["month"].get<int>()) + "\t" +
            std::to_string(lunar["day"].get<int>()) + "\t" +
            (lunar["leap"].get<bool>() ? "1" : "0") + "\t" + day["rokuyo"].get<std::string>() +
            "\t" + day["daySign"].get<std::string>() + "\t" + day["tide"].get<std::string>() +
            "\t" + std::to_string(day["holidayKind"].get<int>()) + "\t" +
            day["holiday"].get<std::string>() + "\t" + day["solarTerm"].get<std::string>() + "\t" +
            day["seasonal1"].get<std::string>() + "\t" + day["seasonal2"].get<std::string>() +
            "\t" + day["phase"].get<std::string>() + "\t" + Six(day["phaseAngle"]) + "\t" +
            Six(day["moonAge"]) + "\t" + day["notes"].get<std::string>() + "\t" +
            day["kou"].get<std::string>();
        EXPECT_EQ(rebuilt, rows[i]);
    }
}

TEST(JsonLines, TermsGiveLocalAndUniversalInstantsToTheSecond) {
    const CommandOutput result =
        Capture(RunTerms, WithFlags(Arguments({"2005"}, -540), {"--json"}));
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 24u);
    const Json risshun = Json::parse(lines[2]);
    EXPECT_EQ(risshun["local"].get<std::string>().substr(0, 16), "2005-02-04T02:42");
    EXPECT_EQ(risshun["local"].get<std::string>().substr(19), "+09:00");
    EXPECT_EQ(risshun["utc"].get<std::string>().substr(0, 17), "2005-02-03T17:42:");
    EXPECT_EQ(risshun["utc"].get<std::string>().substr(17),
              risshun["local"].get<std::string>().substr(17, 2) + "Z");
}

TEST(JsonLines, MonthIsTheFortyTwoCells) {
    const CommandOutput result =
        Capture(RunMonth, WithFlags(Arguments({"2024-03"}, -540), {"--json"}));
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 42u);
    int inside = 0;
    for (const std::string& line : lines) {
        inside += Json::parse(line)["outside"].get<bool>() ? 0 : 1;
    }
    EXPECT_EQ(inside, 31);
    EXPECT_EQ(Json::parse(lines[0])["date"], "2024-02-25");
}

// Monday first: the weeks of March 2024 (1st a Friday) start on 26 February.
TEST(JsonLines, MonthWeeksStartOnMondayWhenAsked) {
    CliArguments args = WithFlags(Arguments({"2024-03"}, -540), {"--json"});
    args.options[args.optionCount++] = {"--week-start", "mon"};
    const std::vector<std::string> lines = Lines(Capture(RunMonth, args).out);
    ASSERT_EQ(lines.size(), 42u);
    EXPECT_EQ(Json::parse(lines[0])["date"], "2024-02-26");
    EXPECT_EQ(Json::parse(lines[6])["weekday"], 0);
    args.options[args.optionCount - 1].value = "tue";
    EXPECT_EQ(Capture(RunMonth, args).status, 2);
}

TEST(JsonLines, TodayHasTheTooltipsFactsAndTheNotes) {
    const CommandOutput result =
        Capture(RunToday, WithFlags(ArgumentsAt("2024-03-15T03:00:00Z", -540), {"--json"}));
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 1u);
    const Json today = Json::parse(lines[0]);
    EXPECT_EQ(today["date"], "2024-03-15");
    EXPECT_EQ(today["era"], Utf8Text("令和6年"));
    EXPECT_EQ(today["instant"], "2024-03-15T03:00:00Z");
    EXPECT_EQ(today["kou"].get<std::string>(), KouName(8));
    const std::string notes = today["notes"];
    EXPECT_EQ(notes.rfind(Utf8Text("天赦日・一粒万倍日"), 0), 0u) << notes;
    EXPECT_NE(today["calendarTooltip"].get<std::string>().find(notes), std::string::npos);
    EXPECT_EQ(today["moonTooltip"].get<std::string>().find(Utf8Text("月齢")), 0u);
}

TEST(JsonLines, MoonInstantsCarryTheirOffset) {
    const CommandOutput moon =
        Capture(RunMoon, WithFlags(ArgumentsAt("2005-01-01T00:00:00Z", -540), {"--json"}));
    const Json figures = Json::parse(moon.out);
    EXPECT_EQ(figures["newMoon"]["local"], "2004-12-12T10:29+09:00");
    EXPECT_EQ(figures["newMoon"]["utc"].get<std::string>().substr(0, 16), "2004-12-12T01:29");
}

}  // namespace
