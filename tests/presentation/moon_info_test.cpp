#include "presentation/moon_info.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "tests/astro/civil_time.h"

namespace {

std::string AgeText(double age) {
    char text[16];
    return FormatMoonAgeText(text, sizeof(text), age);
}

std::string IlluminatedText(double percent) {
    char text[16];
    return FormatIlluminatedText(text, sizeof(text), percent);
}

void ExpectLocalMinute(JulianCenturies T, int32_t bias, int year, int month, int day, int hour,
                       int minute) {
    SYSTEMTIME t;
    LocalTimeOfInstant(T, bias, &t);
    EXPECT_EQ(t.wYear, year);
    EXPECT_EQ(t.wMonth, month);
    EXPECT_EQ(t.wDay, day);
    EXPECT_EQ(t.wHour, hour);
    EXPECT_EQ(t.wMinute, minute);
}

TEST(MoonInfoFigures, AtJ2000NoonAndNewYear2005) {
    MoonInfoFigures figures;
    ComputeMoonInfoFigures(UtcT(2000, 1, 1, 12), &figures);
    EXPECT_EQ(AgeText(figures.age), " 24.56");
    EXPECT_EQ(IlluminatedText(figures.illuminated), " 22.80%");
    ComputeMoonInfoFigures(UtcT(2005, 1, 1, 0), &figures);
    EXPECT_EQ(AgeText(figures.age), " 19.94");
    EXPECT_EQ(IlluminatedText(figures.illuminated), " 76.03%");
    EXPECT_EQ(figures.picture, 40);  // 238.63 degrees, nearest to 240
    ExpectLocalMinute(figures.newMoon, -540, 2004, 12, 12, 10, 29);
    ExpectLocalMinute(figures.fullMoon, -540, 2005, 1, 25, 19, 32);
}

// The full Moon is searched from the instant itself: just before a full Moon the line shows that
// one, not the one after the previous new Moon's lunation.
TEST(FindMoonInfoInstants, FullMoonIsSearchedFromTheInstant) {
    JulianCenturies newMoon = 0;
    JulianCenturies fullMoon = 0;
    FindMoonInfoInstants(UtcT(2005, 1, 25, 10), &newMoon, &fullMoon);
    ExpectLocalMinute(newMoon, 0, 2005, 1, 10, 12, 2);
    ExpectLocalMinute(fullMoon, 0, 2005, 1, 25, 10, 32);
    FindMoonInfoInstants(UtcT(2005, 1, 25, 11), &newMoon, &fullMoon);
    ExpectLocalMinute(fullMoon, 0, 2005, 2, 24, 4, 53);
}

TEST(IlluminatedPercent, NewQuarterAndFullMoon) {
    EXPECT_NEAR(IlluminatedPercent(0), 0, 1e-12);
    EXPECT_NEAR(IlluminatedPercent(90), 50, 1e-12);
    EXPECT_NEAR(IlluminatedPercent(180), 100, 1e-12);
    EXPECT_NEAR(IlluminatedPercent(270), 50, 1e-12);
}

TEST(FormatText, NeverWritesPastTheBuffer) {
    char text[5] = {'x', 'x', 'x', 'x', 'x'};
    FormatIlluminatedText(text, 4, 76.03);
    EXPECT_STREQ(text, " 76");
    EXPECT_EQ(text[4], 'x');
    FormatMoonAgeText(text, 0, 19.94);
    EXPECT_EQ(text[0], ' ');
    EXPECT_EQ(AgeText(0), "  0.00");
    EXPECT_EQ(IlluminatedText(100), "100.00%");
}

// --- Lines of the previous new Moon and the next full Moon --------------------------------------

bool SlashDate(const SYSTEMTIME& t, char* dest, size_t size) {
    return std::snprintf(dest, size, "%u/%02u/%02u", t.wYear, t.wMonth, t.wDay) < int(size);
}

bool ColonTime(const SYSTEMTIME& t, char* dest, size_t size) {
    return std::snprintf(dest, size, "%02u:%02u", t.wHour, t.wMinute) < int(size);
}

bool Fails(const SYSTEMTIME&, char*, size_t) {
    return false;
}

struct LineCase {
    const char* name;
    MoonInstantFormatter date;
    MoonInstantFormatter time;
    size_t size;
    const char* line;
};

static const LineCase kLineCases[] = {
    {   "PlatformFormats", SlashDate, ColonTime, 64,        "2004/12/12 09:05"},
    {"DateFormatterFails",     Fails, ColonTime, 64, "2004年12月12日 09:05"},
    {"TimeFormatterFails", SlashDate,     Fails, 64,         "2004/12/12 9:05"},
    {      "NoFormatters",   nullptr,   nullptr, 64,  "2004年12月12日 9:05"},
    {"TimeCutAtTheBuffer", SlashDate,     Fails, 14,           "2004/12/12 9:"},
    {"DateFillsTheBuffer",   nullptr,   nullptr, 16,       "2004年12月12日"},
    {   "NoRoomAfterDate", SlashDate, ColonTime, 12,              "2004/12/12"},
};

struct LineName {
    std::string operator()(const testing::TestParamInfo<LineCase>& info) const {
        return info.param.name;
    }
};

class MoonInstantLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(MoonInstantLineTest, DateSpaceTimeWithinTheBuffer) {
    const LineCase& c = GetParam();
    SYSTEMTIME local = {};
    local.wYear = 2004;
    local.wMonth = 12;
    local.wDay = 12;
    local.wHour = 9;
    local.wMinute = 5;
    char line[80];
    std::memset(line, 'x', sizeof line);
    FormatMoonInstantLine(line, c.size, local, c.date, c.time);
    EXPECT_EQ(std::string(line), c.line);
    EXPECT_EQ(line[c.size], 'x');  // nothing written past the buffer
}

INSTANTIATE_TEST_SUITE_P(Formatters, MoonInstantLineTest, testing::ValuesIn(kLineCases),
                         LineName());

}  // namespace
