#include "calendar/holidays.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "astro/time_scales.h"
#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"

namespace {

// Japan, and no custom holidays unless a test adds them.
class HolidayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTimeZoneBiasOverride(-540);
        SetCustomHolidayPath("");
        CustomHolidayCount();
        InvalidateHolidayCache();
    }
    void TearDown() override {
        SetCustomHolidayPath("");
        InvalidateHolidayCache();
    }
};

std::string Name(uint16_t year, uint16_t month, uint16_t day, DayKind* kind = nullptr) {
    const char* name = nullptr;
    const DayKind k = LookupHoliday(year, month, day, &name);
    if (kind) {
        *kind = k;
    }
    return name ? std::string(name) : std::string("(null)");
}

YearHolidayList EmptyList(uint16_t year) {
    YearHolidayList list = {};
    list.year = year;
    return list;
}

HolidayRule Rule(int32_t kind, int32_t rule, uint16_t month, uint16_t day, uint16_t week,
                 uint16_t weekday, const char* name) {
    HolidayRule r = {};
    r.kind = kind;
    r.firstYear = 1900;
    r.lastYear = 9999;
    r.rule = rule;
    r.month = month;
    r.day = day;
    r.week = week;
    r.weekday = weekday;
    std::strcpy(r.name, name);
    return r;
}

// ---- Independent reference: the holiday law day by day, with its own civil-date arithmetic. ----

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

struct Civil {
    int y;
    unsigned m;
    unsigned d;
};

Civil CivilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

int WeekdayOfDays(int64_t z) {
    return static_cast<int>((z % 7 + 11) % 7);  // 1970-01-01 was a Thursday
}

// The equinox days as the official almanac announced them, 1900-2055.
unsigned SpringEquinoxDay(int y) {
    return y <= 1923   ? (y % 4 == 3 ? 22 : 21)
           : y <= 1959 ? 21
           : y <= 1991 ? (y % 4 == 0 ? 20 : 21)
           : y <= 2023 ? (y % 4 <= 1 ? 20 : 21)
                       : (y % 4 <= 2 ? 20 : 21);
}

unsigned AutumnEquinoxDay(int y) {
    return y <= 1919   ? (y % 4 == 0 ? 23 : 24)
           : y <= 1947 ? (y % 4 <= 1 ? 23 : 24)
           : y <= 1979 ? (y % 4 <= 2 ? 23 : 24)
           : y <= 2011 ? 23
           : y <= 2043 ? (y % 4 == 0 ? 22 : 23)
                       : (y % 4 <= 1 ? 22 : 23);
}

// The national holidays of the 1948 law as amended to date, 1955 to 2026: a fixed date, or the
// n-th Monday of the month where `monday` is not 0.
struct LawDay {
    int firstYear, lastYear;
    unsigned month, day, monday;
    const char* name;
};

static const LawDay kLawDays[] = {
    {1959, 1959,  4, 10, 0, " 皇太子の結婚の儀"},
    {1989, 1989,  2, 24, 0, " 昭和天皇大喪の礼"},
    {1990, 1990, 11, 12, 0,    " 即位礼正殿の儀"},
    {1993, 1993,  6,  9, 0, " 皇太子の結婚の儀"},
    {2019, 2019,  5,  1, 0,    " 天皇の即位の日"},
    {2019, 2019, 10, 22, 0,    " 即位礼正殿の儀"},
    {   0, 9999,  1,  1, 0,                    "元日"},
    {   0, 1999,  1, 15, 0,             " 成人の日"},
    {2000, 9999,  1,  0, 2,             " 成人の日"},
    {1967, 9999,  2, 11, 0,       " 建国記念の日"},
    {2020, 9999,  2, 23, 0,          " 天皇誕生日"},
    {   0, 1988,  4, 29, 0,          " 天皇誕生日"},
    {1989, 2006,  4, 29, 0,          " みどりの日"},
    {2007, 9999,  4, 29, 0,             " 昭和の日"},
    {   0, 9999,  5,  3, 0,          " 憲法記念日"},
    {2007, 9999,  5,  4, 0,          " みどりの日"},
    {   0, 9999,  5,  5, 0,          " こどもの日"},
    {1996, 2002,  7, 20, 0,                " 海の日"},
    {2003, 2019,  7,  0, 3,                " 海の日"},
    {2020, 2020,  7, 23, 0,                " 海の日"},
    {2020, 2020,  7, 24, 0,       " スポーツの日"},
    {2021, 2021,  7, 22, 0,                " 海の日"},
    {2021, 2021,  7, 23, 0,       " スポーツの日"},
    {2022, 9999,  7,  0, 3,                " 海の日"},
    {2016, 2019,  8, 11, 0,                " 山の日"},
    {2020, 2020,  8, 10, 0,                " 山の日"},
    {2021, 2021,  8,  8, 0,                " 山の日"},
    {2022, 9999,  8, 11, 0,                " 山の日"},
    {1966, 2002,  9, 15, 0,             " 敬老の日"},
    {2003, 9999,  9,  0, 3,             " 敬老の日"},
    {1966, 1999, 10, 10, 0,             " 体育の日"},
    {2000, 2019, 10,  0, 2,             " 体育の日"},
    {2022, 9999, 10,  0, 2,       " スポーツの日"},
    {   0, 9999, 11,  3, 0,             " 文化の日"},
    {   0, 9999, 11, 23, 0,       " 勤労感謝の日"},
    {1989, 2018, 12, 23, 0,          " 天皇誕生日"},
};

