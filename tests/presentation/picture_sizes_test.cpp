#include "presentation/picture_sizes.h"

#include <gtest/gtest.h>

#include <string>

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
    {        "Dpi96", 16, 16, 16, false},
    {       "Dpi120", 20, 20, 20, false},
    {       "Dpi144", 24, 24, 24, false},
    {       "Dpi192", 32, 32, 32, false},
    {       "Dpi108", 18, 20, 18,  true},
    {       "Dpi168", 28, 32, 28,  true},
    {"BelowSmallest", 12, 16, 12,  true},
    { "AboveLargest", 40, 32, 32, false},
    {  "UnknownSize",  0, 16, 16, false},
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

}  // namespace
