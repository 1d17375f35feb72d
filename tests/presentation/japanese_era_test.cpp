#include "presentation/japanese_era.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct EraCase {
    const char* name;
    uint16_t year, month, day;
    const char* eraYear;
};

// Each era's last day and first day, 元年, and the ends of the table.
static const EraCase kEraCases[] = {
    {"BeforeTheGregorianCalendar", 1872, 12, 31,             ""},
    {             "MeijiSixFirst", 1873,  1,  1,   "明治6年"},
    {            "LastDayOfMeiji", 1912,  7, 29,  "明治45年"},
    {          "FirstDayOfTaisho", 1912,  7, 30, "大正元年"},
    {           "LastDayOfTaisho", 1926, 12, 24,  "大正15年"},
    {           "FirstDayOfShowa", 1926, 12, 25, "昭和元年"},
    {         "ShowaTwoInJanuary", 1927,  1,  1,   "昭和2年"},
    {            "LastDayOfShowa", 1989,  1,  7,  "昭和64年"},
    {          "FirstDayOfHeisei", 1989,  1,  8, "平成元年"},
    {           "LastDayOfHeisei", 2019,  4, 30,  "平成31年"},
    {           "FirstDayOfReiwa", 2019,  5,  1, "令和元年"},
    {                "ReiwaEight", 2026, 12,  8,   "令和8年"},
    {          "EndOfTheCalendar", 2100, 12, 31,  "令和82年"},
    {            "ImpossibleDate", 2023,  2, 29,             ""},
};

class JapaneseEraTest : public testing::TestWithParam<EraCase> {};

TEST_P(JapaneseEraTest, NamesTheEraYearOfTheDate) {
    const EraCase& c = GetParam();
    char text[32];
    EXPECT_STREQ(FormatJapaneseEraYear(text, sizeof text, c.year, c.month, c.day), c.eraYear);
}

struct CaseName {
    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const {
        return info.param.name;
    }
};

INSTANTIATE_TEST_SUITE_P(Boundaries, JapaneseEraTest, testing::ValuesIn(kEraCases), CaseName());

// A month's title names the era its last day is in; the long date puts the era year after the year.
TEST(JapaneseEraTexts, MonthAndLongDate) {
    char text[64];
    EXPECT_STREQ(FormatMonthEraYear(text, sizeof text, 1989, 1), "平成元年");
    EXPECT_STREQ(FormatMonthEraYear(text, sizeof text, 2019, 4), "平成31年");
    EXPECT_STREQ(FormatLongDateWithEra(text, sizeof text, 2026, 12, 8, 2),
                 "2026年（令和8年）12月8日(火)");
    EXPECT_STREQ(FormatLongDateWithEra(text, sizeof text, 1872, 12, 8, 0), "1872年12月8日(日)");
    EXPECT_STREQ(FormatLongDateWithEra(text, 12, 2026, 12, 8, 2), "2026年（令");
}

struct RegistryCase {
    const char* name;
    const char* valueName;
    const char* data;
    bool parsed;
    const char* eraName;
};

static const RegistryCase kRegistryCases[] = {
    {         "Reiwa", "2019 05 01",         "令和_令_Reiwa_R",  true, "令和"},
    {     "NameAlone", "2031 01 01",                     "新元",  true, "新元"},
 // ダ ends in the byte of "_": the name is not cut inside it.
    {"TrailByteOfLow", "2040 04 01",         "ダ成_ダ_Dasei_D",  true, "ダ成"},
    {     "EmptyName", "2031 01 01",                 "_x_Empty_E", false,       ""},
    { "ImpossibleDay", "2031 02 30",             "新元_新_S_S", false,       ""},
    {    "SlashDates", "2031/01/01",             "新元_新_S_S", false,       ""},
    {   "ShortNumber",  "2031 1 01",             "新元_新_S_S", false,       ""},
    {   "NameTooLong", "2031 01 01", "一二三四五六七八_x", false,       ""},
};

class RegistryEraTest : public testing::TestWithParam<RegistryCase> {};

TEST_P(RegistryEraTest, ReadsTheDateAndTheName) {
    const RegistryCase& c = GetParam();
    JapaneseEra era = {};
    ASSERT_EQ(ParseRegistryEra(c.valueName, c.data, &era), c.parsed);
    if (c.parsed) {
        EXPECT_STREQ(era.name, c.eraName);
        EXPECT_EQ(era.firstYear, era.year);
    }
}

INSTANTIATE_TEST_SUITE_P(Values, RegistryEraTest, testing::ValuesIn(kRegistryCases), CaseName());

// A system's list in the registry's order: sorted by date, the built-in and earlier ones refused.
TEST(JapaneseEraTable, TakesTheLaterErasByDate) {
    JapaneseEra eras[4] = {};
    ASSERT_TRUE(ParseRegistryEra("2031 01 01", "新元_新_S_S", &eras[0]));
    ASSERT_TRUE(ParseRegistryEra("2019 05 01", "令和_令_Reiwa_R", &eras[1]));
    ASSERT_TRUE(ParseRegistryEra("2030 01 01", "前元_前_Z_Z", &eras[2]));
    ASSERT_TRUE(ParseRegistryEra("2018 01 01", "旧元_旧_K_K", &eras[3]));
    EXPECT_EQ(AddJapaneseEras(eras, 4), 2);
    char text[32];
    EXPECT_STREQ(FormatJapaneseEraYear(text, sizeof text, 2029, 12, 31), "令和11年");
    EXPECT_STREQ(FormatJapaneseEraYear(text, sizeof text, 2030, 1, 1), "前元元年");
    EXPECT_STREQ(FormatJapaneseEraYear(text, sizeof text, 2031, 1, 1), "新元元年");
    EXPECT_STREQ(FormatJapaneseEraYear(text, sizeof text, 2018, 6, 1), "平成30年");
    EXPECT_FALSE(AddJapaneseEra(eras[2]));  // not after the last one taken
    ResetJapaneseEras();
    EXPECT_STREQ(FormatJapaneseEraYear(text, sizeof text, 2031, 1, 1), "令和13年");
}

}  // namespace
