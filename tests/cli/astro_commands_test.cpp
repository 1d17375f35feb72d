#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "astro/time_zone.h"
#include "cli/commands.h"
#include "tests/cli/cli_test_support.h"

namespace {

void CollectEvent(const PhaseEvent& event, void* context) {
    static_cast<std::vector<PhaseEvent>*>(context)->push_back(event);
}

std::vector<PhaseEvent> Phases(double fromJd, double toJd) {
    std::vector<PhaseEvent> events;
    EXPECT_TRUE(ListPrincipalPhases(fromJd, toJd, CollectEvent, &events));
    return events;
}

double Jd(int year, int month, int day) {
    SYSTEMTIME t = {};
    t.wYear = static_cast<uint16_t>(year);
    t.wMonth = static_cast<uint16_t>(month);
    t.wDay = static_cast<uint16_t>(day);
    return JulianDateFromSystemTime(t);
}

TEST(Phases, DecemberAndJanuary2005) {
    const CommandOutput result = Capture(RunPhases, Arguments({"2004-12-01", "2005-01-31"}, -540));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "2004-12-05T00:52:21Z\t270\n"
              "2004-12-12T01:29:31Z\t0\n"
              "2004-12-18T16:39:20Z\t90\n"
              "2004-12-26T15:06:17Z\t180\n"
              "2005-01-03T17:45:19Z\t270\n"
              "2005-01-10T12:02:38Z\t0\n"
              "2005-01-17T06:57:31Z\t90\n"
              "2005-01-25T10:32:08Z\t180\n");
}

// The same eight instants as published in the almanacs' tables of the Moon's phases, to the minute
// in UT. The series behind the listing is a truncated one, good to a minute or two: the listing
// stays within 3 minutes of the tables.
TEST(Phases, AgreeWithThePublishedTablesWithinThreeMinutes) {
    struct Published {
        int month, day, hour, minute, angle;
        int year;
    };
    static const Published kTable[] = {
        {12,  5,  0, 53, 270, 2004},
        {12, 12,  1, 29,   0, 2004},
        {12, 18, 16, 40,  90, 2004},
        {12, 26, 15,  6, 180, 2004},
        { 1,  3, 17, 46, 270, 2005},
        { 1, 10, 12,  3,   0, 2005},
        { 1, 17,  6, 57,  90, 2005},
        { 1, 25, 10, 32, 180, 2005},
    };
    const std::vector<PhaseEvent> events = Phases(Jd(2004, 12, 1), Jd(2005, 2, 1));
    ASSERT_EQ(events.size(), sizeof kTable / sizeof kTable[0]);
    double worst = 0;
    for (size_t i = 0; i < events.size(); ++i) {
        const Published& p = kTable[i];
        const double published = Jd(p.year, p.month, p.day) + (p.hour * 60 + p.minute) / 1440.0;
        const double minutes = std::fabs(events[i].jd - published) * 1440;
        worst = std::max(worst, minutes);
        EXPECT_EQ(events[i].angle, p.angle) << i;
        EXPECT_LT(minutes, 3.0) << p.year << "-" << p.month << "-" << p.day;
    }
    RecordProperty("WorstMinutes", std::to_string(worst));
}

TEST(Phases, SingleDaysWithAndWithoutAPhase) {
    EXPECT_EQ(Capture(RunPhases, Arguments({"2005-01-10", "2005-01-10"}, 0)).out,
              "2005-01-10T12:02:38Z\t0\n");
    const CommandOutput none = Capture(RunPhases, Arguments({"2005-01-11", "2005-01-16"}, 0));
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
}

// A phase rounded to the next midnight prints as hour 24 of its own date.
TEST(Phases, HalfASecondBeforeMidnightPrintsHour24) {
    const CommandOutput result = Capture(RunPhases, Arguments({"2031-12-20", "2031-12-20"}, 0));
    EXPECT_EQ(result.out, "2031-12-20T24:00:00Z\t90\n");
}

