#include "presentation/holiday_editor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr int32_t kNone = -1;
constexpr HolidayEditorControl kValid = HolidayEditorControl::None;
constexpr HolidayEditorControl kReversed = HolidayEditorControl::FirstYear;
constexpr HolidayEditorControl kDays = HolidayEditorControl::DayList;
constexpr HolidayEditorControl kWeekdays = HolidayEditorControl::WeekdayList;

struct DateCase {
    const char* name;
    uint16_t firstYear;
    uint16_t lastYear;
    bool byDate;
    int32_t month;               // 0 = every month; kNone: no selection
    int32_t day;                 // 1..31; 0: no selection
    int32_t week;                // 0 = every week
    int32_t weekday;             // kNone: no selection
    HolidayEditorControl focus;  // kValid: accepted
};

// 29 February 2004 was a Sunday; December 2100 has five Wednesdays but four Mondays, and the fifth
// Monday would fall into January 2101.
static const DateCase kDates[] = {
    {             "Feb30NeverOccurs", 1900, 2100,  true,     2, 30, 0,     0,     kDays},
    {          "Feb29Refused2001To3", 2001, 2003,  true,     2, 29, 0,     0,     kDays},
    {         "Feb29Accepted2001To4", 2001, 2004,  true,     2, 29, 0,     0,    kValid},
    {           "Feb29RefusedIn2100", 2100, 2100,  true,     2, 29, 0,     0,     kDays},
    {          "Feb29AcceptedIn2000", 2000, 2000,  true,     2, 29, 0,     0,    kValid},
    {      "Day31EveryMonthAccepted", 2005, 2005,  true,     0, 31, 0,     0,    kValid},
    {               "April31Refused", 1900, 2100,  true,     4, 31, 0,     0,     kDays},
    {                  "NoDayChosen", 2005, 2010,  true,     5,  0, 0,     0,     kDays},
    {                "NoMonthChosen", 2005, 2005,  true, kNone,  1, 0,     0,     kDays},
    {         "FirstAfterLastByDate", 2010, 2005,  true,     5,  5, 0,     0, kReversed},
    {          "EveryWeekAnyWeekday", 2005, 2005, false,     2,  0, 0,     6,    kValid},
    {      "FirstAfterLastEveryWeek", 2010, 2005, false,     2,  0, 0,     6, kReversed},
    {    "FifthSundayFeb2005Refused", 2005, 2005, false,     2,  0, 5,     0, kWeekdays},
    {   "FifthSundayFeb2004Accepted", 2004, 2004, false,     2,  0, 5,     0,    kValid},
    {"FifthMondayDec2100PastYearEnd", 2100, 2100, false,    12,  0, 5,     1, kWeekdays},
    {"FifthWednesdayDec2100Accepted", 2100, 2100, false,    12,  0, 5,     3,    kValid},
    {          "FirstMondayAnyMonth", 1900, 1900, false,     0,  0, 1,     1,    kValid},
    {              "NoWeekdayChosen", 2005, 2005, false,     3,  0, 2, kNone, kWeekdays},
    {     "EveryWeekNoWeekdayChosen", 2005, 2005, false,     3,  0, 0, kNone, kWeekdays},
};

HolidayDateChoice ChoiceOf(const DateCase& c) {
    return {c.firstYear, c.lastYear, c.byDate, c.month, c.day - 1, c.week, c.weekday};
}

HolidayDateChoice ByWeek(uint16_t first, uint16_t last, int32_t month, int32_t week,
                         int32_t weekday) {
    return {first, last, false, month, kNone, week, weekday};
}

class ValidateHolidayDateTest : public testing::TestWithParam<DateCase> {};

TEST_P(ValidateHolidayDateTest, AcceptsOnlyDatesThatOccur) {
    const DateCase& c = GetParam();
    const HolidayDateVerdict verdict = ValidateHolidayDate(ChoiceOf(c));
    EXPECT_EQ(verdict.valid, c.focus == kValid);
    EXPECT_EQ(verdict.focus, c.focus);
}

INSTANTIATE_TEST_SUITE_P(Dates, ValidateHolidayDateTest, testing::ValuesIn(kDates),
                         [](const testing::TestParamInfo<DateCase>& info) {
                             return std::string(info.param.name);
                         });

