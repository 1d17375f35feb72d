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

// A setting with the choices 0..count-1 (the week's first day, a switch that defaults to on): the
// value's whole number when the text is one (blanks around it allowed) within that range, else
// `fallback`, so that an empty, foreign or out-of-range value means the default.
int32_t ParseChoiceSetting(const char* text, int32_t count, int32_t fallback);

// Derives the settings and data paths from the program's own path `modulePath` (code page 932)
// by replacing the extension of its file name with ".ini" and ".dat", or appending them when the
// file name has none: C:\My.Apps\app.exe gives C:\My.Apps\app.ini and C:\My.Apps\app.dat. Both
// outputs are kFilePathSize-byte buffers. Returns false, leaving both empty, when the path is
// empty or a result would not fit.
bool DeriveFilePaths(const char* modulePath, char* settingsPath, char* dataPath);

// Whether the tray icons are added in reverse slot order, from the system's version report:
// the NT platform (platformId 2) with major version 5 or more and minor version 1 or more.
bool ReverseTrayOrderFor(uint32_t platformId, uint32_t majorVersion, uint32_t minorVersion);

// The folder part of the Shift_JIS `path` (up to its last "\" or "/", exclusive) into `folder`
// (kFilePathSize bytes); "" when the path names no folder.
void FolderOfPath(const char* path, char* folder);

// Moves both file paths into `folder` (code page 932, with or without a closing "\"), keeping
// their file names: C:\Program Files\Nocturo\nocturo.ini and C:\Users\a\AppData\Roaming\Nocturo
// give C:\Users\a\AppData\Roaming\Nocturo\nocturo.ini. Returns false, leaving both paths as they
// were, when the folder is empty or a result would not fit in kFilePathSize bytes.
bool RelocateFilePaths(const char* folder, char* settingsPath, char* dataPath);

// The text that tells where the files are kept when they are not beside the program: "保存先: "
// and the folder, into dest (`size` bytes, cut at a character boundary).
void ComposeFilesPlaceText(char* dest, size_t size, const char* folder);
