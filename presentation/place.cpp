#include "presentation/place.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "presentation/shift_jis.h"

namespace {

// Longer than any coordinate a person types; a longer text is refused, not read.
constexpr size_t kMaxCoordinateText = 32;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Decimal degrees of the form [blanks][sign]digits[.digits][blanks], within [-limit, limit].
bool ParseDegrees(const char* text, double limit, double* degrees) {
    if (text == nullptr) {
        return false;
    }
    const char* p = text;
    while (IsBlank(*p)) {
        ++p;
    }
    const char* start = p;
    if (*p == '+' || *p == '-') {
        ++p;
    }
    const char* digits = p;
    while (IsDigit(*p)) {
        ++p;
    }
    if (p == digits) {
        return false;
    }
    if (*p == '.') {
        ++p;
        const char* fraction = p;
        while (IsDigit(*p)) {
            ++p;
        }
        if (p == fraction) {
            return false;
        }
    }
    const size_t length = static_cast<size_t>(p - start);
    while (IsBlank(*p)) {
        ++p;
    }
    if (*p != '\0' || length > kMaxCoordinateText) {
        return false;
    }
    // The form is checked above, so strtod reads exactly these characters; neither program sets
    // a locale, so the point is the decimal separator.
    char copy[kMaxCoordinateText + 1];
    std::memcpy(copy, start, length);
    copy[length] = '\0';
    const double value = std::strtod(copy, nullptr);
    if (!(value >= -limit && value <= limit)) {
        return false;
    }
    *degrees = value;
    return true;
}

// The Shift_JIS `text` without leading and trailing blanks, cut to fit `size` bytes.
void CopyTrimmedName(char* dest, size_t size, const char* text) {
    dest[0] = '\0';
    if (text == nullptr) {
        return;
    }
    while (IsBlank(*text)) {
        ++text;
    }
    AppendShiftJisText(dest, size, text);
    // Trailing blanks are single bytes after the last character; a trail byte is never 0x20 or
    // 0x09 (trail bytes start at 0x40), so stripping them never splits a character.
    size_t length = std::strlen(dest);
    while (length > 0 && IsBlank(dest[length - 1])) {
        dest[--length] = '\0';
    }
}

}  // namespace

PlaceSetting DefaultPlaceSetting() {
    PlaceSetting setting = {};
    std::snprintf(setting.name, sizeof setting.name, "%s", "東京");
    setting.place = {35.6581, 139.7414};
    return setting;
}

bool ParseLatitude(const char* text, double* degrees) {
    return ParseDegrees(text, kMaxPlaceLatitude, degrees);
}

bool ParseLongitude(const char* text, double* degrees) {
    return ParseDegrees(text, kMaxPlaceLongitude, degrees);
}

char* FormatCoordinate(char* dest, size_t size, double degrees) {
    if (size == 0) {
        return dest;
    }
    std::snprintf(dest, size, "%.4f", degrees);
    if (std::strcmp(dest, "-0.0000") == 0) {
        std::snprintf(dest, size, "%s", "0.0000");
    }
    return dest;
}

PlaceProblem ValidatePlaceFields(const char* name, const char* latitude, const char* longitude,
                                 PlaceSetting* out) {
    PlaceSetting setting = {};
    CopyTrimmedName(setting.name, sizeof setting.name, name);
    if (setting.name[0] == '\0') {
        return PlaceProblem::NameMissing;
    }
    if (!ParseLatitude(latitude, &setting.place.latitude)) {
        return PlaceProblem::LatitudeInvalid;
    }
    if (!ParseLongitude(longitude, &setting.place.longitude)) {
        return PlaceProblem::LongitudeInvalid;
    }
    *out = setting;
    return PlaceProblem::None;
}

bool ResolvePlaceSetting(const char* name, const char* latitude, const char* longitude,
                         PlaceSetting* out) {
    if (ValidatePlaceFields(name, latitude, longitude, out) == PlaceProblem::None) {
        return true;
    }
    *out = DefaultPlaceSetting();
    return false;
}

int32_t FindPrefecturalCapital(const PlaceSetting& place) {
    char latitude[16];
    char longitude[16];
    FormatCoordinate(latitude, sizeof latitude, place.place.latitude);
    FormatCoordinate(longitude, sizeof longitude, place.place.longitude);
    for (int32_t i = 0; i < kPrefecturalCapitalCount; ++i) {
        const PrefecturalCapital& capital = kPrefecturalCapitals[i];
        char capitalLatitude[16];
        char capitalLongitude[16];
        FormatCoordinate(capitalLatitude, sizeof capitalLatitude, capital.latitude);
        FormatCoordinate(capitalLongitude, sizeof capitalLongitude, capital.longitude);
        if (std::strcmp(place.name, capital.name) == 0 &&
            std::strcmp(latitude, capitalLatitude) == 0 &&
            std::strcmp(longitude, capitalLongitude) == 0) {
            return i;
        }
    }
    return -1;
}

