#include <gtest/gtest.h>

#include <string>

#include "cli/commands.h"
#include "tests/cli/cli_test_support.h"

namespace {

struct RemindCase {
    const char* label;
    const char* date;
    const char* days;  // --days, or null
    const char* only;  // --only, or null
    int status;
    const char* output;  // stdout (UTF-8), or the start of stderr when status is 2
};
// 2026-12-31 in Japan: New Year's Day tomorrow; 2027-01-02, nothing chosen by default.
static const RemindCase kCases[] = {
    {    "Tomorrow", "2026-12-31", nullptr,    nullptr, 0,        u8"明日は元日\n明日  元日\n"},
    {     "Nothing", "2027-01-02",     "0",    nullptr, 0,                                           ""},
    {"OnlyFullMoon", "2026-12-31", nullptr, "fullmoon", 0,                                           ""},
    {     "BadKind", "2026-12-31", nullptr,     "moon", 2, "nocturo-cli: unknown kind in '--only moon'"},
    { "DaysTooMany", "2026-12-31",     "8",    nullptr, 2,         "nocturo-cli: --days '8' is outside"},
};

class RunRemindCases : public testing::TestWithParam<RemindCase> {};
TEST_P(RunRemindCases, PrintOrRefuse) {
    const RemindCase& c = GetParam();
    CliArguments args = Arguments({}, -540);
    args.options[args.optionCount++] = {"--date", c.date};
    if (c.days) {
        args.options[args.optionCount++] = {"--days", c.days};
    }
    if (c.only) {
        args.options[args.optionCount++] = {"--only", c.only};
    }
    const CommandOutput result = Capture(RunRemind, args);
    EXPECT_EQ(result.status, c.status);
    if (c.status == 0) {
        EXPECT_EQ(result.out, c.output);
    } else {
        EXPECT_EQ(result.err.rfind(c.output, 0), 0u) << result.err;
    }
}
INSTANTIATE_TEST_SUITE_P(Cases, RunRemindCases, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
