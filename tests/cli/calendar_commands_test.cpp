#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"
#include "calendar/holidays.h"
#include "calendar/month_model.h"
#include "cli/commands.h"
#include "tests/cli/cli_test_support.h"

namespace {

std::string Utf8(const char* text) {
    return reinterpret_cast<const char*>(text);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator)) {
        parts.push_back(part);
    }
    return parts;
}

std::string Utf8OfShiftJis(const char* sjis) {
    char text[256];
    ShiftJisToUtf8(sjis, text, sizeof text);
    return text;
}

TEST(Days, AccessionWeekOf2019) {
    const CommandOutput result = Capture(RunDays, Arguments({"2019-04-29", "2019-05-06"}, -540));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    const std::vector<std::string> lines = Split(result.out, '\n');
    ASSERT_EQ(lines.size(), 8u);
    struct Expected {
        const char* date;
        const char* kind;
        const char* name;
    };
    static const Expected kExpected[] = {
        {"2019-04-29", "0",          u8" 昭和の日"},
        {"2019-04-30", "1",        u8"国民の休日"},
        {"2019-05-01", "0", u8" 天皇の即位の日"},
        {"2019-05-02", "1",        u8"国民の休日"},
        {"2019-05-03", "0",       u8" 憲法記念日"},
        {"2019-05-04", "0",       u8" みどりの日"},
        {"2019-05-05", "0",       u8" こどもの日"},
        {"2019-05-06", "1",           u8"振替休日"},
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::vector<std::string> columns = Split(lines[i] + "\t", '\t');
        ASSERT_EQ(columns.size(), 16u) << lines[i];
        EXPECT_EQ(columns[0], kExpected[i].date);
        EXPECT_EQ(columns[8], kExpected[i].kind);
        EXPECT_EQ(columns[9], Utf8(kExpected[i].name));
    }
    // 2019-05-05 is the new-Moon day: lunar 4/1, principal phase exactly at angle 0.
    const std::vector<std::string> newMoon = Split(lines[6] + "\t", '\t');
    EXPECT_EQ(newMoon[2], "4");
    EXPECT_EQ(newMoon[3], "1");
    EXPECT_EQ(newMoon[13], Utf8(u8"新月"));
    EXPECT_EQ(newMoon[14], "0.000000");
    EXPECT_EQ(Split(lines[7] + "\t", '\t')[10], Utf8(u8"立夏"));
}

// Every row is the calendar window's cell of that day.
TEST(Days, RowsAreTheMonthModelsCells) {
    const CommandOutput result = Capture(RunDays, Arguments({"2004-12-26", "2005-02-05"}, -540));
    ASSERT_EQ(result.status, 0);
    const std::vector<std::string> lines = Split(result.out, '\n');
    ASSERT_EQ(lines.size(), 42u);
    SetTimeZoneBiasOverride(-540);
    ComputeMonthModel(2005, 1);
    const MonthModel& model = CurrentMonthModel();
    for (int i = 0; i < 42; ++i) {
        const MonthCell& cell = model.cells[i];
        const std::vector<std::string> columns = Split(lines[i] + "\t", '\t');
        ASSERT_EQ(columns.size(), 16u);
        char number[64];
        std::snprintf(number, sizeof number, "%.6f", cell.moonAge);
        EXPECT_EQ(columns[15], number) << lines[i];
        std::snprintf(number, sizeof number, "%.6f", cell.phaseAngle);
        EXPECT_EQ(columns[14], number) << lines[i];
        EXPECT_EQ(columns[1], std::to_string(cell.weekday));
        EXPECT_EQ(columns[3], std::to_string(cell.lunar.day));
        EXPECT_EQ(columns[8], std::to_string(cell.holidayKind));
        EXPECT_EQ(columns[9], Utf8OfShiftJis(cell.holidayName));
        EXPECT_EQ(columns[10], Utf8OfShiftJis(cell.solarTermName));
        EXPECT_EQ(columns[11], Utf8OfShiftJis(cell.seasonalName1));
        EXPECT_EQ(columns[12], Utf8OfShiftJis(cell.seasonalName2));
        EXPECT_EQ(columns[13], Utf8OfShiftJis(cell.phaseName));
    }
    ClearTimeZoneBiasOverride();
    InvalidateMonthModel();
}