PlaceSetting PrefecturalCapitalPlace(int32_t index) {
    if (index < 0 || index >= kPrefecturalCapitalCount) {
        return DefaultPlaceSetting();
    }
    const PrefecturalCapital& capital = kPrefecturalCapitals[index];
    PlaceSetting setting = {};
    std::snprintf(setting.name, sizeof setting.name, "%s", capital.name);
    setting.place = {capital.latitude, capital.longitude};
    return setting;
}

// The prefectural offices (都道府県庁) in the order of the prefectures' codes: the positions the
// Geospatial Information Authority of Japan publishes for them (world geodetic system, whole
// seconds of arc), in decimal degrees rounded to 0.0001 (about 11 m, under a second of any
// rising or setting).
const PrefecturalCapital kPrefecturalCapitals[] = {
    {      "北海道 札幌市", 43.0642, 141.3469},
    {      "青森県 青森市", 40.8244, 140.7400},
    {      "岩手県 盛岡市", 39.7036, 141.1525},
    {      "宮城県 仙台市", 38.2689, 140.8719},
    {      "秋田県 秋田市", 39.7186, 140.1025},
    {      "山形県 山形市", 38.2406, 140.3633},
    {      "福島県 福島市", 37.7500, 140.4678},
    {      "茨城県 水戸市", 36.3414, 140.4467},
    {   "栃木県 宇都宮市", 36.5658, 139.8836},
    {      "群馬県 前橋市", 36.3911, 139.0608},
    {"埼玉県 さいたま市", 35.8569, 139.6489},
    {      "千葉県 千葉市", 35.6047, 140.1233},
    {      "東京都 新宿区", 35.6894, 139.6917},
    {   "神奈川県 横浜市", 35.4478, 139.6425},
    {      "新潟県 新潟市", 37.9022, 139.0236},
    {      "富山県 富山市", 36.6953, 137.2114},
    {      "石川県 金沢市", 36.5944, 136.6256},
    {      "福井県 福井市", 36.0653, 136.2219},
    {      "山梨県 甲府市", 35.6639, 138.5683},
    {      "長野県 長野市", 36.6514, 138.1811},
    {      "岐阜県 岐阜市", 35.3911, 136.7222},
    {      "静岡県 静岡市", 34.9769, 138.3831},
    {   "愛知県 名古屋市", 35.1803, 136.9067},
    {         "三重県 津市", 34.7303, 136.5086},
    {      "滋賀県 大津市", 35.0044, 135.8683},
    {      "京都府 京都市", 35.0214, 135.7556},
    {      "大阪府 大阪市", 34.6864, 135.5200},
    {      "兵庫県 神戸市", 34.6914, 135.1831},
    {      "奈良県 奈良市", 34.6853, 135.8328},
    {"和歌山県 和歌山市", 34.2261, 135.1675},
    {      "鳥取県 鳥取市", 35.5036, 134.2383},
    {      "島根県 松江市", 35.4722, 133.0506},
    {      "岡山県 岡山市", 34.6617, 133.9350},
    {      "広島県 広島市", 34.3964, 132.4594},
    {      "山口県 山口市", 34.1858, 131.4714},
    {      "徳島県 徳島市", 34.0658, 134.5594},
    {      "香川県 高松市", 34.3403, 134.0433},
    {      "愛媛県 松山市", 33.8417, 132.7661},
    {      "高知県 高知市", 33.5597, 133.5311},
    {      "福岡県 福岡市", 33.6064, 130.4181},
    {      "佐賀県 佐賀市", 33.2494, 130.2989},
    {      "長崎県 長崎市", 32.7447, 129.8736},
    {      "熊本県 熊本市", 32.7897, 130.7417},
    {      "大分県 大分市", 33.2381, 131.6125},
    {      "宮崎県 宮崎市", 31.9111, 131.4239},
    {"鹿児島県 鹿児島市", 31.5603, 130.5581},
    {      "沖縄県 那覇市", 26.2125, 127.6811},
};

const int32_t kPrefecturalCapitalCount =
    static_cast<int32_t>(sizeof kPrefecturalCapitals / sizeof kPrefecturalCapitals[0]);
