#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "astro/time_zone.h"
#include "cli/commands.h"

namespace {

// A command that records what the dispatcher handed it.
struct Recorded {
    int calls;
    CliArguments args;
};

Recorded recorded;

int RecordArguments(const CliArguments& args) {
    ++recorded.calls;
    recorded.args = args;
    return 7;
}

// clang-format off
const CliCommand kTestCommands[] = {
    {"probe", "[--at X] [--all] A [B]", "records its arguments", {"--at"}, {"--all"}, 1, 2, RecordArguments},
};
// clang-format on

struct RunResult {
    int status;
    std::string firstErrorLine;
    std::string errorText;
};

// Runs a command line against the test table with stderr captured.
RunResult RunProbe(const std::vector<const char*>& words) {
    std::vector<const char*> argv = {"nocturo-cli"};
    argv.insert(argv.end(), words.begin(), words.end());
    recorded = Recorded{};
    testing::internal::CaptureStderr();
    const int status = RunCommandLine(static_cast<int>(argv.size()), argv.data(), kTestCommands, 1);
    std::fflush(stderr);
    const std::string err = testing::internal::GetCapturedStderr();
    ClearTimeZoneBiasOverride();
    return {status, err.substr(0, err.find('\n')), err};
}

TEST(RunCommandLine, HandsArgumentsAndOptionsToTheCommand) {
    const RunResult result = RunProbe({"probe", "--all", "one", "--at", "x1", "two"});
    EXPECT_EQ(result.status, 7);
    ASSERT_EQ(recorded.calls, 1);
    ASSERT_EQ(recorded.args.argumentCount, 2);
    EXPECT_STREQ(recorded.args.arguments[0], "one");
    EXPECT_STREQ(recorded.args.arguments[1], "two");
    EXPECT_STREQ(OptionValue(recorded.args, "--at"), "x1");
    EXPECT_TRUE(HasOption(recorded.args, "--all"));
    EXPECT_EQ(OptionValue(recorded.args, "--all"), nullptr);
    EXPECT_FALSE(HasOption(recorded.args, "--bias"));
}

TEST(RunCommandLine, AcceptsNameEqualsValue) {
    EXPECT_EQ(RunProbe({"probe", "--at=x2", "one"}).status, 7);
    EXPECT_STREQ(OptionValue(recorded.args, "--at"), "x2");
}

// "NAME=" gives the empty value, which is not a missing one; a single-dash option takes "=" too.
TEST(RunCommandLine, EmptyValueAfterEquals) {
    EXPECT_EQ(RunProbe({"probe", "--at=", "one"}).status, 7);
    EXPECT_STREQ(OptionValue(recorded.args, "--at"), "");
    EXPECT_EQ(recorded.args.argumentCount, 1);
}

TEST(RunCommandLine, VersionFromTheBuild) {
    testing::internal::CaptureStdout();
    std::vector<const char*> argv = {"nocturo-cli", "--version"};
    EXPECT_EQ(RunCommandLine(2, argv.data(), kTestCommands, 1), 0);
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "nocturo-cli " NOCTURO_VERSION "\n");
}

TEST(RunCommandLine, BiasIsAppliedToTheWholeProcess) {
    const int32_t system = TimeZoneBias();
    recorded = Recorded{};
    std::vector<const char*> argv = {"nocturo-cli", "probe", "a", "--bias", "-540"};
    EXPECT_EQ(RunCommandLine(5, argv.data(), kTestCommands, 1), 7);
    EXPECT_EQ(recorded.args.bias, -540);
    EXPECT_EQ(TimeZoneBias(), -540);
    ClearTimeZoneBiasOverride();
    EXPECT_EQ(RunProbe({"probe", "a", "--bias=90"}).status, 7);
    EXPECT_EQ(recorded.args.bias, 90);
    EXPECT_EQ(RunProbe({"probe", "a"}).status, 7);
    EXPECT_EQ(recorded.args.bias, system);
}

