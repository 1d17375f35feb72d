#include "presentation/picture_sizes.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/resource.h"

namespace {

struct CaseName {
    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const {
        return info.param.name;
    }
};

struct TrayChoiceCase {
    const char* name;
    int32_t iconSize;
    int32_t setSize;
    int32_t drawSize;
    bool scaled;
};

// SM_CXSMICON at 96, 120, 144 and 192 dpi, the sizes between them (108, 168 dpi) and beyond.
static const TrayChoiceCase kTrayChoiceCases[] = {
    {           "Dpi96", 16, 16, 16, false},
    {          "Dpi120", 20, 20, 20, false},
    {          "Dpi144", 24, 24, 24, false},
    {          "Dpi192", 32, 32, 32, false},
    {          "Dpi108", 18, 20, 18,  true},
    { "JustAboveTwenty", 21, 24, 21,  true},
    {          "Dpi168", 28, 32, 28,  true},
    {"JustBelowLargest", 31, 32, 31,  true},
    {   "BelowSmallest", 12, 16, 12,  true},
    {    "AboveLargest", 40, 32, 32, false},
    {     "UnknownSize",  0, 16, 16, false},
    {    "NegativeSize", -4, 16, 16, false},
};

class TrayChoiceTest : public testing::TestWithParam<TrayChoiceCase> {};

TEST_P(TrayChoiceTest, NearestLargerSetScaledDown) {
    const TrayChoiceCase& c = GetParam();
    const TrayPictureChoice choice = ChooseTrayPictureSet(c.iconSize);
    ASSERT_NE(choice.set, nullptr);
    EXPECT_EQ(choice.set->size, c.setSize);
    EXPECT_EQ(choice.drawSize, c.drawSize);
    EXPECT_EQ(choice.scaled, c.scaled);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TrayChoiceTest, testing::ValuesIn(kTrayChoiceCases), CaseName());

struct StripChoiceCase {
    const char* name;
    int32_t dpi;
    int32_t stripDpi;
    int32_t pictureSize;
    bool scaled;
};

static const StripChoiceCase kStripChoiceCases[] = {
    {           "Dpi96",  96,  96, 32, false},
    {          "Dpi120", 120, 120, 40, false},
    {          "Dpi144", 144, 144, 48, false},
    {          "Dpi192", 192, 192, 64, false},
    {          "Dpi168", 168, 192, 56,  true},
    {          "Dpi100", 100, 120, 33,  true},
    {          "Dpi123", 123, 144, 41,  true},
    {           "Dpi72",  72,  96, 24,  true},
    {    "AboveLargest", 240, 192, 80,  true},
    {"NoDpiStillAPixel",   0,  96,  1,  true},
};

class StripChoiceTest : public testing::TestWithParam<StripChoiceCase> {};

TEST_P(StripChoiceTest, NearestLargerStripAtTheLayoutsScale) {
    const StripChoiceCase& c = GetParam();
    const MoonStripChoice choice = ChooseMoonStrip(c.dpi);
    ASSERT_NE(choice.strip, nullptr);
    EXPECT_EQ(choice.strip->dpi, c.stripDpi);
    EXPECT_EQ(choice.pictureSize, c.pictureSize);
    EXPECT_EQ(choice.scaled, c.scaled);
}

INSTANTIATE_TEST_SUITE_P(Dpis, StripChoiceTest, testing::ValuesIn(kStripChoiceCases), CaseName());

// The program finds each set's bitmaps by adding the set's offset to the 16-pixel ids; the
// resource script names them one by one.
TEST(PictureSetTest, OffsetsMatchTheResourceIds) {
    struct Ids {
        int32_t tides, moons, page, numbers, weekdays, strip;
    };
    static const Ids kIds[] = {
        {  IDB_TIDES,   IDB_TRAYMOONS,   IDB_PAGE,   IDB_NUMBERS,   IDB_WEEKDAYS,    IDB_MOONSTRIP},
        {IDB_TIDES20, IDB_TRAYMOONS20, IDB_PAGE20, IDB_NUMBERS20, IDB_WEEKDAYS20, IDB_MOONSTRIP120},
        {IDB_TIDES24, IDB_TRAYMOONS24, IDB_PAGE24, IDB_NUMBERS24, IDB_WEEKDAYS24, IDB_MOONSTRIP144},
        {IDB_TIDES32, IDB_TRAYMOONS32, IDB_PAGE32, IDB_NUMBERS32, IDB_WEEKDAYS32, IDB_MOONSTRIP192},
    };
    ASSERT_EQ(kTrayPictureSetCount, 4);
    ASSERT_EQ(kMoonStripSetCount, 4);
    for (int32_t k = 0; k < kTrayPictureSetCount; ++k) {
        const int32_t offset = kTrayPictureSets[k].resourceOffset;
        EXPECT_EQ(IDB_TIDES + offset, kIds[k].tides) << k;
        EXPECT_EQ(IDB_TRAYMOONS + offset, kIds[k].moons) << k;
        EXPECT_EQ(IDB_PAGE + offset, kIds[k].page) << k;
        EXPECT_EQ(IDB_NUMBERS + offset, kIds[k].numbers) << k;
        EXPECT_EQ(IDB_WEEKDAYS + offset, kIds[k].weekdays) << k;
        EXPECT_EQ(kMoonStripSets[k].resource, kIds[k].strip) << k;
    }
}

// Each set's page leaves room for its outline and shadow right of and below the writing area,
// which starts below the band; the Moon strip of the 16-pixel set keeps its 421 columns.
TEST(PictureSetTest, PagesFitTheirIconsAndStripsKeepTheirWidths) {
    for (int32_t k = 0; k < kTrayPictureSetCount; ++k) {
        const TrayPictureSet& set = kTrayPictureSets[k];
        EXPECT_LE(set.pageLeft + set.cellWidth + 2 * set.pageLeft, set.size) << set.size;
        EXPECT_LE(set.pageTop + set.cellHeight + 2 * set.pageLeft, set.size) << set.size;
        EXPECT_GT(set.pageTop, 2 * set.pageLeft) << set.size;
    }
    EXPECT_EQ(TrayMoonCellX(kTrayPictureSets[0], 28) + 1, 421);
    EXPECT_EQ(TrayMoonCellX(kTrayPictureSets[0], 27), 405);
    EXPECT_EQ(MoonStripFrameX(32, 0), 32);
    EXPECT_EQ(MoonStripFrameX(32, 60), 1892);
}

}  // namespace
