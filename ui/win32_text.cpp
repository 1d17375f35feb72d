#include "ui/win32_text.h"

#include <cstring>
#include <vector>

#include "presentation/shift_jis.h"

namespace {

// Japanese dates on a Japanese system keep the user's own choice of format; on any other system
// they take the Japanese locale's defaults rather than the user's English or German forms.
LCID JapaneseLocale() {
    const LCID system = GetSystemDefaultLCID();
    if (PRIMARYLANGID(LANGIDFROMLCID(system)) == LANG_JAPANESE) {
        return system;
    }
    return MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT);
}

}  // namespace

std::wstring WideFromShiftJis(const char* text) {
    return text == nullptr ? std::wstring() : WideFromShiftJis(text, std::strlen(text));
}

std::wstring WideFromShiftJis(const char* text, size_t length) {
    if (text == nullptr || length == 0 || length > 0x7FFFFFFF) {
        return std::wstring();
    }
    const int bytes = static_cast<int>(length);
    const int units = MultiByteToWideChar(kProgramCodePage, 0, text, bytes, nullptr, 0);
    if (units <= 0) {
        return std::wstring();
    }
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(kProgramCodePage, 0, text, bytes, &wide[0], units);
    return wide;
}

std::string ShiftJisFromWide(const wchar_t* text, bool* lossless) {
    if (lossless) {
        *lossless = true;
    }
    if (text == nullptr || text[0] == L'\0') {
        return std::string();
    }
    const size_t length = std::wcslen(text);
    if (length > 0x3FFFFFFF) {
        return std::string();
    }
    const int units = static_cast<int>(length);
    // Without WC_NO_BEST_FIT_CHARS Windows would write a look-alike (a plain "A" for "Ａ" is fine,
    // but "ä" becomes "a"), and the name would silently change.
    BOOL usedDefault = FALSE;
    const int bytes = WideCharToMultiByte(kProgramCodePage, WC_NO_BEST_FIT_CHARS, text, units,
                                          nullptr, 0, nullptr, &usedDefault);
    if (bytes <= 0) {
        if (lossless) {
            *lossless = false;
        }
        return std::string();
    }
    std::string narrow(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(kProgramCodePage, WC_NO_BEST_FIT_CHARS, text, units, &narrow[0], bytes,
                        nullptr, &usedDefault);
    if (lossless && usedDefault) {
        *lossless = false;
    }
    return narrow;
}

std::wstring WideFromUtf8(const std::string& text) {
    if (text.empty() || text.size() > 0x7FFFFFFF) {
        return std::wstring();
    }
    const int bytes = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, nullptr, 0);
    if (units <= 0) {
        return std::wstring();
    }
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, &wide[0], units);
    return wide;
}

size_t Utf8FromShiftJis(const char* sjis, char* dest, size_t size) {
    if (size == 0) {
        return 0;
    }
    dest[0] = '\0';
    const std::wstring wide = WideFromShiftJis(sjis);
    size_t written = 0;
    // Character by character, so that a cut never splits one.
    for (size_t i = 0; i < wide.size(); ++i) {
        const int units = (wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size()) ? 2 : 1;
        char bytes[8];
        const int n =
            WideCharToMultiByte(CP_UTF8, 0, &wide[i], units, bytes, sizeof bytes, nullptr, nullptr);
        if (n <= 0 || written + static_cast<size_t>(n) + 1 > size) {
            break;
        }
        std::memcpy(dest + written, bytes, static_cast<size_t>(n));
        written += static_cast<size_t>(n);
        i += static_cast<size_t>(units - 1);
    }
    dest[written] = '\0';
    return written;
}

size_t ShiftJisPrefixUnits(const std::wstring& text, size_t maxBytes) {
    size_t bytes = 0;
    size_t i = 0;
    while (i < text.size()) {
        const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size();
        const int units = pair ? 2 : 1;
        char narrow[8];
        const int n = WideCharToMultiByte(kProgramCodePage, 0, &text[i], units, narrow,
                                          sizeof narrow, nullptr, nullptr);
        if (n <= 0 || bytes + static_cast<size_t>(n) > maxBytes) {
            break;
        }
        bytes += static_cast<size_t>(n);
        i += static_cast<size_t>(units);
    }
    return i;
}

bool CopyWideText(wchar_t* dest, size_t capacity, const std::wstring& text) {
    if (capacity == 0) {
        return false;
    }
    size_t n = text.size();
    const bool fits = n < capacity;
    if (!fits) {
        n = capacity - 1;
        // A high surrogate as the last unit kept would stand without its partner.
        if (n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) {
            --n;
        }
    }
    text.copy(dest, n);
    dest[n] = L'\0';
    return fits;
}

bool CopyShiftJisFromWide(char* dest, size_t size, const wchar_t* wide) {
    if (size == 0) {
        return false;
    }
    bool lossless = true;
    const std::string narrow = ShiftJisFromWide(wide, &lossless);
    dest[0] = '\0';
    const bool fits = AppendShiftJisText(dest, size, narrow.c_str());
    return lossless && fits;
}

bool SetWindowShiftJisText(HWND window, const char* text) {
    return SetWindowTextW(window, WideFromShiftJis(text).c_str()) != 0;
}

bool GetWindowShiftJisText(HWND window, char* dest, size_t size) {
    if (size == 0) {
        return false;
    }
    dest[0] = '\0';
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) {
        return true;
    }
    std::vector<wchar_t> wide(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(window, wide.data(), length + 1);
    return CopyShiftJisFromWide(dest, size, wide.data());
}

std::string LoadShiftJisString(HINSTANCE module, UINT id) {
    // With a zero length LoadStringW hands out a pointer into the resource itself, which is not
    // NUL-terminated: the count it returns is the length.
    const wchar_t* resource = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || resource == nullptr) {
        return std::string();
    }
    const std::wstring wide(resource, static_cast<size_t>(length));
    return ShiftJisFromWide(wide.c_str());
}

int ShowShiftJisMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return MessageBoxW(owner, WideFromShiftJis(text).c_str(), WideFromShiftJis(caption).c_str(),
                       type);
}

std::string JapaneseLongDate(const SYSTEMTIME& date) {
    wchar_t wide[128] = L"";
    if (GetDateFormatW(JapaneseLocale(), DATE_LONGDATE, &date, nullptr, wide, 128) == 0) {
        return std::string();
    }
    return ShiftJisFromWide(wide);
}

std::string JapaneseShortTime(const SYSTEMTIME& time) {
    wchar_t wide[64] = L"";
    if (GetTimeFormatW(JapaneseLocale(), TIME_NOSECONDS, &time, nullptr, wide, 64) == 0) {
        return std::string();
    }
    return ShiftJisFromWide(wide);
}