// Every month has 29 days or more, so some month of every whole year has a fifth of each weekday.
TEST(ValidateHolidayDate, FifthWeekdayOccursInEveryWholeYear) {
    for (uint16_t year = 1900; year <= 2100; ++year) {
        for (int32_t weekday = 0; weekday <= 6; ++weekday) {
            EXPECT_TRUE(ValidateHolidayDate(ByWeek(year, year, 0, 5, weekday)).valid)
                << year << " weekday " << weekday;
        }
    }
}

struct YearCase {
    const char* name;
    const char* text;
    const char* corrected;
};

static const YearCase kYearTexts[] = {
    {        "BelowRange",        "1850", "1900"},
    {        "AboveRange",        "2200", "2100"},
    {          "NoDigits",         "abc", "1900"},
    {             "Empty",            "", "1900"},
    {          "Negative",          "-5", "1900"},
    {              "Huge", "99999999999", "2100"},
    {    "JustAboveRange",        "2101", "2100"},
    {         "FirstYear",        "1900", "1900"},
    {          "LastYear",        "2100", "2100"},
    {           "InRange",        "2026", "2026"},
    {     "LeadingBlanks",       " 2026", "2026"},
    {"TrailingCharacters",     "2026年", "2026"},
};

class CorrectYearTextTest : public testing::TestWithParam<YearCase> {};

TEST_P(CorrectYearTextTest, KeepsTheYearWithinTheEditorsRange) {
    const YearCase& c = GetParam();
    char text[128];
    const bool changed = CorrectYearText(c.text, text, sizeof text);
    EXPECT_STREQ(text, c.corrected);
    EXPECT_EQ(changed, strcmp(c.text, c.corrected) != 0);
}

INSTANTIATE_TEST_SUITE_P(Years, CorrectYearTextTest, testing::ValuesIn(kYearTexts),
                         [](const testing::TestParamInfo<YearCase>& info) {
                             return std::string(info.param.name);
                         });

struct TodayCase {
    const char* name;
    uint16_t day;
    uint16_t dayOfWeek;
    int32_t week;  // the ordinal of that weekday within the month
};

static const TodayCase kTodays[] = {
    {    "FirstDay",  1, 2, 1},
    {  "SeventhDay",  7, 1, 1},
    {   "EighthDay",  8, 2, 2},
    {"TwentyEighth", 28, 1, 4},
    { "TwentyNinth", 29, 2, 5},
    { "ThirtyFirst", 31, 4, 5},
};

class NewHolidayEditorFieldsTest : public testing::TestWithParam<TodayCase> {};

TEST_P(NewHolidayEditorFieldsTest, StartsOnToday) {
    const TodayCase& c = GetParam();
    SYSTEMTIME today = {};
    today.wYear = 2026;
    today.wMonth = 12;
    today.wDay = c.day;
    today.wDayOfWeek = c.dayOfWeek;
    const HolidayEditorFields fields = NewHolidayEditorFields(today);
    EXPECT_EQ(fields.firstYear, 2026);
    EXPECT_EQ(fields.lastYear, 2026);
    EXPECT_EQ(fields.month, 12);
    EXPECT_EQ(fields.day, c.day);
    EXPECT_EQ(fields.week, c.week);
    EXPECT_EQ(fields.weekday, c.dayOfWeek);
    EXPECT_TRUE(fields.byDate);
    EXPECT_FALSE(fields.dayOff);
    EXPECT_STREQ(fields.name, "");
}

INSTANTIATE_TEST_SUITE_P(Todays, NewHolidayEditorFieldsTest, testing::ValuesIn(kTodays),
                         [](const testing::TestParamInfo<TodayCase>& info) {
                             return std::string(info.param.name);
                         });

CustomHoliday Record(int32_t kind, int32_t rule, uint16_t month, uint16_t day, uint16_t week,
                     uint16_t weekday, const char* name) {
    CustomHoliday r = {};
    r.kind = kind;
    r.rule = rule;
    r.month = month;
    r.day = day;
    r.week = week;
    r.weekday = weekday;
    r.firstYear = 1990;
    r.lastYear = 2030;
    strncpy(r.name, name, sizeof r.name);
    return r;
}

struct RecordCase {
    const char* name;
    CustomHoliday record;
};

