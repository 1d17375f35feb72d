// Pure rules of the settings file and the program's file paths.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes of the settings and data path buffers, the terminating zero included.
constexpr size_t kFilePathSize = 260;

// The number a setting value stands for: leading white space skipped, an optional sign, then the
// decimal digits up to the first other character; 0 when there are none ("yes", "0x1" give 0).
// Values past the 32-bit range saturate, so any run of digits other than zeros stays non-zero.
int32_t ParseSettingValue(const char* text);

// Derives the settings and data paths from the program's own path `modulePath` (code page 932)
// by replacing the extension of its file name with ".ini" and ".dat", or appending them when the
// file name has none: C:\My.Apps\app.exe gives C:\My.Apps\app.ini and C:\My.Apps\app.dat. Both
// outputs are kFilePathSize-byte buffers. Returns false, leaving both empty, when the path is
// empty or a result would not fit.
bool DeriveFilePaths(const char* modulePath, char* settingsPath, char* dataPath);

// Whether the tray icons are added in reverse slot order, from the system's version report:
// the NT platform (platformId 2) with major version 5 or more and minor version 1 or more.
bool ReverseTrayOrderFor(uint32_t platformId, uint32_t majorVersion, uint32_t minorVersion);
