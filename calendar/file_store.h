// Whole-file reading and replacing for the data file, one source file per platform.
#pragma once

#include <cstddef>

// Reads up to `max` bytes from the start of the file at `path` into `buf` and stores the number
// read in *got (fewer than `max` when the file is shorter). On Windows the file is opened without
// sharing, so a file another process holds open cannot be read. Returns false, with *got = 0,
// when the file cannot be opened or a read fails.
bool ReadFileBytes(const char* path, void* buf, size_t max, size_t* got);

// Replaces the file at `path` with `size` bytes of `data` in one step: the bytes go to the
// temporary file `path` + ".tmp" in the same folder, are flushed to the disk, and that file is
// renamed over `path`. Returns false when any step fails; the file at `path` is then unchanged
// and the temporary file is removed.
bool ReplaceFileContents(const char* path, const void* data, size_t size);