const char* LawHolidayOfDays(int64_t z) {
    const Civil c = CivilFromDays(z);
    if (c.m == 3 && c.d == SpringEquinoxDay(c.y)) {
        return " 春分の日";
    }
    if (c.m == 9 && c.d == AutumnEquinoxDay(c.y)) {
        return " 秋分の日";
    }
    for (const LawDay& l : kLawDays) {
        const bool onDay =
            l.monday == 0 ? c.d == l.day : WeekdayOfDays(z) == 1 && (c.d - 1) / 7 + 1 == l.monday;
        if (c.y >= l.firstYear && c.y <= l.lastYear && c.m == l.month && onDay) {
            return l.name;
        }
    }
    return nullptr;
}

// Name and kind of any day off under the law: national, substitute (from 1973-04-12: the day
// after a Sunday holiday; from 2007: the first day after it that is no holiday) and citizens'
// (from 1985-12-27: a day between two holidays; before 2007 never a Sunday or a substitute).
std::pair<DayKind, std::string> LawDayOff(int64_t z) {
    if (const char* name = LawHolidayOfDays(z)) {
        return {NationalHoliday, name};
    }
    const int64_t lawSubstitute = DaysFromCivil(1973, 4, 12);
    const int64_t law2007 = DaysFromCivil(2007, 1, 1);
    const int64_t lawCitizens = DaysFromCivil(1985, 12, 27);
    bool substitute = false;
    for (int64_t p = z - 1; LawHolidayOfDays(p) != nullptr; --p) {
        if (WeekdayOfDays(p) == 0 && p >= lawSubstitute && (p == z - 1 || p >= law2007)) {
            substitute = true;
        }
    }
    if (substitute) {
        return {DayOff, "振替休日"};
    }
    if (z >= lawCitizens && LawHolidayOfDays(z - 1) && LawHolidayOfDays(z + 1) &&
        (z >= law2007 || WeekdayOfDays(z) != 0)) {
        return {DayOff, "国民の休日"};
    }
    return {NoEntry, ""};
}

TEST_F(HolidayTest, EveryDayOffFrom1955To2026IsTheLawsDayOff) {
    for (int64_t z = DaysFromCivil(1955, 1, 1); z <= DaysFromCivil(2026, 12, 31); ++z) {
        const Civil c = CivilFromDays(z);
        DayKind kind;
        const std::string name = Name(c.y, c.m, c.d, &kind);
        const std::pair<DayKind, std::string> expected = LawDayOff(z);
        ASSERT_EQ(kind, expected.first) << c.y << "-" << c.m << "-" << c.d;
        ASSERT_EQ(name, expected.second) << c.y << "-" << c.m << "-" << c.d;
    }
}

TEST_F(HolidayTest, EquinoxHolidaysFallOnTheAlmanacDates) {
    for (int y = 1900; y <= 2055; ++y) {
        const uint16_t year = static_cast<uint16_t>(y);
        DayKind kind;
        const std::string spring = Name(year, 3, static_cast<uint16_t>(SpringEquinoxDay(y)), &kind);
        EXPECT_EQ(kind, NationalHoliday) << y;
        EXPECT_EQ(spring, y <= 1948 ? " 春季皇靈祭" : " 春分の日") << y;
        const std::string autumn = Name(year, 9, static_cast<uint16_t>(AutumnEquinoxDay(y)), &kind);
        EXPECT_EQ(kind, NationalHoliday) << y;
        EXPECT_EQ(autumn, y <= 1947 ? " 秋季皇靈祭" : " 秋分の日") << y;
    }
}

