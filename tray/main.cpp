// Entry point of nocturo.exe.
#include <windows.h>

#include "tray/app.h"
#include "presentation/tray_logic.h"
#include "ui/win32_text.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The raw command line rather than WinMain's own argument, so that the arguments are cut from
    // the program name by one rule on every runtime.
    const std::string commandLine = ShiftJisFromWide(GetCommandLineW());
    return RunApplication(instance, ArgumentsOfCommandLine(commandLine.c_str()));
}
