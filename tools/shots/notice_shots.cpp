// Shows the morning notice of 1 March 2026, 09:00 in Japan, with a week ahead (the total lunar
// eclipse of the 3rd, 天赦日 and 一粒万倍日) from the Moon icon, as the tray program does, for the
// README's picture; the icon leaves the tray after SECONDS.
// Usage: nocturo-notice-shots SECONDS   (prints "shown" once the shell took the notice)
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "astro/time_zone.h"
#include "calendar/custom_holidays.h"
#include "tray/clock.h"
#include "tray/notice_tray.h"
#include "tray/status.h"
#include "tray/tray_icons.h"
#include "ui/ui_place.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nocturo-notice-shots SECONDS\n");
        return 2;
    }
    SetTimeZoneBiasOverride(-540);
    SetClockOverride(SYSTEMTIME{2026, 3, 0, 1, 0, 0, 0, 0});
    SetCustomHolidayPath("");
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"NocturoNoticeShots";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 0, 0,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    PrepareSlots(window);
    TrayIconSlot* slots = TraySlots();
    for (int i = 0; i < TrayIconCount; ++i) {
        slots[i].enabled = i == MoonIconSlot ? 1 : 0;
    }
    ComputeStatus(true, true);
    AddAllIcons();
    NoticeSettings settings = DefaultNoticeSettings();
    settings.leadDays = 7;
    const CivilDate day = {2026, 3, 1};
    const Notice notice =
        ComposeNotice(CollectNoticeEvents(day, settings, -540, GetUiPlace().place), day);
    const bool shown = ShowTrayNotice(notice);
    std::printf("%s\n", shown ? "shown" : "refused");
    std::fflush(stdout);
    const DWORD end = GetTickCount() + static_cast<DWORD>(std::atoi(argv[1])) * 1000;
    while (GetTickCount() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        Sleep(20);
    }
    DeleteAllIcons();
    ReleaseSlots();
    DestroyWindow(window);
    return shown ? 0 : 1;
}
