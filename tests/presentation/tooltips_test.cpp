#include "presentation/tooltips.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "astro/lunar_day.h"
#include "astro/time_scales.h"
#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"

namespace {

class TooltipTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTimeZoneBiasOverride(-540);
        SetCustomHolidayPath("");
        InvalidateHolidayCache();
    }
};

LunarDay LunarOf(uint16_t year, uint16_t month, uint16_t day) {
    SYSTEMTIME noon = {};
    noon.wYear = year;
    noon.wMonth = month;
    noon.wDay = day;
    noon.wHour = 3;  // 12:00 in Japan
    LunarDay lunar;
    ComputeLunarDay(&lunar, JulianDateFromSystemTime(noon));
    return lunar;
}

std::string Calendar(uint16_t year, uint16_t month, uint16_t day, DayKind* kind = nullptr) {
    char date[kTooltipSize];
    FormatJapaneseLongDate(date, sizeof date, year, month, day);
    char text[kTooltipSize];
    const DayKind k =
        ComposeCalendarTooltip(text, date, LunarOf(year, month, day), year, month, day);
    if (kind) {
        *kind = k;
    }
    return text;
}

TEST_F(TooltipTest, NewYearsDay2000) {
    DayKind kind;
    EXPECT_EQ(Calendar(2000, 1, 1, &kind), "2000年1月1日 大安 元日");
    EXPECT_EQ(kind, NationalHoliday);
}

TEST_F(TooltipTest, PlainDayHasDateAndRokuyoOnly) {
    DayKind kind;
    const std::string text = Calendar(2005, 6, 1, &kind);
    EXPECT_EQ(kind, NoEntry);
    EXPECT_EQ(text.find("2005年6月1日 "), 0u);
    EXPECT_EQ(text.size(), std::strlen("2005年6月1日 ") + 4);
}

TEST_F(TooltipTest, ItemsFollowInOrder) {
    // The spring equinox of 2005: the holiday name one space after the rokuyo (its own leading
    // space not doubled), then the term and the 彼岸 week.
    const std::string text = Calendar(2005, 3, 20);
    const std::string tail = std::string(" 春分の日 春分 春彼岸");
    EXPECT_EQ(text.find("  "), std::string::npos);
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    // 節分 of 2005: the period, then the day.
    const std::string setsubun = Calendar(2005, 2, 3);
    const std::string end = " 冬土用 節分";
    EXPECT_EQ(setsubun.substr(setsubun.size() - end.size()), end);
}

TEST_F(TooltipTest, MoonTooltip) {
    LunarDay lunar = {};
    lunar.tide = 1;
    char text[kTooltipSize];
    ComposeMoonTooltip(text, 12.344, lunar);
    EXPECT_STREQ(text, "月齢12.34 中潮");
    lunar.tide = 7;
    ComposeMoonTooltip(text, 0.0, lunar);
    EXPECT_STREQ(text, "月齢0.00 小潮");
}

TEST_F(TooltipTest, OverlongDateIsCutAtACharacterBoundary) {
    // All but two bytes of the field in ASCII, then double-byte characters: the first of them no
    // longer fits.
    std::string date(kTooltipSize - 2, 'x');
    date += "年年年";
    char text[kTooltipSize + 8];
    std::memset(text, 0x7F, sizeof text);
    ComposeCalendarTooltip(text, date.c_str(), LunarOf(2000, 1, 1), 2000, 1, 1);
    EXPECT_EQ(std::strlen(text), kTooltipSize - 1);  // the date and one space
    EXPECT_EQ(text[kTooltipSize - 2], ' ');
    for (size_t i = kTooltipSize; i < sizeof text; ++i) {
        EXPECT_EQ(text[i], 0x7F) << i;
    }
}

TEST(FormatJapaneseLongDateTest, HasNoLeadingZeros) {
    char text[32];
    FormatJapaneseLongDate(text, sizeof text, 2005, 12, 5);
    EXPECT_STREQ(text, "2005年12月5日");
    FormatJapaneseLongDate(text, 6, 2005, 12, 5);
    EXPECT_STREQ(text, "2005");
}

}  // namespace
