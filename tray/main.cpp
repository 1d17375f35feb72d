// Entry point of nocturo.exe.
#include <windows.h>

#include "tray/app.h"
#include "presentation/tray_logic.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The raw command line rather than WinMain's own argument, so that the arguments are cut from
    // the program name by one rule on every runtime.
    return RunApplication(instance, ArgumentsOfCommandLine(GetCommandLineA()));
}
