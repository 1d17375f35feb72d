// Pure rules of the settings file and the program's file paths.
#include "presentation/settings_values.h"

#include <cstring>

#include "presentation/shift_jis.h"

int32_t ParseSettingValue(const char* text) {
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > INT32_MAX) {
            value = INT32_MAX;
        }
    }
    return static_cast<int32_t>(negative ? -value : value);
}

int32_t ParseChoiceSetting(const char* text, int32_t count, int32_t fallback) {
    const char* p = text;
    while (*p == ' ' || *p == '\t') {
        ++p;
    }
    const char* digits = p;
    while (*p >= '0' && *p <= '9') {
        ++p;
    }
    const char* end = p;
    while (*p == ' ' || *p == '\t') {
        ++p;
    }
    if (end == digits || *p != '\0') {
        return fallback;
    }
    const int32_t value = ParseSettingValue(digits);
    return value < count ? value : fallback;
}

bool DeriveFilePaths(const char* modulePath, char* settingsPath, char* dataPath) {
    settingsPath[0] = '\0';
    dataPath[0] = '\0';
    size_t length = 0;
    size_t stem = 0;  // end of the text kept: the extension's dot, or the end of the path
    bool dotInName = false;
    while (modulePath[length] != '\0') {
        unsigned char c = static_cast<unsigned char>(modulePath[length]);
        if (IsShiftJisLeadByte(c) && modulePath[length + 1] != '\0') {
            length += 2;
            continue;
        }
        if (c == '\\' || c == '/') {
            dotInName = false;
        } else if (c == '.') {
            dotInName = true;
            stem = length;
        }
        ++length;
    }
    if (!dotInName) {
        stem = length;
    }
    if (stem == 0 || stem + sizeof(".ini") > kFilePathSize) {
        return false;
    }
    memcpy(settingsPath, modulePath, stem);
    memcpy(settingsPath + stem, ".ini", sizeof(".ini"));
    memcpy(dataPath, modulePath, stem);
    memcpy(dataPath + stem, ".dat", sizeof(".dat"));
    return true;
}

bool ReverseTrayOrderFor(uint32_t platformId, uint32_t majorVersion, uint32_t minorVersion) {
    const uint32_t kPlatformNt = 2;  // VER_PLATFORM_WIN32_NT
    return platformId == kPlatformNt && majorVersion >= 5 && minorVersion >= 1;
}

namespace {

// Byte offset just past the last separator of the Shift_JIS `path`, 0 when it has none. A trail
// byte 0x5C (表, ソ) is not a separator.
size_t FileNameStart(const char* path) {
    size_t start = 0;
    for (size_t i = 0; path[i] != '\0'; ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (IsShiftJisLeadByte(c) && path[i + 1] != '\0') {
            ++i;
        } else if (c == '\\' || c == '/') {
            start = i + 1;
        }
    }
    return start;
}

bool PlaceInFolder(const char* folder, size_t folderLength, const char* path, char* out) {
    const char* name = path + FileNameStart(path);
    const size_t nameLength = strlen(name);
    if (nameLength == 0 || folderLength + 1 + nameLength + 1 > kFilePathSize) {
        return false;
    }
    memcpy(out, folder, folderLength);
    out[folderLength] = '\\';
    memcpy(out + folderLength + 1, name, nameLength + 1);
    return true;
}

}  // namespace

void FolderOfPath(const char* path, char* folder) {
    folder[0] = '\0';
    const size_t start = FileNameStart(path);
    if (start > 1 && start <= kFilePathSize) {
        memcpy(folder, path, start - 1);
        folder[start - 1] = '\0';
    }
}

bool RelocateFilePaths(const char* folder, char* settingsPath, char* dataPath) {
    size_t folderLength = strlen(folder);
    // A closing separator is dropped: the files are joined with one of their own. Its byte may
    // be the trail byte of a double-byte character only when the folder ends in one, which a
    // scan from the start tells.
    if (folderLength > 0 && FileNameStart(folder) == folderLength) {
        --folderLength;
    }
    if (folderLength == 0) {
        return false;
    }
    char settings[kFilePathSize];
    char data[kFilePathSize];
    if (!PlaceInFolder(folder, folderLength, settingsPath, settings) ||
        !PlaceInFolder(folder, folderLength, dataPath, data)) {
        return false;
    }
    memcpy(settingsPath, settings, kFilePathSize);
    memcpy(dataPath, data, kFilePathSize);
    return true;
}

void ComposeFilesPlaceText(char* dest, size_t size, const char* folder) {
    if (size == 0) {
        return;
    }
    dest[0] = '\0';
    AppendShiftJisText(dest, size, "保存先: ");
    AppendShiftJisText(dest, size, folder);
}
