// The conversions at the edge between the program's Shift_JIS and Windows' UTF-16.
#include <gtest/gtest.h>

#include "ui/win32_text.h"

namespace {

struct RoundTrip {
    const char* name;
    const char* shiftJis;
    const wchar_t* wide;
};

// Trail bytes 0x5C (表, ソ), half-width kana, the font face with its full-width letters, the
// vendor rows of code page 932 (①, ～) that other Shift_JIS tables map differently.
static const RoundTrip kRoundTrips[] = {
    {"TrailByteBackslash",     "表示ソフト",     L"表示ソフト"},
    {     "HalfWidthKana",     "ｷｬﾝｾﾙ",     L"ｷｬﾝｾﾙ"},
    {          "FontFace", "ＭＳ ゴシック", L"ＭＳ ゴシック"},
    {        "VendorRows",           "①～②",           L"①～②"},
    {             "Ascii",       "Moon Calendar",       L"Moon Calendar"},
    {             "Empty",                    "",                    L""},
};

class ShiftJisRoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(ShiftJisRoundTrip, GoesToUtf16AndBackUnchanged) {
    const RoundTrip& c = GetParam();
    EXPECT_EQ(WideFromShiftJis(c.shiftJis), std::wstring(c.wide));
    bool lossless = false;
    EXPECT_EQ(ShiftJisFromWide(c.wide, &lossless), std::string(c.shiftJis));
    EXPECT_TRUE(lossless);
}

INSTANTIATE_TEST_SUITE_P(Texts, ShiftJisRoundTrip, testing::ValuesIn(kRoundTrips),
                         [](const testing::TestParamInfo<RoundTrip>& info) {
                             return std::string(info.param.name);
                         });

// Characters that Shift_JIS cannot write: a character beyond the basic plane, an emoji, a letter
// that a best-fit table would quietly turn into a plain one, a lone surrogate.
TEST(ShiftJisFromWide, ReportsEveryCharacterItCannotWrite) {
    static const wchar_t* const kLost[] = {L"\U00020BB7野家", L"月見\U0001F315", L"Jäger",
                                           L"a\xD800"};
    for (const wchar_t* text : kLost) {
        bool lossless = true;
        ShiftJisFromWide(text, &lossless);
        EXPECT_FALSE(lossless) << testing::PrintToString(std::wstring(text));
    }
}

TEST(CopyWideText, CutsBeforeTheCharacterThatDoesNotFitAndNeverSplitsAPair) {
    struct Case {
        std::wstring text;
        size_t capacity;
        std::wstring kept;
        bool fits;
    };
    const Case cases[] = {
        {         L"abc", 4,          L"abc",  true},
        {        L"abcd", 4,          L"abc", false},
        {L"ab\U00020BB7", 4,           L"ab", false},
        {L"ab\U00020BB7", 5, L"ab\U00020BB7",  true},
        {         L"abc", 1,             L"", false},
    };
    for (const Case& c : cases) {
        wchar_t dest[8];
        EXPECT_EQ(CopyWideText(dest, c.capacity, c.text), c.fits);
        EXPECT_EQ(std::wstring(dest), c.kept);
    }
}

TEST(CopyShiftJisFromWide, CutsAtACharacterBoundary) {
    char dest[6];
    EXPECT_FALSE(CopyShiftJisFromWide(dest, sizeof dest, L"月齢表"));
    EXPECT_STREQ(dest, "月齢");
    EXPECT_TRUE(CopyShiftJisFromWide(dest, sizeof dest, L"月齢"));
}

// Japanese forms on any system: the tests also run under code page 1252, where the user's own
// locale would give "Wednesday, March 15, 2023".
TEST(JapaneseDates, AreWrittenInTheJapaneseForms) {
    const SYSTEMTIME noon = {2023, 3, 3, 15, 12, 7, 0, 0};
    EXPECT_EQ(JapaneseLongDate(noon).rfind("2023年3月15日", 0), 0u) << JapaneseLongDate(noon);
    EXPECT_EQ(JapaneseShortTime(noon), "12:07");
}

}  // namespace
