#include <windows.h>
#include <shellapi.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

#include "cli/commands.h"

void CurrentUtcTime(SYSTEMTIME* out) {
    GetSystemTime(out);
}

size_t ShiftJisToUtf8(const char* sjis, char* dest, size_t size) {
    if (size == 0) {
        return 0;
    }
    dest[0] = '\0';
    const int length = static_cast<int>(std::strlen(sjis));
    if (length == 0) {
        return 0;
    }
    const int wideLength = MultiByteToWideChar(932, 0, sjis, length, nullptr, 0);
    if (wideLength <= 0) {
        return 0;
    }
    std::vector<wchar_t> wide(static_cast<size_t>(wideLength));
    MultiByteToWideChar(932, 0, sjis, length, wide.data(), wideLength);
    const int utf8Length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (utf8Length <= 0) {
        return 0;
    }
    std::vector<char> utf8(static_cast<size_t>(utf8Length));
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), utf8Length, nullptr,
                        nullptr);
    size_t count = static_cast<size_t>(utf8Length);
    if (count > size - 1) {
        // Cut before a whole character, never inside one.
        count = size - 1;
        while (count > 0 && (static_cast<unsigned char>(utf8[count]) & 0xC0) == 0x80) {
            --count;
        }
    }
    std::memcpy(dest, utf8.data(), count);
    dest[count] = '\0';
    return count;
}

void PrepareStandardStreams() {
    // The output is UTF-8 and, for `phases`, a machine format: the same bytes as on other
    // systems, without the C runtime's newline translation.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool ReadProgramArguments(int argc, char** argv, std::vector<std::string>* words, int* bad) {
    *bad = 0;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        words->assign(argv, argv + argc);  // the ANSI words are still better than none
        return true;
    }
    words->clear();
    bool ok = true;
    for (int i = 0; i < count; ++i) {
        std::string word;
        const int length = static_cast<int>(std::wcslen(wide[i]));
        BOOL lost = FALSE;
        const int bytes = length > 0 ? WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide[i],
                                                           length, nullptr, 0, nullptr, &lost)
                                     : 0;
        if (bytes > 0) {
            word.resize(static_cast<size_t>(bytes));
            WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide[i], length, &word[0], bytes,
                                nullptr, &lost);
        }
        if ((lost || (length > 0 && bytes <= 0)) && ok) {
            ok = false;
            *bad = i;
        }
        words->push_back(word);
    }
    LocalFree(wide);
    return ok;
}

std::string ArgumentTextAsUtf8(const char* text) {
    // A half-width katakana byte becomes three bytes of UTF-8, the most any byte becomes.
    std::vector<char> utf8(std::strlen(text) * 3 + 1);
    ShiftJisToUtf8(text, utf8.data(), utf8.size());
    return utf8.data();
}