static const RecordCase kRecords[] = {
    {       "HolidayByDate",      Record(DayOff,    ByDate, 5,  3, 0, 0,  "創立記念日")},
    {"AnniversaryByWeekday", Record(Anniversary, ByWeekday, 0,  0, 2, 5,        "定例会")},
    {    "EveryWeekOfMonth",      Record(DayOff, ByWeekday, 8,  0, 0, 6,        "夏休み")},
    {        "SixteenBytes", Record(Anniversary,    ByDate, 0, 31, 0, 0, "ABCDEFGHIJKLMNOP")},
};

class EditorRecordTest : public testing::TestWithParam<RecordCase> {};

// Opening a record and confirming it unchanged gives back the same record.
TEST_P(EditorRecordTest, RoundTripsThroughTheFields) {
    const CustomHoliday& record = GetParam().record;
    const HolidayEditorFields fields = HolidayEditorFieldsFromRecord(record);
    EXPECT_EQ(fields.byDate, record.rule == ByDate);
    EXPECT_EQ(fields.dayOff, record.kind == DayOff);
    const CustomHoliday back = CustomHolidayFromEditorFields(fields);
    EXPECT_EQ(memcmp(&back, &record, sizeof back), 0);
}

INSTANTIATE_TEST_SUITE_P(Records, EditorRecordTest, testing::ValuesIn(kRecords),
                         [](const testing::TestParamInfo<RecordCase>& info) {
                             return std::string(info.param.name);
                         });

// The editor keeps all four selections; the record keeps those of its method only.
TEST(CustomHolidayFromEditorFields, KeepsOnlyTheChosenMethodsFields) {
    HolidayEditorFields fields = {};
    strcpy(fields.name, "x");
    fields.firstYear = 2000;
    fields.lastYear = 2001;
    fields.month = 4;
    fields.day = 10;
    fields.week = 3;
    fields.weekday = 2;
    fields.byDate = true;
    CustomHoliday byDate = CustomHolidayFromEditorFields(fields);
    EXPECT_EQ(byDate.kind, Anniversary);
    EXPECT_EQ(byDate.day, 10);
    EXPECT_EQ(byDate.week, 0);
    EXPECT_EQ(byDate.weekday, 0);
    fields.byDate = false;
    fields.dayOff = true;
    CustomHoliday byWeekday = CustomHolidayFromEditorFields(fields);
    EXPECT_EQ(byWeekday.kind, DayOff);
    EXPECT_EQ(byWeekday.rule, ByWeekday);
    EXPECT_EQ(byWeekday.day, 0);
    EXPECT_EQ(byWeekday.week, 3);
    EXPECT_EQ(byWeekday.weekday, 2);
}

// A weekday record opened for editing has no day chosen, so switching it to 日付 and confirming
// without choosing one is refused with the focus on the day list.
TEST(HolidayEditorFieldsFromRecord, WeekdayRecordHasNoDayChosen) {
    const HolidayEditorFields fields =
        HolidayEditorFieldsFromRecord(Record(DayOff, ByWeekday, 3, 0, 2, 1, "a"));
    EXPECT_EQ(fields.day, 0);
    const HolidayDateChoice choice = {fields.firstYear, fields.lastYear, true,
                                      fields.month,     fields.day - 1,  fields.week,
                                      fields.weekday};
    EXPECT_EQ(ValidateHolidayDate(choice).focus, kDays);
}

struct NameCase {
    const char* name;
    const char* text;
    const char* kept;
};

// Edit controls that count their limit in characters hand over up to twice the bytes.
static const NameCase kNames[] = {
    {              "Ascii16",           "ABCDEFGHIJKLMNOPQ",         "ABCDEFGHIJKLMNOP"},
    {         "DoubleByte16", "一二三四五六七八九", "一二三四五六七八"},
    {"SplitCharacterDropped",          "ABCDEFGHIJKLMNO表",          "ABCDEFGHIJKLMNO"},
    {                "Short",                         "ソ",                      "ソ"},
};

class CopyHolidayNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(CopyHolidayNameTest, CutsAtACharacterWithin16Bytes) {
    char name[kHolidayNameSize];
    CopyHolidayName(name, GetParam().text);
    EXPECT_STREQ(name, GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(Names, CopyHolidayNameTest, testing::ValuesIn(kNames),
                         [](const testing::TestParamInfo<NameCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
