// The program-wide accessors of the Win32 side: the module whose resources the program uses.
#pragma once

#include <windows.h>

// The program's module instance: the one recorded at start, or the running module's own before.
HINSTANCE GetInstance();

// Records the module instance at the start of the program.
void SetInstance(HINSTANCE instance);