// ---- Whole years as the Cabinet Office lists them. ----

struct OfficialDay {
    uint16_t year;
    uint16_t month;
    uint16_t day;
    DayKind kind;
    const char* name;
};

static const OfficialDay kOfficialDays[] = {
    {1989,  1,  1, NationalHoliday,                    "元日"},
    {1989,  1,  2,          DayOff,              "振替休日"},
    {1989,  1, 15, NationalHoliday,             " 成人の日"},
    {1989,  1, 16,          DayOff,              "振替休日"},
    {1989,  2, 11, NationalHoliday,       " 建国記念の日"},
    {1989,  2, 24, NationalHoliday, " 昭和天皇大喪の礼"},
    {1989,  3, 21, NationalHoliday,             " 春分の日"},
    {1989,  4, 29, NationalHoliday,          " みどりの日"},
    {1989,  5,  3, NationalHoliday,          " 憲法記念日"},
    {1989,  5,  4,          DayOff,           "国民の休日"},
    {1989,  5,  5, NationalHoliday,          " こどもの日"},
    {1989,  9, 15, NationalHoliday,             " 敬老の日"},
    {1989,  9, 23, NationalHoliday,             " 秋分の日"},
    {1989, 10, 10, NationalHoliday,             " 体育の日"},
    {1989, 11,  3, NationalHoliday,             " 文化の日"},
    {1989, 11, 23, NationalHoliday,       " 勤労感謝の日"},
    {1989, 12, 23, NationalHoliday,          " 天皇誕生日"},

    {2019,  1,  1, NationalHoliday,                    "元日"},
    {2019,  1, 14, NationalHoliday,             " 成人の日"},
    {2019,  2, 11, NationalHoliday,       " 建国記念の日"},
    {2019,  3, 21, NationalHoliday,             " 春分の日"},
    {2019,  4, 29, NationalHoliday,             " 昭和の日"},
    {2019,  4, 30,          DayOff,           "国民の休日"},
    {2019,  5,  1, NationalHoliday,    " 天皇の即位の日"},
    {2019,  5,  2,          DayOff,           "国民の休日"},
    {2019,  5,  3, NationalHoliday,          " 憲法記念日"},
    {2019,  5,  4, NationalHoliday,          " みどりの日"},
    {2019,  5,  5, NationalHoliday,          " こどもの日"},
    {2019,  5,  6,          DayOff,              "振替休日"},
    {2019,  7, 15, NationalHoliday,                " 海の日"},
    {2019,  8, 11, NationalHoliday,                " 山の日"},
    {2019,  8, 12,          DayOff,              "振替休日"},
    {2019,  9, 16, NationalHoliday,             " 敬老の日"},
    {2019,  9, 23, NationalHoliday,             " 秋分の日"},
    {2019, 10, 14, NationalHoliday,             " 体育の日"},
    {2019, 10, 22, NationalHoliday,    " 即位礼正殿の儀"},
    {2019, 11,  3, NationalHoliday,             " 文化の日"},
    {2019, 11,  4,          DayOff,              "振替休日"},
    {2019, 11, 23, NationalHoliday,       " 勤労感謝の日"},

    {2020,  1,  1, NationalHoliday,                    "元日"},
    {2020,  1, 13, NationalHoliday,             " 成人の日"},
    {2020,  2, 11, NationalHoliday,       " 建国記念の日"},
    {2020,  2, 23, NationalHoliday,          " 天皇誕生日"},
    {2020,  2, 24,          DayOff,              "振替休日"},
    {2020,  3, 20, NationalHoliday,             " 春分の日"},
    {2020,  4, 29, NationalHoliday,             " 昭和の日"},
    {2020,  5,  3, NationalHoliday,          " 憲法記念日"},
    {2020,  5,  4, NationalHoliday,          " みどりの日"},
    {2020,  5,  5, NationalHoliday,          " こどもの日"},
    {2020,  5,  6,          DayOff,              "振替休日"},
    {2020,  7, 23, NationalHoliday,                " 海の日"},
    {2020,  7, 24, NationalHoliday,       " スポーツの日"},
    {2020,  8, 10, NationalHoliday,                " 山の日"},
    {2020,  9, 21, NationalHoliday,             " 敬老の日"},
    {2020,  9, 22, NationalHoliday,             " 秋分の日"},
    {2020, 11,  3, NationalHoliday,             " 文化の日"},
    {2020, 11, 23, NationalHoliday,       " 勤労感謝の日"},

    {2021,  1,  1, NationalHoliday,                    "元日"},
    {2021,  1, 11, NationalHoliday,             " 成人の日"},
    {2021,  2, 11, NationalHoliday,       " 建国記念の日"},
    {2021,  2, 23, NationalHoliday,          " 天皇誕生日"},
    {2021,  3, 20, NationalHoliday,             " 春分の日"},
    {2021,  4, 29, NationalHoliday,             " 昭和の日"},
    {2021,  5,  3, NationalHoliday,          " 憲法記念日"},
    {2021,  5,  4, NationalHoliday,          " みどりの日"},
    {2021,  5,  5, NationalHoliday,          " こどもの日"},
    {2021,  7, 22, NationalHoliday,                " 海の日"},
    {2021,  7, 23, NationalHoliday,       " スポーツの日"},
    {2021,  8,  8, NationalHoliday,                " 山の日"},
    {2021,  8,  9,          DayOff,              "振替休日"},
    {2021,  9, 20, NationalHoliday,             " 敬老の日"},
    {2021,  9, 23, NationalHoliday,             " 秋分の日"},
    {2021, 11,  3, NationalHoliday,             " 文化の日"},
    {2021, 11, 23, NationalHoliday,       " 勤労感謝の日"},

    {2026,  1,  1, NationalHoliday,                    "元日"},
    {2026,  1, 12, NationalHoliday,             " 成人の日"},
    {2026,  2, 11, NationalHoliday,       " 建国記念の日"},
    {2026,  2, 23, NationalHoliday,          " 天皇誕生日"},
    {2026,  3, 20, NationalHoliday,             " 春分の日"},
    {2026,  4, 29, NationalHoliday,             " 昭和の日"},
    {2026,  5,  3, NationalHoliday,          " 憲法記念日"},
    {2026,  5,  4, NationalHoliday,          " みどりの日"},
    {2026,  5,  5, NationalHoliday,          " こどもの日"},
    {2026,  5,  6,          DayOff,              "振替休日"},
    {2026,  7, 20, NationalHoliday,                " 海の日"},
    {2026,  8, 11, NationalHoliday,                " 山の日"},
    {2026,  9, 21, NationalHoliday,             " 敬老の日"},
    {2026,  9, 22,          DayOff,           "国民の休日"},
    {2026,  9, 23, NationalHoliday,             " 秋分の日"},
    {2026, 10, 12, NationalHoliday,       " スポーツの日"},
    {2026, 11,  3, NationalHoliday,             " 文化の日"},
    {2026, 11, 23, NationalHoliday,       " 勤労感謝の日"},
};

