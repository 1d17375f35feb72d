#include "ui/ui_clock.h"

namespace {

void SystemUtc(SYSTEMTIME* utc) {
    GetSystemTime(utc);
}

void SystemLocal(SYSTEMTIME* local) {
    GetLocalTime(local);
}

UiClock clock = {SystemUtc, SystemLocal};

}  // namespace

void SetUiClock(const UiClock& replacement) {
    clock.readUtc = replacement.readUtc != nullptr ? replacement.readUtc : SystemUtc;
    clock.readLocal = replacement.readLocal != nullptr ? replacement.readLocal : SystemLocal;
}

void ReadUiUtcClock(SYSTEMTIME* utc) {
    clock.readUtc(utc);
}

void ReadUiLocalClock(SYSTEMTIME* local) {
    clock.readLocal(local);
}
