// The data file through POSIX calls: the CLI and the native tests.
#include "calendar/file_store.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool ReadFileBytes(const char* path, void* buf, size_t max, size_t* got) {
    *got = 0;
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool ok = true;
    char* out = static_cast<char*>(buf);
    size_t total = 0;
    while (total < max) {
        ssize_t n = read(fd, out + total, max - total);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) {
            break;
        }
        total += static_cast<size_t>(n);
    }
    close(fd);
    if (ok) {
        *got = total;
    }
    return ok;
}

static bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool ReplaceFileContents(const char* path, const void* data, size_t size) {
    char tmp[PATH_MAX];
    size_t length = strlen(path);
    if (length == 0 || length + sizeof(".tmp") > sizeof(tmp)) {
        return false;
    }
    memcpy(tmp, path, length);
    memcpy(tmp + length, ".tmp", sizeof(".tmp"));

    // A temporary file left by an interrupted save is stale; a symbolic link planted under its
    // name must not redirect the write, hence the removal and O_EXCL | O_NOFOLLOW.
    unlink(tmp);
    int fd = open(tmp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    struct stat old;
    if (stat(path, &old) == 0 && S_ISREG(old.st_mode)) {
        fchmod(fd, old.st_mode & 07777);
    }
    bool ok = WriteAll(fd, static_cast<const char*>(data), size);
    ok = ok && fsync(fd) == 0;
    if (close(fd) != 0) {
        ok = false;
    }
    ok = ok && rename(tmp, path) == 0;
    if (!ok) {
        unlink(tmp);
    }
    return ok;
}
