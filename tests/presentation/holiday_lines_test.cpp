#include "presentation/holiday_lines.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

CustomHoliday Record(int32_t kind, int32_t rule, uint16_t month, uint16_t day, uint16_t week,
                     uint16_t weekday, uint16_t firstYear, uint16_t lastYear, const char* name) {
    CustomHoliday r = {};
    r.kind = kind;
    r.rule = rule;
    r.month = month;
    r.day = day;
    r.week = week;
    r.weekday = weekday;
    r.firstYear = firstYear;
    r.lastYear = lastYear;
    memcpy(r.name, name, strnlen(name, sizeof r.name));
    return r;
}

struct LineCase {
    const char* name;
    CustomHoliday record;
    const char* line;
};

// The literals are Shift_JIS in the binary, as the program's own texts: each double-byte
// character is two bytes, two cells of the fixed-pitch font.
static const LineCase kLines[] = {
    {                 "HolidayOnDate",Record(DayOff,    ByDate,  5,  3, 0, 0, 2005, 2100,                         "ABC"),
     "休 05月03日       2005-2100 ABC             "            },
    {         "AnniversaryEveryMonth", Record(Anniversary,    ByDate,  0, 25, 0, 0, 1900, 2100,                   "給料日"),
     "記 毎月25日       1900-2100 給料日          "        },
    {           "EveryWeekdayOfMonth", Record(Anniversary, ByWeekday,  7,  0, 0, 3, 2020, 2020,                      "水泳"),
     "記 07月毎週水曜日 2020-2020 水泳            "      },
    {          "NthWeekdayEveryMonth",      Record(DayOff, ByWeekday,  0,  0, 2, 1, 2001, 2003,    "創立記念日の休み"),
     "休 毎月第2月曜日  2001-2003 創立記念日の休み"},
    {                 "FifthSaturday",      Record(DayOff, ByWeekday, 12,  0, 5, 6, 1999, 2000,                           "x"),
     "休 12月第5土曜日  1999-2000 x               "         },
    { "OtherKindShowsAnniversaryMark",     Record(NoEntry,    ByDate,  1,  1, 0, 0, 1900, 1900,                            ""),
     "記 01月01日       1900-1900                 "            },
 // Trail bytes 0x5C stay part of their characters.
    {            "TrailByteBackslash",      Record(DayOff,    ByDate,  9,  9, 0, 0, 2010, 2011,                   "表ソ能"),
     "休 09月09日       2010-2011 表ソ能          "         },
 // From a damaged file: a name filling its whole field without a terminator is shown whole,
  // one cut inside a double-byte character loses the half, a weekday past 6 shows ？.
    {              "UnterminatedName",      Record(DayOff,    ByDate,  1,  2, 0, 0, 2000, 2000,    "ABCDEFGHIJKLMNOPQRSTUVWX"),
     "休 01月02日       2000-2000 ABCDEFGHIJKLMNOPQRSTUVWX"    },
    {"UnterminatedNameEndsInLeadByte",
     Record(DayOff,    ByDate,  1,  2, 0, 0, 2000, 2000, "ABCDEFGHIJKLMNOPQRSTUVW\x95"),
     "休 01月02日       2000-2000 ABCDEFGHIJKLMNOPQRSTUVW"     },
    {             "WeekdayOutOfRange",      Record(DayOff, ByWeekday,  1,  0, 1, 9, 2000, 2000,                           "z"),
     "休 01月第1？曜日  2000-2000 z               "         },
};

class FormatCustomHolidayLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(FormatCustomHolidayLineTest, WritesTheColumns) {
    const LineCase& c = GetParam();
    char line[kHolidayLineSize];
    memset(line, 'Z', sizeof line);
    EXPECT_EQ(std::string(FormatCustomHolidayLine(c.record, line)), c.line);
}

// Every column starts at the same byte, so the lines of names up to 16 bytes are 44 bytes long
// and the years sit at bytes 18..26.
TEST_P(FormatCustomHolidayLineTest, KeepsTheColumnsAligned) {
    const LineCase& c = GetParam();
    char line[kHolidayLineSize];
    FormatCustomHolidayLine(c.record, line);
    char years[16];
    snprintf(years, sizeof years, " %04u-%04u ", static_cast<unsigned>(c.record.firstYear),
             static_cast<unsigned>(c.record.lastYear));
    EXPECT_EQ(std::string(line + 17, 11), years);
    if (strnlen(c.record.name, sizeof c.record.name) <= 16) {
        EXPECT_EQ(strlen(line), 44u);
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, FormatCustomHolidayLineTest, testing::ValuesIn(kLines),
                         [](const testing::TestParamInfo<LineCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
