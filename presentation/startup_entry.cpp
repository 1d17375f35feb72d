#include "presentation/startup_entry.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "presentation/shift_jis.h"

namespace {

char FoldAscii(char c) {
    if (c >= 'A' && c <= 'Z') {
        return static_cast<char>(c - 'A' + 'a');
    }
    return c == '/' ? '\\' : c;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Whether the file name of the Shift_JIS `path` is nocturo.exe, in any case.
bool NamesNocturoExe(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (IsShiftJisLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0') {
            ++p;
        } else if (*p == '\\' || *p == '/') {
            name = p + 1;
        }
    }
    return SameWindowsPath(name, "nocturo.exe");
}

}  // namespace

bool QuoteProgramPath(const char* programPath, char* dest, size_t size) {
    if (size == 0) {
        return false;
    }
    dest[0] = '\0';
    const size_t length = std::strlen(programPath);
    if (length == 0 || length + 3 > size) {
        return false;
    }
    std::snprintf(dest, size, "\"%s\"", programPath);
    return true;
}

void RunValueTarget(const char* value, char* dest, size_t size) {
    if (size == 0) {
        return;
    }
    dest[0] = '\0';
    while (IsBlank(*value)) {
        ++value;
    }
    const char* begin = value;
    const char* end = nullptr;
    if (*value == '"') {
        begin = value + 1;
        end = std::strchr(begin, '"');
        if (end == nullptr) {
            end = begin + std::strlen(begin);
        }
    } else {
        end = begin + std::strlen(begin);
        for (const char* p = begin; *p != '\0'; ++p) {
            if (IsShiftJisLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0') {
                ++p;
            } else if (std::strlen(p) >= 4 && SameWindowsPath(std::string(p, 4).c_str(), ".exe") &&
                       (p[4] == '\0' || IsBlank(p[4]))) {
                end = p + 4;
                break;
            }
        }
        while (end > begin && IsBlank(end[-1])) {
            --end;
        }
    }
    const size_t length = static_cast<size_t>(end - begin);
    if (length + 1 > size) {
        return;
    }
    std::memcpy(dest, begin, length);
    dest[length] = '\0';
}

bool SameWindowsPath(const char* a, const char* b) {
    for (;;) {
        if (*a == '\0' || *b == '\0') {
            return *a == *b;
        }
        const bool leadA = IsShiftJisLeadByte(static_cast<unsigned char>(*a));
        const bool leadB = IsShiftJisLeadByte(static_cast<unsigned char>(*b));
        if (leadA != leadB) {
            return false;
        }
        if (leadA) {
            // A double-byte character: both bytes as they are.
            if (a[0] != b[0] || a[1] != b[1]) {
                return false;
            }
            if (a[1] == '\0') {
                return true;
            }
            a += 2;
            b += 2;
            continue;
        }
        if (FoldAscii(*a) != FoldAscii(*b)) {
            return false;
        }
        ++a;
        ++b;
    }
}

bool RunValueNamesProgram(const char* value, const char* programPath) {
    char target[520];
    RunValueTarget(value, target, sizeof target);
    return target[0] != '\0' && SameWindowsPath(target, programPath);
}

bool RunValueNeedsRepointing(const char* value, const char* programPath, bool targetExists) {
    char target[520];
    RunValueTarget(value, target, sizeof target);
    return target[0] != '\0' && !targetExists && NamesNocturoExe(target) &&
           !SameWindowsPath(target, programPath);
}
