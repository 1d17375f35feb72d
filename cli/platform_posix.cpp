#include <errno.h>
#include <iconv.h>

#include <cstring>
#include <ctime>

#include "cli/commands.h"

namespace {

// Days since 1970-01-01 to a proleptic Gregorian date (days may be negative).
void CivilFromDays(int64_t days, int* year, int* month, int* day) {
    days += 719468;  // days since 0000-03-01
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;  // [0, 146096]
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;  // [0, 399]
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;  // [0, 11]
    *day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    *month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    *year = static_cast<int>(yearOfEra + era * 400 + (*month <= 2 ? 1 : 0));
}

}  // namespace

void CurrentUtcTime(SYSTEMTIME* out) {
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    const int64_t days = (now >= 0 ? now : now - 86399) / 86400;
    const int64_t seconds = now - days * 86400;
    int year = 0;
    int month = 0;
    int day = 0;
    CivilFromDays(days, &year, &month, &day);
    *out = SYSTEMTIME{};
    out->wYear = static_cast<uint16_t>(year);
    out->wMonth = static_cast<uint16_t>(month);
    out->wDay = static_cast<uint16_t>(day);
    out->wDayOfWeek = static_cast<uint16_t>((days % 7 + 11) % 7);  // 1970-01-01 was a Thursday
    out->wHour = static_cast<uint16_t>(seconds / 3600);
    out->wMinute = static_cast<uint16_t>(seconds / 60 % 60);
    out->wSecond = static_cast<uint16_t>(seconds % 60);
}

size_t ShiftJisToUtf8(const char* sjis, char* dest, size_t size) {
    if (size == 0) {
        return 0;
    }
    // The converter lives for the whole run; glibc's CP932 is Microsoft's code page 932.
    static iconv_t converter = iconv_open("UTF-8", "CP932");
    char* in = const_cast<char*>(sjis);
    size_t inLeft = std::strlen(sjis);
    char* out = dest;
    size_t outLeft = size - 1;
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        for (; inLeft > 0 && outLeft > 0; ++in, --inLeft, --outLeft) {
            *out++ = static_cast<unsigned char>(*in) < 0x80 ? *in : '?';
        }
        *out = '\0';
        return static_cast<size_t>(out - dest);
    }
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        if (iconv(converter, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) {
            break;
        }
        if (errno == E2BIG || outLeft == 0) {
            break;
        }
        // Not Shift_JIS, or a lead byte without its trail byte.
        *out++ = '?';
        --outLeft;
        ++in;
        --inLeft;
    }
    *out = '\0';
    return static_cast<size_t>(out - dest);
}

void PrepareStandardStreams() {}
