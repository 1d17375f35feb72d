#include "presentation/shift_jis.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(AppendShiftJisTextTest, NeverSplitsADoubleByteCharacter) {
    char buffer[7] = "abcd";
    EXPECT_FALSE(AppendShiftJisText(buffer, sizeof buffer, "e能"));  // 能 ends in 0x5C
    EXPECT_STREQ(buffer, "abcde");
    char exact[7] = "abcd";
    EXPECT_TRUE(AppendShiftJisText(exact, sizeof exact, "能"));
    EXPECT_EQ(std::strlen(exact), 6u);
    EXPECT_FALSE(AppendShiftJisText(exact, sizeof exact, "x"));
    EXPECT_EQ(std::strlen(exact), 6u);
}

TEST(AppendShiftJisTextTest, HalfWidthKatakanaIsSingleByte) {
    char buffer[4] = "ab";
    EXPECT_TRUE(AppendShiftJisText(buffer, sizeof buffer, "\xB1"));  // ｱ
    EXPECT_STREQ(buffer, "ab\xB1");
}

// A trail byte of 0x5C must never be taken for a path separator; half-width katakana (0xA1..0xDF)
// and ASCII stand alone.
TEST(ShiftJisLeadByteTest, LeadBytesOfCodePage932) {
    const char* kana = "能表ソ";
    for (int i = 0; i < 6; i += 2) {
        EXPECT_TRUE(IsShiftJisLeadByte(static_cast<unsigned char>(kana[i]))) << i;
        EXPECT_EQ(kana[i + 1], '\\') << i;
    }
    for (unsigned c : {0x00u, 0x5Cu, 0x7Fu, 0x80u, 0xA0u, 0xB1u, 0xDFu, 0xFDu, 0xFFu}) {
        EXPECT_FALSE(IsShiftJisLeadByte(static_cast<unsigned char>(c))) << c;
    }
    for (unsigned c : {0x81u, 0x9Fu, 0xE0u, 0xFCu}) {
        EXPECT_TRUE(IsShiftJisLeadByte(static_cast<unsigned char>(c))) << c;
    }
}

}  // namespace
