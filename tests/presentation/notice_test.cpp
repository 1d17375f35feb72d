#include "presentation/notice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/almanac_notes.h"

namespace {

constexpr int64_t kToday = 20000;  // any date, as days since 1970

// The day's notice across restarts, resumes, clock changes and zone changes; 08:00 chosen.
struct DueCase {
    const char* label;
    int64_t today;
    int32_t minute;
    int64_t lastShown;
    bool due;
};
static const DueCase kDue[] = {
    {        "FirstTickAtTheTime",     kToday,  480,  kToday - 1,  true},
    {         "MinuteBeforeQuiet",     kToday,  479,  kToday - 1, false},
    {    "RestartAfterShownQuiet",     kToday,  900,      kToday, false},
    {      "ResumeDaysLaterShows",     kToday, 1000,  kToday - 3,  true},
    {           "NeverShownShows",     kToday,  480,          -1,  true},
    {        "ClockBackADayQuiet",     kToday,  900,  kToday + 1, false},
    {     "ClockForwardADayShows", kToday + 1,  600,      kToday,  true},
    { "ZoneNewDayBeforeTimeWaits", kToday + 1,   30,      kToday, false},
    {"StoredFromAWrongClockShows",     kToday,  600, kToday + 40,  true},
};

class NoticeDueRule : public testing::TestWithParam<DueCase> {};
TEST_P(NoticeDueRule, ShowsOnceADay) {
    const DueCase& c = GetParam();
    EXPECT_EQ(NoticeDue(c.today, c.minute, 480, c.lastShown), c.due);
}
INSTANTIATE_TEST_SUITE_P(Cases, NoticeDueRule, testing::ValuesIn(kDue),
                         [](const auto& info) { return std::string(info.param.label); });

// Each key falls back alone: one bad value leaves the others as the file has them.
struct SettingsCase {
    const char* label;
    const char* values[NoticeKeyCount];
    bool enabled;
    uint32_t kinds;
    uint32_t notes;
    int32_t minute;
    int32_t lead;
    int32_t eclipse;
};
constexpr uint32_t kDefaultKinds = NoticeCustom | NoticeHolidays | NoticeEclipses | NoticeFullMoon;
constexpr uint32_t kDefaultNotes = 0xF03;
// clang-format off
static const SettingsCase kSettings[] = {
    {"Empty", {}, true, kDefaultKinds, kDefaultNotes, 480, 1, 30},
    {"AllRead", {"0", "0", "1", "000000000001", "1", "0", "1", "21:05", "7", "720"},
     false, NoticeHolidays | NoticeTerms | NoticeFullMoon, 0x800, 1265, 7, 720},
    {"BadTimeAlone", {"0", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "24:00", "0"},
     false, kDefaultKinds, kDefaultNotes, 480, 0, 30},
    {"OutOfRange", {"2", "yes", nullptr, "1111", nullptr, nullptr, nullptr, "8:7", "8", "0"},
     true, kDefaultKinds, kDefaultNotes, 480, 1, 30},
    {"BlanksAllowed", {" 1 ", nullptr, nullptr, " 110000000000 ", nullptr, nullptr, nullptr,
     " 7:30 ", " 3", "45 "}, true, kDefaultKinds, 0x3, 450, 3, 45},
};
// clang-format on

class NoticeSettingsFallback : public testing::TestWithParam<SettingsCase> {};
TEST_P(NoticeSettingsFallback, KeyByKey) {
    const SettingsCase& c = GetParam();
    const NoticeSettings s = ParseNoticeSettings(c.values);
    EXPECT_EQ(s.enabled, c.enabled);
    EXPECT_EQ(s.kinds, c.kinds);
    EXPECT_EQ(s.notes, c.notes);
    EXPECT_EQ(s.minuteOfDay, c.minute);
    EXPECT_EQ(s.leadDays, c.lead);
    EXPECT_EQ(s.eclipseMinutes, c.eclipse);
    // What is written back reads as the same settings.
    char written[NoticeKeyCount][kNoticeValueSize];
    NoticeSettingValues(s, written);
    const char* again[NoticeKeyCount];
    for (int i = 0; i < NoticeKeyCount; ++i) {
        again[i] = written[i];
    }
    const NoticeSettings r = ParseNoticeSettings(again);
    EXPECT_EQ(r.kinds, s.kinds);
    EXPECT_EQ(r.notes, s.notes);
    EXPECT_EQ(r.minuteOfDay, s.minuteOfDay);
}
INSTANTIATE_TEST_SUITE_P(Cases, NoticeSettingsFallback, testing::ValuesIn(kSettings),
                         [](const auto& info) { return std::string(info.param.label); });

// UTF-16 units of a Shift_JIS text: one a character.
size_t Units(const std::string& text) {
    size_t units = 0;
    for (size_t i = 0; i < text.size(); ++i, ++units) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
            ++i;
        }
    }
    return units;
}

