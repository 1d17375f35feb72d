#include "tray/system_eras.h"

#include <windows.h>

#include <string>

#include "presentation/japanese_era.h"
#include "ui/win32_text.h"

namespace {

constexpr wchar_t kErasKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Nls\\Calendars\\Japanese\\Eras";

// The key holds a handful of values (one for each era since 明治), so the bound is generous.
constexpr DWORD kMaxValues = 256;

}  // namespace

void LoadSystemEras() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kErasKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    JapaneseEra eras[kMaxJapaneseEras];
    int32_t count = 0;
    for (DWORD index = 0; index < kMaxValues && count < kMaxJapaneseEras; ++index) {
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
        if (lossless && ParseRegistryEra(nameText.c_str(), dataText.c_str(), &eras[count])) {
            ++count;
        }
    }
    RegCloseKey(key);
    // The registry keeps no order of its values: the eras go in by date, the built-in ones and
    // any dated before 令和 are refused.
    AddJapaneseEras(eras, count);
}
