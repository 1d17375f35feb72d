#include "presentation/calendar_layout.h"
#include "presentation/moon_events.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"
#include "calendar/holidays.h"

namespace {

struct CaseName {
    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const {
        return info.param.name;
    }
};

// --- Geometry -----------------------------------------------------------------------------------

struct GeometryCase {
    const char* name;
    int32_t dpi;
    int32_t cellWidth;
    int32_t rowHeight;
    CalendarPoint firstCell;
    CalendarPoint lastCell;
    CalendarPoint extent;  // exclusive right and bottom of the grid
    CalendarPoint picture;
    CalendarRect titleFill;  // in window coordinates
    int32_t headerTop;
};

static const GeometryCase kGeometryCases[] = {
    { "Dpi96",  96,  89,  78, {6, 48}, {540, 438}, {630, 517}, {3, 28}, {245, 0, 391, 30}, 31},
    {"Dpi120", 120, 111,  97, {7, 60}, {673, 545}, {785, 643}, {3, 35}, {306, 0, 488, 37}, 38},
    {"Dpi144", 144, 133, 117, {9, 72}, {807, 657}, {941, 775}, {4, 42}, {367, 0, 586, 45}, 46},
};

class CalendarGeometryTest : public testing::TestWithParam<GeometryCase> {};

TEST_P(CalendarGeometryTest, GridAndTitlePlaces) {
    const GeometryCase& c = GetParam();
    const CalendarGeometry g = ComputeCalendarGeometry(c.dpi);
    EXPECT_EQ(g.cellWidth, c.cellWidth);
    EXPECT_EQ(g.rowHeight, c.rowHeight);
    const CalendarPoint first = CellOrigin(g, 0);
    const CalendarPoint last = CellOrigin(g, 41);
    const CalendarPoint extent = CalendarPictureExtent(g);
    EXPECT_EQ(first.x, c.firstCell.x);
    EXPECT_EQ(first.y, c.firstCell.y);
    EXPECT_EQ(last.x, c.lastCell.x);
    EXPECT_EQ(last.y, c.lastCell.y);
    EXPECT_EQ(extent.x, c.extent.x);
    EXPECT_EQ(extent.y, c.extent.y);
    EXPECT_EQ(g.pictureAt.x, c.picture.x);
    EXPECT_EQ(g.pictureAt.y, c.picture.y);
    EXPECT_EQ(g.titleOrigin.x + g.titleFill.left, c.titleFill.left);
    EXPECT_EQ(g.titleOrigin.x + g.titleFill.right, c.titleFill.right);
    EXPECT_EQ(g.titleFill.bottom, c.titleFill.bottom);
    EXPECT_EQ(HeaderOrigin(g, 0).y, c.headerTop);
    EXPECT_EQ(g.ageFont, 10);
}

INSTANTIATE_TEST_SUITE_P(Dpis, CalendarGeometryTest, testing::ValuesIn(kGeometryCases), CaseName());

// Neighbouring cells share their outline: a cell's rectangles reach one pixel into the next.
TEST(CalendarGeometryTest, NeighbouringCellsShareOneOutline) {
    for (int32_t dpi : {96, 120, 144, 192}) {
        const CalendarGeometry g = ComputeCalendarGeometry(dpi);
        EXPECT_EQ(CellOrigin(g, 0).x + g.cellUpper.right - 1, CellOrigin(g, 1).x) << dpi;
        EXPECT_EQ(CellOrigin(g, 0).y + g.cellLower.bottom - 1, CellOrigin(g, 7).y) << dpi;
        EXPECT_EQ(g.cellUpper.bottom - 1, g.cellLower.top) << dpi;
        EXPECT_EQ(HeaderOrigin(g, 1).x - HeaderOrigin(g, 0).x, g.cellWidth) << dpi;
    }
}

bool Overlap(const CalendarRect& a, const CalendarRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// No text of a cell covers its Moon picture at the four dpis with strips of their own and at dpis
// between them: the widest texts the cell can hold, each byte half a character cell wide. The age
// figure is left out: it stands on the picture on purpose, in its white halo.
TEST(CalendarGeometryTest, NoTextCoversTheMoonPicture) {
    const int32_t note = 10;  // 二百二十日, the longest name of the right-hand column
    for (int32_t dpi : {96, 108, 120, 144, 168, 192, 240}) {
        const CalendarGeometry g = ComputeCalendarGeometry(dpi);
        EXPECT_EQ(g.pictureSize, CalendarScale(dpi, 32));
        const CalendarRect picture = {g.pictureAt.x, g.pictureAt.y, g.pictureAt.x + g.pictureSize,
                                      g.pictureAt.y + g.pictureSize};
        EXPECT_LE(picture.bottom, g.cellUpper.bottom - 1) << dpi;
        struct Text {
            const char* what;
            CalendarRect box;
        };
        const Text texts[] = {
            {      "day",  CalendarTextBox(g.dayNumberAt, 0,  g.dayFont,    2)                         },
            {    "lunar",                           CalendarTextBox(g.lunarDateAt, 0, g.noteFont,    5)},
            {     "leap",                           CalendarTextBox(g.leapLunarAt, 0, g.noteFont,    5)},
            {     "tide",                                CalendarTextBox(g.tideAt, 0, g.noteFont,    4)},
            {    "phase",                               CalendarTextBox(g.phaseAt, 0, g.noteFont,    4)},
            {  "holiday",                             CalendarTextBox(g.holidayAt, 0, g.noteFont,   16)},
            {   "rokuyo",    CalendarTextBox({g.noteRight, g.noteTop[RokuyoSlot]}, 1, g.noteFont,    4)},
            {     "sign",   CalendarTextBox({g.noteRight, g.noteTop[DaySignSlot]}, 1, g.noteFont,    4)},
            {     "term", CalendarTextBox({g.noteRight, g.noteTop[SolarTermSlot]}, 1, g.noteFont, note)},
            {"seasonal2",
             CalendarTextBox({g.noteRight, g.noteTop[SecondSeasonalSlot]}, 1, g.noteFont, note)        },
            {"seasonal1",
             CalendarTextBox({g.noteRight, g.noteTop[FirstSeasonalSlot]}, 1, g.noteFont, note)         },
        };
        for (const Text& t : texts) {
            EXPECT_FALSE(Overlap(t.box, picture))
                << dpi << " dpi: " << t.what << " [" << t.box.left << ", " << t.box.top << ", "
                << t.box.right << ", " << t.box.bottom << ")";
        }
    }
}

// --- Change of dpi ------------------------------------------------------------------------------

struct DpiChangeCase {
    const char* name;
    uint32_t wParam;
    int32_t currentDpi;
    CalendarRect suggested;
    int32_t dpi;
    CalendarRect window;
    bool relayout;
};

// A frame of 16 x 39 pixels; the picture needs 636 x 523 at 96 dpi, 950 x 784 at 144 and
// 1106 x 911 at 168.
static const DpiChangeCase kDpiChangeCases[] = {
    {      "TooSmall", 0x00900090,  96,  {10, 20, 910, 820}, 144,  {10, 20, 976, 843},  true},
    { "BetweenStrips", 0x00A800A8, 144,   {0, 0, 1000, 800}, 168,   {0, 0, 1122, 950},  true},
    {"GrowsRightOnly", 0x00600060, 144, {-700, 5, -60, 700},  96, {-700, 5, -48, 700},  true},
    {  "ZeroKeepsDpi", 0x00000000, 120,  {0, 0, 1000, 1000}, 120,  {0, 0, 1000, 1000}, false},
    {  "HighWordIsIt", 0x00900060,  96, {10, 20, 1010, 920}, 144, {10, 20, 1010, 920},  true},
};

class DpiChangeTest : public testing::TestWithParam<DpiChangeCase> {};

TEST_P(DpiChangeTest, NewDpiAndWindow) {
    const DpiChangeCase& c = GetParam();
    const DpiChangeLayout d =
        DecideCalendarDpiChange(c.wParam, c.suggested, c.currentDpi, {16, 39});
    EXPECT_EQ(d.dpi, c.dpi);
    EXPECT_EQ(d.relayout, c.relayout);
    EXPECT_EQ(d.window.left, c.window.left);
    EXPECT_EQ(d.window.top, c.window.top);
    EXPECT_EQ(d.window.right, c.window.right);
    EXPECT_EQ(d.window.bottom, c.window.bottom);
}

INSTANTIATE_TEST_SUITE_P(Moves, DpiChangeTest, testing::ValuesIn(kDpiChangeCases), CaseName());

TEST(CalendarScaleTest, TruncatesAfterScaling) {
    EXPECT_EQ(CalendarScale(120, 89), 111);
    EXPECT_EQ(CalendarScale(120, 6), 7);
    EXPECT_EQ(CalendarScale(120, 10), 12);
    EXPECT_EQ(CalendarScale(144, 10), 15);
    EXPECT_EQ(CalendarScale(96, 45), 45);
}

// --- Texts --------------------------------------------------------------------------------------

TEST(CalendarTitleTest, NumbersAndNames) {
    const CalendarTitleTexts t = ComposeCalendarTitle(1900, 1);
    EXPECT_STREQ(t.month, "1");
    EXPECT_STREQ(t.year, "1900");
    EXPECT_STREQ(t.monthName, "Jan");
    EXPECT_STREQ(ComposeCalendarTitle(2100, 12).monthName, "Dec");
    EXPECT_STREQ(CalendarMonthName(0), "");
    EXPECT_STREQ(CalendarMonthName(13), "");
    EXPECT_STREQ(CalendarWeekdayName(0), "SUN");
    EXPECT_STREQ(CalendarWeekdayName(6), "SAT");
    EXPECT_STREQ(CalendarWeekdayName(7), "");
}

class CalendarCellTextsTest : public testing::Test {
  protected:
    void SetUp() override {
        SetTimeZoneBiasOverride(-540);
        SetCustomHolidayPath("");
        InvalidateHolidayCache();
        InvalidateMonthModel();
    }
    void TearDown() override {
        ClearTimeZoneBiasOverride();
        InvalidateMonthModel();
    }
    static const MonthCell& CellOf(uint16_t year, uint16_t month, uint16_t day) {
        ComputeMonthModel(year, month);
        for (const MonthCell& cell : CurrentMonthModel().cells) {
            if (!cell.outside && cell.day == day) {
                return cell;
            }
        }
        ADD_FAILURE() << "no cell for " << day;
        return CurrentMonthModel().cells[0];
    }
};

TEST_F(CalendarCellTextsTest, LeapMonthDateIsWrittenTwice) {
    const CalendarCellTexts leap = ComposeCalendarCellTexts(CellOf(2023, 3, 22));  // 閏2月1日
    EXPECT_STREQ(leap.lunarDate, "2/1");
    EXPECT_TRUE(leap.lunarTwice);
    const CalendarCellTexts plain = ComposeCalendarCellTexts(CellOf(2023, 3, 21));
    EXPECT_FALSE(plain.lunarTwice);
}

TEST_F(CalendarCellTextsTest, NewYearsDay2005) {
    const MonthCell& cell = CellOf(2005, 1, 1);
    const CalendarCellTexts t = ComposeCalendarCellTexts(cell);
    EXPECT_STREQ(t.day, "1");
    EXPECT_STREQ(t.holidayName, "元日");
    EXPECT_STREQ(t.lunarDate, "11/21");
    EXPECT_STREQ(CalendarNoteText(t, RokuyoSlot), t.rokuyo);
    EXPECT_STREQ(CalendarNoteText(t, DaySignSlot), t.daySign);
    EXPECT_EQ(std::strlen(t.daySign), 4u);  // two double-byte characters
    EXPECT_STREQ(t.age, "20.1");            // at local noon
}

// A seasonal day's names take the lower slots: the second name above the first.
TEST_F(CalendarCellTextsTest, NotesOnlyWhereTheDayHasThem) {
    MonthCell cell = CellOf(2005, 1, 1);
    cell.isSolarTerm = 0;
    cell.solarTermName = "立春";
    cell.isSeasonal = 1;
    cell.seasonalName1 = "節分";
    cell.seasonalName2 = "";
    CalendarCellTexts t = ComposeCalendarCellTexts(cell);
    EXPECT_STREQ(CalendarNoteText(t, SolarTermSlot), "");
    EXPECT_STREQ(CalendarNoteText(t, FirstSeasonalSlot), "節分");
    EXPECT_STREQ(CalendarNoteText(t, SecondSeasonalSlot), "");
    cell.isSolarTerm = 1;
    cell.isSeasonal = 0;
    t = ComposeCalendarCellTexts(cell);
    EXPECT_STREQ(CalendarNoteText(t, SolarTermSlot), "立春");
    EXPECT_STREQ(CalendarNoteText(t, FirstSeasonalSlot), "");
}

// --- Colours ------------------------------------------------------------------------------------

struct ColourCase {
    const char* name;
    int32_t kind;
    uint16_t weekday;
    int32_t outside;
    bool today;
    uint32_t fill;
    uint32_t dayNumber;
    uint32_t holiday;
    uint32_t tide;
};

constexpr uint32_t kWhite = CalendarRgb(255, 255, 255);
constexpr uint32_t kToday = CalendarRgb(216, 255, 255);
constexpr uint32_t kRed = CalendarRgb(255, 0, 0);
constexpr uint32_t kPink = CalendarRgb(255, 128, 128);
constexpr uint32_t kBlue = CalendarRgb(0, 0, 255);
constexpr uint32_t kPaleBlue = CalendarRgb(128, 128, 255);
constexpr uint32_t kBlack = CalendarRgb(0, 0, 0);
constexpr uint32_t kGrey = CalendarRgb(128, 128, 128);
constexpr uint32_t kGreen = CalendarRgb(0, 96, 0);
constexpr uint32_t kMauve = CalendarRgb(128, 96, 128);

static const ColourCase kColourCases[] = {
    {       "PlainWeekday",         NoEntry, 3, 0, false, kWhite,    kBlack, kBlack, kGreen},
    {         "PlainToday",         NoEntry, 3, 0,  true, kToday,    kBlack, kBlack, kGreen},
    { "AdjacentNeverToday",         NoEntry, 3, 1,  true, kWhite,     kGrey,  kGrey, kMauve},
    {             "Sunday",         NoEntry, 0, 0, false, kWhite,      kRed, kBlack, kGreen},
    {           "Saturday",         NoEntry, 6, 0, false, kWhite,     kBlue, kBlack, kGreen},
    {   "AdjacentSaturday",         NoEntry, 6, 1, false, kWhite, kPaleBlue,  kGrey, kMauve},
    {    "SaturdayHoliday", NationalHoliday, 6, 0, false, kWhite,      kRed,   kRed, kGreen},
    {     "AdjacentDayOff",          DayOff, 2, 1, false, kWhite,     kPink,  kPink, kMauve},
    {"SaturdayAnniversary",     Anniversary, 6, 0, false, kWhite,     kBlue, kBlack, kGreen},
    {  "WeekdaySeasonMark",      SeasonMark, 2, 0, false, kWhite,    kBlack, kBlack, kGreen},
};

class CalendarCellColoursTest : public testing::TestWithParam<ColourCase> {};

TEST_P(CalendarCellColoursTest, ByDayKindWeekdayAndMonth) {
    const ColourCase& c = GetParam();
    MonthCell cell = {};
    cell.holidayKind = c.kind;
    cell.weekday = c.weekday;
    cell.outside = c.outside;
    const CalendarCellColours colours = CalendarCellColoursOf(cell, c.today);
    EXPECT_EQ(colours.fill, c.fill);
    EXPECT_EQ(colours.dayNumber, c.dayNumber);
    EXPECT_EQ(colours.holiday, c.holiday);
    EXPECT_EQ(colours.tide, c.tide);
    EXPECT_EQ(colours.note, c.outside ? kGrey : kBlack);
}

INSTANTIATE_TEST_SUITE_P(Days, CalendarCellColoursTest, testing::ValuesIn(kColourCases),
                         CaseName());

TEST(CalendarHeaderColourTest, SundaySaturdayAndTheRest) {
    EXPECT_EQ(CalendarHeaderColour(0), CalendarRgb(192, 64, 64));
    for (uint16_t weekday = 1; weekday <= 5; ++weekday) {
        EXPECT_EQ(CalendarHeaderColour(weekday), CalendarRgb(64, 64, 64)) << weekday;
    }
    EXPECT_EQ(CalendarHeaderColour(6), CalendarRgb(80, 80, 192));
}

}  // namespace

// Every 天赦日 and 一粒万倍日 of three years keeps its mark at each scale, in a place of its own:
// the middle column first, else the holiday strip (a day of 八十八夜 or 二百二十日 fills the
// column).
TEST_F(CalendarCellTextsTest, EveryMarkOfThreeYearsFindsAFreePlaceAtEveryScale) {
    int marked = 0;
    for (uint16_t year = 2024; year <= 2026; ++year) {
        for (uint16_t month = 1; month <= 12; ++month) {
            ComputeMonthModel(year, month);
            for (const MonthCell& cell : CurrentMonthModel().cells) {
                const uint32_t flags = cell.notes.flags & (NoteTenshanichi | NoteIchiryuManbai);
                if (cell.outside || flags == 0) {
                    continue;
                }
                ++marked;
                const CalendarCellTexts texts = ComposeCalendarCellTexts(cell);
                const int32_t wanted = flags == (NoteTenshanichi | NoteIchiryuManbai) ? 2 : 1;
                for (int32_t dpi : {96, 120, 144, 192}) {
                    const CalendarGeometry g = ComputeCalendarGeometry(dpi);
                    const CalendarCellMarks m = PlaceCalendarMarks(g, texts, flags);
                    ASSERT_EQ(m.count, wanted)
                        << year << '-' << month << '-' << cell.day << ' ' << dpi << " dpi";
                    if (m.count == 2) {
                        EXPECT_NE(m.marks[0].at.y, m.marks[1].at.y);
                    }
                    EXPECT_LT(m.marks[m.count - 1].at.y, g.rowHeight);
                }
            }
        }
    }
    EXPECT_GT(marked, 3 * 60);  // about five a month
}

// The Moon's marks come before the selected days' and find a place on their real days at every
// scale: 2026-03-03 (total lunar eclipse, also 一粒万倍日), 2026-12-24 (the year's nearest full
// Moon, under its 満月), and all of them at once on a full day, where the third place is the last.
TEST_F(CalendarCellTextsTest, TheMoonsMarksComeFirst) {
    struct MoonMarkCase {
        uint16_t month, day;
        uint32_t moonMarks;
        const char* first;
    };
    static const MoonMarkCase kCases[] = {
        { 3,  3,                                          MarkLunarEclipse,    "月食"},
        {12, 24,                                       MarkNearestFullMoon, "最接近"},
        {12, 24, MarkLunarEclipse | MarkSolarEclipse | MarkNearestFullMoon,    "月食"},
    };
    for (const MoonMarkCase& c : kCases) {
        const MonthCell& cell = CellOf(2026, c.month, c.day);
        const CalendarCellTexts texts = ComposeCalendarCellTexts(cell);
        for (int32_t dpi : {96, 120, 144, 192}) {
            const CalendarCellMarks m = PlaceCalendarMarks(ComputeCalendarGeometry(dpi), texts,
                                                           cell.notes.flags, c.moonMarks);
            ASSERT_GE(m.count, 1) << c.month << '-' << c.day << ' ' << dpi << " dpi";
            EXPECT_STREQ(m.marks[0].text, c.first) << dpi;
            EXPECT_LE(m.count, kMaxCalendarMarks);
        }
    }
}

TEST(CalendarCellAt, FindsTheCellUnderAPoint) {
    const CalendarGeometry g = ComputeCalendarGeometry(144);
    const CalendarPoint first = CellOrigin(g, 0);
    const CalendarPoint last = CellOrigin(g, 41);
    EXPECT_EQ(CalendarCellAt(g, first), 0);
    EXPECT_EQ(CalendarCellAt(g, {first.x + g.cellWidth - 1, first.y + g.rowHeight - 1}), 0);
    EXPECT_EQ(CalendarCellAt(g, {first.x + g.cellWidth, first.y}), 1);
    EXPECT_EQ(CalendarCellAt(g, {last.x + 1, last.y + 1}), 41);
    EXPECT_EQ(CalendarCellAt(g, {last.x + g.cellWidth, last.y}), -1);
    EXPECT_EQ(CalendarCellAt(g, {first.x, first.y - 1}), -1);
}

// The days of the adjacent months belong to December of the year before and to February.
TEST_F(CalendarCellTextsTest, AdjacentDaysBelongToTheirOwnMonths) {
    ComputeMonthModel(2026, 1);  // 1 January 2026 is a Thursday
    const MonthModel& m = CurrentMonthModel();
    struct Case {
        int32_t k;
        uint16_t year;
        uint16_t month;
    };
    const Case cases[] = {
        { 0, 2025, 12},
        { 3, 2025, 12},
        { 4, 2026,  1},
        {34, 2026,  1},
        {35, 2026,  2}
    };
    for (const Case& c : cases) {
        uint16_t year = 0;
        uint16_t month = 0;
        CalendarCellMonth(m, c.k, &year, &month);
        EXPECT_EQ(year * 100 + month, c.year * 100 + c.month) << c.k;
    }
}
