#include "presentation/holiday_lines.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The literals are Shift_JIS in the binary, as the program's own texts: a double-byte character
// is two bytes, two cells of the fixed-pitch font, so equal byte counts make aligned columns.
struct RuleCase {
    const char* name;
    int32_t kind;
    int32_t rule;
    uint16_t month;
    uint16_t day;
    uint16_t week;
    uint16_t weekday;
    const char* columns;  // mark, month and day: 17 bytes in every variant
};

static const RuleCase kRules[] = {
    {        "HolidayOnDate",      DayOff,    ByDate, 5,  3, 0, 0,     "休 05月03日      "},
    {"AnniversaryEveryMonth", Anniversary,    ByDate, 0, 25, 0, 0,    "記 毎月25日      "},
    {     "EveryWeekOfMonth", Anniversary, ByWeekday, 7,  0, 0, 3, "記 07月毎週水曜日"},
    {    "NthWeekEveryMonth",      DayOff, ByWeekday, 0,  0, 2, 1, "休 毎月第2月曜日 "},
};

class HolidayLineRule : public testing::TestWithParam<RuleCase> {};

TEST_P(HolidayLineRule, AlignsEveryVariant) {
    const RuleCase& c = GetParam();
    CustomHoliday r = {c.kind, 2005, 2100, c.rule, c.month, c.day, c.week, c.weekday, 0.0, "ABC"};
    char line[kHolidayLineSize];
    EXPECT_EQ(std::string(FormatCustomHolidayLine(r, line)),
              std::string(c.columns) + " 2005-2100 ABC             ");
    EXPECT_EQ(strlen(line), 44u);
}

INSTANTIATE_TEST_SUITE_P(Rules, HolidayLineRule, testing::ValuesIn(kRules),
                         [](const testing::TestParamInfo<RuleCase>& info) {
                             return std::string(info.param.name);
                         });

struct NameCase {
    const char* name;
    const char* field;  // the record's 24 bytes, unterminated when all are used
    const char* shown;  // the line from byte 28 on
};

// A damaged file may hold a name without terminator: it is shown as far as its field goes, in
// whole characters. Trail bytes 0x5C (表, ソ) stay part of their characters.
static const NameCase kNames[] = {
    {       "SixteenBytes",    "創立記念日の休み", "創立記念日の休み"},
    { "TrailByteBackslash",                      "表ソ",       "表ソ            "},
    {  "UnterminatedField",    "ABCDEFGHIJKLMNOPQRSTUVWX", "ABCDEFGHIJKLMNOPQRSTUVWX"},
    {"FieldEndsInLeadByte", "ABCDEFGHIJKLMNOPQRSTUVW\x95",  "ABCDEFGHIJKLMNOPQRSTUVW"},
};

class HolidayLineName : public testing::TestWithParam<NameCase> {};

TEST_P(HolidayLineName, StaysWithinTheField) {
    CustomHoliday r = {DayOff, 2005, 2100, ByDate, 5, 3, 0, 0, 0.0, ""};
    memcpy(r.name, GetParam().field, strnlen(GetParam().field, sizeof r.name));
    char line[kHolidayLineSize];
    EXPECT_EQ(std::string(FormatCustomHolidayLine(r, line) + 28), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Names, HolidayLineName, testing::ValuesIn(kNames),
                         [](const testing::TestParamInfo<NameCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