class OfficialYear : public HolidayTest, public ::testing::WithParamInterface<uint16_t> {};

TEST_P(OfficialYear, ListsExactlyTheOfficialDaysOff) {
    const uint16_t year = GetParam();
    typedef std::tuple<int, int, int, std::string> Day;
    std::set<Day> expected;
    for (const OfficialDay& o : kOfficialDays) {
        if (o.year == year) {
            expected.insert(Day(o.month, o.day, o.kind, o.name));
        }
    }
    std::set<Day> actual;
    for (int64_t z = DaysFromCivil(year, 1, 1); z <= DaysFromCivil(year, 12, 31); ++z) {
        const Civil c = CivilFromDays(z);
        DayKind kind;
        const std::string name = Name(year, c.m, c.d, &kind);
        if (kind != NoEntry) {
            actual.insert(Day(c.m, c.d, kind, name));
        }
    }
    EXPECT_EQ(actual, expected);
}

INSTANTIATE_TEST_SUITE_P(CabinetOffice, OfficialYear,
                         ::testing::Values(1989, 2019, 2020, 2021, 2026));

// ---- The rules' own edge cases. ----

struct DayCase {
    uint16_t year;
    uint16_t month;
    uint16_t day;
    DayKind kind;
    const char* name;
};

std::ostream& operator<<(std::ostream& os, const DayCase& c) {
    return os << c.year << "-" << c.month << "-" << c.day;
}

