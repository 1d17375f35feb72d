#include "presentation/place.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct CoordinateCase {
    const char* text;
    bool latitudeOk;
    bool longitudeOk;
    double degrees;  // when read
};
static const CoordinateCase kCoordinates[] = {
    {                          "35.6581",  true,  true, 35.6581},
    {                            "-12.5",  true,  true,   -12.5},
    {                               "+7",  true,  true,       7},
    {                         " 139.74 ", false,  true,  139.74},
    {                             "89.5",  true,  true,    89.5},
    {                         "-89.5000",  true,  true,   -89.5},
    {                            "89.51", false,  true,   89.51},
    {                               "91", false,  true,      91},
    {                              "180", false,  true,     180},
    {                         "-180.000", false,  true,    -180},
    {                         "180.0001", false, false,       0},
    {                               "-0",  true,  true,       0},
    {                                 "", false, false,       0},
    {                                " ", false, false,       0},
    {                              "abc", false, false,       0},
    {                           "35.6.1", false, false,       0},
    {                              "NaN", false, false,       0},
    {                              "inf", false, false,       0},
    {                              "1e3", false, false,       0},
    {                             "35,6", false, false,       0},
    {                               ".5", false, false,       0},
    {                              "35.", false, false,       0},
    {                                "-", false, false,       0},
    {                             "+-35", false, false,       0},
    {                            "3 5.1", false, false,       0},
    {                             "0x1A", false, false,       0},
    {"35.000000000000000000000000000001", false, false,       0}, // longer than anyone types
    {                           "３５", false, false,       0}, // full-width digits
};

TEST(ParseCoordinates, FormAndRange) {
    for (const CoordinateCase& c : kCoordinates) {
        double latitude = -999;
        double longitude = -999;
        EXPECT_EQ(ParseLatitude(c.text, &latitude), c.latitudeOk) << '"' << c.text << '"';
        EXPECT_EQ(ParseLongitude(c.text, &longitude), c.longitudeOk) << '"' << c.text << '"';
        EXPECT_EQ(latitude, c.latitudeOk ? c.degrees : -999) << '"' << c.text << '"';
        EXPECT_EQ(longitude, c.longitudeOk ? c.degrees : -999) << '"' << c.text << '"';
    }
    double unused = 0;
    EXPECT_FALSE(ParseLatitude(nullptr, &unused));
}

TEST(FormatCoordinate, FourDecimalsAndNoNegativeZero) {
    static const struct {
        double degrees;
        const char* text;
    } kCases[] = {
        { 35.6581,   "35.6581"},
        {139.7414,  "139.7414"},
        {    -0.5,   "-0.5000"},
        {-0.00004,    "0.0000"},
        {  -180.0, "-180.0000"},
        {26.21235,   "26.2124"}, // 26.21235 is stored just above the half
    };
    for (const auto& c : kCases) {
        char text[16];
        EXPECT_STREQ(FormatCoordinate(text, sizeof text, c.degrees), c.text) << c.degrees;
    }
    char small[4] = "xyz";
    EXPECT_STREQ(FormatCoordinate(small, sizeof small, 35.6581), "35.");
}

// Every value the parser accepts comes back from the text written for it: what the dialog and
// the settings file show is what is used.
TEST(FormatCoordinate, RoundTripsThroughTheParser) {
    for (int32_t i = -1800000; i <= 1800000; i += 997) {
        char text[16];
        FormatCoordinate(text, sizeof text, i / 10000.0);
        double back = 0;
        ASSERT_TRUE(ParseLongitude(text, &back)) << text;
        char again[16];
        EXPECT_STREQ(FormatCoordinate(again, sizeof again, back), text);
    }
}

struct FieldsCase {
    const char* label;
    const char* name;
    const char* latitude;
    const char* longitude;
    PlaceProblem problem;
    const char* storedName;
};
static const FieldsCase kFields[] = {
    {        "Accepted",                                                          "札幌", "43.0642", "141.3469",PlaceProblem::None,                                                       "札幌"                                                                                                                  },
    {   "BlanksTrimmed",                                                      "  那覇  ",    "26.2",    "127.7",             PlaceProblem::None,                                                       "那覇"},
    {       "EmptyName",                                                                "",      "35",      "139",      PlaceProblem::NameMissing,                                                             ""},
    {       "BlankName",                                                            "  \t",      "35",      "139",      PlaceProblem::NameMissing,                                                             ""},
    {"NameThenLatitude",                                                                "",      "95",      "abc",      PlaceProblem::NameMissing,                                                             ""},
    {     "BadLatitude",                                                               "x",      "95",      "139",  PlaceProblem::LatitudeInvalid,                                                             ""},
    {    "BadLongitude",                                                               "x",      "35",     "-181", PlaceProblem::LongitudeInvalid,                                                             ""},
 // 21 double-byte characters: cut after the 20th, never in the middle of one.
    {"LongNameCutWhole", "あいうえおかきくけこさしすせそたちつてとな",      "35",      "139",
     PlaceProblem::None, "あいうえおかきくけこさしすせそたちつてと"                                                                                                                          },
};

