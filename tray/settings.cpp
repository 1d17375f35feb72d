// The settings file through the system's private-profile service.
#include "tray/settings.h"

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "presentation/settings_values.h"
#include "tray/program.h"
#include "ui/win32_text.h"

namespace {

char settingsPath[kFilePathSize];
char dataPath[kFilePathSize];
char filesFolder[kFilePathSize];  // where the files are when not beside the program; "" beside it

const char kSettingsSection[] = "Settings";
const char kCalendarSection[] = "Calendar";
const char kShowAgeKey[] = "ShowAge";
const char kShowNotesKey[] = "ShowNotes";
const char kWeekStartKey[] = "WeekStart";
const char kShowEraKey[] = "ShowEra";
bool showNotes = true;
bool firstStart = false;  // no settings file was found at start
const char kPlaceSection[] = "Place";
const char kPlaceNameKey[] = "Name";
const char kLatitudeKey[] = "Latitude";
const char kLongitudeKey[] = "Longitude";

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

// A switch that is on unless its value says 0; a missing or empty value is written as "1".
bool ReadSwitch(const char* section, const char* key) {
    if (settingsPath[0] == '\0') {
        return true;
    }
    char value[127];
    ReadValue(section, key, value, sizeof value);
    if (value[0] == '\0') {
        WriteSwitch(section, key, true);
        return true;
    }
    return ParseSettingValue(value) != 0;
}

bool WriteText(const char* section, const char* key, const char* value) {
    return settingsPath[0] != '\0' &&
           WritePrivateProfileStringW(
               WideFromShiftJis(section).c_str(), WideFromShiftJis(key).c_str(),
               WideFromShiftJis(value).c_str(), WideFromShiftJis(settingsPath).c_str()) != FALSE;
}

bool SystemWantsReverseTrayOrder() {
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    // The version as the system reports it to this program, which its manifest decides. The
    // manifest declares Windows 8.1 to 11 (for their dpi handling), so those now report 6.3 and
    // 10.0; the tray order was decided, and works, with the 6.2 that all of them reported before,
    // and a 10.0 taken at face value would turn the icons round on every Windows 10 and 11.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    BOOL known = GetVersionExW(&version);
#pragma GCC diagnostic pop
    if (version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion > 2)) {
        version.dwMajorVersion = 6;
        version.dwMinorVersion = 2;
    }
    return known && ReverseTrayOrderFor(version.dwPlatformId, version.dwMajorVersion,
                                        version.dwMinorVersion);
}

}  // namespace

void LoadSettings() {
    reverseTrayOrder = SystemWantsReverseTrayOrder() ? 1 : 0;
    // The module's own path, not the command line: a program started without quotes or from a
    // folder with a dot in its name still finds its files beside itself.
    SetSettingsPaths(ProgramPathText().c_str());
    KeepFilesWhereTheyCanBeWritten();
    firstStart =
        settingsPath[0] != '\0' &&
        GetFileAttributesW(WideFromShiftJis(settingsPath).c_str()) == INVALID_FILE_ATTRIBUTES;
    StartSettingsFile();
    ReadIconSettings(TraySlots(), TrayIconCount);
    showNotes = ReadSwitch(kSettingsSection, kShowNotesKey);
}

