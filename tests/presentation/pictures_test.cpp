#include "presentation/pictures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

// Names each case of a table after its `name` field.
struct CaseName {
    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const {
        return info.param.name;
    }
};

// --- Moon and tide pictures -----------------------------------------------------------------

struct PictureCase {
    const char* name;
    double angle;
    int32_t picture;
};

// Edges of the first and last pictures: 6.43 * 7/90 + 0.5 = 1.0001; 353.58 * 7/90 + 0.5 = 28.0007
// wraps to the new Moon.
static const PictureCase kPictureCases[] = {
    {           "NewMoon",    0.0,  0},
    {"JustBelowFirstEdge",   6.42,  0},
    {"JustAboveFirstEdge",   6.43,  1},
    {      "FirstQuarter",   90.0,  7},
    {          "FullMoon",  180.0, 14},
    {       "LastQuarter",  270.0, 21},
    { "JustBelowLastEdge", 353.57, 27},
    { "JustAboveLastEdge", 353.58,  0},
    {  "AlmostFullCircle",  359.9,  0},
};

class MoonPictureTest : public testing::TestWithParam<PictureCase> {};

TEST_P(MoonPictureTest, PictureOfAngle) {
    EXPECT_EQ(MoonPictureIndex(GetParam().angle), GetParam().picture);
}

INSTANTIATE_TEST_SUITE_P(Angles, MoonPictureTest, testing::ValuesIn(kPictureCases), CaseName());

TEST(MoonPictureTest, EveryTenthOfADegreeGivesAPictureInRangeThatNeverStepsBack) {
    int32_t previous = 0;
    for (int tenth = 0; tenth < 3600; ++tenth) {
        int32_t picture = MoonPictureIndex(tenth * 0.1);
        ASSERT_GE(picture, 0);
        ASSERT_LE(picture, 27);
        if (picture != 0 || previous != 27) {
            ASSERT_GE(picture, previous) << "angle " << tenth * 0.1;
        }
        previous = picture;
    }
}

TEST(MoonPictureTest, AnglesOutsideTheCircleGiveTheNewMoonTidesWrap) {
    EXPECT_EQ(MoonPictureIndex(-0.001), 0);
    EXPECT_EQ(MoonPictureIndex(360.0), 0);
    EXPECT_EQ(MoonPictureIndex(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(MoonPictureIndex(std::numeric_limits<double>::infinity()), 0);
    for (int32_t tide = 0; tide < 5; ++tide) {
        EXPECT_EQ(TidePictureIndex(tide), tide);
    }
    EXPECT_EQ(TidePictureIndex(5), 0);
    EXPECT_EQ(TidePictureIndex(-1), 4);
}

// --- Calendar pictures --------------------------------------------------------------------------

TEST(CalendarCellTest, LastCellsAndImpossibleFieldsStayInsideTheStrips) {
    EXPECT_EQ(MonthPictureCell(1), 0);
    EXPECT_EQ(MonthPictureCell(12), 11);
    EXPECT_EQ(MonthPictureCell(0), 11);
    EXPECT_EQ(DayPictureCell(1), 0);
    EXPECT_EQ(DayPictureCell(31), 30);
    EXPECT_EQ(DayPictureCell(0), 30);
    EXPECT_EQ(WeekdayPictureCell(0), 0);
    EXPECT_EQ(WeekdayPictureCell(6), 6);
    EXPECT_EQ(WeekdayPictureCell(7), 0);
}

struct ColorCase {
    const char* name;
    int32_t dayKind;
    uint16_t weekday;
    uint32_t color;
};

static const ColorCase kColorCases[] = {
    {"SaturdayNationalHoliday", 0, 6,   kStrokeRed},
    {         "SaturdayDayOff", 1, 6,   kStrokeRed},
    {    "SaturdayAnniversary", 2, 6,  kStrokeBlue},
    {      "SaturdaySolarTerm", 3, 6,  kStrokeBlue},
    {          "PlainSaturday", 4, 6,  kStrokeBlue},
    {            "PlainSunday", 4, 0,   kStrokeRed},
    {      "SundayAnniversary", 2, 0,   kStrokeRed},
    {  "MondayNationalHoliday", 0, 1,   kStrokeRed},
    {        "WednesdayDayOff", 1, 3,   kStrokeRed},
    {      "FridayAnniversary", 2, 5, kStrokeBlack},
    {      "TuesdaySeasonMark", 3, 2, kStrokeBlack},
    {          "PlainThursday", 4, 4, kStrokeBlack},
};

class DayColorTest : public testing::TestWithParam<ColorCase> {};

TEST_P(DayColorTest, StrokeColorOfTheDay) {
    EXPECT_EQ(DayStrokeColor(GetParam().dayKind, GetParam().weekday), GetParam().color);
}

INSTANTIATE_TEST_SUITE_P(Days, DayColorTest, testing::ValuesIn(kColorCases), CaseName());

// --- The windows' Moon strip -------------------------------------------------------------------

struct StripCase {
    double angle;
    int32_t picture;
};

const StripCase kPictures[] = {
    {  0.0,  0},
    {  2.9,  0},
    {  3.0,  1},
    {180.0, 30},
    {356.9, 59},
    {357.0,  0},
    {359.9,  0},
};

class StripPictures : public testing::TestWithParam<StripCase> {};

TEST_P(StripPictures, NearestPictureWrappingToTheNewMoon) {
    EXPECT_EQ(MoonStripPictureIndex(GetParam().angle), GetParam().picture);
}

INSTANTIATE_TEST_SUITE_P(MoonStripPictureIndex, StripPictures, testing::ValuesIn(kPictures));

TEST(MoonStripPictureIndex, AnglesOutsideTheCircleGiveTheNewMoon) {
    EXPECT_EQ(MoonStripPictureIndex(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(MoonStripPictureIndex(-1), 0);
    EXPECT_EQ(MoonStripPictureIndex(360), 0);
    EXPECT_EQ(MoonStripPictureIndex(1e300), 0);
}

TEST(MoonStripPictureIndex, EveryTenthOfADegreeGivesAValidPicture) {
    int32_t previous = 0;
    for (int tenth = 0; tenth < 3600; ++tenth) {
        const int32_t picture = MoonStripPictureIndex(tenth / 10.0);
        ASSERT_GE(picture, 0);
        ASSERT_LT(picture, 60);
        ASSERT_TRUE(picture == previous || picture == (previous + 1) % 60) << tenth;
        previous = picture;
    }
}

}  // namespace
