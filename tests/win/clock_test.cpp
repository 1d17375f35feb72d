#include "tray/clock.h"

#include <gtest/gtest.h>

#include "astro/time_zone.h"

namespace {

class ClockTest : public testing::Test {
  protected:
    void TearDown() override {
        ClearClockOverride();
        ClearTimeZoneBiasOverride();
    }
};

TEST_F(ClockTest, OverrideFixesTheUtcReadingWithWeekdayAndMilliseconds) {
    SYSTEMTIME utc = {2000, 1, 0, 1, 12, 34, 56, 789};
    ASSERT_TRUE(SetClockOverride(utc));
    SYSTEMTIME read;
    ReadUtcClock(&read);
    EXPECT_EQ(read.wYear, 2000);
    EXPECT_EQ(read.wMonth, 1);
    EXPECT_EQ(read.wDay, 1);
    EXPECT_EQ(read.wDayOfWeek, 6);  // a Saturday, whatever the record said
    EXPECT_EQ(read.wHour, 12);
    EXPECT_EQ(read.wMinute, 34);
    EXPECT_EQ(read.wSecond, 56);
    EXPECT_EQ(read.wMilliseconds, 789);
}

TEST_F(ClockTest, LocalReadingFollowsTheBiasAcrossMidnight) {
    SetTimeZoneBiasOverride(-540);
    SYSTEMTIME utc = {1999, 12, 5, 31, 15, 0, 0, 250};
    ASSERT_TRUE(SetClockOverride(utc));
    SYSTEMTIME local;
    ReadLocalClock(&local);
    EXPECT_EQ(local.wYear, 2000);
    EXPECT_EQ(local.wMonth, 1);
    EXPECT_EQ(local.wDay, 1);
    EXPECT_EQ(local.wDayOfWeek, 6);
    EXPECT_EQ(local.wHour, 0);
    EXPECT_EQ(local.wMilliseconds, 250);
    SetTimeZoneBiasOverride(300);  // UTC-5
    ReadLocalClock(&local);
    EXPECT_EQ(local.wDay, 31);
    EXPECT_EQ(local.wHour, 10);
}

TEST_F(ClockTest, AdvanceMovesTheFixedInstantBothWays) {
    SYSTEMTIME utc = {2024, 2, 0, 28, 23, 59, 59, 900};
    ASSERT_TRUE(SetClockOverride(utc));
    AdvanceClockOverride(24LL * 3600 * 1000 + 200);  // past the leap day
    SYSTEMTIME read;
    ReadUtcClock(&read);
    EXPECT_EQ(read.wMonth, 3);
    EXPECT_EQ(read.wDay, 1);
    EXPECT_EQ(read.wHour, 0);
    EXPECT_EQ(read.wMilliseconds, 100);
    AdvanceClockOverride(-200);
    ReadUtcClock(&read);
    EXPECT_EQ(read.wMonth, 2);
    EXPECT_EQ(read.wDay, 29);
}

TEST_F(ClockTest, ImpossibleInstantIsRefusedAndTheOverrideKept) {
    SYSTEMTIME good = {2010, 6, 0, 15, 8, 0, 0, 0};
    ASSERT_TRUE(SetClockOverride(good));
    SYSTEMTIME bad = {2010, 2, 0, 30, 8, 0, 0, 0};
    EXPECT_FALSE(SetClockOverride(bad));
    SYSTEMTIME read;
    ReadUtcClock(&read);
    EXPECT_EQ(read.wMonth, 6);
    EXPECT_EQ(read.wDay, 15);
}

TEST_F(ClockTest, WithoutOverrideTheSystemClockIsRead) {
    SYSTEMTIME fixed = {2001, 1, 0, 1, 0, 0, 0, 0};
    ASSERT_TRUE(SetClockOverride(fixed));
    ClearClockOverride();
    AdvanceClockOverride(1000);  // no effect without an override
    SYSTEMTIME read;
    SYSTEMTIME system;
    ReadUtcClock(&read);
    GetSystemTime(&system);
    EXPECT_EQ(read.wYear, system.wYear);
    EXPECT_NE(read.wYear, 2001);
}

}  // namespace
