#include "calendar/day_signs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

LunarDay Signs(int32_t stem, int32_t branch, int32_t tide) {
    LunarDay lunar = {};
    lunar.stem = stem;
    lunar.branch = branch;
    lunar.tide = tide;
    return lunar;
}

// The rokuyo index is (lunar month + day) % 6: lunar 1/1 is 先勝, 1/5 大安.
TEST(DaySignsTest, RokuyoAndWrappedIndices) {
    char name[8];
    const char* const expected[] = {"大安", "赤口", "先勝", "友引", "先負", "仏滅"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_STREQ(RokuyoName(name, i), expected[i]);
    }
    EXPECT_STREQ(RokuyoName(name, 6), "大安");
    EXPECT_STREQ(RokuyoName(name, -1), "仏滅");
    EXPECT_STREQ(DaySignName(name, Signs(10, 12, 0)), "甲子");
    EXPECT_STREQ(TideName(name, Signs(0, 0, 5)), "大潮");
    EXPECT_STREQ(TideName(name, Signs(0, 0, -1)), "若潮");
}

TEST(DaySignsTest, SexagenaryCycleEnds) {
    char name[8];
    EXPECT_STREQ(DaySignName(name, Signs(0, 0, 0)), "甲子");
    EXPECT_STREQ(DaySignName(name, Signs(9, 11, 0)), "癸亥");
    EXPECT_STREQ(DaySignName(name, Signs(4, 6, 0)), "戊午");
}

// Callers append the names into fixed buffers: four bytes each, and the destination returned.
TEST(DaySignsTest, EveryNameFitsFourBytesAndAppends) {
    char name[16];
    for (int i = 0; i < 60; ++i) {
        EXPECT_EQ(std::strlen(DaySignName(name, Signs(i % 10, i % 12, i % 5))), 4u);
        EXPECT_EQ(std::strlen(TideName(name, Signs(0, 0, i))), 4u);
        EXPECT_EQ(std::strlen(RokuyoName(name, i)), 4u);
    }
    char text[16] = "x";
    EXPECT_EQ(TideName(text + 1, Signs(0, 0, 3)), text + 1);
    EXPECT_EQ(std::string(text), std::string("x") + "長潮");
}

}  // namespace
