// The selected days (選日) and the 72 seasons (七十二候) of a local date.
#include "calendar/almanac_notes.h"

#include <cmath>

#include "astro/civil_dates.h"
#include "astro/longitudes.h"
#include "astro/precise_sun.h"
#include "astro/searches.h"
#include "astro/time_scales.h"
#include "astro/time_zone.h"

namespace {

// The earthly branches of a day, as LunarDay counts them.
enum Branch : int32_t { Ne, Ushi, Tora, U, Tatsu, Mi, Uma, Hitsuji, Saru, Tori, Inu, I };
// The celestial stems that the rules below name.
enum Stem : int32_t { Kinoe = 0, Tsuchinoe = 4, Tsuchinoto = 5 };

// 一粒万倍日: the two branches of the day that make it, by 節月.
struct IchiryuRow {
    int32_t solarMonth;
    int32_t branch1;
    int32_t branch2;
};

// clang-format off
static const IchiryuRow kIchiryuManbai[] = {
    { 1, Ushi,    Uma},  // 丑 午
    { 2, Tora,   Tori},  // 寅 酉
    { 3,   Ne,      U},  // 子 卯
    { 4,    U,  Tatsu},  // 卯 辰
    { 5,   Mi,    Uma},  // 巳 午
    { 6,  Uma,   Tori},  // 午 酉
    { 7,   Ne, Hitsuji}, // 子 未
    { 8,    U,   Saru},  // 卯 申
    { 9,  Uma,   Tori},  // 午 酉
    {10, Tori,    Inu},  // 酉 戌
    {11,    I,     Ne},  // 亥 子
    {12,   Ne,      U},  // 子 卯
};
// clang-format on

// 天赦日: the one day of the sexagenary cycle that makes it, by season of 節月.
struct TenshaRow {
    int32_t firstSolarMonth;
    int32_t lastSolarMonth;
    int32_t stem;
    int32_t branch;
};

static const TenshaRow kTenshanichi[] = {
    { 1,  3, Tsuchinoe, Tora}, // 戊寅 in spring
    { 4,  6,     Kinoe,  Uma}, // 甲午 in summer
    { 7,  9, Tsuchinoe, Saru}, // 戊申 in autumn
    {10, 12,     Kinoe,   Ne}, // 甲子 in winter
};

// 不成就日: the lunisolar days of it, by lunisolar month (a leap month counts as its base month).
struct FujojuRow {
    int32_t month1;
    int32_t month2;
    int32_t days[4];
};

static const FujojuRow kFujoju[] = {
    {1,  7, {3, 11, 19, 27}},
    {2,  8, {2, 10, 18, 26}},
    {3,  9,  {1, 9, 17, 25}},
    {4, 10, {4, 12, 20, 28}},
    {5, 11, {5, 13, 21, 29}},
    {6, 12, {6, 14, 22, 30}},
};

// 三隣亡: the branch of the day that makes it, by 節月.
struct SanrinboRow {
    int32_t solarMonths[4];
    int32_t branch;
};

static const SanrinboRow kSanrinbo[] = {
    {{1, 4, 7, 10},    I}, // 亥
    {{2, 5, 8, 11}, Tora}, // 寅
    {{3, 6, 9, 12},  Uma}, // 午
};

// Shift_JIS, in the order the notes are joined.
static const char* const kNoteNames[kDayNoteCount] = {
    "天赦日",   "一粒万倍日", "寅の日", "巳の日",     "己巳の日", "甲子の日",
    "不成就日", "三隣亡",     "十五夜", "後の十五夜", "十三夜",   "後の十三夜",
};

// The 72 seasons as used in Japan today, from 東風解凍 at 315° every 5°, with their readings.
// This table alone is UTF-8 (u8 literals are UTF-8 whatever the execution character set): 睍睆,
// 鱖 and 雊 are not in code page 932.
struct KouRow {
    const char* name;
    const char* reading;
};

// clang-format off
static const KouRow kKou[kKouCount] = {
    {u8"東風解凍", u8"はるかぜこおりをとく"},
    {u8"黄鶯睍睆", u8"うぐいすなく"},
    {u8"魚上氷",   u8"うおこおりをいずる"},
    {u8"土脉潤起", u8"つちのしょううるおいおこる"},
    {u8"霞始靆",   u8"かすみはじめてたなびく"},
    {u8"草木萌動", u8"そうもくめばえいずる"},
    {u8"蟄虫啓戸", u8"すごもりむしとをひらく"},
    {u8"桃始笑",   u8"ももはじめてさく"},
    {u8"菜虫化蝶", u8"なむしちょうとなる"},
    {u8"雀始巣",   u8"すずめはじめてすくう"},
    {u8"桜始開",   u8"さくらはじめてひらく"},
    {u8"雷乃発声", u8"かみなりすなわちこえをはっす"},
    {u8"玄鳥至",   u8"つばめきたる"},
    {u8"鴻雁北",   u8"こうがんかえる"},
    {u8"虹始見",   u8"にじはじめてあらわる"},
    {u8"葭始生",   u8"あしはじめてしょうず"},
    {u8"霜止出苗", u8"しもやんでなえいずる"},
    {u8"牡丹華",   u8"ぼたんはなさく"},
    {u8"蛙始鳴",   u8"かわずはじめてなく"},
    {u8"蚯蚓出",   u8"みみずいずる"},
    {u8"竹笋生",   u8"たけのこしょうず"},
    {u8"蚕起食桑", u8"かいこおきてくわをはむ"},
    {u8"紅花栄",   u8"べにばなさかう"},
    {u8"麦秋至",   u8"むぎのときいたる"},
    {u8"蟷螂生",   u8"かまきりしょうず"},
    {u8"腐草為蛍", u8"くされたるくさほたるとなる"},
    {u8"梅子黄",   u8"うめのみきばむ"},
    {u8"乃東枯",   u8"なつかれくさかるる"},
    {u8"菖蒲華",   u8"あやめはなさく"},
    {u8"半夏生",   u8"はんげしょうず"},
    {u8"温風至",   u8"あつかぜいたる"},
    {u8"蓮始開",   u8"はすはじめてひらく"},
    {u8"鷹乃学習", u8"たかすなわちわざをならう"},
    {u8"桐始結花", u8"きりはじめてはなをむすぶ"},
    {u8"土潤溽暑", u8"つちうるおうてむしあつし"},
    {u8"大雨時行", u8"たいうときどきふる"},
    {u8"涼風至",   u8"すずかぜいたる"},
    {u8"寒蝉鳴",   u8"ひぐらしなく"},
    {u8"蒙霧升降", u8"ふかききりまとう"},
    {u8"綿柎開",   u8"わたのはなしべひらく"},
    {u8"天地始粛", u8"てんちはじめてさむし"},
    {u8"禾乃登",   u8"こくものすなわちみのる"},
    {u8"草露白",   u8"くさのつゆしろし"},
    {u8"鶺鴒鳴",   u8"せきれいなく"},
    {u8"玄鳥去",   u8"つばめさる"},
    {u8"雷乃収声", u8"かみなりすなわちこえをおさむ"},
    {u8"蟄虫坏戸", u8"むしかくれてとをふさぐ"},
    {u8"水始涸",   u8"みずはじめてかるる"},
    {u8"鴻雁来",   u8"こうがんきたる"},
    {u8"菊花開",   u8"きくのはなひらく"},
    {u8"蟋蟀在戸", u8"きりぎりすとにあり"},
    {u8"霜始降",   u8"しもはじめてふる"},
    {u8"霎時施",   u8"こさめときどきふる"},
    {u8"楓蔦黄",   u8"もみじつたきばむ"},
    {u8"山茶始開", u8"つばきはじめてひらく"},
    {u8"地始凍",   u8"ちはじめてこおる"},
    {u8"金盞香",   u8"きんせんかさく"},
    {u8"虹蔵不見", u8"にじかくれてみえず"},
    {u8"朔風払葉", u8"きたかぜこのはをはらう"},
    {u8"橘始黄",   u8"たちばなはじめてきばむ"},
    {u8"閉塞成冬", u8"そらさむくふゆとなる"},
    {u8"熊蟄穴",   u8"くまあなにこもる"},
    {u8"鱖魚群",   u8"さけのうおむらがる"},
    {u8"乃東生",   u8"なつかれくさしょうず"},
    {u8"麋角解",   u8"さわしかのつのおつる"},
    {u8"雪下出麦", u8"ゆきわたりてむぎのびる"},
    {u8"芹乃栄",   u8"せりすなわちさかう"},
    {u8"水泉動",   u8"しみずあたたかをふくむ"},
    {u8"雉始雊",   u8"きじはじめてなく"},
    {u8"款冬華",   u8"ふきのはなさく"},
    {u8"水沢腹堅", u8"さわみずこおりつめる"},
    {u8"鶏始乳",   u8"にわとりはじめてとやにつく"},
};
// clang-format on

// 雪下出麦 begins when the Sun reaches 280°, within a day of the local new year: a civil year can
// hold that instant twice or not at all, so it is found as the one after the year's 275°.
constexpr int kNewYearKou = 65;
constexpr int kKouBefore = 64;

// The 候 starts of one civil year as local day counts, and the last two of the year before, which
// are in effect from the new year to 小寒. The 12 節 are the starts of 候 0, 6, 12 .. 66, so the
// 節月 of a day follows from its 候. Remembers the year and the bias it was computed for.
struct KouYear {
    uint16_t year;  // 0 = empty
    int32_t bias;
    int64_t start[kKouCount];
    bool found[kKouCount];
    int64_t previousStart[2];  // 候 64 and 65 of the year before
    bool previousFound[2];
};

// Two years: the calendar window's January shows days of December, and December days of January,
// so a walk month after month goes back and forth across each new year.
KouYear kouYears[2] = {};
int kouNewest = 0;

// The Sun's apparent longitude reaches L after T (the precise Sun's, see below): the fixed-point
// step of the solar search (1/65536 century a degree, about 55 % of the distance a round), from an
// instant a few degrees before L, so it closes from below and never passes a whole revolution.
// Bounded to 64 rounds.
bool SunReachesAfter(JulianCenturies T, double L, JulianCenturies* out) {
    for (int round = 0; round < 64; ++round) {
        double diff = ApparentSunLongitude(T) - L;
        if (diff < 0) {
            diff = diff + 360;
        }
        if (diff > 180) {
            diff = diff - 360;
        }
        if (std::fabs(diff) < 1e-06) {
            // The short series' instant, then one step on the precise Sun: the date of 雪下出麦
            // follows the precise instant like every other solar date.
            double precise = PreciseSunLongitude(T) - L;
            if (precise > 180) {
                precise = precise - 360;
            } else if (precise < -180) {
                precise = precise + 360;
            }
            *out = T - precise / SunLongitudeRate(T);
            return true;
        }
        T = T - diff * 1.52587890625e-05;
    }
    return false;
}

int64_t LocalDayOf(JulianCenturies T, int32_t bias) {
    SYSTEMTIME local;
    SystemTimeFromJulianDate(JulianDateFromCenturies(T) - bias * kDaysPerMinute, &local);
    return DaysFromCivil({local.wYear, local.wMonth, local.wDay});
}

double KouLongitude(int index) {
    const int L = 315 + 5 * index;
    return L >= 360 ? L - 360 : L;
}

// Starts of 候 64 and 65 (275° and the 280° after it) of `year`.
void LateDecemberStarts(uint16_t year, int32_t bias, int64_t starts[2], bool found[2]) {
    bool ok = false;
    const JulianCenturies T275 = FindSolarLongitudeDayInstant(year, KouLongitude(kKouBefore), &ok);
    found[0] = ok;
    found[1] = false;
    if (!ok) {
        return;
    }
    starts[0] = LocalDayOf(T275, bias);
    JulianCenturies T280 = T275;
    found[1] = SunReachesAfter(T275, KouLongitude(kNewYearKou), &T280);
    starts[1] = found[1] ? LocalDayOf(T280, bias) : 0;
}

const KouYear& KouYearOf(uint16_t year) {
    const int32_t bias = TimeZoneBias();
    for (int i = 0; i < 2; ++i) {
        // Year 0 marks an empty record, so a request for year 0 is never taken as held.
        if (year != 0 && kouYears[i].year == year && kouYears[i].bias == bias) {
            kouNewest = i;
            return kouYears[i];
        }
    }
    kouNewest = 1 - kouNewest;  // replaces the one used longer ago
    KouYear& kou = kouYears[kouNewest];
    kou.year = year;
    kou.bias = bias;
    for (int k = 0; k < kKouCount; ++k) {
        if (k == kKouBefore || k == kNewYearKou) {
            continue;
        }
        bool ok = false;
        const JulianCenturies T = FindSolarLongitudeDayInstant(year, KouLongitude(k), &ok);
        kou.found[k] = ok;
        kou.start[k] = ok ? LocalDayOf(T, bias) : 0;
    }
    int64_t late[2];
    bool lateFound[2];
    LateDecemberStarts(year, bias, late, lateFound);
    kou.start[kKouBefore] = late[0];
    kou.found[kKouBefore] = lateFound[0];
    kou.start[kNewYearKou] = late[1];
    kou.found[kNewYearKou] = lateFound[1];
    LateDecemberStarts(static_cast<uint16_t>(year - 1), bias, kou.previousStart, kou.previousFound);
    return kou;
}

// The 候 in effect on the local day `days` of `year`: the one whose start is the latest at or
// before it; -1 when none was found.
int32_t KouOfDay(uint16_t year, int64_t days) {
    const KouYear& kou = KouYearOf(year);
    int32_t best = -1;
    int64_t bestStart = 0;
    for (int k = 0; k < kKouCount; ++k) {
        if (kou.found[k] && kou.start[k] <= days && (best < 0 || kou.start[k] > bestStart)) {
            best = k;
            bestStart = kou.start[k];
        }
    }
    if (best >= 0) {
        return best;
    }
    // Before 小寒: the season that began in December (or on 1 January) goes on.
    for (int i = 1; i >= 0; --i) {
        if (kou.previousFound[i] && kou.previousStart[i] <= days) {
            return i == 1 ? kNewYearKou : kKouBefore;
        }
    }
    return -1;
}

bool IsFujoju(const LunarDay& lunar) {
    for (const FujojuRow& row : kFujoju) {
        if (lunar.month != row.month1 && lunar.month != row.month2) {
            continue;
        }
        for (int32_t day : row.days) {
            if (lunar.day == day) {
                return true;
            }
        }
    }
    return false;
}

bool IsSanrinbo(int32_t solarMonth, int32_t branch) {
    for (const SanrinboRow& row : kSanrinbo) {
        for (int32_t month : row.solarMonths) {
            if (month == solarMonth && branch == row.branch) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

DayNotes DayNotesOf(uint16_t year, uint16_t month, uint16_t day, const LunarDay& lunar) {
    DayNotes notes = {0, -1, 0};
    notes.kou = KouOfDay(year, DaysFromCivil({year, month, day}));
    notes.solarMonth = notes.kou >= 0 ? notes.kou / 6 + 1 : 0;
    const int32_t stem = lunar.stem;
    const int32_t branch = lunar.branch;
    for (const TenshaRow& row : kTenshanichi) {
        if (notes.solarMonth >= row.firstSolarMonth && notes.solarMonth <= row.lastSolarMonth &&
            stem == row.stem && branch == row.branch) {
            notes.flags |= NoteTenshanichi;
        }
    }
    for (const IchiryuRow& row : kIchiryuManbai) {
        if (row.solarMonth == notes.solarMonth &&
            (branch == row.branch1 || branch == row.branch2)) {
            notes.flags |= NoteIchiryuManbai;
        }
    }
    if (branch == Tora) {
        notes.flags |= NoteToraNoHi;
    }
    if (branch == Mi) {
        notes.flags |= NoteMiNoHi;
        if (stem == Tsuchinoto) {
            notes.flags |= NoteTsuchinotoMi;
        }
    }
    if (stem == Kinoe && branch == Ne) {
        notes.flags |= NoteKinoeNe;
    }
    if (IsFujoju(lunar)) {
        notes.flags |= NoteFujoju;
    }
    if (IsSanrinbo(notes.solarMonth, branch)) {
        notes.flags |= NoteSanrinbo;
    }
    if (lunar.month == 8 && lunar.day == 15) {
        notes.flags |= lunar.leap ? NoteNochiNoJugoya : NoteJugoya;
    }
    if (lunar.month == 9 && lunar.day == 13) {
        notes.flags |= lunar.leap ? NoteNochiNoJusanya : NoteJusanya;
    }
    return notes;
}

DayNotes ComputeDayNotes(uint16_t year, uint16_t month, uint16_t day) {
    SYSTEMTIME noon = {};
    noon.wYear = year;
    noon.wMonth = month;
    noon.wDay = day;
    noon.wHour = 12;
    LunarDay lunar;
    ComputeLunarDay(&lunar, JulianDateFromSystemTime(noon) + TimeZoneBias() * kDaysPerMinute);
    return DayNotesOf(year, month, day, lunar);
}

const char* DayNoteName(int index) {
    return index >= 0 && index < kDayNoteCount ? kNoteNames[index] : "";
}

const char* KouName(int index) {
    return index >= 0 && index < kKouCount ? kKou[index].name : "";
}

const char* KouReading(int index) {
    return index >= 0 && index < kKouCount ? kKou[index].reading : "";
}

bool KouStartDay(uint16_t year, int index, int64_t* days) {
    if (index < 0 || index >= kKouCount) {
        return false;
    }
    const KouYear& kou = KouYearOf(year);
    *days = kou.start[index];
    return kou.found[index];
}
