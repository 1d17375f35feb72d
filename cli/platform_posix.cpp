#include <errno.h>
#include <iconv.h>

#include <cstring>
#include <ctime>

#include "astro/civil_dates.h"
#include "cli/commands.h"

void CurrentUtcTime(SYSTEMTIME* out) {
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    const int64_t days = (now >= 0 ? now : now - 86399) / 86400;
    const int64_t seconds = now - days * 86400;
    const CivilDate date = CivilFromDays(days);
    *out = SYSTEMTIME{};
    out->wYear = static_cast<uint16_t>(date.year);
    out->wMonth = static_cast<uint16_t>(date.month);
    out->wDay = static_cast<uint16_t>(date.day);
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

bool ReadProgramArguments(int argc, char** argv, std::vector<std::string>* words, int* bad) {
    *bad = 0;
    words->assign(argv, argv + argc);
    return true;
}

std::string ArgumentTextAsUtf8(const char* text) {
    return text;
}
