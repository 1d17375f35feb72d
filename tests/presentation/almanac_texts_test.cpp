#include "presentation/almanac_texts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "calendar/almanac_notes.h"
#include "calendar/holidays.h"

namespace {

struct JoinCase {
    const char* name;
    uint32_t flags;
    size_t size;
    const char* expected;  // Shift_JIS
};

// The bits' order, not the order they were set in, decides; a buffer too small keeps whole names.
const JoinCase kJoins[] = {
    {    "None",                                   0, 64,                               ""},
    {     "Two", NoteIchiryuManbai | NoteTenshanichi, 64,    "天赦日・一粒万倍日"},
    {   "Later",     NoteNochiNoJusanya | NoteFujoju, 64, "不成就日・後の十三夜"},
 // 天赦日 is 6 bytes, "・一粒万倍日" 12: 18 bytes and the terminator.
    {"CutWhole", NoteTenshanichi | NoteIchiryuManbai, 18,                      "天赦日"},
    {"ExactFit", NoteTenshanichi | NoteIchiryuManbai, 19,    "天赦日・一粒万倍日"},
};

class Joins : public testing::TestWithParam<JoinCase> {};

TEST_P(Joins, InFixedOrderAndWholeNames) {
    char text[64];
    std::memset(text, 'x', sizeof text);
    EXPECT_STREQ(JoinDayNotes(text, GetParam().size, GetParam().flags), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(AlmanacTexts, Joins, testing::ValuesIn(kJoins),
                         [](const testing::TestParamInfo<JoinCase>& info) {
                             return std::string(info.param.name);
                         });

struct TooltipCase {
    const char* name;
    size_t maxCharacters;
    const char* expected;
    bool allFit;
};

// "2024年3月15日 先勝" is 13 characters; " 天赦日" adds 4, "・一粒万倍日" 6, "・寅の日" 4.
const TooltipCase kTooltips[] = {
    { "ExactFit", 27, "2024年3月15日 先勝 天赦日・一粒万倍日・寅の日",  true},
    { "OneShort", 26,             "2024年3月15日 先勝 天赦日・一粒万倍日", false},
    {"FirstOnly", 22,                               "2024年3月15日 先勝 天赦日", false},
    {   "NoRoom", 16,                                         "2024年3月15日 先勝", false},
};

class Tooltips : public testing::TestWithParam<TooltipCase> {};

TEST_P(Tooltips, NotesFollowTheFactsCutAtAWholeName) {
    char text[128] = "2024年3月15日 先勝";
    const bool fit =
        AppendNotesToTooltip(text, sizeof text, NoteTenshanichi | NoteIchiryuManbai | NoteToraNoHi,
                             GetParam().maxCharacters);
    EXPECT_STREQ(text, GetParam().expected);
    EXPECT_EQ(fit, GetParam().allFit);
}

INSTANTIATE_TEST_SUITE_P(AlmanacTexts, Tooltips, testing::ValuesIn(kTooltips),
                         [](const testing::TestParamInfo<TooltipCase>& info) {
                             return std::string(info.param.name);
                         });

// Marks every Shift_JIS piece as converted, so a test sees which bytes went through the
// platform's conversion and which were copied as UTF-8.
size_t Bracketed(const char* sjis, char* dest, size_t size) {
    return static_cast<size_t>(std::snprintf(dest, size, "[%s]", sjis));
}

MonthCell CellOf20240315() {
    MonthCell cell = {};
    cell.day = 15;
    cell.weekday = 5;
    cell.holidayKind = NoEntry;
    cell.holidayName = "";
    cell.solarTermName = "";
    cell.seasonalName1 = "";
    cell.seasonalName2 = "";
    cell.phaseName = "";
    cell.moonAge = 4.96;
    cell.lunar = {2, 6, 0, 2, 4, 2, 1};
    cell.notes = {NoteTenshanichi | NoteIchiryuManbai, 7, 2};
    return cell;
}

TEST(AlmanacTexts, DayInWordsConvertsOnlyTheShiftJisPieces) {
    const std::string text = DayInWordsUtf8(2024, 3, CellOf20240315(), Bracketed);
    const std::string kou =
        std::string("\n[七十二候 ]") + KouName(7) + "\xEF\xBC\x88" + KouReading(7) + "\xEF\xBC\x89";
    const std::string expected =
        std::string(
            "[2024年（令和6年）3月15日(金)]\n[旧暦 2月6日 先勝]\n[干支 戊寅]\n"
            "[潮 中潮]\n[月齢 5.0]\n[選日 天赦日・一粒万倍日]") +
        kou;
    EXPECT_EQ(text, expected);
}

TEST(AlmanacTexts, DayInWordsNamesEveryFactOfABusyDay) {
    MonthCell cell = CellOf20240315();
    cell.lunar.leap = 1;
    cell.holidayKind = NationalHoliday;
    cell.holidayName = " 春分の日";
    cell.solarTermName = "春分";
    cell.seasonalName1 = "春彼岸";
    cell.seasonalName2 = "春社日";
    cell.phaseName = "上弦";
    cell.notes = {0, -1, 0};
    const std::string text = DayInWordsUtf8(2024, 3, cell, Bracketed);
    for (const char* line : {"[旧暦 閏2月6日 先勝]", "[月齢 5.0 上弦]", "[二十四節気 春分]",
                             "[雑節 春彼岸・春社日]", "[祝日 春分の日]"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(text.find("[選日"), std::string::npos);
    EXPECT_EQ(text.find("七十二候"), std::string::npos);
}

}  // namespace