class PlaceFields : public testing::TestWithParam<FieldsCase> {};

TEST_P(PlaceFields, AreCheckedInOrder) {
    const FieldsCase& c = GetParam();
    PlaceSetting out = DefaultPlaceSetting();
    EXPECT_EQ(ValidatePlaceFields(c.name, c.latitude, c.longitude, &out), c.problem);
    if (c.problem == PlaceProblem::None) {
        EXPECT_STREQ(out.name, c.storedName);
    } else {
        EXPECT_STREQ(out.name, DefaultPlaceSetting().name);  // left alone
    }
}

INSTANTIATE_TEST_SUITE_P(ValidatePlaceFields, PlaceFields, testing::ValuesIn(kFields),
                         [](const testing::TestParamInfo<FieldsCase>& info) {
                             return std::string(info.param.label);
                         });

// One unreadable value of the three sends all three back to the default.
TEST(ResolvePlaceSetting, FallsBackAsAWhole) {
    PlaceSetting out = {};
    EXPECT_TRUE(ResolvePlaceSetting("那覇", "26.2124", "127.6809", &out));
    EXPECT_STREQ(out.name, "那覇");
    EXPECT_EQ(out.place.longitude, 127.6809);
    EXPECT_FALSE(ResolvePlaceSetting("那覇", "26.2124", "", &out));
    EXPECT_STREQ(out.name, "東京");
    EXPECT_EQ(out.place.latitude, 35.6581);
    EXPECT_EQ(out.place.longitude, 139.7414);
    EXPECT_FALSE(ResolvePlaceSetting("", "26.2124", "127.6809", &out));
    EXPECT_STREQ(out.name, "東京");
    EXPECT_EQ(out.place.latitude, 35.6581);
}

// The bytes of the default name: 東京 in Shift_JIS.
TEST(DefaultPlaceSetting, TokyoInShiftJis) {
    EXPECT_STREQ(DefaultPlaceSetting().name, "\x93\x8c\x8b\x9e");
}

// The table: 47 offices, all in Japan's box, each name a prefecture and a city, none twice; each
// found again by its own place.
TEST(PrefecturalCapitals, FortySevenDistinctOfficesInJapan) {
    ASSERT_EQ(kPrefecturalCapitalCount, 47);
    for (int32_t i = 0; i < kPrefecturalCapitalCount; ++i) {
        const PrefecturalCapital& c = kPrefecturalCapitals[i];
        EXPECT_GT(c.latitude, 24.0) << c.name;
        EXPECT_LT(c.latitude, 45.6) << c.name;
        EXPECT_GT(c.longitude, 122.9) << c.name;
        EXPECT_LT(c.longitude, 146.0) << c.name;
        EXPECT_NE(std::strchr(c.name, ' '), nullptr) << c.name;
        EXPECT_LT(std::strlen(c.name), kPlaceNameSize) << c.name;
        EXPECT_EQ(FindPrefecturalCapital(PrefecturalCapitalPlace(i)), i) << c.name;
        for (int32_t j = 0; j < i; ++j) {
            EXPECT_STRNE(c.name, kPrefecturalCapitals[j].name);
        }
    }
    EXPECT_STREQ(kPrefecturalCapitals[0].name, "北海道 札幌市");
    EXPECT_STREQ(kPrefecturalCapitals[46].name, "沖縄県 那覇市");
    EXPECT_STREQ(PrefecturalCapitalPlace(47).name, "東京");
    EXPECT_STREQ(PrefecturalCapitalPlace(-1).name, "東京");
}

// A capital's name with other coordinates is a place of the user's own.
TEST(FindPrefecturalCapital, NeedsNameAndCoordinates) {
    PlaceSetting place = PrefecturalCapitalPlace(12);
    EXPECT_EQ(FindPrefecturalCapital(place), 12);
    place.place.latitude += 0.0001;
    EXPECT_EQ(FindPrefecturalCapital(place), -1);
    EXPECT_EQ(FindPrefecturalCapital(DefaultPlaceSetting()), -1);
}

}  // namespace