class HolidayDay : public HolidayTest, public ::testing::WithParamInterface<DayCase> {};

TEST_P(HolidayDay, HasKindAndName) {
    const DayCase& c = GetParam();
    DayKind kind;
    EXPECT_EQ(Name(c.year, c.month, c.day, &kind), c.name);
    EXPECT_EQ(kind, c.kind);
}

static const DayCase kDayCases[] = {
  // First Sunday holiday under the substitute law, and one before it.
    {1973,  4, 30,          DayOff,              "振替休日"},
    {1973,  2, 12,         NoEntry,                          ""},
 // Before 2007 the substitute is the Monday only.
    {2006,  1,  2,          DayOff,              "振替休日"},
    {1986,  5,  4,         NoEntry,                          ""},
    {1988,  5,  4,          DayOff,           "国民の休日"},
    {2007,  5,  4, NationalHoliday,          " みどりの日"},
 // From 2007 the substitute moves on past the days already taken.
    {2008,  5,  6,          DayOff,              "振替休日"},
    {2009,  5,  6,          DayOff,              "振替休日"},
    {1998,  5,  4,          DayOff,              "振替休日"},
    {2009,  9, 22,          DayOff,           "国民の休日"},
    {2015,  9, 22,          DayOff,           "国民の休日"},
    {2005,  1, 10, NationalHoliday,             " 成人の日"},
    {1999,  1, 15, NationalHoliday,             " 成人の日"},
 // One-off days.
    {1959,  4, 10, NationalHoliday, " 皇太子の結婚の儀"},
    {1989,  2, 24, NationalHoliday, " 昭和天皇大喪の礼"},
    {1990, 11, 12, NationalHoliday,    " 即位礼正殿の儀"},
    {1993,  6,  9, NationalHoliday, " 皇太子の結婚の儀"},
    {1915, 11, 10, NationalHoliday,             " 即位ノ禮"},
    {1928, 11, 16, NationalHoliday,    " 大饗第一日の儀"},
 // Pre-war feast days; no substitute before 1973.
    {1900,  1,  1, NationalHoliday,                " 新年節"},
    {1912,  1, 30, NationalHoliday,          " 孝明天皇祭"},
    {1913,  1, 30,         NoEntry,                          ""},
    {1920,  8, 31, NationalHoliday,                " 天長節"},
    {1940, 11,  3, NationalHoliday,                " 明治節"},
    {1948,  4, 29, NationalHoliday,                " 天長節"},
    {1949,  1,  1, NationalHoliday,                    "元日"},
 // The present law.
    {2016,  8, 11, NationalHoliday,                " 山の日"},
    {2015,  8, 11,         NoEntry,                          ""},
    {2018, 12, 23, NationalHoliday,          " 天皇誕生日"},
    {2018, 12, 24,          DayOff,              "振替休日"},
    {2019, 12, 23,         NoEntry,                          ""},
    {2020, 10, 12,         NoEntry,                          ""},
    {2022, 10, 10, NationalHoliday,       " スポーツの日"},
    {2100,  2, 23, NationalHoliday,          " 天皇誕生日"},
 // The day before 1 May is 30 April, not day 0 of May.
    {2019,  4, 30,          DayOff,           "国民の休日"},
};

INSTANTIATE_TEST_SUITE_P(Rules, HolidayDay, ::testing::ValuesIn(kDayCases));

TEST_F(HolidayTest, DayWithoutEntryHasEmptyNonNullName) {
    const char* name = nullptr;
    EXPECT_EQ(LookupHoliday(2005, 6, 15, &name), NoEntry);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, "");
    EXPECT_STREQ(NationalHolidayRules[0].name, "\x8C\xB3\x93\xFA");  // 元日 in code page 932
}

// ---- Building blocks. ----

TEST(DatePositionTest, CountsDaysOfTheLeapYear2000) {
    EXPECT_EQ(DatePosition(1, 2) - DatePosition(1, 1), 1);
    EXPECT_EQ(DatePosition(3, 1) - DatePosition(2, 28), 2);
    EXPECT_EQ(DatePosition(12, 31) - DatePosition(1, 1), 365);
}

