#include "tray/program.h"

namespace {

HINSTANCE programInstance = nullptr;

}  // namespace

HINSTANCE GetInstance() {
    return programInstance ? programInstance : GetModuleHandleW(nullptr);
}

void SetInstance(HINSTANCE instance) {
    programInstance = instance;
}