// Forty lines of mixed single and double-byte characters, and one line longer than the field.
TEST(ComposeNotice, CutsAtWholeLinesAndCharacters) {
    const CivilDate today = {2026, 12, 30};
    std::vector<NoticeEvent> events;
    for (int i = 0; i < 40; ++i) {
        events.push_back({AddDays(today, i % 3 + 1), "ｱ結婚記念日 of 2 の" + std::to_string(i)});
    }
    const Notice notice = ComposeNotice(events, today);
    EXPECT_LE(Units(notice.text), kNoticeTextUnits);
    EXPECT_GT(Units(notice.text), kNoticeTextUnits - 30);
    std::string whole;  // every line, uncut
    for (const NoticeEvent& event : events) {
        whole += NoticeDayName(event.date, today) + "  " + event.text + "\n";
    }
    EXPECT_EQ(whole.rfind(notice.text + "\n", 0), 0u);
    EXPECT_EQ(notice.title.rfind("明日はｱ結婚記念日", 0), 0u);

    // 255 units end inside the kanji: three whole ones are kept (a cut by bytes would split one).
    const std::string y(248, 'y');
    const std::vector<NoticeEvent> longToday = {
        {today, y + "漢字漢字"}
    };
    const Notice cut = ComposeNotice(longToday, today);
    EXPECT_EQ(cut.text, "今日  " + y + "漢字漢");
    EXPECT_EQ(cut.title, "今日のお知らせ");
    const std::vector<NoticeEvent> longTomorrow = {
        {AddDays(today, 1), y.substr(0, 58) + "漢字漢字"}
    };
    const Notice title = ComposeNotice(longTomorrow, today);
    EXPECT_EQ(title.title, "明日は" + y.substr(0, 58) + "漢字");  // 63 units
}

// Lead days over a month's and a year's end; holidays alone so that the lines are fixed facts.
struct LeadCase {
    const char* label;
    CivilDate today;
    int32_t lead;
    const char* title;
    const char* text;
};
// clang-format off
static const LeadCase kLead[] = {
    {"YearEnd", {2026, 12, 31}, 1, "明日は元日", "明日  元日"},
    {"MonthEnd", {2026, 4, 28}, 7, "明日は昭和の日",
     "明日  昭和の日\n5月3日(日)  憲法記念日\n5月4日(月)  みどりの日\n5月5日(火)  こどもの日"},
    {"LeadZeroQuiet", {2026, 12, 31}, 0, "", ""},
    {"Today", {2027, 1, 1}, 2, "今日のお知らせ", "今日  元日"},
};
// clang-format on

class NoticeLeadDays : public testing::TestWithParam<LeadCase> {};
TEST_P(NoticeLeadDays, NamesTheDays) {
    const LeadCase& c = GetParam();
    NoticeSettings settings = DefaultNoticeSettings();
    settings.kinds = NoticeHolidays;
    settings.notes = 0;
    settings.leadDays = c.lead;
    const Notice notice =
        ComposeNotice(CollectNoticeEvents(c.today, settings, -540, {35.6581, 139.7414}), c.today);
    EXPECT_EQ(notice.title, c.title);
    EXPECT_EQ(notice.text, c.text);
}
INSTANTIATE_TEST_SUITE_P(Cases, NoticeLeadDays, testing::ValuesIn(kLead),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(EclipseWarningDue, OnceWithinTheLead) {
    const double begin = 2461000.5;
    EXPECT_FALSE(EclipseWarningDue(begin - 31.0 / 1440, begin, 30, 0));
    EXPECT_TRUE(EclipseWarningDue(begin - 30.0 / 1440, begin, 30, 0));
    EXPECT_FALSE(EclipseWarningDue(begin - 10.0 / 1440, begin, 30, begin));
    EXPECT_FALSE(EclipseWarningDue(begin, begin, 30, 0));
    EXPECT_FALSE(EclipseWarningDue(begin - 0.01, begin + 4e-7, 30, begin));  // read back rounded
}

}  // namespace
