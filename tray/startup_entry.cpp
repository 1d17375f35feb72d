#include "tray/startup_entry.h"

#include "presentation/startup_entry.h"
#include "resources/resource.h"
#include "tray/program.h"
#include "ui/message_boxes.h"
#include "ui/win32_text.h"

namespace {

// The value's text in Shift_JIS; false when it is missing or not a string.
bool ReadRunValue(std::string* value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    wchar_t text[1024] = L"";
    DWORD type = 0;
    DWORD size = sizeof text - sizeof(wchar_t);  // room for a terminator the value may lack
    const LONG result = RegQueryValueExW(key, WideFromShiftJis(kRunValueName).c_str(), nullptr,
                                         &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return false;
    }
    text[size / sizeof(wchar_t)] = L'\0';
    *value = ShiftJisFromWide(text);
    return true;
}

bool WriteRunValue(const std::string& programPath) {
    char quoted[1024];
    if (!QuoteProgramPath(programPath.c_str(), quoted, sizeof quoted)) {
        return false;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring wide = WideFromShiftJis(quoted);
    const LONG result = RegSetValueExW(key, WideFromShiftJis(kRunValueName).c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(wide.c_str()),
                                       static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool DeleteRunValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    const LONG result = RegDeleteValueW(key, WideFromShiftJis(kRunValueName).c_str());
    RegCloseKey(key);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool FileExists(const char* path) {
    const DWORD attributes = GetFileAttributesW(WideFromShiftJis(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

bool StartsWithWindows() {
    std::string value;
    return ReadRunValue(&value) && RunValueNamesProgram(value.c_str(), ProgramPathText().c_str());
}

bool ToggleStartWithWindows(HWND owner) {
    const std::string program = ProgramPathText();
    const bool changed =
        !program.empty() && (StartsWithWindows() ? DeleteRunValue() : WriteRunValue(program));
    if (!changed) {
        ShowWarning(owner, IDS_STARTUPFAILED);
    }
    return changed;
}

void RepointStartupEntry() {
    std::string value;
    const std::string program = ProgramPathText();
    if (program.empty() || !ReadRunValue(&value)) {
        return;
    }
    char target[1024];
    RunValueTarget(value.c_str(), target, sizeof target);
    if (RunValueNeedsRepointing(value.c_str(), program.c_str(), FileExists(target))) {
        WriteRunValue(program);
    }
}
