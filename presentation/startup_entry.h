// Starting with Windows: the rules of the "Nocturo" value under the user's Run key, which names the
// program to start at sign-in. Paths are Shift_JIS (code page 932).
#pragma once

#include <cstddef>

// The name of the value under HKCU\Software\Microsoft\Windows\CurrentVersion\Run.
constexpr const char* kRunValueName = "Nocturo";

// The program's full path in double quotes into dest (`size` bytes), so that a folder with blanks
// ("C:\Program Files") is not read as a program and its arguments. False, with dest "", when it
// does not fit or the path is empty.
bool QuoteProgramPath(const char* programPath, char* dest, size_t size);

// The program a Run value starts, into dest (`size` bytes): the text between the first pair of
// double quotes, or, unquoted, the text up to the first blank after ".exe" (or the whole value),
// without surrounding blanks. "" when there is none or it does not fit.
void RunValueTarget(const char* value, char* dest, size_t size);

// Whether two Windows paths name the same file: letters compared without case, "/" taken as "\";
// the trail bytes of double-byte characters are compared as they are.
bool SameWindowsPath(const char* a, const char* b);

// Whether the Run value `value` starts the program at `programPath`.
bool RunValueNamesProgram(const char* value, const char* programPath);

// At start: whether an existing Run value must be pointed at this program because it names a
// nocturo.exe elsewhere that is gone (the folder was moved). `targetExists` says whether the file
// the value names exists. Any other value, one naming another program among them, is left alone.
bool RunValueNeedsRepointing(const char* value, const char* programPath, bool targetExists);
