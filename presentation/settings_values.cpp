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
