#include "ui/dialogs.h"

namespace {

bool SwitchOn() {
    return true;
}

void IgnoreSwitch(bool) {}

void NothingToRefresh() {}

int32_t SundayFirst() {
    return 0;
}

void IgnoreWeekStart(int32_t) {}

WindowServices services = {nullptr,     SwitchOn,        IgnoreSwitch, NothingToRefresh,
                           SundayFirst, IgnoreWeekStart, SwitchOn,     IgnoreSwitch};

}  // namespace

void SetWindowServices(const WindowServices& replacement) {
    services = replacement;
    if (!services.readShowAge) {
        services.readShowAge = SwitchOn;
    }
    if (!services.writeShowAge) {
        services.writeShowAge = IgnoreSwitch;
    }
    if (!services.holidaysSaved) {
        services.holidaysSaved = NothingToRefresh;
    }
    if (!services.readWeekStart) {
        services.readWeekStart = SundayFirst;
    }
    if (!services.writeWeekStart) {
        services.writeWeekStart = IgnoreWeekStart;
    }
    if (!services.readShowEra) {
        services.readShowEra = SwitchOn;
    }
    if (!services.writeShowEra) {
        services.writeShowEra = IgnoreSwitch;
    }
}

const WindowServices& GetWindowServices() {
    if (!services.module) {
        services.module = GetModuleHandleW(nullptr);
    }
    return services;
}

INT_PTR RunSingleDialog(HWND owner, int templateId, DLGPROC procedure, bool* open, HWND* window) {
    if (*open) {
        if (*window) {
            SetForegroundWindow(*window);
        }
        return IDCANCEL;
    }
    *open = true;
    const INT_PTR result = DialogBoxParamW(GetWindowServices().module, MAKEINTRESOURCEW(templateId),
                                           owner, procedure, 0);
    *open = false;
    *window = nullptr;
    return result;
}
