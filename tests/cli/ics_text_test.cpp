#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/ics_text.h"

namespace {

std::string Utf8(const char* text) {
    return text;
}

// The physical lines of folded output, without their CRLF.
std::vector<std::string> PhysicalLines(const std::string& folded) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = folded.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(folded.substr(start, end - start));
    }
    EXPECT_EQ(start, folded.size()) << "output does not end with CRLF";
    return lines;
}

std::string Unfold(const std::string& folded) {
    std::string line;
    const std::vector<std::string> lines = PhysicalLines(folded);
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(i == 0 || lines[i][0] == ' ') << "continuation without its space";
        line += i == 0 ? lines[i] : lines[i].substr(1);
    }
    return line;
}

struct FoldCase {
    const char* name;
    std::string line;
    std::vector<size_t> lengths;  // octets of each physical line, the space included
};

class FoldTest : public testing::TestWithParam<FoldCase> {};

TEST_P(FoldTest, CutsOnlyBeforeAWholeCharacter) {
    const FoldCase& c = GetParam();
    std::string out;
    AppendFoldedLine(&out, c.line);
    const std::vector<std::string> lines = PhysicalLines(out);
    ASSERT_EQ(lines.size(), c.lengths.size()) << out;
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].size(), c.lengths[i]) << "line " << i;
        // A continuation byte right after the cut would mean a character split across lines.
        const unsigned char first = static_cast<unsigned char>(lines[i][i == 0 ? 0 : 1]);
        EXPECT_NE(first & 0xC0, 0x80) << "line " << i;
    }
    EXPECT_EQ(Unfold(out), c.line);
}

// あ is three octets, 𠮷 four, é two.
static const FoldCase kFoldCases[] = {
    {                 "Empty",                                                                                                   "",                   {0}},
    { "SeventyFiveAscii",                                                                                       std::string(75,                  'a'),                    {75}},
    { "SeventySixAscii",                                                                                       std::string(76,                  'a'),                 {75, 2}},
    { "TwoContinuations",                                                                                      std::string(150,                  'a'),             {75, 75, 2}},
    { "KanaEndsAtSeventyFive",                                                                                       std::string(72,  'a') + Utf8(u8"あ"),                    {75}},
    { "KanaAcrossTheCut",                                                                                       std::string(73,  'a') + Utf8(u8"あ"),                 {73, 4}},
    { "KanaStartsAtTheCut",                                                                                       std::string(75,  'a') + Utf8(u8"あ"),                 {75, 4}},
    { "FourOctetsAcrossTheCut",                                                                                       std::string(72, 'a') + Utf8(u8"𠮷"),                 {72, 5}},
    { "TwoOctetsAcrossTheCut",                                                                                       std::string(74,   'a') + Utf8(u8"é"),                 {74, 3}},
    { "AllKana", Utf8(u8"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ"),              {75, 16}                       },
    { "KanaAfterAContinuation",                                                                                  std::string(75 + 73,  'a') + Utf8(u8"あ"),                                                                                                                 {75, 74, 4}},
};

INSTANTIATE_TEST_SUITE_P(Lines, FoldTest, testing::ValuesIn(kFoldCases),
                         [](const testing::TestParamInfo<FoldCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(Fold, MixedWidthsSurviveEveryCutPosition) {
    // Every offset of a run of one- to four-octet characters against the fold column.
    const std::string pattern = Utf8(u8"aé日𠮷");
    for (size_t prefix = 0; prefix < 80; ++prefix) {
        std::string line(prefix, 'x');
        for (int i = 0; i < 20; ++i) {
            line += pattern;
        }
        std::string out;
        AppendFoldedLine(&out, line);
        for (const std::string& physical : PhysicalLines(out)) {
            EXPECT_LE(physical.size(), 75u);
            EXPECT_NE(static_cast<unsigned char>(physical.back()) & 0xC0, 0xC0)
                << "a lead byte ends a line, prefix " << prefix;
        }
        EXPECT_EQ(Unfold(out), line) << "prefix " << prefix;
    }
}

struct EscapeCase {
    const char* name;
    const char* text;
    const char* escaped;
};

class EscapeTest : public testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeTest, EscapesTextValues) {
    EXPECT_EQ(EscapeIcsText(GetParam().text), GetParam().escaped);
}

static const EscapeCase kEscapeCases[] = {
    {           "Plain",              u8"春分",                    u8"春分"},
    {      "Separators",                 "a,b;c",                   "a\\,b\\;c"},
    {       "Backslash",               "C:\\dat",                   "C:\\\\dat"},
    {        "LineFeed",              "one\ntwo",                   "one\\ntwo"},
    {"CarriageReturnLf",            "one\r\ntwo",                   "one\\ntwo"},
    {          "LoneCr",              "one\rtwo",                      "onetwo"},
    {     "KanaBetween", u8"記念,日;ソ\\表", u8"記念\\,日\\;ソ\\\\表"},
    {      "ColonStays",                   "a:b",                         "a:b"},
};

INSTANTIATE_TEST_SUITE_P(Texts, EscapeTest, testing::ValuesIn(kEscapeCases),
                         [](const testing::TestParamInfo<EscapeCase>& info) {
                             return std::string(info.param.name);
                         });

struct StampCase {
    int64_t seconds;
    const char* text;
};

TEST(UtcText, SecondsSince1970) {
    static const StampCase kCases[] = {
        {         0, "19700101T000000Z"},
        {        -1, "19691231T235959Z"},
        { 951782400, "20000229T000000Z"},
        { 951868799, "20000229T235959Z"},
        {1767225600, "20260101T000000Z"},
        {4133980799, "21001231T235959Z"},
    };
    for (const StampCase& c : kCases) {
        EXPECT_EQ(IcsUtcTextOfUnixSeconds(c.seconds), c.text) << c.seconds;
    }
}

TEST(Uid, KindDateAndKey) {
    EXPECT_EQ(IcsUid("term", {2019, 3, 21}, ""), "term-20190321@nocturo");
    EXPECT_EQ(IcsUid("seasonal", {1900, 1, 18}, NameKey("x")),
              "seasonal-19000118-" + NameKey("x") + "@nocturo");
    // The published FNV-1a test values.
    EXPECT_EQ(NameKey(""), "811c9dc5");
    EXPECT_EQ(NameKey("a"), "e40c292c");
    EXPECT_EQ(NameKey("foobar"), "bf9cf968");
}

}  // namespace