// --notes: the selected days joined by "・" (empty when none) and the 候, after the 16 columns.
TEST(Days, NotesAddTwoColumns) {
    CliArguments args = Arguments({"2024-03-14", "2024-03-15"}, -540);
    args.options[args.optionCount++] = {"--notes", nullptr};
    const CommandOutput result = Capture(RunDays, args);
    const std::vector<std::string> lines = Split(result.out, '\n');
    ASSERT_EQ(lines.size(), 2u);
    const std::vector<std::string> plain = Split(lines[0], '\t');
    ASSERT_EQ(plain.size(), 18u);
    EXPECT_EQ(plain[16], "");
    EXPECT_EQ(plain[17], Utf8(u8"桃始笑"));
    const std::vector<std::string> busy = Split(lines[1], '\t');
    ASSERT_EQ(busy.size(), 18u);
    EXPECT_EQ(busy[16], Utf8(u8"天赦日・一粒万倍日・寅の日・三隣亡"));
    EXPECT_EQ(busy[17], Utf8(u8"菜虫化蝶"));
}

TEST(Days, ArgumentErrorsExitWith2) {
    // The dates share their parser with the phase listing.
    EXPECT_EQ(Capture(RunDays, Arguments({"2005-02-29", "2005-03-01"}, -540)).status, 2);
    CliArguments args = Arguments({"2005-01-01", "2005-01-01"}, -540);
    args.options[args.optionCount++] = {"--custom", "/nonexistent/nocturo.dat"};
    const CommandOutput missing = Capture(RunDays, args);
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("nocturo.dat"), std::string::npos);
}

TEST(Terms, TwentyFourInDateOrder2005) {
    const CommandOutput result = Capture(RunTerms, Arguments({"2005"}, -540));
    EXPECT_EQ(result.status, 0);
    const std::vector<std::string> lines = Split(result.out, '\n');
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[0], Utf8(u8"2005-01-05T15:02\t285\t小寒"));
    EXPECT_EQ(lines[2], Utf8(u8"2005-02-04T02:42\t315\t立春"));
    EXPECT_EQ(lines[5], Utf8(u8"2005-03-20T21:33\t0\t春分"));
    EXPECT_EQ(lines[11], Utf8(u8"2005-06-21T15:46\t90\t夏至"));
    EXPECT_EQ(lines[17], Utf8(u8"2005-09-23T07:23\t180\t秋分"));
    EXPECT_EQ(lines[23], Utf8(u8"2005-12-22T03:34\t270\t冬至"));
    EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));
}

TEST(Terms, YearOutsideTheRangeExitsWith2) {
    EXPECT_EQ(Capture(RunTerms, Arguments({"1899"}, -540)).status, 2);
    EXPECT_EQ(Capture(RunTerms, Arguments({"05"}, -540)).status, 2);
}

TEST(Today, NewYearsDay2000InJapan) {
    const CommandOutput result = Capture(RunToday, ArgumentsAt("2000-01-01T03:00:00Z", -540));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, Utf8(u8"月齢24.19 長潮\n2000年1月1日 大安 元日\n"
                               u8"七十二候 雪下出麦（ゆきわたりてむぎのびる）\n"));
}

TEST(Today, LocalDateFollowsTheBias) {
    // 15:00 UTC on 31 December 1999 is already 1 January in Japan, still 31 December in UTC.
    CliArguments args = ArgumentsAt("1999-12-31T15:00:00Z", -540);
    EXPECT_NE(Capture(RunToday, args).out.find(Utf8(u8"2000年1月1日")), std::string::npos);
    args.bias = 0;
    EXPECT_NE(Capture(RunToday, args).out.find(Utf8(u8"1999年12月31日")), std::string::npos);
}

TEST(Month, SixWeeksWithoutColoursWhenNotATerminal) {
    const CommandOutput result = Capture(RunMonth, Arguments({"2009-02"}, -540));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(result.out.find(Utf8(u8"2009年2月")), 0u);
    // Title, blank, weekday header, then six weeks of a blank line and four lines each.
    EXPECT_EQ(Split(result.out, '\n').size(), 3u + 6 * 5);
    EXPECT_NE(result.out.find(Utf8(u8"建国記念の日")), std::string::npos);
    EXPECT_EQ(Capture(RunMonth, Arguments({"2009-13"}, -540)).status, 2);
}

}  // namespace