TEST(RunCommandLine, HelpGoesToStdoutWithStatusZero) {
    recorded = Recorded{};
    testing::internal::CaptureStdout();
    std::vector<const char*> argv = {"nocturo-cli", "probe", "--help"};
    EXPECT_EQ(RunCommandLine(3, argv.data(), kTestCommands, 1), 0);
    std::fflush(stdout);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("usage: nocturo-cli"), std::string::npos);
    EXPECT_NE(out.find("probe [--at X] [--all] A [B]"), std::string::npos);
    EXPECT_EQ(recorded.calls, 0);
}

struct BadLine {
    const char* name;
    std::vector<const char*> words;
    const char* message;
};

const BadLine kBadLines[] = {
    {       "NoCommand",     {},"nocturo-cli: no command given"                                                        },
    {  "UnknownCommand",                       {"frob"},              "nocturo-cli: unknown command 'frob'"},
    {   "UnknownOption",       {"probe", "a", "--frob"}, "nocturo-cli: unknown option '--frob' for 'probe'"},
    {     "ShortOption",           {"probe", "a", "-x"},     "nocturo-cli: unknown option '-x' for 'probe'"},
    {    "MissingValue",         {"probe", "a", "--at"},         "nocturo-cli: option '--at' needs a value"},
    {   "FlagWithValue",      {"probe", "a", "--all=1"},       "nocturo-cli: option '--all' takes no value"},
    {     "OptionTwice",
     {"probe", "a", "--at", "1", "--at=2"},
     "nocturo-cli: option '--at' given twice"                                                              },
    {       "BiasTwice",
     {"probe", "a", "--bias", "1", "--bias", "2"},
     "nocturo-cli: option '--bias' given twice"                                                            },
    { "TooFewArguments",                      {"probe"},       "nocturo-cli: too few arguments for 'probe'"},
    {"TooManyArguments",       {"probe", "a", "b", "c"},      "nocturo-cli: too many arguments for 'probe'"},
    {   "MalformedBias", {"probe", "a", "--bias", "9h"},                 "nocturo-cli: malformed bias '9h'"},
    {  "BiasOutOfRange",
     {"probe", "a", "--bias", "-1441"},
     "nocturo-cli: bias '-1441' is outside -1440 to 1440 minutes"                                          },
    {      "DoubleDash",           {"probe", "a", "--"},     "nocturo-cli: unknown option '--' for 'probe'"},
    {    "FlagWithTrue",   {"probe", "a", "--all=true"},       "nocturo-cli: option '--all' takes no value"},
    { "VersionWithMore",
     {"--version", "probe"},
     "nocturo-cli: option '--version' takes no arguments"                                                  },
    {        "HugeBias",
     {"probe", "a", "--bias", "123456789012345678901"},
     "nocturo-cli: bias '123456789012345678901' is outside -1440 to 1440 minutes"                          },
};

class BadLines : public testing::TestWithParam<BadLine> {};

