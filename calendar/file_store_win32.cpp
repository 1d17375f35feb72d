// The data file through Win32 calls: the tray program.
#include "calendar/file_store.h"

#include <cstring>
#include <string>
#include <windows.h>

namespace {

// Paths are Shift_JIS like every text of the program; the wide file functions take them in
// UTF-16 whatever the system's code page, so a folder named in Japanese opens on any Windows.
std::wstring WidePath(const char* path) {
    const int length = static_cast<int>(strlen(path));
    const int units = length > 0 ? MultiByteToWideChar(932, 0, path, length, nullptr, 0) : 0;
    if (units <= 0) {
        return std::wstring();
    }
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(932, 0, path, length, &wide[0], units);
    return wide;
}

}  // namespace

bool ReadFileBytes(const char* path, void* buf, size_t max, size_t* got) {
    *got = 0;
    // No sharing: a file being written by another process is not read half-way.
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = true;
    char* out = static_cast<char*>(buf);
    size_t total = 0;
    while (total < max) {
        size_t want = max - total;
        DWORD chunk = want > 0x10000000u ? 0x10000000u : static_cast<DWORD>(want);
        DWORD read = 0;
        if (!ReadFile(file, out + total, chunk, &read, nullptr)) {
            ok = false;
            break;
        }
        if (read == 0) {
            break;
        }
        total += read;
    }
    CloseHandle(file);
    if (ok) {
        *got = total;
    }
    return ok;
}

bool ReplaceFileContents(const char* path, const void* data, size_t size) {
    char tmp[MAX_PATH];
    size_t length = strlen(path);
    if (length == 0 || length + sizeof(".tmp") > sizeof(tmp)) {
        return false;
    }
    memcpy(tmp, path, length);
    memcpy(tmp + length, ".tmp", sizeof(".tmp"));

    const std::wstring wideTmp = WidePath(tmp);
    HANDLE file = CreateFileW(wideTmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = true;
    const char* in = static_cast<const char*>(data);
    while (ok && size > 0) {
        DWORD chunk = size > 0x10000000u ? 0x10000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, in, chunk, &written, nullptr) || written == 0) {
            ok = false;
            break;
        }
        in += written;
        size -= written;
    }
    ok = ok && FlushFileBuffers(file);
    if (!CloseHandle(file)) {
        ok = false;
    }
    // Write-through: the call returns only once the rename itself is on the disk.
    ok = ok && MoveFileExW(wideTmp.c_str(), WidePath(path).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        DeleteFileW(wideTmp.c_str());
    }
    return ok;
}
