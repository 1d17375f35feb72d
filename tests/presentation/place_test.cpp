#include "presentation/place.h"

#include <gtest/gtest.h>

#include <cstring>

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
    {                         "-89.5000",  true,  true,   -89.5},
    {                            "89.51", false,  true,   89.51},
    {                               "91", false,  true,      91},
    {                         "-180.000", false,  true,    -180},
    {                         "180.0001", false, false,       0},
    {                                 "", false, false,       0},
    {                              "abc", false, false,       0},
    {                           "35.6.1", false, false,       0},
    {                              "NaN", false, false,       0},
    {                              "1e3", false, false,       0},
    {                             "35,6", false, false,       0},
    {                               ".5", false, false,       0},
    {                              "35.", false, false,       0},
    {                             "+-35", false, false,       0},
    {                             "0x1A", false, false,       0},
    {"35.000000000000000000000000000001", false, false,       0}, // longer than anyone types
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
}

// What the dialog and the settings file show is what is used: every written value reads back to
// the same text; no "-0.0000".
TEST(FormatCoordinate, RoundTripsThroughTheParser) {
    char text[16];
    EXPECT_STREQ(FormatCoordinate(text, sizeof text, -0.00004), "0.0000");
    for (int32_t i = -1800000; i <= 1800000; i += 997) {
        FormatCoordinate(text, sizeof text, i / 10000.0);
        double back = 0;
        ASSERT_TRUE(ParseLongitude(text, &back)) << text;
        char again[16];
        EXPECT_STREQ(FormatCoordinate(again, sizeof again, back), text);
    }
}

// Fields are checked name first; a name is trimmed and cut after a whole character.
TEST(ValidatePlaceFields, OrderTrimAndCut) {
    PlaceSetting out = {};
    EXPECT_EQ(ValidatePlaceFields("  \t", "95", "x", &out), PlaceProblem::NameMissing);
    EXPECT_EQ(ValidatePlaceFields("a", "95", "x", &out), PlaceProblem::LatitudeInvalid);
    EXPECT_EQ(ValidatePlaceFields("a", "35", "-181", &out), PlaceProblem::LongitudeInvalid);
    EXPECT_EQ(out.name[0], '\0');  // left alone
    EXPECT_EQ(ValidatePlaceFields("  那覇 ", "26.2", "127.7", &out), PlaceProblem::None);
    EXPECT_STREQ(out.name, "那覇");
    EXPECT_EQ(ValidatePlaceFields("あいうえおかきくけこさしすせそたちつてとな", "0", "0", &out),
              PlaceProblem::None);
    EXPECT_STREQ(out.name, "あいうえおかきくけこさしすせそたちつてと");
}

// One unreadable value of the three sends all three back to the default, 東京 in Shift_JIS.
TEST(ResolvePlaceSetting, FallsBackAsAWhole) {
    PlaceSetting out = {};
    EXPECT_TRUE(ResolvePlaceSetting("那覇", "26.2124", "127.6809", &out));
    EXPECT_EQ(out.place.longitude, 127.6809);
    EXPECT_FALSE(ResolvePlaceSetting("那覇", "26.2124", "", &out));
    EXPECT_STREQ(out.name, "\x93\x8c\x8b\x9e");
    EXPECT_EQ(out.place.latitude, 35.6581);
    EXPECT_EQ(out.place.longitude, 139.7414);
}

// 47 distinct offices inside Japan's box, each found again by its own place; a capital's name
// with other coordinates is the user's own place.
TEST(PrefecturalCapitals, FortySevenDistinctOfficesInJapan) {
    ASSERT_EQ(kPrefecturalCapitalCount, 47);
    for (int32_t i = 0; i < kPrefecturalCapitalCount; ++i) {
        const PrefecturalCapital& c = kPrefecturalCapitals[i];
        EXPECT_TRUE(c.latitude > 24 && c.latitude < 45.6 && c.longitude > 122.9 &&
                    c.longitude < 146)
            << c.name;
        EXPECT_EQ(FindPrefecturalCapital(PrefecturalCapitalPlace(i)), i) << c.name;
    }
    PlaceSetting place = PrefecturalCapitalPlace(12);
    place.place.latitude += 0.0001;
    EXPECT_EQ(FindPrefecturalCapital(place), -1);
    EXPECT_STREQ(PrefecturalCapitalPlace(47).name, "東京");
}

}  // namespace