TEST_P(BadLines, PrintOneLineAndExitWith2) {
    const BadLine& bad = GetParam();
    const RunResult result = RunProbe(bad.words);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(recorded.calls, 0);
    EXPECT_EQ(result.firstErrorLine, bad.message);
    EXPECT_NE(result.errorText.find("usage: nocturo-cli"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(RunCommandLine, BadLines, testing::ValuesIn(kBadLines),
                         [](const testing::TestParamInfo<BadLine>& info) {
                             return std::string(info.param.name);
                         });

struct DateCase {
    const char* text;
    CliParse result;
};

const DateCase kDates[] = {
    { "2005-01-01",     CliParsed},
    { "2004-02-29",     CliParsed},
    { "1900-01-01",     CliParsed},
    { "2100-12-31",     CliParsed},
    { "2005-02-29",  CliMalformed},
    { "1900-02-29",  CliMalformed},
    { "2005-04-31",  CliMalformed},
    { "2005-13-01",  CliMalformed},
    { "2005-00-10",  CliMalformed},
    { "2005-01-00",  CliMalformed},
    {  "2005-1-01",  CliMalformed},
    {   "20050101",  CliMalformed},
    { "2005/01/01",  CliMalformed},
    {"2005-01-01 ",  CliMalformed},
    { "+005-01-01",  CliMalformed},
    {           "",  CliMalformed},
    { "1899-12-31", CliOutOfRange},
    { "2101-01-01", CliOutOfRange},
    { "0000-01-01", CliOutOfRange},
};

class Dates : public testing::TestWithParam<DateCase> {};

TEST_P(Dates, ParseStrictly) {
    SYSTEMTIME t;
    EXPECT_EQ(ParseDate(GetParam().text, &t), GetParam().result) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(ParseDate, Dates, testing::ValuesIn(kDates));

const DateCase kInstants[] = {
    { "2005-01-01T00:00:00Z",     CliParsed},
    { "2100-12-31T23:59:59Z",     CliParsed},
    { "2005-01-01T24:00:00Z",  CliMalformed},
    { "2005-01-01T23:60:00Z",  CliMalformed},
    { "2005-01-01T23:59:60Z",  CliMalformed},
    {  "2005-01-01T00:00:00",  CliMalformed},
    { "2005-01-01 00:00:00Z",  CliMalformed},
    {  "2005-01-01T0:00:00Z",  CliMalformed},
    { "2005-02-30T00:00:00Z",  CliMalformed},
    {"2005-01-01T00:00:00Zx",  CliMalformed},
    { "1800-01-01T00:00:00Z", CliOutOfRange},
};

class Instants : public testing::TestWithParam<DateCase> {};

TEST_P(Instants, ParseStrictly) {
    SYSTEMTIME t;
    EXPECT_EQ(ParseUtcInstant(GetParam().text, &t), GetParam().result) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(ParseUtcInstant, Instants, testing::ValuesIn(kInstants));

TEST(ParseUtcInstant, FillsEveryFieldAndTheWeekday) {
    SYSTEMTIME t;
    ASSERT_EQ(ParseUtcInstant("2005-02-08T14:59:07Z", &t), CliParsed);
    EXPECT_EQ(t.wYear, 2005);
    EXPECT_EQ(t.wMonth, 2);
    EXPECT_EQ(t.wDay, 8);
    EXPECT_EQ(t.wHour, 14);
    EXPECT_EQ(t.wMinute, 59);
    EXPECT_EQ(t.wSecond, 7);
    EXPECT_EQ(t.wDayOfWeek, 2);
    ASSERT_EQ(ParseDate("2005-01-01", &t), CliParsed);
    EXPECT_EQ(t.wDay, 1);
    EXPECT_EQ(t.wDayOfWeek, 6);
    EXPECT_EQ(t.wHour, 0);
}

TEST(ParseYearMonth, AndParseYear) {
    SYSTEMTIME t;
    EXPECT_EQ(ParseYearMonth("2005-02", &t), CliParsed);
    EXPECT_EQ(t.wMonth, 2);
    EXPECT_EQ(t.wDay, 1);
    EXPECT_EQ(ParseYearMonth("2005-13", &t), CliMalformed);
    EXPECT_EQ(ParseYearMonth("2005-2", &t), CliMalformed);
    EXPECT_EQ(ParseYearMonth("2101-01", &t), CliOutOfRange);
    uint16_t year = 0;
    EXPECT_EQ(ParseYear("2005", &year), CliParsed);
    EXPECT_EQ(year, 2005);
    EXPECT_EQ(ParseYear("1899", &year), CliOutOfRange);
    EXPECT_EQ(ParseYear("20a5", &year), CliMalformed);
    EXPECT_EQ(ParseYear("12005", &year), CliMalformed);
}

TEST(ParseInteger, SignsDigitsAndRange) {
    long value = 0;
    EXPECT_EQ(ParseInteger("-540", -1440, 1440, &value), CliParsed);
    EXPECT_EQ(value, -540);
    EXPECT_EQ(ParseInteger("+60", -1440, 1440, &value), CliParsed);
    EXPECT_EQ(value, 60);
    EXPECT_EQ(ParseInteger("0", -1440, 1440, &value), CliParsed);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(ParseInteger("1441", -1440, 1440, &value), CliOutOfRange);
    EXPECT_EQ(ParseInteger("-1441", -1440, 1440, &value), CliOutOfRange);
    EXPECT_EQ(ParseInteger("99999999999999999999", -1440, 1440, &value), CliOutOfRange);
    EXPECT_EQ(ParseInteger("", -1440, 1440, &value), CliMalformed);
    EXPECT_EQ(ParseInteger("-", -1440, 1440, &value), CliMalformed);
    EXPECT_EQ(ParseInteger("--5", -1440, 1440, &value), CliMalformed);
    EXPECT_EQ(ParseInteger("5x", -1440, 1440, &value), CliMalformed);
    EXPECT_EQ(ParseInteger(" 5", -1440, 1440, &value), CliMalformed);
}

TEST(FormatText, InstantsMinutesDatesAndZones) {
    SYSTEMTIME t = {};
    t.wYear = 2031;
    t.wMonth = 12;
    t.wDay = 20;
    t.wHour = 24;
    char text[32];
    EXPECT_STREQ(FormatInstantText(text, sizeof(text), t), "2031-12-20T24:00:00Z");
    t.wHour = 9;
    t.wMinute = 5;
    EXPECT_STREQ(FormatMinuteText(text, sizeof(text), t), "2031-12-20 09:05");
    EXPECT_STREQ(FormatDateText(text, sizeof(text), t), "2031-12-20");
    EXPECT_STREQ(FormatZoneText(text, sizeof(text), -540), "UTC+09:00");
    EXPECT_STREQ(FormatZoneText(text, sizeof(text), 0), "UTC+00:00");
    EXPECT_STREQ(FormatZoneText(text, sizeof(text), 330), "UTC-05:30");
    EXPECT_STREQ(FormatZoneText(text, sizeof(text), -345), "UTC+05:45");
    EXPECT_STREQ(FormatDateText(text, 5, t), "2031");
}

TEST(ShiftJisToUtf8, ConvertsTheProgramsTexts) {
    char text[64];
    // Literals are Shift_JIS in the program; u8 literals stay UTF-8.
    EXPECT_EQ(ShiftJisToUtf8("月齢：", text, sizeof(text)), 9u);
    EXPECT_STREQ(text, reinterpret_cast<const char*>(u8"月齢："));
    // Trail bytes 0x5C survive.
    ShiftJisToUtf8("ソ表能 ok", text, sizeof(text));
    EXPECT_STREQ(text, reinterpret_cast<const char*>(u8"ソ表能 ok"));
    EXPECT_EQ(ShiftJisToUtf8("", text, sizeof(text)), 0u);
    EXPECT_STREQ(text, "");
}

TEST(ShiftJisToUtf8, CutsOnlyBetweenCharacters) {
    char text[5];
    EXPECT_EQ(ShiftJisToUtf8("月齢", text, sizeof(text)), 3u);
    EXPECT_STREQ(text, reinterpret_cast<const char*>(u8"月"));
    EXPECT_EQ(ShiftJisToUtf8("abc", text, 0), 0u);
}

#if !defined(_WIN32)
TEST(ShiftJisToUtf8, LeadByteWithoutTrailBecomesAQuestionMark) {
    char text[16];
    ShiftJisToUtf8("A\x82", text, sizeof(text));
    EXPECT_STREQ(text, "A?");
}
#endif

TEST(PrintText, WritesUtf8) {
    PrepareStandardStreams();
    testing::internal::CaptureStdout();
    PrintText(stdout, "%s：%d\n", "月齢", 5);
    std::fflush(stdout);
    std::string out = testing::internal::GetCapturedStdout();
    out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
    EXPECT_EQ(out, reinterpret_cast<const char*>(u8"月齢：5\n"));
}

}  // namespace
