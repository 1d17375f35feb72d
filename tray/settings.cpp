// The settings file through the system's private-profile service.
#include "tray/settings.h"

#include <cstring>

#include "presentation/settings_values.h"
#include "ui/win32_text.h"

namespace {

char settingsPath[kFilePathSize];
char dataPath[kFilePathSize];

const char kSettingsSection[] = "Settings";
const char kCalendarSection[] = "Calendar";
const char kShowAgeKey[] = "ShowAge";

// The value of `key`, "" when the file, the section or the key is missing.
void ReadValue(const char* section, const char* key, char* value, DWORD size) {
    value[0] = '\0';
    wchar_t wide[128] = L"";
    GetPrivateProfileStringW(WideFromShiftJis(section).c_str(), WideFromShiftJis(key).c_str(), L"",
                             wide, 128, WideFromShiftJis(settingsPath).c_str());
    CopyShiftJisFromWide(value, size, wide);
}

void WriteSwitch(const char* section, const char* key, bool on) {
    if (settingsPath[0] != '\0') {
        WritePrivateProfileStringW(WideFromShiftJis(section).c_str(), WideFromShiftJis(key).c_str(),
                                   on ? L"1" : L"0", WideFromShiftJis(settingsPath).c_str());
    }
}

// The program's own path in Shift_JIS; "" when it is too long or names a folder that code page 932
// cannot write (a path of "?" would name another file or none).
std::string ModulePathText() {
    wchar_t wide[1024];
    const DWORD length = GetModuleFileNameW(nullptr, wide, 1024);
    if (length == 0 || length >= 1024) {
        return std::string();
    }
    bool lossless = true;
    std::string path = ShiftJisFromWide(wide, &lossless);
    return lossless ? path : std::string();
}

bool SystemWantsReverseTrayOrder() {
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    // The version as the system reports it to this program, which its manifest decides: without
    // a declared newer system, Windows 8 and later all report 6.2.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    BOOL known = GetVersionExW(&version);
#pragma GCC diagnostic pop
    return known && ReverseTrayOrderFor(version.dwPlatformId, version.dwMajorVersion,
                                        version.dwMinorVersion);
}

}  // namespace

void LoadSettings() {
    reverseTrayOrder = SystemWantsReverseTrayOrder() ? 1 : 0;
    // The module's own path, not the command line: a program started without quotes or from a
    // folder with a dot in its name still finds its files beside itself.
    SetSettingsPaths(ModulePathText().c_str());
    ReadIconSettings(TraySlots(), TrayIconCount);
}

void SetSettingsPaths(const char* modulePath) {
    DeriveFilePaths(modulePath, settingsPath, dataPath);
}

void ReadIconSettings(TrayIconSlot* slots, int count) {
    if (settingsPath[0] == '\0' || count <= 0) {
        return;
    }
    bool anyOn = false;
    for (int i = 0; i < count; ++i) {
        char value[127];
        ReadValue(kSettingsSection, slots[i].settingsKey, value, sizeof value);
        if (value[0] != '\0') {
            slots[i].enabled = ParseSettingValue(value) != 0 ? 1 : 0;
        } else {
            WriteSwitch(kSettingsSection, slots[i].settingsKey, slots[i].enabled != 0);
        }
        anyOn = anyOn || slots[i].enabled != 0;
    }
    if (!anyOn) {
        WriteSwitch(kSettingsSection, slots[0].settingsKey, true);
        slots[0].enabled = 1;
    }
}

const char* GetSettingsPath() {
    return settingsPath;
}

const char* GetDataPath() {
    return dataPath;
}

void WriteIconSetting(const char* key, bool on) {
    WriteSwitch(kSettingsSection, key, on);
}

bool ReadShowAge() {
    if (settingsPath[0] == '\0') {
        return true;
    }
    char value[127];
    ReadValue(kCalendarSection, kShowAgeKey, value, sizeof value);
    if (value[0] == '\0') {
        WriteSwitch(kCalendarSection, kShowAgeKey, true);
        return true;
    }
    return ParseSettingValue(value) != 0;
}

void WriteShowAge(bool on) {
    WriteSwitch(kCalendarSection, kShowAgeKey, on);
}
