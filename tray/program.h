// The program-wide accessors of the Win32 side: the module whose resources the program uses.
#pragma once

#include <windows.h>

#include <string>

// The program's module instance: the one recorded at start, or the running module's own before.
HINSTANCE GetInstance();

// Records the module instance at the start of the program.
void SetInstance(HINSTANCE instance);

// The running program's full path in Shift_JIS; "" when it is too long or names a folder that
// code page 932 cannot write (a path with "?" would name another file or none).
std::string ProgramPathText();
