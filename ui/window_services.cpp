#include "ui/dialogs.h"

namespace {

bool ShowAgeOn() {
    return true;
}

void IgnoreShowAge(bool) {}

void NothingToRefresh() {}

WindowServices services = {nullptr, ShowAgeOn, IgnoreShowAge, NothingToRefresh};

}  // namespace

void SetWindowServices(const WindowServices& replacement) {
    services = replacement;
    if (!services.readShowAge) {
        services.readShowAge = ShowAgeOn;
    }
    if (!services.writeShowAge) {
        services.writeShowAge = IgnoreShowAge;
    }
    if (!services.holidaysSaved) {
        services.holidaysSaved = NothingToRefresh;
    }
}

const WindowServices& GetWindowServices() {
    if (!services.module) {
        services.module = GetModuleHandleW(nullptr);
    }
    return services;
}
