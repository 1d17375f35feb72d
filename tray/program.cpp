#include "tray/program.h"

#include "ui/win32_text.h"

namespace {

HINSTANCE programInstance = nullptr;

}  // namespace

HINSTANCE GetInstance() {
    return programInstance ? programInstance : GetModuleHandleW(nullptr);
}

void SetInstance(HINSTANCE instance) {
    programInstance = instance;
}

std::string ProgramPathText() {
    wchar_t wide[1024];
    const DWORD length = GetModuleFileNameW(nullptr, wide, 1024);
    if (length == 0 || length >= 1024) {
        return std::string();
    }
    bool lossless = true;
    std::string path = ShiftJisFromWide(wide, &lossless);
    return lossless ? path : std::string();
}