TEST(CompareDayEntriesTest, OverlappingSpansCompareEqual) {
    const DayEntry week = {SeasonMark, 3, 17, 7, "w"};
    const DayEntry inside = {SeasonMark, 3, 23, 1, "i"};
    const DayEntry after = {SeasonMark, 3, 24, 1, "a"};
    const DayEntry before = {SeasonMark, 3, 16, 1, "b"};
    EXPECT_EQ(CompareDayEntries(week, inside), 0);
    EXPECT_EQ(CompareDayEntries(inside, week), 0);
    EXPECT_EQ(CompareDayEntries(week, after), -1);
    EXPECT_EQ(CompareDayEntries(after, week), 1);
    EXPECT_EQ(CompareDayEntries(before, week), -1);
    EXPECT_EQ(MatchDayEntry(week, 3, 16), -1);
    EXPECT_EQ(MatchDayEntry(week, 3, 17), 0);
    EXPECT_EQ(MatchDayEntry(week, 3, 23), 0);
    EXPECT_EQ(MatchDayEntry(week, 3, 24), 1);
}

TEST(AddHolidayEntryTest, RefusesDatesThatDoNotExist) {
    YearHolidayList list = EmptyList(2005);
    const uint16_t kBad[][2] = {
        { 2,  29},
        { 2,  30},
        { 4,  31},
        { 3,   0},
        { 0,  10},
        {13,   1},
        { 1, 366}
    };
    for (const auto& date : kBad) {
        EXPECT_FALSE(AddHolidayEntry(&list, DayOff, date[0], date[1], "x"))
            << date[0] << "/" << date[1];
    }
    EXPECT_EQ(list.count, 0);
    list.year = 2004;
    EXPECT_TRUE(AddHolidayEntry(&list, DayOff, 2, 29, "x"));
}

TEST(AddHolidayEntryTest, FirstEntryKeepsItsDate) {
    YearHolidayList list = EmptyList(2005);
    EXPECT_TRUE(AddHolidayEntry(&list, NationalHoliday, 5, 3, "a"));
    EXPECT_FALSE(AddHolidayEntry(&list, DayOff, 5, 3, "b"));
    ASSERT_EQ(list.count, 1);
    EXPECT_STREQ(list.entries[0].name, "a");
    EXPECT_EQ(list.entries[0].span, 1);
}

TEST(AddHolidayEntryTest, RefusesBeyond366Entries) {
    YearHolidayList list = EmptyList(2004);
    int added = 0;
    for (uint16_t m = 1; m <= 12; ++m) {
        for (uint16_t d = 1; d <= 31; ++d) {
            added += AddHolidayEntry(&list, DayOff, m, d, "x") ? 1 : 0;
        }
    }
    EXPECT_EQ(added, 366);
    list = EmptyList(2005);
    for (int i = 0; i < 366; ++i) {
        list.entries[i] = DayEntry{DayOff, 1, 1, 1, "x"};
    }
    list.count = 366;
    EXPECT_FALSE(AddHolidayEntry(&list, DayOff, 6, 1, "x"));
}

TEST(AddWeekdayEntriesTest, FifthWeekdayExistsOnlyInLongMonths) {
    // Fridays of 2005: April has five (1, 8, 15, 22, 29), February four.
    YearHolidayList list = EmptyList(2005);
    AddWeekdayEntries(&list, 4, DayOff, 5, 5, "x");
    AddWeekdayEntries(&list, 2, DayOff, 5, 5, "x");
    ASSERT_EQ(list.count, 1);
    EXPECT_EQ(list.entries[0].month, 4);
    EXPECT_EQ(list.entries[0].day, 29);
    list = EmptyList(2005);
    AddWeekdayEntries(&list, 0, DayOff, 0, 0, "x");
    EXPECT_EQ(list.count, 52);
    list = EmptyList(2005);
    AddWeekdayEntries(&list, 0, DayOff, 5, 1, "x");  // fifth Mondays of 2005
    EXPECT_EQ(list.count, 4);
}

