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
    {              "Huge", "99999999999", "2100"},
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

struct RecordCase {
    const char* name;
    CustomHoliday record;
};

static const RecordCase kRecords[] = {
    {       "HolidayByDate",        {DayOff, 1990, 2030, ByDate, 5, 3, 0, 0, 0.0, "創立記念日"}},
    {"AnniversaryByWeekday",      {Anniversary, 1990, 2030, ByWeekday, 0, 0, 2, 5, 0.0, "定例会"}},
    {    "EveryWeekOfMonth",           {DayOff, 1990, 2030, ByWeekday, 8, 0, 0, 6, 0.0, "夏休み"}},
    {        "SixteenBytes", {Anniversary, 1990, 2030, ByDate, 0, 31, 0, 0, 0.0, "ABCDEFGHIJKLMNOP"}},
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

// An edit whose limit counts characters may hand over 16 double-byte ones: 32 bytes.
TEST(CopyHolidayName, CutsAtACharacterWithin16Bytes) {
    char name[kHolidayNameSize];
    CopyHolidayName(name, "一二三四五六七八九");
    EXPECT_STREQ(name, "一二三四五六七八");
    CopyHolidayName(name, "ABCDEFGHIJKLMNO表");
    EXPECT_STREQ(name, "ABCDEFGHIJKLMNO");
}

}  // namespace
