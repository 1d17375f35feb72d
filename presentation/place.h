// The observer's place of the risings and settings: its name and coordinates as the settings file
// and the place dialog hold them, the checks of typed coordinates, and the prefectural capitals
// the dialog offers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "astro/rise_set.h"

// Bytes of a place name, the terminating zero included: 20 double-byte characters.
constexpr size_t kPlaceNameSize = 41;

// Latitudes the risings and settings are computed for: beyond 89.5 degrees the searches give no
// events at all, so such a place is refused rather than shown as one where nothing ever rises.
constexpr double kMaxPlaceLatitude = 89.5;
constexpr double kMaxPlaceLongitude = 180;

// A named place. `name` is Shift_JIS, never empty in a place in use.
struct PlaceSetting {
    char name[kPlaceNameSize];
    GeoPlace place;
};

// The national almanac's Tokyo point: 東京, 35.6581 N, 139.7414 E.
PlaceSetting DefaultPlaceSetting();

// A latitude or longitude typed as decimal degrees: optional blanks, an optional sign, digits,
// optionally a point followed by digits, optional blanks ("35.6581", "-12.5", "+7"). Anything
// else ("", "abc", "35.6.1", "1e3", "NaN", "35,6", ".5") is refused, and so is a value outside
// -89.5 .. 89.5 (latitude) or -180 .. 180 (longitude). Returns false and leaves *degrees alone
// when refused.
bool ParseLatitude(const char* text, double* degrees);
bool ParseLongitude(const char* text, double* degrees);

// `degrees` with four decimals ("35.6581", "-0.5000"; never "-0.0000"): a ten-thousandth of a
// degree is about 10 m, far finer than the minute the times are shown to. Writes at most `size`
// bytes with the terminator; 16 always suffice. Returns dest.
char* FormatCoordinate(char* dest, size_t size, double degrees);

// Why the place dialog refuses what was typed, in the order the fields are checked.
enum class PlaceProblem : int32_t {
    None,
    NameMissing,       // the name is empty or blank
    LatitudeInvalid,   // unreadable or outside -89.5 .. 89.5
    LongitudeInvalid,  // unreadable or outside -180 .. 180
};

// Checks the three typed fields (Shift_JIS). The name is taken without its leading and trailing
// blanks and cut at a character boundary to kPlaceNameSize - 1 bytes. On None, *out holds the
// place; otherwise *out is left alone.
PlaceProblem ValidatePlaceFields(const char* name, const char* latitude, const char* longitude,
                                 PlaceSetting* out);

// The place of the settings file's [Place] values: all three when they pass ValidatePlaceFields,
// otherwise the default for all three together (a name with somebody else's coordinates would
// show wrong times under a right-looking name). Returns whether the file's values were used.
bool ResolvePlaceSetting(const char* name, const char* latitude, const char* longitude,
                         PlaceSetting* out);

// One prefectural office: the prefecture and the city it sits in ("北海道 札幌市"), and its
// position in degrees to 0.0001.
struct PrefecturalCapital {
    const char* name;
    double latitude;
    double longitude;
};

// The 47 prefectural offices in the order of the prefectures' codes (北海道 01 .. 沖縄 47).
extern const PrefecturalCapital kPrefecturalCapitals[];
extern const int32_t kPrefecturalCapitalCount;

// The capital whose name and four-decimal coordinates are those of `place`, or -1.
int32_t FindPrefecturalCapital(const PlaceSetting& place);

// The place of capital `index` (0 .. 46); the default place for any other index.
PlaceSetting PrefecturalCapitalPlace(int32_t index);