TEST(ApplyHolidayRulesTest, EachDateOnceAndSorted) {
    const HolidayRule rules[] = {
        Rule(DayOff, ByDate, 0, 31, 0, 0, "31"),
        Rule(DayOff, ByDate, 2, 29, 0, 0, "leap"),
        Rule(Anniversary, ByWeekday, 0, 0, 0, 1, "monday"),
    };
    YearHolidayList list = EmptyList(2005);
    ApplyHolidayRules(&list, rules, 3);
    int thirtyFirst = 0;
    int mondays = 0;
    for (int i = 0; i < list.count; ++i) {
        thirtyFirst += std::strcmp(list.entries[i].name, "31") == 0;
        mondays += std::strcmp(list.entries[i].name, "monday") == 0;
        EXPECT_STRNE(list.entries[i].name, "leap");
        if (i > 0) {
            EXPECT_LT(CompareDayEntries(list.entries[i - 1], list.entries[i]), 0);
        }
    }
    EXPECT_EQ(thirtyFirst, 7);
    EXPECT_EQ(mondays, 52 - 2);  // 31 January and 31 October 2005, Mondays, went to day 31
}

TEST(ApplyHolidayRulesTest, PassOrderIsThePrecedence) {
    // A weekday rule of a named month loses the date to a date rule listed after it.
    const HolidayRule rules[] = {
        Rule(DayOff, ByWeekday, 1, 0, 2, 1, "weekday"),
        Rule(DayOff, ByDate, 1, 10, 0, 0, "date"),
    };
    YearHolidayList list = EmptyList(2005);  // 2005-01-10 is the second Monday
    ApplyHolidayRules(&list, rules, 2);
    ASSERT_EQ(list.count, 1);
    EXPECT_STREQ(list.entries[0].name, "date");
}

TEST(ApplyHolidayRulesTest, RulesOutsideTheirYearsAreSkipped) {
    HolidayRule rule = Rule(DayOff, ByDate, 6, 1, 0, 0, "x");
    rule.firstYear = 2006;
    YearHolidayList list = EmptyList(2005);
    ApplyHolidayRules(&list, &rule, 1);
    EXPECT_EQ(list.count, 0);
}

TEST_F(HolidayTest, CustomHolidaysComeBelowTheNationalDays) {
    HolidayRule newYear = Rule(DayOff, ByDate, 1, 1, 0, 0, "mine");
    HolidayRule june = Rule(Anniversary, ByDate, 6, 15, 0, 0, "anniv");
    InsertCustomHoliday(newYear);
    InsertCustomHoliday(june);
    InvalidateHolidayCache();
    for (uint16_t year : {1949, 2005, 2100}) {
        DayKind kind;
        EXPECT_EQ(Name(year, 1, 1, &kind), "元日") << year;
        EXPECT_EQ(kind, NationalHoliday);
    }
    DayKind kind;
    EXPECT_EQ(Name(2005, 6, 15, &kind), "anniv");
    EXPECT_EQ(kind, Anniversary);
    EXPECT_EQ(Name(1910, 1, 1, &kind), " 新年節");
}

TEST_F(HolidayTest, InvalidationPicksUpChangedRecords) {
    DayKind kind;
    EXPECT_EQ(Name(2005, 6, 15, &kind), "");
    InsertCustomHoliday(Rule(DayOff, ByDate, 6, 15, 0, 0, "mine"));
    EXPECT_EQ(Name(2005, 6, 15, &kind), "");  // the cached year still holds the old list
    InvalidateHolidayCache();
    EXPECT_EQ(Name(2005, 6, 15, &kind), "mine");
    EXPECT_EQ(kind, DayOff);
}

TEST_F(HolidayTest, CustomRulesMakeNoSubstituteDays) {
    InsertCustomHoliday(Rule(DayOff, ByDate, 6, 12, 0, 0, "sunday"));  // 2005-06-12 is a Sunday
    InvalidateHolidayCache();
    EXPECT_EQ(Name(2005, 6, 12), "sunday");
    EXPECT_EQ(Name(2005, 6, 13), "");
}

TEST_F(HolidayTest, SolarLongitudeDateIsLocal) {
    uint16_t month = 0;
    uint16_t day = 0;
    LocalDateOfSolarLongitude(2005, 0.0, &month, &day);  // 2005-03-20 21:33 local
    EXPECT_EQ(month, 3);
    EXPECT_EQ(day, 20);
    SetTimeZoneBiasOverride(0);  // 12:33 UTC, the same date
    LocalDateOfSolarLongitude(2005, 0.0, &month, &day);
    EXPECT_EQ(day, 20);
    SetTimeZoneBiasOverride(-720);  // 00:33 local on the 21st
    LocalDateOfSolarLongitude(2005, 0.0, &month, &day);
    EXPECT_EQ(day, 21);
    SetTimeZoneBiasOverride(-540);
}

}  // namespace
