// Names of the rokuyo, the sexagenary day sign and the tide class. The orders are fixed by the
// indices the lunisolar day computes.
#include "calendar/day_signs.h"

#include <cstring>

namespace {

const char* const kRokuyoNames[] = {"大安", "赤口", "先勝", "友引", "先負", "仏滅"};
const char* const kStemNames[] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
const char* const kBranchNames[] = {"子", "丑", "寅", "卯", "辰", "巳",
                                    "午", "未", "申", "酉", "戌", "亥"};
const char* const kTideNames[] = {"大潮", "中潮", "小潮", "長潮", "若潮"};

template <int N>
const char* Wrapped(const char* const (&table)[N], int32_t index) {
    // A negative index wraps too, so no index can reach outside the table.
    int32_t i = index % N;
    if (i < 0) {
        i += N;
    }
    return table[i];
}

}  // namespace

char* RokuyoName(char* dest, int32_t rokuyo) {
    std::strcpy(dest, Wrapped(kRokuyoNames, rokuyo));
    return dest;
}

char* DaySignName(char* dest, const LunarDay& lunar) {
    std::strcpy(dest, Wrapped(kStemNames, lunar.stem));
    std::strcat(dest, Wrapped(kBranchNames, lunar.branch));
    return dest;
}

char* TideName(char* dest, const LunarDay& lunar) {
    std::strcpy(dest, Wrapped(kTideNames, lunar.tide));
    return dest;
}