void StartSettingsFile() {
    // The profile service writes a file without a byte-order mark in the system's ANSI code page,
    // in which a place named in Japanese becomes "?" on any system but a Japanese one; a file that
    // starts with the UTF-16 mark is read and written in UTF-16 everywhere. A Japanese system
    // keeps the plain file of earlier versions, and an existing file is never rewritten.
    if (settingsPath[0] == '\0' || GetACP() == kProgramCodePage) {
        return;
    }
    HANDLE file = CreateFileW(WideFromShiftJis(settingsPath).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    static const unsigned char kUtf16Mark[2] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(file, kUtf16Mark, sizeof kUtf16Mark, &written, nullptr);
    CloseHandle(file);
}

void SetSettingsPaths(const char* modulePath) {
    filesFolder[0] = '\0';
    DeriveFilePaths(modulePath, settingsPath, dataPath);
}

bool FolderAcceptsFiles(const char* folder) {
    // A file made and removed at once is the only sure test: a folder's read-only flag means
    // nothing on Windows, and C:\Program Files refuses a standard user by its access rules.
    const std::wstring probe =
        WideFromShiftJis(folder) + L"\\nocturo-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

void KeepFilesWhereTheyCanBeWritten() {
    char folder[kFilePathSize];
    FolderOfPath(settingsPath, folder);
    if (settingsPath[0] == '\0' || folder[0] == '\0' || FolderAcceptsFiles(folder)) {
        return;
    }
    wchar_t appData[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, appData))) {
        return;
    }
    bool lossless = true;
    const std::string home = ShiftJisFromWide(appData, &lossless) + "\\Nocturo";
    char settings[kFilePathSize];
    char data[kFilePathSize];
    std::memcpy(settings, settingsPath, kFilePathSize);
    std::memcpy(data, dataPath, kFilePathSize);
    if (!lossless || !RelocateFilePaths(home.c_str(), settings, data)) {
        return;
    }
    CreateDirectoryW(WideFromShiftJis(home.c_str()).c_str(), nullptr);
    // The first time only: files left beside the program by an earlier run (or shipped there)
    // come along; from then on the copies are the ones read and written.
    CopyFileW(WideFromShiftJis(settingsPath).c_str(), WideFromShiftJis(settings).c_str(), TRUE);
    CopyFileW(WideFromShiftJis(dataPath).c_str(), WideFromShiftJis(data).c_str(), TRUE);
    std::memcpy(settingsPath, settings, kFilePathSize);
    std::memcpy(dataPath, data, kFilePathSize);
    std::memcpy(filesFolder, home.c_str(), home.size() + 1);
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

const char* GetFilesFolder() {
    return filesFolder;
}

void WriteIconSetting(const char* key, bool on) {
    WriteSwitch(kSettingsSection, key, on);
}

bool ReadShowAge() {
    return ReadSwitch(kCalendarSection, kShowAgeKey);
}

namespace {

int32_t ReadChoice(const char* key, int32_t count, int32_t fallback) {
    if (settingsPath[0] == '\0') {
        return fallback;
    }
    char value[127];
    ReadValue(kSettingsSection, key, value, sizeof value);
    return ParseChoiceSetting(value, count, fallback);
}

}  // namespace

bool IsFirstStart() {
    return firstStart;
}

int32_t ReadWeekStart() {
    return ReadChoice(kWeekStartKey, 2, 0);
}

bool ReadShowEra() {
    return ReadChoice(kShowEraKey, 2, 1) != 0;
}

void WriteWeekStart(int32_t weekStart) {
    WriteSwitch(kSettingsSection, kWeekStartKey, weekStart == 1);
}

void WriteShowEra(bool on) {
    WriteSwitch(kSettingsSection, kShowEraKey, on);
}

bool ShowNotes() {
    return showNotes;
}

void SetShowNotes(bool on) {
    showNotes = on;
    WriteSwitch(kSettingsSection, kShowNotesKey, on);
}

void WriteShowAge(bool on) {
    WriteSwitch(kCalendarSection, kShowAgeKey, on);
}

PlaceSetting ReadPlaceSetting() {
    PlaceSetting place = DefaultPlaceSetting();
    if (settingsPath[0] == '\0') {
        return place;
    }
    char name[127];
    char latitude[127];
    char longitude[127];
    ReadValue(kPlaceSection, kPlaceNameKey, name, sizeof name);
    ReadValue(kPlaceSection, kLatitudeKey, latitude, sizeof latitude);
    ReadValue(kPlaceSection, kLongitudeKey, longitude, sizeof longitude);
    ResolvePlaceSetting(name, latitude, longitude, &place);
    return place;
}

bool WritePlaceSetting(const PlaceSetting& place) {
    char latitude[16];
    char longitude[16];
    FormatCoordinate(latitude, sizeof latitude, place.place.latitude);
    FormatCoordinate(longitude, sizeof longitude, place.place.longitude);
    // All three are tried even when one is refused; the caller learns of the failure and keeps
    // the old place in use.
    const bool name = WriteText(kPlaceSection, kPlaceNameKey, place.name);
    const bool north = WriteText(kPlaceSection, kLatitudeKey, latitude);
    const bool east = WriteText(kPlaceSection, kLongitudeKey, longitude);
    return name && north && east;
}

namespace {

const char kNotifySection[] = "Notify";
const char kLastShownKey[] = "LastShown";
const char kEclipseWarnedKey[] = "EclipseWarned";

}  // namespace

NoticeSettings ReadNoticeSettings() {
    if (settingsPath[0] == '\0') {
        return DefaultNoticeSettings();
    }
    char values[NoticeKeyCount][kNoticeValueSize * 2];
    const char* pointers[NoticeKeyCount];
    for (int32_t key = 0; key < NoticeKeyCount; ++key) {
        ReadValue(kNotifySection, NoticeKeyName(key), values[key], sizeof values[key]);
        pointers[key] = values[key];
    }
    return ParseNoticeSettings(pointers);
}

bool WriteNoticeSettings(const NoticeSettings& settings) {
    if (settingsPath[0] == '\0') {
        return false;
    }
    char values[NoticeKeyCount][kNoticeValueSize];
    NoticeSettingValues(settings, values);
    bool all = true;
    for (int32_t key = 0; key < NoticeKeyCount; ++key) {
        all = WriteText(kNotifySection, NoticeKeyName(key), values[key]) && all;
    }
    return all;
}

int64_t ReadNoticeLastShown() {
    if (settingsPath[0] == '\0') {
        return -1;
    }
    char value[32];
    ReadValue(kNotifySection, kLastShownKey, value, sizeof value);
    int64_t days = -1;
    return ParseNoticeDate(value, &days) ? days : -1;
}

void WriteNoticeLastShown(int64_t days) {
    const CivilDate date = CivilFromDays(days);
    char value[16];
    std::snprintf(value, sizeof value, "%04d-%02d-%02d", static_cast<int>(date.year),
                  static_cast<int>(date.month), static_cast<int>(date.day));
    WriteText(kNotifySection, kLastShownKey, value);
}

double ReadEclipseWarned() {
    if (settingsPath[0] == '\0') {
        return 0;
    }
    char value[32];
    ReadValue(kNotifySection, kEclipseWarnedKey, value, sizeof value);
    char* end = nullptr;
    const double begin = std::strtod(value, &end);
    return end != value && *end == '\0' && begin > 0 && begin < 1e8 ? begin : 0;
}

void WriteEclipseWarned(double begin) {
    char value[32];
    std::snprintf(value, sizeof value, "%.6f", begin);
    WriteText(kNotifySection, kEclipseWarnedKey, value);
}
