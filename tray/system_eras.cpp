#include "tray/system_eras.h"

#include <windows.h>

#include <string>

#include "presentation/japanese_era.h"
#include "ui/win32_text.h"

namespace {

constexpr wchar_t kErasKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Nls\\Calendars\\Japanese\\Eras";

// Enumeration stops at the first failure other than a value too large for the buffers, which is
// skipped; the key holds a handful of values, so the bound is generous.
constexpr DWORD kMaxValues = 256;

}  // namespace

void LoadSystemEras() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kErasKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    for (DWORD index = 0; index < kMaxValues; ++index) {
        wchar_t name[64];
        wchar_t data[128];
        DWORD nameLength = 64;
        DWORD dataBytes = sizeof data - sizeof(wchar_t);  // room for a terminator of our own
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataBytes);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (result != ERROR_SUCCESS || type != REG_SZ) {
            continue;
        }
        data[dataBytes / sizeof(wchar_t)] = L'\0';
        bool lossless = true;
        const std::string nameText = ShiftJisFromWide(name, &lossless);
        const std::string dataText = ShiftJisFromWide(data, &lossless);
        JapaneseEra era;
        if (lossless && ParseRegistryEra(nameText.c_str(), dataText.c_str(), &era)) {
            AddJapaneseEra(era);  // the built-in eras and any out of order are refused
        }
    }
    RegCloseKey(key);
}
