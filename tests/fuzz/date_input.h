// The input layout shared by the date and calendar fuzz targets (one seed serves both): a
// selector byte, a time-zone bias, the eight civil fields, two doubles and a search mode, read
// little-endian; past the end of the input, zeros.
#pragma once

#include <cstdint>
#include <cstring>

#include "astro/lunar_day.h"
#include "astro/time_scales.h"
#include "tests/fuzz/fuzz_check.h"

struct DateInput {
    uint8_t selector;
    int32_t bias;
    SYSTEMTIME civil;
    double x;
    double y;
    int32_t mode;
};

template <typename T>
T TakeValue(const uint8_t* data, size_t size, size_t* at) {
    unsigned char bytes[sizeof(T)] = {};
    for (size_t i = 0; i < sizeof(T) && *at < size; ++i) {
        bytes[i] = data[(*at)++];
    }
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
}

inline DateInput ReadDateInput(const uint8_t* data, size_t size) {
    size_t at = 0;
    DateInput in;
    in.selector = TakeValue<uint8_t>(data, size, &at);
    in.bias = TakeValue<int32_t>(data, size, &at);
    uint16_t* fields[] = {&in.civil.wYear,   &in.civil.wMonth,       &in.civil.wDayOfWeek,
                          &in.civil.wDay,    &in.civil.wHour,        &in.civil.wMinute,
                          &in.civil.wSecond, &in.civil.wMilliseconds};
    for (uint16_t* field : fields) {
        *field = TakeValue<uint16_t>(data, size, &at);
    }
    in.x = TakeValue<double>(data, size, &at);
    in.y = TakeValue<double>(data, size, &at);
    in.mode = TakeValue<int32_t>(data, size, &at);
    return in;
}

// The zone of an input: any 32-bit bias when the selector's low two bits are 0, a real zone's
// (within a day) otherwise, so that extreme dates also meet ordinary zones.
inline int32_t BiasOf(const DateInput& in) {
    return (in.selector & 3) == 0 ? in.bias : in.bias % 1441;
}

inline bool AllZero(const LunarDay& d) {
    return d.month == 0 && d.day == 0 && d.leap == 0 && d.rokuyo == 0 && d.stem == 0 &&
           d.branch == 0 && d.tide == 0;
}

// Every field in its documented range, or every field 0 for a day outside the computable span.
inline void CheckLunar(const LunarDay& d) {
    if (AllZero(d)) {
        return;
    }
    FUZZ_CHECK(d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 30);
    FUZZ_CHECK((d.leap == 0 || d.leap == 1) && d.rokuyo >= 0 && d.rokuyo <= 5);
    FUZZ_CHECK(d.stem >= 0 && d.stem <= 9 && d.branch >= 0 && d.branch <= 11);
    FUZZ_CHECK(d.tide >= 0 && d.tide <= 4);
}
