#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "tests/cli/cli_test_support.h"

namespace fs = std::filesystem;

namespace {

struct IcsOption {
    const char* name;
    const char* value;
};

CliArguments IcsArguments(const char* from, const char* to, std::vector<IcsOption> options,
                          int32_t bias = -540, int32_t biasGiven = 1) {
    CliArguments args = Arguments({from, to}, bias);
    args.biasGiven = biasGiven;
    for (const IcsOption& option : options) {
        args.options[args.optionCount++] = {option.name, option.value};
    }
    return args;
}

// The values of every line "NAME:value" (or "NAME;params:value") of an unfolded export.
std::vector<std::string> Values(const std::string& ics, const std::string& name) {
    std::vector<std::string> values;
    size_t start = 0;
    for (size_t end; (end = ics.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = ics.substr(start, end - start);
        if (line.compare(0, name.size(), name) == 0 &&
            (line[name.size()] == ':' || line[name.size()] == ';')) {
            values.push_back(line.substr(line.find(':') + 1));
        }
    }
    return values;
}

class IcsFile : public testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; !fs::create_directory(dir_); ++i) {
            dir_ = fs::temp_directory_path() / ("nocturo-ics-" + std::to_string(i));
        }
        path_ = (dir_ / "nocturo.ics").string();
    }
    void TearDown() override {
        fs::remove_all(dir_);
    }
    std::string Read() {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path dir_ = fs::temp_directory_path() / "nocturo-ics";
    std::string path_;
};

struct BadInput {
    const char* name;
    const char* from;
    const char* to;
    const char* only;    // null: not given
    const char* custom;  // null: not given
};

class IcsBadInput : public IcsFile, public testing::WithParamInterface<BadInput> {};

TEST_P(IcsBadInput, ExitsWith2AndLeavesNoFile) {
    const BadInput& c = GetParam();
    std::vector<IcsOption> options = {
        {"-o", path_.c_str()}
    };
    if (c.only) {
        options.push_back({"--only", c.only});
    }
    if (c.custom) {
        options.push_back({"--custom", c.custom});
    }
    const CommandOutput result = Capture(RunIcs, IcsArguments(c.from, c.to, options));
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("usage:"), std::string::npos);
    EXPECT_FALSE(fs::exists(path_));
    EXPECT_FALSE(fs::exists(path_ + ".tmp"));
}

static const BadInput kBadInputs[] = {
    {   "ReversedYears",       "2021",       "2019",          nullptr,                    nullptr},
    {   "ReversedDates", "2019-05-02", "2019-05-01",          nullptr,                    nullptr},
    {  "YearBefore1900",       "1899",       "1900",          nullptr,                    nullptr},
    {   "YearAfter2100",       "2100",       "2101",          nullptr,                    nullptr},
    {      "NoSuchDate", "2019-02-29",       "2019",          nullptr,                    nullptr},
    {  "ThreeDigitYear",        "201",       "2019",          nullptr,                    nullptr},
    {     "UnknownKind",       "2019",       "2019", "holidays,moons",                    nullptr},
    {       "EmptyKind",       "2019",       "2019",      "holidays,",                    nullptr},
    {      "KindPrefix",       "2019",       "2019",            "hol",                    nullptr},
    {"UnreadableCustom",       "2019",       "2019",          nullptr, "/nonexistent/nocturo.dat"},
};

INSTANTIATE_TEST_SUITE_P(Ics, IcsBadInput, testing::ValuesIn(kBadInputs),
                         [](const testing::TestParamInfo<BadInput>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(IcsFile, OutputFileHoldsTheStandardOutputBytes) {
    const CommandOutput printed = Capture(RunIcs, IcsArguments("2020-07-20", "2020-08-12", {}));
    ASSERT_EQ(printed.status, 0);
    const CommandOutput written = Capture(RunIcs, IcsArguments("2020-07-20", "2020-08-12",
                                                               {
                                                                   {"-o", path_.c_str()}
    }));
    ASSERT_EQ(written.status, 0);
    EXPECT_EQ(written.out, "");
    std::string file = Read();
    EXPECT_NE(file.find("END:VCALENDAR\r\n"), std::string::npos);
    // Every line ends CRLF: no LF without its CR.
    for (size_t i = file.find('\n'); i != std::string::npos; i = file.find('\n', i + 1)) {
        ASSERT_EQ(file[i - 1], '\r') << "at octet " << i;
    }
    file.erase(std::remove(file.begin(), file.end(), '\r'), file.end());
    // DTSTAMP is the clock's without SOURCE_DATE_EPOCH; the two runs may straddle a second.
    const std::vector<std::string> stamps = Values(file, "DTSTAMP");
    ASSERT_FALSE(stamps.empty());
    std::string expected = printed.out;
    for (size_t i = 0; (i = expected.find("DTSTAMP:", i)) != std::string::npos; i += 8) {
        expected.replace(i + 8, stamps[0].size(), stamps[0]);
    }
    EXPECT_EQ(file, expected);
}

TEST(Ics, DatesAreJapansUnlessBiasIsGiven) {
    // 立春 fell at 02:42 on 4 February 2005 in Japan, still 3 February in UTC. The core keeps the
    // solar terms of one year whatever the zone, so each case first has another year computed.
    const std::vector<IcsOption> terms = {
        {"--only", "terms"}
    };
    for (const int32_t biasGiven : {0, 1}) {
        Capture(RunIcs, IcsArguments("2004-06-01", "2004-06-01", terms, 0, biasGiven));
        const CommandOutput result =
            Capture(RunIcs, IcsArguments("2005-02-03", "2005-02-04", terms, 0, biasGiven));
        EXPECT_EQ(Values(result.out, "DTSTART"),
                  std::vector<std::string>{biasGiven ? "20050203" : "20050204"});
    }
}

TEST(Ics, KindsSelectEvents) {
    struct Selection {
        const char* only;
        const char* categories;  // UTF-8, in order of appearance, without repeats
    };
    static const Selection kSelections[] = {
        {      "holidays",                 u8"祝日"},
        {        "phases",                 u8"月相"},
        {"terms,holidays", u8"祝日 二十四節気"},
        {        "custom",                         ""}, // no file given: no custom days
    };
    for (const Selection& s : kSelections) {
        const CommandOutput result = Capture(RunIcs, IcsArguments("2019-03-21", "2019-03-21",
                                                                  {
                                                                      {"--only", s.only}
        }));
        ASSERT_EQ(result.status, 0) << s.only;
        std::string seen;
        for (const std::string& category : Values(result.out, "CATEGORIES")) {
            if (seen.find(category) == std::string::npos) {
                seen += (seen.empty() ? "" : " ") + category;
            }
        }
        EXPECT_EQ(seen, s.categories) << s.only;
    }
}

}  // namespace