TEST(Phases, ArgumentErrorsExitWith2) {
    const struct {
        const char* from;
        const char* to;
        const char* message;
    } kCases[] = {
        {"2005-13-01", "2005-12-01","nocturo-cli: malformed date FROM '2005-13-01'"                                    },
        {"2005-01-01", "2005-02-30",   "nocturo-cli: malformed date TO '2005-02-30'"},
        {"1899-12-31", "2005-01-01",
         "nocturo-cli: date FROM '1899-12-31' is outside years 1900-2100"           },
        {"2005-01-01", "2101-01-01",
         "nocturo-cli: date TO '2101-01-01' is outside years 1900-2100"             },
        {"2005-01-02", "2005-01-01",
         "nocturo-cli: date TO '2005-01-01' lies before FROM '2005-01-02'"          },
    };
    for (const auto& c : kCases) {
        const CommandOutput result = Capture(RunPhases, Arguments({c.from, c.to}, 0));
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.substr(0, result.err.find('\n')), c.message);
    }
}

// The whole range the commands accept: the four phases in turn, six to nine days apart, each once.
TEST(ListPrincipalPhases, AlternateFrom1900To2100) {
    const double from = Jd(1900, 1, 1);
    const double to = Jd(2101, 1, 1);
    const std::vector<PhaseEvent> events = Phases(from, to);
    ASSERT_FALSE(events.empty());
    EXPECT_GE(events.front().jd, from);
    EXPECT_LT(events.front().jd - from, 9);
    EXPECT_LT(events.back().jd, to);
    EXPECT_LT(to - events.back().jd, 9);
    for (size_t i = 1; i < events.size(); ++i) {
        ASSERT_EQ(events[i].angle, (events[i - 1].angle + 90) % 360) << events[i].jd;
        const double gap = events[i].jd - events[i - 1].jd;
        ASSERT_GE(gap, 6) << events[i].jd;
        ASSERT_LE(gap, 9) << events[i].jd;
    }
    EXPECT_NEAR(events.size(), (to - from) / 29.530589 * 4, 4);
}

// Listing two adjacent ranges gives the listing of their union.
TEST(ListPrincipalPhases, AdjacentRangesJoinWithoutGapOrOverlap) {
    const double kSplits[] = {Jd(1950, 1, 1), Jd(2004, 12, 12), Jd(2005, 1, 26), Jd(2031, 12, 21),
                              Jd(2099, 3, 3)};
    for (double split : kSplits) {
        std::vector<PhaseEvent> joined = Phases(split - 200, split);
        const std::vector<PhaseEvent> later = Phases(split, split + 200);
        joined.insert(joined.end(), later.begin(), later.end());
        const std::vector<PhaseEvent> whole = Phases(split - 200, split + 200);
        ASSERT_EQ(joined.size(), whole.size()) << split;
        for (size_t i = 0; i < whole.size(); ++i) {
            EXPECT_EQ(joined[i].angle, whole[i].angle);
            EXPECT_NEAR(joined[i].jd, whole[i].jd, 1.0 / 86400);
        }
    }
}

TEST(Moon, NewYear2005InJapan) {
    const CommandOutput result = Capture(RunMoon, ArgumentsAt("2005-01-01T00:00:00Z", -540));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              reinterpret_cast<const char*>(u8"現時点の月：2005-01-01T00:00:00Z\n"
                                            u8"月齢： 19.94\n"
                                            u8"輝面比： 76.03%\n"
                                            u8"位相角：238.63°\n"
                                            u8"トレイの月の絵(0-27)：19\n"
                                            u8"直前の朔(新月)：2004-12-12 10:29 (UTC+09:00)\n"
                                            u8"次回の望(満月)：2005-01-25 19:32 (UTC+09:00)\n"));
}

TEST(Moon, J2000NoonInUtc) {
    const CommandOutput result = Capture(RunMoon, ArgumentsAt("2000-01-01T12:00:00Z", 0));
    EXPECT_NE(result.out.find(reinterpret_cast<const char*>(u8"月齢： 24.56\n")),
              std::string::npos);
    EXPECT_NE(result.out.find(reinterpret_cast<const char*>(u8"輝面比： 22.80%\n")),
              std::string::npos);
    EXPECT_NE(result.out.find(reinterpret_cast<const char*>(u8"(UTC+00:00)")), std::string::npos);
}

TEST(Moon, NowGivesAllSevenLines) {
    const CommandOutput result = Capture(RunMoon, Arguments({}, 0));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 7);
}

TEST(Moon, MalformedInstantExitsWith2) {
    const CommandOutput result = Capture(RunMoon, ArgumentsAt("2005-01-01", 0));
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
              "nocturo-cli: malformed instant --at '2005-01-01'");
}

}  // namespace
